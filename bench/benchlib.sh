# Shared by the benchmark scripts (sourced, not run): a scratch folder whose
# processes end with the script, private homes, clocks placed through their store,
# a conky that shows what the clock shows, and a private X server with a compositor.
# Every process a script starts goes into `pids`, and only those are ended.

work=$(mktemp -d)
pids=()
stop_all() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    pids=()
}
trap 'stop_all; rm -rf "$work"' EXIT

# The environment of a private home in folder $1, for the commands that follow.
private_home() {
    local h=$1
    mkdir -p "$h/config" "$h/data" "$h/runtime" "$h/cache" "$h/tmp"
    chmod 700 "$h/runtime"
    echo "HOME=$h XDG_CONFIG_HOME=$h/config XDG_DATA_HOME=$h/data XDG_RUNTIME_DIR=$h/runtime \
XDG_CACHE_HOME=$h/cache TMPDIR=$h/tmp"
}

# A DWORD as the store keeps it: four bytes, least significant first.
dword() { printf "X'%02x%02x%02x%02x'" $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

# Places the clock program $1 with home $2 at ($4, $5) pixels, the largest face when
# $6 is 1: it runs once (its output in $3) so that it writes its store, which is
# then changed while it is not running.
place_clock_in() {
    local program=$1 home=$2 log=$3 x=$4 y=$5 large=$6 env store pid sets
    env=$(private_home "$home")
    # shellcheck disable=SC2086
    env $env "$program" >"$log" 2>&1 &
    pid=$!
    sleep 2
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    store=$(find "$home" -name '*.db' -o -name '*.sqlite' | head -n 1)
    [[ -n $store ]] || { echo "$program wrote no store in $home" >&2; exit 1; }
    sets="UPDATE vals SET data=$(dword $((x * 15))) WHERE name='Left';
          UPDATE vals SET data=$(dword $((y * 15))) WHERE name='Top';"
    if ((large)); then
        sets+="UPDATE vals SET data=$(dword 128) WHERE name='ClockRadius';"
        for ring in HourCircleWidth MinuteCircleWidth SecondCircleWidth; do
            sets+="UPDATE vals SET data=$(dword 50) WHERE name='$ring';"
        done
    fi
    sqlite3 "$store" "$sets"
}

# A conky at ($1, $2) showing the weekday, the time to the second and the date.
conky_config() {
    cat <<CONKY
conky.config = {
    out_to_x = true, out_to_console = false, background = false,
    own_window = true, own_window_type = 'normal', own_window_class = 'Conky',
    own_window_argb_visual = true, own_window_argb_value = 160,
    own_window_hints = 'undecorated,sticky,skip_taskbar,skip_pager',
    double_buffer = true, use_xft = true, font = 'DejaVu Sans:size=14',
    update_interval = 1, total_run_times = 0,
    alignment = 'top_left', gap_x = $1, gap_y = $2, minimum_width = 200,
}
conky.text = [[
\${time %A}
\${time %H:%M:%S}
\${time %m/%d/%Y}
]]
CONKY
}

# A private 1600x1000 X server with xcompmgr; DISPLAY names it from here on.
start_private_x() {
    local displayfd number
    exec {displayfd}<> <(:)
    Xvfb -displayfd "$displayfd" -screen 0 1600x1000x24 -nolisten tcp +extension Composite -ac \
        >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    read -r -t 10 number <&"$displayfd"
    exec {displayfd}<&-
    export DISPLAY=":$number"
    xcompmgr >"$work/xcompmgr.log" 2>&1 &
    pids+=($!)
    sleep 0.5
}
