#!/usr/bin/env bash
# The real game starts in a window with its title, draws, and ends on Escape with code 0.
# Usage: e2e_start_and_quit.sh BINARY RUN_DIR PROBE
set -u
if [ -z "${DISPLAY:-}" ] || [ -z "${E2E_UNDER_XVFB:-}" ]; then
  exec env E2E_UNDER_XVFB=1 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 800x600x24" bash "$0" "$@"
fi
binary=$1
probe=$3
source "$(dirname "$0")/e2e.bash"


# The frame-rate text at the top left, in the font's own white.
framerate_shown() {
  "$probe" text "$1" left 0 0 FFFFFF "Framerate:"
}

run_case() {
  local label=$1 which_sound=$2 expected=$3
  local dir conf shot
  dir=$(e2e_fresh_run_dir "$RUN_DIR")
  if [ "$which_sound" = null ]; then conf=$(e2e_null_sound_config "$dir"); else conf=$(e2e_no_sound_config "$dir"); fi
  e2e_start "$binary" "$dir" "$conf"
  e2e_wait_window 120 || e2e_fail "$label: no window titled '$E2E_TITLE'"
  [ "$(xdotool getwindowname "$E2E_WID")" = "$E2E_TITLE" ] || e2e_fail "$label: wrong title"
  # Escape counts only once the world is built: wait for the map.
  e2e_player "$dir" "$probe"
  e2e_wait_until 180 ready e2e_marker_zoom_3 ready || e2e_fail "$label: the map did not appear"
  shot="$dir/screenshot.bmp"
  import -window "$E2E_WID" "BMP3:$shot" 2>/dev/null || e2e_fail "$label: no screenshot"
  [ "$(identify -format '%wx%h' "$shot")" = "640x480" ] || e2e_fail "$label: window is not 640x480"
  [ -n "${E2E_SHOTS:-}" ] && convert "$shot" "$E2E_SHOTS/$label.png"
  ! framerate_shown "$shot" || e2e_fail "$label: frame-rate text shown though not asked for"
  e2e_hold_key Escape
  e2e_wait_exit 10 || e2e_fail "$label: still running 10 s after Escape"
  [ "$E2E_RC" -eq 0 ] || e2e_fail "$label: exit code $E2E_RC"
  [ "$(cat "$E2E_OUT")" = "$expected" ] || e2e_fail "$label: unexpected messages"
  echo "ok: $label"
  rm -rf "$dir"
}

RUN_DIR=$2
run_case with-sound null ""
# Without any sound device the game says so and runs silent.
run_case without-sound none "ERROR:  Failure to install sound.  Attempting to run without sound.
REPORT:  Insufficient digital voices available"

# A missing icon sheet ends the game at start with a message and code 1.
dir=$(e2e_fresh_run_dir "$RUN_DIR")
rm "$dir/data/images/Nodes.pcx"
e2e_start "$binary" "$dir" "$(e2e_null_sound_config "$dir")"
e2e_wait_exit 60 || e2e_fail "missing-image: still running"
[ "$E2E_RC" -eq 1 ] || e2e_fail "missing-image: exit code $E2E_RC"
[ "$(cat "$E2E_OUT")" = "ERROR:  Could not find/open './data/images/Nodes.pcx'" ] || e2e_fail "missing-image: unexpected messages"
echo "ok: missing-image"
rm -rf "$dir"

# Asked for in config.ini, the frame rate shows at the top left. It is drawn straight onto the
# screen between two frames, so look more than once.
dir=$(e2e_fresh_run_dir "$RUN_DIR")
sed -i 's/^framerate = .*/framerate = 1/' "$dir/config.ini"
e2e_start "$binary" "$dir" "$(e2e_null_sound_config "$dir")"
e2e_wait_window 120 || e2e_fail "framerate: no window"
e2e_player "$dir" "$probe"
e2e_wait_until 180 ready e2e_marker_zoom_3 ready || e2e_fail "framerate: the map did not appear"
seen=0
for i in $(seq 1 40); do
  import -window "$E2E_WID" "BMP3:$dir/fps.bmp" 2>/dev/null
  if framerate_shown "$dir/fps.bmp"; then seen=1; break; fi
  sleep 0.1
done
[ "$seen" = 1 ] || e2e_fail "framerate: no frame-rate text"
e2e_hold_key Escape
e2e_wait_exit 10 || e2e_fail "framerate: still running after Escape"
[ "$E2E_RC" -eq 0 ] || e2e_fail "framerate: exit code $E2E_RC"
echo "ok: framerate"
