#!/usr/bin/env bash
# Broken inputs end with a clear message and exit code, or start with one message, and never
# hang or crash the game.
# Usage: e2e_bad_input.sh BINARY RUN_DIR
set -u
if [ -z "${DISPLAY:-}" ] || [ -z "${E2E_UNDER_XVFB:-}" ]; then
  exec env E2E_UNDER_XVFB=1 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 800x600x24" bash "$0" "$@"
fi
binary=$1
RUN_DIR=$2
source "$(dirname "$0")/e2e.bash"

# The 8 bytes that hang Allegro's text routines, and the other lead bytes that do the same.
BAD_FF='\xff\xa9\xa9\xa9\xa9\xa9\xb8\xb8'
BAD_FD='\xfd\xa9\xa9\xa9\xa9\xa9\xb8\xb8'
BAD_FE='\xfe\xa9\xa9\xa9\xa9\xa9\xb8\xb8'
MODE_FAIL="ERROR:  Failure to init video mode!  Terminating program."

# run_case LABEL SETUP CODE EXPECTED [any-order]: SETUP runs in a fresh run directory; the
# game must end by itself with CODE and print EXPECTED. CODE "quit" means it must start, draw
# its window, and end on Escape with code 0. With any-order, EXPECTED's lines may come in any
# order (the map, and so the order of its messages, differs from run to run).
run_case() {
  local label=$1 setup=$2 code=$3 expected=$4 order=${5:-} dir got want
  dir=$(e2e_fresh_run_dir "$RUN_DIR")
  (cd "$dir" && eval "$setup") || e2e_fail "$label: setup"
  e2e_start "$binary" "$dir" "$(e2e_null_sound_config "$dir")"
  if [ "$code" = quit ]; then
    e2e_wait_window 120 || e2e_fail "$label: no window"
    e2e_quit 120 || e2e_fail "$label: still running after Escape"
    code=0
  else
    e2e_wait_exit 120 || e2e_fail "$label: still running (hangs?)"
  fi
  [ "$E2E_RC" -eq "$code" ] || e2e_fail "$label: exit code $E2E_RC, expected $code"
  got=$(cat "$E2E_OUT")
  want=$(printf '%b' "$expected")
  if [ "$order" = any-order ]; then
    got=$(sort <<<"$got")
    want=$(sort <<<"$want")
  fi
  [ "$got" = "$want" ] || e2e_fail "$label: unexpected messages"
  echo "ok: $label"
  rm -rf "$dir"
}

append() { printf '%b' "$2" >>"$1"; }

# config.ini that Allegro cannot read: the defaults, as without a file (full screen, mode
# message), and with them no node to build a map of: code 1.
NO_NODES="ERROR:  The map has no nodes.  Set node_count in the [map_generation] section of config.ini to a number from 1 to 999.\n"
run_case config-ff "append config.ini '# $BAD_FF\n'" 1 \
  "ERROR:  config.ini line 22 is not UTF-8 text.  Using the defaults.\nERROR:  Incorrect amount of arguments in graphics.mode in config.ini\n$NO_NODES"
run_case config-fd "sed -i '1s/^/level = $BAD_FD\n/' config.ini" 1 \
  "ERROR:  config.ini line 1 is not UTF-8 text.  Using the defaults.\nERROR:  Incorrect amount of arguments in graphics.mode in config.ini\n$NO_NODES"

# Text files with such bytes name file and line and end with code 1.
run_case words-ff "append data/words.dat '[$BAD_FF]\nx\n'" 1 \
  "ERROR:  ./data/words.dat line $(($(wc -l <"$RUN_DIR/data/words.dat") + 1)) is not UTF-8 text."
run_case words-fe "sed -i '2s/^/$BAD_FE/' data/words.dat" 1 "ERROR:  ./data/words.dat line 2 is not UTF-8 text."
run_case calendars-fd "sed -i '1s/^/[A][$BAD_FD]\n/' data/calendars.dat" 1 \
  "ERROR:  ./data/calendars.dat line 1 is not UTF-8 text."

# Words outside any section: one message per section, naming the file, then the game runs.
run_case words-flood "python3 -c \"import sys; t=open('data/words.dat').read(); open('data/words.dat','w').write(','*500000+'\\\\n'+t)\"" quit \
  "ERROR:  ./data/words.dat line 1:  words before the first section header are dropped.\n"
run_case calendars-stray "sed -i '1s/^/early, stray, words\n/' data/calendars.dat" quit \
  "ERROR:  ./data/calendars.dat line 1:  words before the first section header are dropped.\n"

# Months beyond the bound: file, month and value named, code 1.
for days in 10001 10000000 2147483647; do
  run_case "month-$days" "sed -i 's/^Hammer, 45,/Hammer, $days,/' data/calendars.dat" 1 \
    "ERROR:  ./data/calendars.dat:  calendar \"Dwarven Deepcount\" has month \"Hammer\" of $days days.  A calendar needs months of 1 to 10000 days, at most 10000 days a year, weekdays and weekends.\n"
done

# Screen sizes the screen cannot take: the video-mode failure with a report of its own.
for mode in "0 480" "640 0" "100000 100000" "32768 32768" "16385 65535" "-640 480"; do
  run_case "mode $mode" "sed -i 's/^mode = .*/mode = $mode 32/' config.ini" 1 \
    "$MODE_FAIL\nREPORT:  Screen size ${mode/ /x} out of range\n"
done

# Each input missing in turn: one message naming it, code 1.
for db in words wc; do
  run_case "no-$db.db" "rm data/$db.db" 1 \
    "ERROR: WORLD::init: Can't open database: ./data/$db.db: unable to open database file\n"
done
for image in Nodes.pcx significant_locations.bmp smiley.bmp; do
  run_case "no-$image" "rm data/images/$image" 1 "ERROR:  Could not find/open './data/images/$image'"
done
for text in words.dat calendars.dat; do
  run_case "no-$text" "rm data/$text" 1 "unable to open ./data/$text for input."
done

# Word lists a map uses up: one message for each list that runs out, numbered names after it,
# and the game plays on.
TAKEN="Further names from it end in a number; add words to that list.\n"
run_case small-word-lists "printf '%s\\n' '[adjectives]' Old '[names]' Brenna '[titles]' Duke '[adverbs]' Very '[locations]' Harrow '[monsters]' Wolf '[regions]' March >data/words.dat && sed -i 's/^node_count = .*/node_count = 20/' config.ini" quit \
  "ERROR:  Every word of [regions] in ./data/words.dat is taken.  $TAKEN""ERROR:  Every word of [locations] in ./data/words.dat is taken.  $TAKEN" any-order

# A words.db of settlement kinds alone: one message for the place words and one for the
# dungeon words, naming the file, and the game plays on.
NO_WORD="for some nodes, which get none.  Keep a word without rules in every height band.\n"
run_case words-db-kinds-only "python3 -c \"import sqlite3; c = sqlite3.connect('data/words.db'); c.execute('DELETE FROM places WHERE flag != 2'); c.commit()\"" quit \
  "ERROR:  ./data/words.db has no place word (flag 0) $NO_WORD""ERROR:  ./data/words.db has no dungeon word (flag 1) $NO_WORD" any-order
