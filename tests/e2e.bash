# Helpers for driving the real game under Xvfb. Source this from an e2e_*.sh script that
# runs inside xvfb-run.

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

# e2e_start BINARY DIR [ALSA_CONFIG]: starts the game in DIR; sets E2E_PID and E2E_OUT.
e2e_start() {
  local binary=$1 dir=$2 alsa=${3:-}
  E2E_OUT="$dir/stdout.txt"
  E2E_ERR="$dir/stderr.txt"
  (cd "$dir" && exec env PATH=/nonexistent ${alsa:+ALSA_CONFIG_PATH=$alsa} "$binary" >"$E2E_OUT" 2>"$E2E_ERR") &
  E2E_PID=$!
}

# e2e_wait_window SECONDS: waits for the game's window; sets E2E_WID.
e2e_wait_window() {
  local i
  E2E_WID=""
  for i in $(seq 1 $(($1 * 5))); do
    E2E_WID=$(xdotool search --name "^${E2E_TITLE}\$" 2>/dev/null | head -n 1)
    [ -n "$E2E_WID" ] && return 0
    kill -0 "$E2E_PID" 2>/dev/null || return 1
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

e2e_fail() {
  echo "FAIL: $*"
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
