#!/usr/bin/env bash
# The real game's share of one core and its peak memory, measured from the process: 20 s
# standing at the start node, then 20 s of play walking from neighbour to neighbour.
# Usage: bench/cpu_share.sh [BUILD_DIR]   (default build/; it must hold orvanel, shipped_run/ and
# tests/e2e_probe). NODES=999 plays a map of 999 nodes.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
if [ -z "${DISPLAY:-}" ] || [ -z "${E2E_UNDER_XVFB:-}" ]; then
  exec env E2E_UNDER_XVFB=1 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 800x600x24" bash "$0" "$build"
fi
source "$root/tests/e2e.bash"

dir=$(e2e_fresh_run_dir "$build/shipped_run")
[ -n "${NODES:-}" ] && sed -i "s/^node_count = .*/node_count = $NODES/" "$dir/config.ini"
e2e_start "$build/orvanel" "$dir" "$(e2e_null_sound_config "$dir")"
e2e_wait_window 120 || e2e_fail "no window"
e2e_player "$dir" "$build/tests/e2e_probe"
ready() { e2e_marker_zoom_3 start; }
e2e_wait_until 180 start ready || e2e_fail "the map did not appear"

# User and system time of the process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$E2E_PID/stat"; }
share() { # share TICKS_FROM TICKS_TO NANOSECONDS
  awk -v a="$1" -v b="$2" -v ns="$3" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", 100 * (b - a) / hz / (ns / 1e9) }'
}

t0=$(date +%s%N); c0=$(cpu_ticks)
sleep 20
t1=$(date +%s%N); c1=$(cpu_ticks)
echo "standing: $(share "$c0" "$c1" $((t1 - t0))) % of one core"

trips=0
tries=0
t0=$(date +%s%N); c0=$(cpu_ticks)
while [ $(($(date +%s%N) - t0)) -lt 20000000000 ]; do
  tries=$((tries + 1))
  e2e_journey 3 && trips=$((trips + 1))
done
t1=$(date +%s%N); c1=$(cpu_ticks)
echo "travelling ($trips journeys seen of $tries tries): $(share "$c0" "$c1" $((t1 - t0))) % of one core"
echo "peak memory: $(awk '/VmHWM/ { printf "%.1f MB", $2 / 1024 }' "/proc/$E2E_PID/status")"

e2e_press Escape
e2e_wait_exit 20 || e2e_fail "still running after Escape"
