#!/usr/bin/env bash
# Runs the clock for a while on a private X server with a compositor, at the
# default size and with the pointer away, and reports what the clock process
# costs: CPU seconds per minute, share of one core, resident and private memory.
#
#   bench/measure-process.sh path/to/ovra-clock [seconds]
#
# Nothing of the user's is touched: the clock gets a temporary HOME and XDG
# folders, and every process started here is ended by its PID.
set -euo pipefail

clock=${1:?usage: measure-process.sh path/to/ovra-clock [seconds]}
seconds=${2:-60}
warmup=3

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
       XDG_RUNTIME_DIR=$work/runtime XDG_CACHE_HOME=$work/cache TMPDIR=$work/tmp
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# Xvfb picks a free display and writes its number to the descriptor it is given.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x800x24 -nolisten tcp +extension Composite -ac \
    >"$work/xvfb.log" 2>&1 &
pids+=($!)
xvfb=$!
read -r -t 10 number <&"$displayfd"
export DISPLAY=":$number"
xcompmgr >"$work/xcompmgr.log" 2>&1 &
pids+=($!)
compositor=$!
sleep 0.5

"$clock" >"$work/clock.log" 2>&1 &
pids+=($!)
pid=$!
sleep "$warmup"
kill -0 "$pid" 2>/dev/null || { echo "the clock did not start:" >&2; cat "$work/clock.log" >&2; exit 1; }
xdotool mousemove 1270 790 >/dev/null 2>&1 || true

ticks=$(getconf CLK_TCK)
cpu_ticks() { # utime + stime of a process, in clock ticks
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}
c0=$(cpu_ticks "$pid"); x0=$(cpu_ticks "$xvfb"); m0=$(cpu_ticks "$compositor")
t0=$(date +%s.%N)
sleep "$seconds"
c1=$(cpu_ticks "$pid"); x1=$(cpu_ticks "$xvfb"); m1=$(cpu_ticks "$compositor")
t1=$(date +%s.%N)

status=/proc/$pid/status
rss=$(awk '/^VmRSS/ { print $2 }' "$status")
hwm=$(awk '/^VmHWM/ { print $2 }' "$status")
threads=$(awk '/^Threads/ { print $2 }' "$status")
pss=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup")
private=$(awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$pid/smaps_rollup")

awk -v c="$((c1 - c0))" -v x="$((x1 - x0))" -v m="$((m1 - m0))" -v hz="$ticks" \
    -v t0="$t0" -v t1="$t1" -v rss="$rss" -v hwm="$hwm" -v pss="$pss" -v priv="$private" \
    -v threads="$threads" 'BEGIN {
    elapsed = t1 - t0
    cpu = c / hz
    printf "ovra-clock over %.1f s: CPU %.2f s = %.2f s per minute = %.3f %% of one core\n",
           elapsed, cpu, cpu * 60 / elapsed, 100 * cpu / elapsed
    printf "  memory: RSS %.1f MB (peak %.1f MB), PSS %.1f MB, private %.1f MB, %d threads\n",
           rss / 1024, hwm / 1024, pss / 1024, priv / 1024, threads
    printf "  X server %.2f s, compositor %.2f s of CPU in the same time\n", x / hz, m / hz
}'
