# Helpers for driving the real game under Xvfb. Source this from an e2e_*.sh script that
# runs inside xvfb-run; the scripts start xvfb-run's search for a free display at a random
# number, so that runs started side by side do not pick the same one.

# The game is started with no xmessage on its PATH, so Allegro's message boxes print to
# stdout, where a test can read them instead of blocking on a window.
E2E_TITLE="Codename:  Orvanel, Version 0.0.6"

# Every copy lives under one scratch directory that goes when the script ends, pass or fail.
E2E_ROOT=$(mktemp -d /tmp/orvanel-e2e.XXXXXX)
trap 'rm -rf "$E2E_ROOT"' EXIT

# e2e_fresh_run_dir RUN_DIR: a throwaway copy of the run directory; prints its path.
e2e_fresh_run_dir() {
  local dir
  dir=$(mktemp -d "$E2E_ROOT/run.XXXXXX")
  cp -r "$1"/. "$dir"/
  echo "$dir"
}

# A command the game is started through while set, in DIR; it ends by running its
# arguments (a mount namespace, a limit).
E2E_LAUNCH=()

# e2e_start BINARY DIR [ALSA_CONFIG]: starts the game in DIR; sets E2E_PID and E2E_OUT.
e2e_start() {
  local binary=$1 dir=$2 alsa=${3:-}
  E2E_START_ARGS=("$@")
  E2E_OUT="$dir/stdout.txt"
  E2E_ERR="$dir/stderr.txt"
  (cd "$dir" && exec "${E2E_LAUNCH[@]}" env PATH=/nonexistent ${alsa:+ALSA_CONFIG_PATH=$alsa} "$binary" >"$E2E_OUT" 2>"$E2E_ERR") &
  E2E_PID=$!
}

# e2e_wait_window SECONDS: waits for the game's window; sets E2E_WID.
e2e_wait_window() {
  local i tries=0
  E2E_WID=""
  for i in $(seq 1 $(($1 * 5))); do
    E2E_WID=$(xdotool search --name "^${E2E_TITLE}\$" 2>/dev/null | head -n 1)
    [ -n "$E2E_WID" ] && return 0
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      # Now and then, with many displays starting side by side, the new one refuses the
      # game's first connection: start it once more then.
      [ $tries -lt 2 ] && grep -q '^ERROR:  Failed to initialize allegro library' "$E2E_OUT" || return 1
      tries=$((tries + 1))
      sleep 1
      e2e_start "${E2E_START_ARGS[@]}"
    fi
    sleep 0.2
  done
  return 1
}

# e2e_hold_key KEY: the pointer goes inside the window, then KEY is held long enough to be seen.
e2e_hold_key() {
  xdotool mousemove --window "$E2E_WID" 320 240
  sleep 0.3
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
}

# e2e_wait_exit SECONDS: waits for the game to end; sets E2E_RC (124 when it did not end).
e2e_wait_exit() {
  local i
  for i in $(seq 1 $(($1 * 5))); do
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      wait "$E2E_PID"
      E2E_RC=$?
      return 0
    fi
    sleep 0.2
  done
  kill -9 "$E2E_PID" 2>/dev/null
  E2E_RC=124
  return 1
}

# e2e_quit SECONDS: holds Escape once a second until the game ends (Escape counts only once
# the world is built); sets E2E_RC like e2e_wait_exit.
e2e_quit() {
  local i
  for i in $(seq 1 "$1"); do
    kill -0 "$E2E_PID" 2>/dev/null || break
    e2e_hold_key Escape
    sleep 0.5
  done
  e2e_wait_exit 5
}

e2e_fail() {
  echo "FAIL: $*"
  # E2E_KEEP=DIR keeps the screenshots of a failed run.
  [ -n "${E2E_KEEP:-}" ] && [ -n "${E2E_DIR:-}" ] && mkdir -p "$E2E_KEEP" && cp "$E2E_DIR"/*.bmp "$E2E_KEEP"/ 2>/dev/null
  [ -n "${E2E_OUT:-}" ] && [ -f "$E2E_OUT" ] && { echo "--- game stdout:"; cat "$E2E_OUT"; }
  # Sanitizer reports go to stderr.
  [ -n "${E2E_ERR:-}" ] && [ -s "$E2E_ERR" ] && { echo "--- game stderr:"; head -c 20000 "$E2E_ERR"; }
  [ -n "${E2E_PID:-}" ] && kill -9 "$E2E_PID" 2>/dev/null
  exit 1
}

# A sound device that accepts everything and plays nothing, for machines without sound.
e2e_null_sound_config() {
  local file=$1/asound-null.conf
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$file"
  echo "$file"
}

# No sound device at all.
e2e_no_sound_config() {
  local file=$1/asound-none.conf
  printf 'pcm.!default { type hw card 99 }\n' >"$file"
  echo "$file"
}

# --- Playing from the screen ---------------------------------------------------------------
# Colours of the game, as the probe writes them.
E2E_BLUE=0000FF
E2E_RED=C80000
E2E_YELLOW=FFFF00
E2E_DARK_KHAKI=BDB76B
# Where the pointer rests: inside the window, so that keys reach it, and off the scrolling
# margins, the player's marker and the status bar.
E2E_PARK_X=60
E2E_PARK_Y=420

# e2e_player DIR PROBE: the helpers below play the game started in DIR, reading their
# screenshots (DIR/NAME.bmp) with the probe; the pointer goes to its resting place. Allegro
# follows the pointer by its motion from the window's centre, where it puts the pointer as it
# starts: a move made before that would put Allegro's pointer somewhere else.
e2e_player() {
  E2E_DIR=$1
  E2E_PROBE=$2
  local i wx wy
  for i in $(seq 1 300); do
    eval "$(xdotool getwindowgeometry --shell "$E2E_WID")"
    wx=$X
    wy=$Y
    eval "$(xdotool getmouselocation --shell)"
    [ $((X - wx)) = 320 ] && [ $((Y - wy)) = 240 ] && break
    sleep 0.1
  done
  xdotool mousemove --window "$E2E_WID" $E2E_PARK_X $E2E_PARK_Y
}

e2e_shot() {
  import -window "$E2E_WID" "BMP3:$E2E_DIR/$1.bmp" 2>/dev/null || e2e_fail "no screenshot $1"
}
e2e_park() {
  xdotool mousemove --window "$E2E_WID" $E2E_PARK_X $E2E_PARK_Y
  sleep 0.2
}
# A key is seen only while it is held across a logic step.
e2e_press() {
  xdotool keydown "$1"
  sleep 0.15
  xdotool keyup "$1"
  sleep 0.2
}
# e2e_shot_holding KEY NAME: a screenshot while KEY is held.
e2e_shot_holding() {
  xdotool keydown "$1"
  sleep 0.4
  e2e_shot "$2"
  xdotool keyup "$1"
  sleep 0.2
}
# Pixels of the colour between two distances from the screen centre.
e2e_ring_count() { "$E2E_PROBE" ring "$E2E_DIR/$1.bmp" 320 240 "$2" "$3" "$4" | cut -d' ' -f1; }
# e2e_wait_until SECONDS NAME TEST...: screenshots NAME until TEST passes; false on time-out.
e2e_wait_until() {
  local seconds=$1 name=$2 i
  shift 2
  for i in $(seq 1 $((seconds * 4))); do
    e2e_shot "$name"
    "$@" && return 0
    kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the game ended"
    sleep 0.25
  done
  return 1
}
# The token: its 16 x 16 sprite, unscaled, centred on the screen.
e2e_token_at_centre() { "$E2E_PROBE" sprite "$E2E_DIR/$1.bmp" 312 232 "$E2E_DIR/data/images/smiley.bmp"; }
# The player's marker round the token: three blue rings of 4, 5 and 6 world units, so 12 to 14
# pixels at zoom 3 and capped at 20 to 22 from zoom 5 on; at zoom 1 the sprite hides them.
e2e_blue_rings() { [ "$(e2e_ring_count "$1" "$2" "$3" $E2E_BLUE)" -ge "$4" ]; }
e2e_marker_zoom_3() { e2e_token_at_centre "$1" && e2e_blue_rings "$1" 11.5 14.5 120 && ! e2e_blue_rings "$1" 19.5 22.5 40; }
e2e_marker_zoom_6() { e2e_token_at_centre "$1" && e2e_blue_rings "$1" 19.5 22.5 120; }
e2e_marker_zoom_1() { e2e_token_at_centre "$1" && ! e2e_blue_rings "$1" 11.5 14.5 30 && ! e2e_blue_rings "$1" 19.5 22.5 30; }
# e2e_settled_zoom LEVEL NAME: the marker as it stands at zoom LEVEL (1, 3 or 6) and a view
# that no longer changes: the zoom animation is over.
e2e_settled_zoom() {
  e2e_marker_zoom_$1 "$2" || return 1
  sleep 0.3
  e2e_shot "$2_again"
  e2e_marker_zoom_$1 "$2_again" && ! "$E2E_PROBE" differ "$E2E_DIR/$2.bmp" "$E2E_DIR/$2_again.bmp" 160 80 480 400
}
e2e_travelling() {
  "$E2E_PROBE" text "$E2E_DIR/$1.bmp" left 5 450 $E2E_YELLOW "Traveling..." ||
    "$E2E_PROBE" text "$E2E_DIR/$1.bmp" left 5 450 $E2E_YELLOW "Sleeping..."
}
# The calendar's date and time at the bottom right.
e2e_clock_moved() { "$E2E_PROBE" differ "$E2E_DIR/$1.bmp" "$E2E_DIR/$2.bmp" 380 458 625 479; }

# A journey: the edges at the player's node are the only ones drawn solid in their exact
# colour, so the probe finds the neighbours where the map and the hidden map differ in such a
# colour. Hovering a neighbour rings it red; a click sets off. Screenshots follow one another
# as fast as they can be taken until the token has arrived: trip_seen.bmp is the first under
# way, trip_end.bmp the arrival. Returns 1 when no neighbour took the click, 2 when a journey
# went by too fast to be seen.
e2e_red_near() { "$E2E_PROBE" ring "$E2E_DIR/$1.bmp" "$2" "$3" 0 "$4" $E2E_RED | cut -d' ' -f1; }
e2e_journey() {
  local zoom=$1 nx ny i seen=0
  local -a candidates
  e2e_shot map
  e2e_shot_holding m nomap
  mapfile -t candidates < <("$E2E_PROBE" neighbours "$E2E_DIR/map.bmp" "$E2E_DIR/nomap.bmp" "$zoom")
  for candidate in "${candidates[@]}"; do
    read -r nx ny <<<"$candidate"
    # Hovering near the margins would scroll the view away.
    [ "$nx" -ge 55 ] && [ "$nx" -le 585 ] && [ "$ny" -ge 55 ] && [ "$ny" -le 425 ] || continue
    xdotool mousemove --window "$E2E_WID" "$nx" "$ny"
    sleep 0.3
    e2e_shot hover
    [ "$(e2e_red_near hover "$nx" "$ny" $((9 * zoom)))" -ge $(($(e2e_red_near map "$nx" "$ny" $((9 * zoom))) + 10 * zoom)) ] || continue
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
    for i in $(seq 1 1500); do
      e2e_shot trip
      if e2e_travelling trip; then
        [ $seen = 0 ] && { seen=1; cp "$E2E_DIR/trip.bmp" "$E2E_DIR/trip_seen.bmp"; }
      elif [ $seen = 1 ] && e2e_token_at_centre trip; then
        cp "$E2E_DIR/trip.bmp" "$E2E_DIR/trip_end.bmp"
        e2e_park
        return 0
      elif [ $i -ge 20 ] && [ $seen = 0 ]; then
        # Too short a way to be seen under way, or no move at all: the clock tells.
        e2e_clock_moved hover trip && { e2e_park; return 2; }
        break
      fi
      kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the game ended during the journey"
    done
    [ $seen = 1 ] && e2e_fail "the journey did not end"
    e2e_park
  done
  return 1
}
