#!/usr/bin/env bash
# Runs one or more builds of the clock side by side with two peers, conky
# (conky-std, three lines of text in an ARGB window, updated once a second) and
# `xclock -update 1`, on one private X server with a compositor, the pointer away
# from every window. Each round lasts the given seconds; after the rounds it prints
# per program the median of: CPU as a share of one core, context switches a
# second (all threads), RSS, PSS and private dirty memory. For the clocks also the
# bytes of pixels pushed to the window a second and how late each new second
# reaches the window after the wall-clock second begins (from the ovra.clock.push
# log; a build without that log shows nothing there).
#
#   bench/measure-process.sh [-r rounds] [-s seconds] [-l] [-f floor] path/to/ovra-clock...
#   bench/measure-process.sh [-r rounds] [-s seconds] [-f floor] -n N path/to/ovra-clock
#
#   -r  rounds (default 3)     -s  seconds a round (default 60)
#   -l  the largest face (598 px) instead of the default one (246 px)
#   -n  N clocks of the one build, as one user keeps them: N named clocks in N
#       zones in one store, placed side by side by the program itself and
#       started one after the other; adds the clocks' sum and their worst, and
#       each clock's start-up to its first frame on the window
#   -f  also runs build/bench/qt_floor (or the program given) as the peer
#       "floor": a bare Qt window of the face's size that repaints one digit's
#       box a second, the least a Qt clock's second can cost
#
# Nothing of the user's is touched: every clock gets its own temporary HOME and
# XDG folders, and every process started here is ended by its PID.
set -euo pipefail

rounds=3 seconds=60 large=0 many=0 floor=
while getopts "r:s:ln:f:" opt; do
    case $opt in
    r) rounds=$OPTARG ;;
    s) seconds=$OPTARG ;;
    l) large=1 ;;
    n) many=$OPTARG ;;
    f) floor=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[[ $# -ge 1 ]] || { echo "usage: measure-process.sh [-r rounds] [-s seconds] [-l | -n N] [-f floor] clock..." >&2; exit 2; }
clocks=("$@")
if ((many)); then
    ((${#clocks[@]} == 1)) || { echo "-n takes one build" >&2; exit 2; }
    for ((i = 1; i < many; i++)); do clocks+=("${clocks[0]}"); done
fi
warmup=3

# shellcheck source=bench/benchlib.sh
source "$(dirname "$0")/benchlib.sh"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
# A program file written moments ago (a fresh build) counts each of its pages as
# private dirty memory of every process that maps it until the kernel writes it
# back: some 700 KB that have nothing to do with the program's own use.
sync

# The home folder of program $1; with -n every clock shares one.
home_dir() {
    if ((many)) && [[ $1 == clock* ]]; then echo "$work/home-clocks"; else echo "$work/home-$1"; fi
}
home_for() { private_home "$(home_dir "$1")"; }

# Places clock $1 at ($2, $3) pixels, at the chosen size.
place_clock() {
    place_clock_in "${clocks[$1]}" "$(home_dir "clock$1")" "$work/clock$1-first.log" "$2" "$3" \
        "$large"
}

cpu_ns() { # CPU time of a process, all its threads (also those that ended), in ns
    # The process's CPU clock, read from outside: exact where /proc/PID/stat counts
    # whole clock ticks, and an idle program uses only a few of those a minute.
    python3 -c 'import sys, time; print(time.clock_gettime_ns(((~int(sys.argv[1])) << 3) | 2))' "$1"
}
switches() { # voluntary and involuntary context switches of every thread
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { s += $2 } END { print s + 0 }'
}

names=()
for i in "${!clocks[@]}"; do names+=("clock$i"); done
names+=(conky xclock)
[[ -z $floor ]] || names+=(floor)
results=$work/results
: >"$results"

for ((round = 1; round <= rounds; round++)); do
    start_private_x

    declare -A pid_of=() started=()
    if ((many && round == 1)); then
        # The program adds and places the clocks (nine zones apart); they are then
        # stopped, to be started below like the others.
        env=$(home_for clock0)
        for i in "${!clocks[@]}"; do
            # shellcheck disable=SC2086
            env $env "${clocks[0]}" --add "Zone $i" --zone $((i * 9 % 97)) >>"$work/add.log" 2>&1
        done
        for i in "${!clocks[@]}"; do
            # shellcheck disable=SC2086
            env $env "${clocks[0]}" --stop "Zone $i" >>"$work/add.log" 2>&1
        done
    fi
    for i in "${!clocks[@]}"; do
        name=()
        if ((many)); then
            name=("Zone $i")
        else
            ((round > 1)) || place_clock "$i" $((40 + i * 620)) 20
        fi
        env=$(home_for "clock$i")
        started[clock$i]=$(date +%s%3N)
        # shellcheck disable=SC2086
        env $env QT_LOGGING_RULES="ovra.clock.push.debug=true" QT_MESSAGE_PATTERN="%{message}" \
            "${clocks[$i]}" "${name[@]}" >"$work/clock$i.log" 2>&1 &
        pids+=($!)
        pid_of[clock$i]=$!
        # One start at a time, so that each start-up is measured on its own.
        ((many)) && sleep 1
    done
    conky_config 40 600 >"$work/conky.conf"
    # shellcheck disable=SC2046
    env $(home_for conky) conky -c "$work/conky.conf" >"$work/conky.log" 2>&1 &
    pids+=($!)
    pid_of[conky]=$!
    xclock -update 1 -geometry 164x164+300+600 >"$work/xclock.log" 2>&1 &
    pids+=($!)
    pid_of[xclock]=$!

    if [[ -n $floor ]]; then
        side=246
        ((large)) && side=598
        # shellcheck disable=SC2046
        env $(home_for floor) "$floor" "$side" >"$work/floor.log" 2>&1 &
        pids+=($!)
        pid_of[floor]=$!
    fi

    sleep "$warmup"
    xdotool mousemove 1590 990 >/dev/null 2>&1 || true
    sleep 1
    for name in "${names[@]}"; do
        kill -0 "${pid_of[$name]}" 2>/dev/null ||
            { echo "$name did not start:" >&2; cat "$work/$name.log" >&2 || true; exit 1; }
    done
    declare -A c0=() s0=() l0=()
    for name in "${names[@]}"; do
        c0[$name]=$(cpu_ns "${pid_of[$name]}")
        s0[$name]=$(switches "${pid_of[$name]}")
        [[ $name == clock* ]] && l0[$name]=$(wc -l <"$work/$name.log")
    done
    t0=$(date +%s.%N)
    load=$(cut -d' ' -f1 /proc/loadavg)
    sleep "$seconds"
    t1=$(date +%s.%N)
    for name in "${names[@]}"; do
        pid=${pid_of[$name]}
        c1=$(cpu_ns "$pid")
        s1=$(switches "$pid")
        rss=$(awk '/^Rss:/ { print $2 }' "/proc/$pid/smaps_rollup")
        pss=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup")
        dirty=$(awk '/^Private_Dirty:/ { print $2 }' "/proc/$pid/smaps_rollup")
        pushed=- late=- within=- startup=-
        if [[ $name == clock* ]]; then
            startup=$(awk -v t="${started[$name]}" '$1 ~ /^[0-9]+$/ { print $1 - t; exit }' \
                "$work/$name.log")
            startup=${startup:--}
            # Pushes in the measured time: bytes a second, and for each push that
            # shows a new second, how far into that wall-clock second it came.
            read -r pushed late within < <(tail -n +"$((${l0[$name]} + 1))" "$work/$name.log" |
                awk -v t0="$t0" -v t1="$t1" '
                $1 ~ /^[0-9]+$/ && $1 / 1000 >= t0 && $1 / 1000 <= t1 {
                    bytes += $3
                    if (seen && $2 != last) { ms[n++] = $1 % 1000; if ($1 % 1000 <= 15) ok++ }
                    seen = 1; last = $2
                }
                END {
                    if (!seen) { print "- - -"; exit }
                    # Pushes that never showed a new second are no proof of time kept.
                    if (!n) { printf "%.0f - -\n", bytes / (t1 - t0); exit }
                    for (i = 1; i < n; i++)
                        for (j = i; j > 0 && ms[j - 1] > ms[j]; j--) { t = ms[j]; ms[j] = ms[j - 1]; ms[j - 1] = t }
                    printf "%.0f %d %.1f\n", bytes / (t1 - t0), ms[int(0.99 * (n - 1))], 100 * ok / n
                }')
        fi
        awk -v name="$name" -v round="$round" -v c="$((c1 - c0[$name]))" \
            -v s="$((s1 - s0[$name]))" -v t0="$t0" -v t1="$t1" \
            -v rss="$rss" -v pss="$pss" -v dirty="$dirty" -v pushed="$pushed" -v late="$late" \
            -v within="$within" -v load="$load" -v startup="$startup" 'BEGIN {
            e = t1 - t0
            printf "%s %d %.4f %.2f %.2f %.2f %.2f %s %s %s %s %s\n", name, round,
                   100 * c / 1e9 / e, s / e, rss / 1024, pss / 1024, dirty / 1024,
                   pushed, late, within, load, startup
        }' >>"$results"
    done
    stop_all
done

echo "round by round: program round cpu% switches/s RSS PSS private-dirty(MB)" \
     "bytes-pushed/s p99-late-ms %-within-15ms load start-up-ms"
cat "$results"
echo
printf "%-8s %9s %11s %8s %8s %12s %14s %12s %13s\n" program "cpu %" "switches/s" "RSS MB" \
    "PSS MB" "private MB" "pushed B/s" "p99 late ms" "within 15 ms"
for name in "${names[@]}"; do
    awk -v name="$name" '
    function median(a, n,   i, j, t) {
        for (i = 2; i <= n; i++)
            for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
    $1 == name { n++; for (k = 3; k <= 10; k++) { v[k, n] = $k } }
    END {
        for (k = 3; k <= 10; k++) {
            m = 0; for (i = 1; i <= n; i++) if (v[k, i] != "-") col[++m] = v[k, i]
            med[k] = m ? median(col, m) : "-"; split("", col)
        }
        printf "%-8s %9.3f %11.2f %8.1f %8.1f %12.2f %14s %12s %13s\n", name, med[3], med[4],
               med[5], med[6], med[7], med[8], med[9], med[10]
    }' "$results"
done
if ((many)); then
    # The clocks together, round by round and as the median, with the worst clock
    # of each round and the start-up of the first and the last clock started.
    echo
    echo "$many clocks: round cpu%-sum switches/s-sum worst-private-MB worst-p99-late-ms" \
         "start-up-first-ms start-up-last-ms"
    awk -v last="clock$((many - 1))" '
    $1 ~ /^clock/ {
        cpu[$2] += $3; sw[$2] += $4; if ($7 > dirty[$2]) dirty[$2] = $7
        if ($9 != "-" && $9 > late[$2]) late[$2] = $9
        if ($1 == "clock0") first[$2] = $12
        if ($1 == last) final[$2] = $12
        rounds[$2] = 1
    }
    END {
        for (r in rounds) {
            printf "%5d %11.3f %15.2f %16.2f %17s %17s %16s\n", r, cpu[r], sw[r], dirty[r],
                   late[r] == "" ? "-" : late[r], first[r], final[r]
            c[++n] = cpu[r]
        }
        for (i = 2; i <= n; i++)
            for (j = i; j > 1 && c[j - 1] > c[j]; j--) { t = c[j]; c[j] = c[j - 1]; c[j - 1] = t }
        printf "median over %d rounds of all clocks cpu%% summed: %.3f\n", n,
               n % 2 ? c[(n + 1) / 2] : (c[n / 2] + c[n / 2 + 1]) / 2
    }' "$results"
fi
