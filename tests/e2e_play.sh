#!/usr/bin/env bash
# A player's session in the real window, read from the screen alone: the map appears with the
# player's marker at the centre; M held hides it; minus and equals zoom, and H held at zoom 1
# shows more;
# a click on a neighbour walks the token there under the running calendar; S, W and Q open and
# close their windows; Escape ends the game with code 0 and nothing printed.
# Usage: e2e_play.sh BINARY RUN_DIR PROBE
set -u
if [ -z "${DISPLAY:-}" ] || [ -z "${E2E_UNDER_XVFB:-}" ]; then
  exec env E2E_UNDER_XVFB=1 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 800x600x24" bash "$0" "$@"
fi
binary=$1
RUN_DIR=$2
probe=$3
source "$(dirname "$0")/e2e.bash"

dir=$(e2e_fresh_run_dir "$RUN_DIR")
e2e_start "$binary" "$dir" "$(e2e_null_sound_config "$dir")"
e2e_wait_window 120 || e2e_fail "no window titled '$E2E_TITLE'"
e2e_player "$dir" "$probe"

# The world is generated and drawn: the player's marker at the centre at zoom 3.
shot_is_ready() { e2e_marker_zoom_3 start; }
e2e_wait_until 180 start shot_is_ready || e2e_fail "no player's marker at the centre"
echo "ok: the map appears with the player's marker at the centre"

# M held hides the map.
e2e_shot_holding m hidden
! e2e_token_at_centre hidden && [ "$(e2e_ring_count hidden 0 40 $E2E_BLUE)" -eq 0 ] || e2e_fail "M held: the token or the marker still shows"
echo "ok: M held hides the map"

# Minus zooms out to 1, equals back to 3 and on to 6, minus again to 3: the marker's rings
# shrink under the token and grow again.
e2e_press minus
e2e_wait_until 10 zoom1 e2e_settled_zoom 1 zoom1 || e2e_fail "minus: no zoom 1"
# At zoom 1 the whole map is on the screen: H held shows the nodes and edges not yet seen,
# many more pixels than change between two plain frames.
e2e_shot plain
e2e_shot_holding h revealed
e2e_shot plain_again
noise=$("$E2E_PROBE" changed "$E2E_DIR/plain.bmp" "$E2E_DIR/plain_again.bmp" 0 0 639 439)
shown=$("$E2E_PROBE" changed "$E2E_DIR/plain.bmp" "$E2E_DIR/revealed.bmp" 0 0 639 439)
[ "$shown" -gt $((200 + 4 * noise)) ] || e2e_fail "H held shows no more ($shown pixels changed, $noise between plain frames)"
echo "ok: H held shows more"

e2e_press equal
e2e_wait_until 10 zoom3 e2e_settled_zoom 3 zoom3 || e2e_fail "equals: no zoom 3"
e2e_press equal
e2e_wait_until 10 zoom6 e2e_settled_zoom 6 zoom6 || e2e_fail "equals: no zoom 6"
e2e_press minus
e2e_wait_until 10 back3 e2e_settled_zoom 3 back3 || e2e_fail "minus: no zoom 3 again"
echo "ok: minus and equals step the zoom"

# The windows: each key opens its window, its title in the title bar, and closes it again.
# Title bar: from the body's top-left corner (x, y), 25 to 15 pixels above it.
check_window() {
  local key=$1 title=$2 x=$3 y=$4 w=$5
  e2e_press "$key"
  e2e_shot "open_$key"
  "$E2E_PROBE" text "$E2E_DIR/open_$key.bmp" centre $((x + w / 2)) $((y - 25)) $E2E_YELLOW "$title" ||
    e2e_fail "$key: no title '$title'"
  for corner in "$((x + 2)) $((y - 24))" "$((x + w - 2)) $((y - 16))"; do
    [ "$("$E2E_PROBE" pixel "$E2E_DIR/open_$key.bmp" $corner)" = $E2E_DARK_KHAKI ] || e2e_fail "$key: no title bar at $corner"
  done
  e2e_press "$key"
  e2e_shot "closed_$key"
  ! "$E2E_PROBE" text "$E2E_DIR/closed_$key.bmp" centre $((x + w / 2)) $((y - 25)) $E2E_YELLOW "$title" ||
    e2e_fail "$key: the window did not close"
}
check_window s "Population Chart" 120 90 400
check_window w "Recent Weather" 220 190 200
check_window q "Quests" 95 90 450
echo "ok: S, W and Q open and close their windows"

# A journey to a neighbour found on the screen; at zoom 1 when none shows at zoom 3.
zoom=3
e2e_shot before_trip
for attempt in 1 2 3 4; do
  e2e_journey $zoom
  result=$?
  [ $result = 0 ] && break
  [ $attempt = 4 ] && e2e_fail "no journey seen under way"
  if [ $result = 1 ]; then
    [ $zoom = 1 ] && e2e_fail "no neighbour found to travel to"
    # None on the screen at zoom 3: the whole world shows at zoom 1.
    zoom=1
    e2e_press minus
    e2e_wait_until 10 zoom1again e2e_settled_zoom 1 zoom1again || e2e_fail "no zoom 1 for the journey"
  fi
  e2e_shot before_trip
done
e2e_clock_moved before_trip trip_seen || e2e_fail "the calendar stood still on the way"
echo "ok: a click on a neighbour sets off under the running calendar"
sleep 0.5
e2e_shot still
! e2e_clock_moved trip_end still || e2e_fail "the calendar runs on after the arrival"
echo "ok: the token arrives, the view on it, and the calendar stops"

e2e_press Escape
e2e_wait_exit 20 || e2e_fail "still running 20 s after Escape"
[ "$E2E_RC" -eq 0 ] || e2e_fail "exit code $E2E_RC"
[ ! -s "$E2E_OUT" ] || e2e_fail "unexpected messages"
# The sound library's own notes about missing MIDI devices aside, stderr stays empty.
unexpected=$(grep -v '^ALSA lib ' "$E2E_DIR/stderr.txt")
[ -z "$unexpected" ] || e2e_fail "unexpected output on stderr: $(head -c 2000 <<<"$unexpected")"
echo "ok: Escape ends the game with code 0 and nothing printed"
