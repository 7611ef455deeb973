#!/usr/bin/env bash
# Keeps one clock running on a private X server for a long time, with its settings
# re-applied from the settings dialog every 10 s and the pointer crossing the
# button strip every few seconds, and samples what the clock process holds:
# resident memory, open file descriptors and X resources.
#
#   bench/soak.sh path/to/ovra-clock [minutes=60] [display=:77] [samples.csv]
#
# Growth is measured against the sample taken after the first minute, when fonts,
# caches and the dialog have settled. The verdict line says whether resident
# memory grew by less than 1 MB and the descriptor and X resource counts stayed
# flat. Nothing of the user's is touched: the clock gets a temporary HOME and XDG
# folders, and every process started here is ended by its PID.
set -euo pipefail

clock=${1:?usage: soak.sh path/to/ovra-clock [minutes] [display] [samples.csv]}
minutes=${2:-60}
display=${3:-:77}
here=$(cd "$(dirname "$0")" && pwd)
apply_every=10
cross_every=3
sample_every=30

work=$(mktemp -d)
csv=${4:-$work/samples.csv}
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
# No session bus of the user's: nothing here may reach the real desktop.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

if [[ -e /tmp/.X11-unix/X${display#:} ]]; then
    echo "display $display is taken; pass another one" >&2
    exit 1
fi
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp +extension Composite -ac \
    >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
xcompmgr >"$work/xcompmgr.log" 2>&1 &
pids+=($!)

"$clock" >"$work/clock.log" 2>&1 &
pids+=($!)
pid=$!

find_window() { # title -> window id, waiting up to 10 s
    xdotool search --sync --onlyvisible --name "^$(sed 's/[{}]/\\&/g' <<<"$1")\$" 2>/dev/null |
        head -n1
}
clock_window=$(timeout 10 bash -c "$(declare -f find_window); find_window 'Ovra Clock {Default}'") ||
    { echo "the clock window did not appear:" >&2; cat "$work/clock.log" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$clock_window")"
left=$X top=$Y size=$WIDTH

# Page Up on the clock opens the settings dialog; it stays open for the whole run,
# and its Apply button sits 137 px from its right edge and 23 px from its bottom.
xdotool windowfocus --sync "$clock_window" key Page_Up
dialog=$(timeout 10 bash -c "$(declare -f find_window); find_window 'Ovra Clock Configuration - Default'") ||
    { echo "the settings dialog did not open:" >&2; cat "$work/clock.log" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$dialog")"
dialog_left=$X dialog_top=$Y dialog_width=$WIDTH dialog_height=$HEIGHT

store=$XDG_CONFIG_HOME/Tamrel/Ovra\ Clock/registry.db
store_stamp() { stat -c %.9Y "$store" "$store-wal" 2>/dev/null | sort | tail -n1; }

apply_settings() { # a click on the dialog's Apply; true when the store was written
    local before
    before=$(store_stamp)
    xdotool mousemove $((dialog_left + dialog_width - 137)) $((dialog_top + dialog_height - 23)) \
        click 1
    sleep 0.3
    [[ $(store_stamp) != "$before" ]]
}

cross_strip() { # from left of the window, through the face and the strip, out on the right
    local y=$((top + 30)) x
    for x in $(seq $((left > 20 ? left - 20 : 0)) 24 $((left + size + 20))); do
        xdotool mousemove "$x" "$y"
        sleep 0.02
    done
    xdotool mousemove 5 5
}

sample() { # elapsed-seconds -> one CSV line
    local rss fds xres
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
    fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
    xres=$("$here/xres-count.py" "$clock_window")
    printf '%s,%s,%s,%s,%s,%s,"%s"\n' "$1" "$rss" "$fds" \
        "$(sed -n 's/.*total=\([0-9]*\).*/\1/p' <<<"$xres")" \
        "$(sed -n 's/.*pixmap_bytes=\([0-9]*\).*/\1/p' <<<"$xres")" "$applies/$applied" "$xres"
}

echo "seconds,rss_kb,fds,x_resources,x_pixmap_bytes,applies_written/asked,x_detail" >"$csv"
applies=0 applied=0 crossings=0
start=$(date +%s)
end=$((start + minutes * 60))
next_apply=$((start + apply_every)) next_cross=$start next_sample=$start
while (($(date +%s) < end)); do
    kill -0 "$pid" 2>/dev/null || { echo "the clock ended during the run:" >&2; cat "$work/clock.log" >&2; exit 1; }
    now=$(date +%s)
    if ((now >= next_sample)); then
        sample $((now - start)) >>"$csv"
        next_sample=$((next_sample + sample_every))
    fi
    if ((now >= next_apply)); then
        applies=$((applies + 1))
        apply_settings && applied=$((applied + 1))
        next_apply=$((next_apply + apply_every))
    fi
    if ((now >= next_cross)); then
        cross_strip
        crossings=$((crossings + 1))
        next_cross=$((next_cross + cross_every))
    fi
    sleep 0.2
done
sample $(($(date +%s) - start)) >>"$csv"

# Compare the last sample with the first one at or after one minute.
awk -F, -v applies="$applies" -v applied="$applied" -v crossings="$crossings" '
    NR == 1 { next }
    !base && $1 >= 60 { base = 1; r0 = $2; f0 = $3; x0 = $4; p0 = $5; t0 = $1 }
    { if ($2 > rmax) rmax = $2; r = $2; f = $3; x = $4; p = $5; t = $1; n++ }
    END {
        if (!base) { print "the run was shorter than a minute: no verdict"; exit 1 }
        printf "samples %d over %d s; re-applies asked %d, store written %d; strip crossings %d\n",
               n, t, applies, applied, crossings
        printf "resident memory: %d kB at %d s, %d kB at the end, %d kB at most; growth %+d kB\n",
               r0, t0, r, rmax, r - r0
        printf "file descriptors: %d -> %d; X resources: %d -> %d; X pixmap bytes: %d -> %d\n",
               f0, f, x0, x, p0, p
        ok = (r - r0 < 1024) && f <= f0 && x <= x0 && p <= p0 && applied == applies
        print (ok ? "verdict: PASS" : "verdict: FAIL")
        exit ok ? 0 : 1
    }' "$csv"
