#!/usr/bin/env bash
# Broken inputs end with a clear message and exit code, or start with one message, and never
# hang or crash the game.
# Usage: e2e_bad_input.sh BINARY RUN_DIR PROBE
set -u
if [ -z "${DISPLAY:-}" ] || [ -z "${E2E_UNDER_XVFB:-}" ]; then
  exec env E2E_UNDER_XVFB=1 xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 800x600x24" bash "$0" "$@"
fi
binary=$1
RUN_DIR=$2
probe=$3
source "$(dirname "$0")/e2e.bash"

# The 8 bytes that hang Allegro's text routines, and the other lead bytes that do the same.
BAD_FF='\xff\xa9\xa9\xa9\xa9\xa9\xb8\xb8'
BAD_FD='\xfd\xa9\xa9\xa9\xa9\xa9\xb8\xb8'
BAD_FE='\xfe\xa9\xa9\xa9\xa9\xa9\xb8\xb8'
MODE_FAIL="ERROR:  Failure to init video mode!  Terminating program."

# run_case LABEL SETUP CODE EXPECTED [any-order]: SETUP runs in a fresh run directory; the
# game must end by itself with CODE and print EXPECTED. CODE "quit" means it must start, draw
# its window, and end on Escape with code 0; "press-KEY" the same, with KEY pressed once when
# the world is up (the player's marker drawn at the centre) and BEFORE_PRESS has run in the
# run directory. With any-order, EXPECTED's lines
# may come in any order (the map, and so the order of its messages, differs from run to run).
run_case() {
  local label=$1 setup=$2 code=$3 expected=$4 order=${5:-} dir got want
  dir=$(e2e_fresh_run_dir "$RUN_DIR")
  (cd "$dir" && eval "$setup") || e2e_fail "$label: setup"
  e2e_start "$binary" "$dir" "$(e2e_null_sound_config "$dir")"
  if [ "$code" = quit ] || [ "${code#press-}" != "$code" ]; then
    e2e_wait_window 120 || e2e_fail "$label: no window"
    if [ "$code" != quit ]; then
      e2e_player "$dir" "$probe"
      e2e_wait_until 180 start e2e_marker_zoom_3 start || e2e_fail "$label: no player's marker at the centre"
      (cd "$dir" && eval "$BEFORE_PRESS") || e2e_fail "$label: before the key"
      e2e_press "${code#press-}"
      sleep 0.5
    fi
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

BEFORE_PRESS=":"

append() { printf '%b' "$2" >>"$1"; }

# config.ini that Allegro cannot read: the defaults, as without a file (full screen, mode
# message), and with them no node to build a map of: code 1.
NO_NODES="ERROR:  The map has no nodes.  Set node_count in the [map_generation] section of config.ini to a number from 1 to 999.\n"
run_case config-ff "append config.ini '# $BAD_FF\n'" 1 \
  "ERROR:  config.ini line 22 is not UTF-8 text.  Using the defaults.\nERROR:  Incorrect amount of arguments in graphics.mode in config.ini\n$NO_NODES"
run_case config-fd "sed -i '1s/^/level = $BAD_FD\n/' config.ini" 1 \
  "ERROR:  config.ini line 1 is not UTF-8 text.  Using the defaults.\nERROR:  Incorrect amount of arguments in graphics.mode in config.ini\n$NO_NODES"

# config.ini that cannot be read at all: the same, where the game ended with an abort.
run_case config-dir "rm config.ini && mkdir config.ini" 1 \
  "ERROR:  config.ini cannot be read: Is a directory.  Using the defaults.\nERROR:  Incorrect amount of arguments in graphics.mode in config.ini\n$NO_NODES"

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

# Many unknown sections: the first named, the rest counted in one message, and the words of
# the known sections kept; where every section had a box of its own.
unknown_sections() { for i in $(seq 1 "$2"); do printf '%s\nstray, words\n' "$3$i$4" >>"$1"; done; }
DROPPED="not found; their words are dropped.\n"
run_case words-sections "unknown_sections data/words.dat 40 '[lost' ']'" quit \
  "ERROR:  ./data/words.dat line $(($(wc -l <"$RUN_DIR/data/words.dat") + 1)):  section \"[lost1]\" not found; its words are dropped.\nERROR:  ./data/words.dat:  39 more sections $DROPPED"
run_case calendars-sections "unknown_sections data/calendars.dat 40 '[Tidewardens Count][lost' ']'" quit \
  "ERROR:  ./data/calendars.dat line $(($(wc -l <"$RUN_DIR/data/calendars.dat") + 1)):  section \"lost1\" not found; its words are dropped.\nERROR:  ./data/calendars.dat:  39 more sections $DROPPED"
# A garbled file: a few messages and code 1, where it showed 48 boxes first.
garble() { python3 -c 'import random, sys; random.seed(3); open(sys.argv[1], "w").write("".join(random.choice("abc[], \n0123456789") for _ in range(20000)))' "$1"; }
garbled() {
  printf '%s' "ERROR:  ./data/$1 line 2:  words before the first section header are dropped.\nERROR:  ./data/$1 line 11:  section \"$2\" not found; its words are dropped.\nERROR:  ./data/$1:  46 more sections $DROPPED$3"
}
run_case words-garbled "garble data/words.dat" 1 "$(garbled words.dat '[b8 2,02c3]' \
  "ERROR:  ./data/words.dat holds no words in [adjectives], [names], [titles], [adverbs], [locations], [regions], [monsters].  Every word list needs at least one word.\n")"
run_case calendars-garbled "garble data/calendars.dat" 1 "$(garbled calendars.dat 180635155b5 \
  "ERROR:  ./data/calendars.dat:  calendar \"b8 2,02c3\" has no months.  A calendar needs months of 1 to 10000 days, at most 10000 days a year, weekdays and weekends.\n")"

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

# Databases the game cannot read or make its tables in: one message naming the file, code 1,
# where the game played on under a box for every node and every day.
noise() { python3 -c 'import random, sys; random.seed(7); sys.stdout.buffer.write(random.randbytes(int(sys.argv[2])))' - "$2" >"$1"; }
# A save database of an earlier run, its rows over many pages.
old_save() {
  python3 -c 'import sqlite3, sys
c = sqlite3.connect(sys.argv[1])
c.execute("CREATE TABLE nodes(Node_ID int UNIQUE)")
c.executemany("INSERT INTO nodes VALUES(?)", [(i,) for i in range(3000)])
c.commit()' "$1"
}
SAVE_FAIL="ERROR: WORLD::init: Can't write database: ./data/save_game.db:"
WC_FAIL="ERROR: WORLD::init: Can't read database: ./data/wc.db:"
run_case save-noise "noise data/save_game.db 3000" 1 "$SAVE_FAIL file is not a database\n"
run_case save-cut "old_save data/save_game.db && truncate -s 8192 data/save_game.db" 1 \
  "$SAVE_FAIL database disk image is malformed\n"
run_case save-empty ": >data/save_game.db" quit ""
run_case wc-noise "noise data/wc.db 3000" 1 "$WC_FAIL file is not a database\n"
run_case wc-empty ": >data/wc.db" 1 "$WC_FAIL no such table: wc\n"
run_case wc-cut "truncate -s 4096 data/wc.db" 1 "$WC_FAIL database disk image is malformed\n"
run_case wc-no-rows "python3 -c \"import sqlite3; c = sqlite3.connect('data/wc.db'); c.execute('DELETE FROM wc'); c.commit()\"" 1 \
  "$WC_FAIL table wc holds no weather conditions\n"
# A words.db that opens but cannot be read: one message naming it, code 1, where an SQL error
# naming nothing came first and then a wrong cause (no settlement kinds) with the absolute path.
WORDS_FAIL="ERROR: WORLD::init: Can't read database: ./data/words.db:"
run_case words-db-noise "noise data/words.db 3000" 1 "$WORDS_FAIL file is not a database\n"
run_case words-db-empty ": >data/words.db" 1 "$WORDS_FAIL no such table: places\n"
run_case words-db-cut "truncate -s 4096 data/words.db" 1 "$WORDS_FAIL database disk image is malformed\n"
run_case words-db-no-places "python3 -c \"import sqlite3; c = sqlite3.connect('data/words.db'); c.execute('ALTER TABLE places RENAME TO other'); c.commit()\"" 1 \
  "$WORDS_FAIL no such table: places\n"
# No settlement kinds anywhere: both files named as the game reads them.
run_case words-db-no-kinds "python3 -c \"import sqlite3; c = sqlite3.connect('data/words.db'); c.execute('DELETE FROM places WHERE flag = 2'); c.commit()\"" 1 \
  "ERROR:  No settlement kinds:  ./data/words.dat has no words in [settlements] and ./data/words.db has no rows with flag 2.\n"
# The windows' scratch database: the population chart (S) stays closed with one message naming
# it, and the game plays on; where every town showed a box of its own.
run_case scratch-noise "noise data/scroll_window.txt 3000" press-s \
  "ERROR: Population Chart: Can't write database: ./data/scroll_window.txt: file is not a database\n"

# A full disk and a read-only data/ stand in a mount namespace of the game's own (a user
# namespace's where root's is not allowed; root writes past chmod): namespace_launch SCRIPT
# PROBE sets E2E_LAUNCH to run SCRIPT in the run directory and then the game, when PROBE
# passes after SCRIPT in a scratch directory with a data/. False where neither works.
namespace_launch() {
  local probe flags
  probe=$(mktemp -d "$E2E_ROOT/probe.XXXXXX")
  mkdir "$probe/data"
  for flags in -m -rm; do
    if (cd "$probe" && unshare $flags bash -c "$1 && exec \"\$@\"" - bash -c "$2") 2>/dev/null; then
      E2E_LAUNCH=(unshare $flags bash -c "$1 && exec \"\$@\"" -)
      return 0
    fi
  done
  return 1
}
FULL_DATA='mkdir -p full && mount -t tmpfs -o size=1m tmpfs full && cp -r data/. full/ &&
  { cat /dev/zero >full/filler 2>/dev/null || true; } && mount --bind full data'
READ_ONLY_DATA='mount --bind data data && mount -o remount,bind,ro data'
if namespace_launch "$FULL_DATA" '! echo x >data/y'; then
  run_case save-full-disk ":" 1 "$SAVE_FAIL database or disk is full\n"
else
  echo "skipped: save-full-disk (no mount namespace here; a unit test fills the database)"
fi
# The disk filling up during play: data/ fills when the file "fill" appears beside it (or
# after five minutes), and "filled" tells that it has.
FILL_LATER='mkdir -p full && mount -t tmpfs -o size=1m tmpfs full && cp -r data/. full/ &&
  mount --bind full data && { (for i in $(seq 1 3000); do [ -e fill ] && break; sleep 0.1; done
    cat /dev/zero >data/filler 2>/dev/null; touch filled) & }'
WAIT_FILLED='for i in $(seq 1 100); do [ -e filled ] && break; sleep 0.1; done; [ -e filled ]'
if namespace_launch "$FILL_LATER" "echo x >data/y && touch fill && $WAIT_FILLED && ! echo x >data/z"; then
  BEFORE_PRESS="touch fill && $WAIT_FILLED"
  run_case scratch-full-disk ":" press-s \
    "ERROR: Population Chart: Can't write database: ./data/scroll_window.txt: database or disk is full\n"
  BEFORE_PRESS=":"
else
  echo "skipped: scratch-full-disk (no mount namespace here; a unit test locks the scratch database)"
fi
# An earlier run's save database there.
if namespace_launch "$READ_ONLY_DATA" '! touch data/x'; then
  run_case save-read-only "old_save data/save_game.db" 1 "$SAVE_FAIL attempt to write a readonly database\n"
else
  echo "skipped: save-read-only (no mount namespace here; a unit test opens it read-only)"
fi
E2E_LAUNCH=()

# Pictures whose headers Allegro's loaders would trust into a crash: like a missing file.
# patch FILE OFFSET FORMAT VALUE...: the values packed little-endian at the offset.
patch() { python3 -c 'import struct, sys
with open(sys.argv[1], "r+b") as f:
    f.seek(int(sys.argv[2]))
    f.write(struct.pack(sys.argv[3], *map(int, sys.argv[4:])))' "$@"; }
NO_IMAGE="ERROR:  Could not find/open './data/images"
run_case nodes-65535 "patch data/images/Nodes.pcx 8 '<HH' 65535 65535" 1 "$NO_IMAGE/Nodes.pcx'"
run_case nodes-xmin "patch data/images/Nodes.pcx 4 '<H' 700" 1 "$NO_IMAGE/Nodes.pcx'"
run_case nodes-negative "patch data/images/Nodes.pcx 4 '<HH' 700 400" 1 "$NO_IMAGE/Nodes.pcx'"
run_case locations-width "patch data/images/significant_locations.bmp 18 '<i' -96" 1 \
  "$NO_IMAGE/significant_locations.bmp'"
run_case locations-65536 "patch data/images/significant_locations.bmp 18 '<ii' 65536 65536" 1 \
  "$NO_IMAGE/significant_locations.bmp'"
# Its 24-bit pixels read as run-length data: runs far past its 16 columns.
run_case smiley-runs "patch data/images/smiley.bmp 28 '<HI' 8 1" 1 "$NO_IMAGE/smiley.bmp'"

# Pictures whose header promises pixels the file does not hold, or a depth the loader does not
# read: like a missing file, where the game played on with wrong icons, or spent seconds and
# gigabytes of memory on a black screen for a tiny file with a huge header.
half() { truncate -s $(($(stat -c %s "$1") / 2)) "$1"; }
for image in Nodes.pcx significant_locations.bmp smiley.bmp; do
  run_case "half-$image" "half data/images/$image" 1 "$NO_IMAGE/$image'"
done
run_case locations-7-bits "patch data/images/significant_locations.bmp 28 '<H' 7" 1 \
  "$NO_IMAGE/significant_locations.bmp'"
run_case locations-23000 "patch data/images/significant_locations.bmp 18 '<ii' 23000 23000" 1 \
  "$NO_IMAGE/significant_locations.bmp'"
run_case nodes-23169 "patch data/images/Nodes.pcx 8 '<HH' 23168 23168 && patch data/images/Nodes.pcx 66 '<H' 23170" 1 \
  "$NO_IMAGE/Nodes.pcx'"
run_case nodes-20000 "patch data/images/Nodes.pcx 8 '<HH' 19999 19999" 1 "$NO_IMAGE/Nodes.pcx'"
run_case nodes-line-65535 "patch data/images/Nodes.pcx 66 '<H' 65535" 1 "$NO_IMAGE/Nodes.pcx'"

# A picture of one pixel is a picture: the game plays with it.
tiny_pcx() { python3 -c 'import sys
header = bytearray(128)
header[0:4] = bytes([10, 5, 1, 8])
header[65] = 3
header[66] = 2
open(sys.argv[1], "wb").write(bytes(header) + bytes([0x80, 0, 0x40, 0, 0x20, 0]))' "$1"; }
run_case nodes-1x1 "tiny_pcx data/images/Nodes.pcx" quit ""
