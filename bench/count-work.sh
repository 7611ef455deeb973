#!/usr/bin/env bash
# Counts the work of a steady, idle clock: the clock at its default size (246 px)
# and at its largest (598 px), `xclock -update 1` and conky (conky-std) run side by
# side under callgrind on one private X server with a compositor. Counting starts
# switched off; after a warm-up it is switched on in every process for the same
# window of seconds (one that does not cross an hour, whose turn redraws every
# ring), then the counts are dumped and switched off again. It prints instructions
# per second of each program and their ratio to xclock's. Instructions counted do
# not swing with the load of a shared machine as CPU time does.
#
#   bench/count-work.sh [-s seconds] [-w warm-up] [-f [-t top] [-i]] [-o folder] [path/to/ovra-clock]
#
#   -s  seconds counted (default 60: every window then holds one turn of a minute,
#       which lays the next minute's ring)
#   -w  seconds from the start to the counting (default 25; callgrind starts slowly)
#   -f  also print each program's top functions (callgrind_annotate)
#   -t  how many functions -f prints (default 25)
#   -i  -f counts each function with what it calls (inclusive)
#   -o  keeps each program's counts (callgrind's files, NAME.out.1) in folder, for
#       callgrind_annotate or kcachegrind
#
# Nothing of the user's is touched: every program gets its own temporary HOME and
# XDG folders, and every process started here is ended by its PID.
set -euo pipefail

seconds=60 warmup=25 functions=0 top=25 inclusive=no keep=
while getopts "s:w:ft:io:" opt; do
    case $opt in
    s) seconds=$OPTARG ;;
    w) warmup=$OPTARG ;;
    f) functions=1 ;;
    t) top=$OPTARG ;;
    i) inclusive=yes ;;
    o) keep=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
clock=${1:-build/ovra-clock}
[[ -x $clock ]] || { echo "usage: count-work.sh [-s seconds] [-w warm-up] [-f [-t top] [-i]] [-o folder] [clock]" >&2; exit 2; }
[[ -z $keep ]] || mkdir -p "$keep"
((seconds > 0 && seconds < 3000)) || { echo "count between 1 and 2999 seconds" >&2; exit 2; }
for tool in valgrind callgrind_control Xvfb xcompmgr xclock conky sqlite3; do
    command -v "$tool" >/dev/null || { echo "count-work.sh needs $tool" >&2; exit 1; }
done

# shellcheck source=bench/benchlib.sh
source "$(dirname "$0")/benchlib.sh"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR

home_for() { private_home "$work/home-$1"; }

# Clock $1 at ($2, $3) pixels, the largest face when $4 is 1.
place_clock() { place_clock_in "$clock" "$work/home-$1" "$work/$1-first.log" "$2" "$3" "$4"; }

start_private_x
place_clock clock246 20 20 0
place_clock clock598 320 20 1

# Each program under callgrind with counting off, its control pipes in one private
# folder that callgrind_control is pointed at.
prefix=$work/vgdb
callgrind=(valgrind --tool=callgrind --instr-atstart=no --vgdb=yes --vgdb-prefix="$prefix")
names=(clock246 clock598 xclock conky)
declare -A pid_of=()
for name in clock246 clock598; do
    # shellcheck disable=SC2046
    env $(home_for "$name") "${callgrind[@]}" --callgrind-out-file="$work/$name.out" \
        "$clock" >"$work/$name.log" 2>&1 &
    pids+=($!)
    pid_of[$name]=$!
done
# shellcheck disable=SC2046
env $(home_for xclock) "${callgrind[@]}" --callgrind-out-file="$work/xclock.out" \
    xclock -update 1 -geometry 164x164+1100+300 >"$work/xclock.log" 2>&1 &
pids+=($!)
pid_of[xclock]=$!
conky_config 1100 700 >"$work/conky.conf"
# shellcheck disable=SC2046
env $(home_for conky) "${callgrind[@]}" --callgrind-out-file="$work/conky.out" \
    conky -c "$work/conky.conf" >"$work/conky.log" 2>&1 &
pids+=($!)
pid_of[conky]=$!

sleep "$warmup"
xdotool mousemove 1590 990 >/dev/null 2>&1 || true
for name in "${names[@]}"; do
    kill -0 "${pid_of[$name]}" 2>/dev/null ||
        { echo "$name did not start:" >&2; cat "$work/$name.log" >&2 || true; exit 1; }
done

# A window that crosses an hour would count the hour ring laid anew: wait for the
# hour to turn first.
# The clocks follow the computer's zone, whose hours may turn at a half hour of UTC.
into_hour=$((10#$(date +%M) * 60 + 10#$(date +%S)))
if ((into_hour + seconds + 5 >= 3600)); then
    echo "waiting $((3600 - into_hour + 2)) s for the hour to turn" >&2
    sleep $((3600 - into_hour + 2))
fi

control() { callgrind_control --vgdb-prefix="$prefix" "$@" >/dev/null 2>&1; }
declare -A t0=() t1=()
for name in "${names[@]}"; do
    control -i on "${pid_of[$name]}"
    t0[$name]=$(date +%s.%N)
done
sleep "$seconds"
for name in "${names[@]}"; do
    t1[$name]=$(date +%s.%N)
    control --dump=counted "${pid_of[$name]}"
    control -i off "${pid_of[$name]}"
done

# The instructions of the one dump each program wrote.
instructions() {
    local dump=$work/$1.out.1
    [[ -f $dump ]] || { echo 0; return; }
    awk '/^(summary|totals):/ { print $2; exit }' "$dump"
}

echo "counted ${seconds} s of steady idle, $(date -d "@${t0[clock246]%.*}" +%H:%M:%S) on"
printf "%-9s %15s %12s %10s\n" program instructions "k instr/s" "x xclock"
declare -A rate=()
for name in "${names[@]}"; do
    rate[$name]=$(awk -v n="$(instructions "$name")" -v a="${t0[$name]}" -v b="${t1[$name]}" \
        'BEGIN { printf "%.1f", n / (b - a) / 1000 }')
done
for name in "${names[@]}"; do
    awk -v name="$name" -v n="$(instructions "$name")" -v r="${rate[$name]}" -v x="${rate[xclock]}" \
        'BEGIN { printf "%-9s %15d %12.1f %10.2f\n", name, n, r, (x > 0 ? r / x : 0) }'
done

if ((functions)); then
    for name in "${names[@]}"; do
        dump=$work/$name.out.1
        [[ -f $dump ]] || continue
        echo
        echo "== $name: top $top functions (inclusive: $inclusive)"
        callgrind_annotate --inclusive="$inclusive" --threshold=100 "$dump" 2>/dev/null |
            awk -v top="$top" '/^-+$/ { dashes++; next } dashes >= 3 && NF && n++ < top { print }'
    done
fi

if [[ -n $keep ]]; then
    for name in "${names[@]}"; do
        cp "$work/$name.out".1 "$keep/" 2>/dev/null || true
    done
    echo
    echo "counts kept in $keep"
fi
