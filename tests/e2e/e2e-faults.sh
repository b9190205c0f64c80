#!/usr/bin/env bash
# Faults the program must ride out, as a table: each row names a fault and the
# function that plays it, which checks what the user sees and what must still
# be true on disk afterwards. Every row runs with folders of its own. A row that
# cannot run on this machine says why and the others still run; in CI (CI set)
# every row must run. QUORRIN_FAULT_ROWS=<pattern> runs only the rows whose
# name matches.
source "$QUORRIN_TESTS/e2e/lib.sh"
source "$QUORRIN_TESTS/e2e/cups/private-cups.sh"

TITLE='Quorrin Australian Astrology'
FAKETIME_LIB=$(find /usr/lib -name libfaketime.so.1 -path '*faketime*' 2>/dev/null | head -1)
PROGRAM_NAME=$(basename "$QUORRIN_PROGRAM")
# Root reads files whatever their permissions; without these two capabilities
# it cannot.
DROP_FILE_ACCESS=()
[ "$(id -u)" -ne 0 ] || DROP_FILE_ACCESS=(setpriv --inh-caps=-dac_override,-dac_read_search
  --bounding-set=-dac_override,-dac_read_search)

ROW= FAULT= ROW_DIR=

# ---------------------------------------------------------------- helpers

# Folders of the row's own for the settings, the runtime folder and the cache,
# and no printer.
fresh_user() {
  ROW_DIR="$WORK/rows/$ROW"
  export XDG_CONFIG_HOME="$ROW_DIR/config" XDG_RUNTIME_DIR="$ROW_DIR/runtime"
  export XDG_CACHE_HOME="$ROW_DIR/cache" CUPS_SERVER=/nonexistent
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
}

no_program_window() { ! xdotool search --onlyvisible --name "^$TITLE" >/dev/null 2>&1; }

# end_program [pid]: kills a copy outright and waits until its windows are gone.
end_program() {
  local pid=${1:-$PROGRAM_PID}
  {
    kill -CONT "$pid"
    kill -9 "$pid"
    wait "$pid"
  } 2>/dev/null || true
  wait_exit "$pid" || fail "copy $pid did not end"
  wait_until 10 no_program_window || fail "the windows of copy $pid stayed"
}

# answer_box <keys...>: the program's message box is shown (within 20 s) and
# answered with the keys.
answer_box() {
  wait_until 20 message_box "$TITLE" || fail "no message box"
  focus "$(message_box "$TITLE")"
  keys "$@"
  wait_until 10 no_box "$TITLE" || fail "the message box stayed"
}

no_box_over_main() {
  wait_window frmMain >/dev/null
  ! message_box "$TITLE" >/dev/null || fail "a message box came at the start"
}

# a_reading [name]: types a name in the main window and proceeds to the result.
a_reading() {
  focus "$(wait_window frmMain)"
  type_text "${1:-Ada}"
  keys alt+f
  wait_window frmAustralianAstrologyResult >/dev/null
}

# save_reading <path> [replace]: Save in the reading window, into the path;
# "replace" says Yes to replacing the file there.
save_reading() {
  focus "$(window_by_role frmSave)"
  keys alt+s
  answer_file_dialog "Save Your Zodiac Signs Result ...." "$@"
}

# masked_hex <text file> [month]: the saved reading of the UTF-8 name in the
# file and the month, in hex, as the program writes it.
masked_hex() { python3 "$QUORRIN_TESTS/e2e/zod.py" reading --name-file "$1" "${2:-January}"; }

file_hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }

# The name line of the report in the reading window, as the user copies it.
report_name() {
  local reading
  reading=$(window_by_role frmSave)
  focus "$reading"
  click_at "$reading" 250 300
  keys ctrl+a ctrl+c
  clipboard_text | sed -n 's/^Name: //p'
}

# The name in the file as a copy of the report gives it: Qt copies a no-break
# space as a plain space.
as_copied() { LC_ALL=C sed 's/\xc2\xa0/ /g' "$1"; }

# ------------------------------------------------------------ settings rows

# A start fifteen days on asks about updates: the store works again.
reminder_comes_back() {
  start_program LD_PRELOAD="$FAKETIME_LIB" FAKETIME=+15d
  answer_box Escape
  wait_window frmMain >/dev/null
  end_program
}

# settings_damaged <kind>: something that is no settings file stands where the
# settings file should be. The program starts, makes a reading, and keeps it
# aside whole under another name; the next starts use a fresh store.
settings_damaged() {
  local file wrapper=()
  file=$(settings_file)
  mkdir -p "$(dirname "$file")"
  case $1 in
  random) head -c 4096 /dev/urandom >"$file" ;;
  garbage) head -c 10M /dev/urandom >"$file" ;;
  folder) mkdir "$file" && echo "kept" >"$file/inside" ;;
  unreadable)
    printf '[Settings]\nkept=whole\n' >"$file"
    chmod 000 "$file"
    wrapper=("${DROP_FILE_ACCESS[@]}")
    ;;
  esac
  cp -a "$file" "$ROW_DIR/original"
  start_program "${wrapper[@]}"
  no_box_over_main
  a_reading
  wait_until 10 test -f "$file" || fail "no fresh settings file"
  grep -q '^\[Settings\]' "$file" || fail "the fresh settings file holds no day: $(cat "$file")"
  diff -r "$ROW_DIR/original" "$file.damaged" >/dev/null ||
    fail "not kept aside whole: $(ls -la "$(dirname "$file")")"
  end_program
  reminder_comes_back
}

# A settings folder that cannot be made (below a regular file): the program
# starts and works without a store; once the folder can be made, the store
# works again.
settings_folder_impossible() {
  echo "a file, not a folder" >"$ROW_DIR/blocker"
  start_program XDG_CONFIG_HOME="$ROW_DIR/blocker/config"
  no_box_over_main
  a_reading
  end_program
  [ "$(cat "$ROW_DIR/blocker")" = "a file, not a folder" ] || fail "the blocking file changed"
  start_program
  no_box_over_main
  wait_until 10 test -s "$(settings_file)" || fail "the usable store got no day"
  end_program
  reminder_comes_back
}

unreadable_unavailable() {
  local probe="$WORK/unreadable-probe"
  echo probe >"$probe" && chmod 000 "$probe"
  ! env "${DROP_FILE_ACCESS[@]}" cat "$probe" >/dev/null 2>&1 ||
    echo "a file with no permissions stays readable (setpriv cannot drop root's file access)"
}

# ---------------------------------------------------------------- save rows

# save_refused <kind>: Save over a saved reading where writing fails: the old
# file stays whole, no other file is left, and the user is told.
save_refused() {
  local folder="$ROW_DIR/saved" old="$ROW_DIR/old.zod" seen
  mkdir -p "$folder"
  printf '\x9f\xbb\xc2\r\n\x9f\xca\xc1\xc2\xb6\xc7\xce\r\n' >"$old"
  case $1 in
  full)
    # A 16 KB disk, filled up once the old reading is on it; the program runs
    # in the mount namespace that has it, so the test looks through the
    # program's root.
    start_program unshare --mount --propagation private sh -c \
      'mount -t tmpfs -o size=16k tmpfs "$1" && cp "$2" "$1/old.zod" &&
       { cat /dev/zero >"$1/filler" 2>/dev/null || true; } && shift 2 && exec "$@"' \
      full-disk "$folder" "$old"
    seen="/proc/$PROGRAM_PID/root$folder"
    ;;
  read-only)
    cp "$old" "$folder/old.zod"
    start_program unshare --mount --propagation private sh -c \
      'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && shift && exec "$@"' \
      read-only "$folder"
    seen=$folder
    ;;
  esac
  a_reading
  reading_window >/dev/null
  save_reading "$folder/old.zod" replace
  answer_box Return
  cmp "$old" "$seen/old.zod" || fail "the old reading changed: $(file_hex "$seen/old.zod")"
  local left
  left=$(cd "$seen" && ls -A | grep -vx -e old.zod -e filler || true)
  [ -z "$left" ] || fail "stray files left: $left"
  window_by_role frmSave >/dev/null || fail "the reading window went away"
  end_program
}

# ---------------------------------------------------------------- lock rows

lock_file() { echo "$XDG_RUNTIME_DIR/$PROGRAM_NAME.lock"; }

# lock_names <file> <pid>: the lock file names that copy.
lock_names() { [ "$(head -1 "$1" 2>/dev/null)" = "$2" ]; }

# lock_left <kind>: a lock file that no running copy holds: the next start
# succeeds and the lock then names it.
lock_left() {
  local lock
  lock=$(lock_file)
  case $1 in
  killed)
    start_program
    wait_window frmMain >/dev/null
    end_program
    [ -s "$lock" ] || fail "the killed copy left no lock to take over"
    ;;
  empty) : >"$lock" ;;
  garbage) head -c 512 /dev/urandom >"$lock" ;;
  esac
  start_program
  no_box_over_main
  lock_names "$lock" "$PROGRAM_PID" || fail "the lock does not name the copy: $(od -c "$lock" | head)"
  end_program
}

# A copy stopped with SIGSTOP still holds the lock: the next start is refused
# at once, not held up.
lock_held_by_stopped_copy() {
  start_program
  local first=$PROGRAM_PID
  wait_window frmMain >/dev/null
  kill -STOP "$first"
  second_copy_refused "$first"
  lock_names "$(lock_file)" "$first" || fail "the lock no longer names the stopped copy"
  end_program "$first"
}

# A runtime folder that cannot be written: the first copy starts, keeping its
# lock in the cache folder, and a second is still refused.
lock_runtime_read_only() {
  local read_only=(unshare --mount --propagation private sh -c
    'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && shift && exec "$@"'
    read-only-runtime "$XDG_RUNTIME_DIR")
  start_program "${read_only[@]}"
  local first=$PROGRAM_PID
  no_box_over_main
  second_copy_refused "$first" "${read_only[@]}"
  [ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "something was written to the read-only folder"
  lock_names "$XDG_CACHE_HOME/$PROGRAM_NAME/$PROGRAM_NAME.lock" "$first" ||
    fail "no lock of the first copy in the cache folder"
  end_program "$first"
}

# lock_strange <kind>: something that is no lock file of the program stands
# at the lock's path. The program starts at once without reading it, and it
# is replaced by a lock that names the copy: a link itself, never what it
# points to.
lock_strange() {
  local lock
  lock=$(lock_file)
  case $1 in
  fifo) mkfifo "$lock" ;;
  link-to-zero) ln -s /dev/zero "$lock" ;;
  sparse) truncate -s 2G "$lock" ;;
  large) head -c 100M /dev/zero >"$lock" ;;
  esac
  start_program
  wait_window frmMain >/dev/null
  # Qt and its libraries read a few megabytes as the program starts.
  local read
  read=$(sed -n 's/^rchar: //p' "/proc/$PROGRAM_PID/io")
  [ "$read" -lt $((50 * 1024 * 1024)) ] || fail "the program read $read bytes as it started"
  [ -f "$lock" ] && [ ! -L "$lock" ] && [ "$(stat -c %s "$lock")" -lt 4096 ] ||
    fail "not replaced by a lock: $(ls -la "$lock")"
  lock_names "$lock" "$PROGRAM_PID" || fail "the lock does not name the copy: $(od -c "$lock" | head -3)"
  [ -c /dev/zero ] || fail "/dev/zero was touched"
  second_copy_refused "$PROGRAM_PID"
  end_program
}

# two_copies <how>: the first copy cannot use, or does not see, the folder
# the second locks first; the second is still refused.
two_copies() {
  local first_start=() second_start=()
  case $1 in
  runtime-full)
    # The first copy's runtime folder is a full 4 KB disk, so it locks in the
    # cache folder only; the second finds its runtime folder free.
    first_start=(unshare --mount --propagation private sh -c
      'mount -t tmpfs -o size=4k tmpfs "$1" && { cat /dev/zero >"$1/filler" 2>/dev/null || true; } &&
       shift && exec "$@"' full-runtime "$XDG_RUNTIME_DIR")
    ;;
  runtime-unset)
    # Qt then makes a runtime folder in the temporary folder, kept the row's own.
    mkdir -p "$ROW_DIR/tmp"
    first_start=(-u XDG_RUNTIME_DIR TMPDIR="$ROW_DIR/tmp")
    ;;
  host-renamed)
    second_start=(unshare --uts sh -c 'hostname another-host && exec "$@"' renamed-host)
    ;;
  esac
  start_program "${first_start[@]}"
  local first=$PROGRAM_PID
  no_box_over_main
  second_copy_refused "$first" "${second_start[@]}"
  end_program "$first"
}

# ------------------------------------------------------------ hand-off rows

# ended_or_told <pid>: the start has ended, or a box of the program is up.
ended_or_told() { ! process_running "$1" || message_box "$TITLE"; }

# another_result <window>: a result window other than the one given is up.
another_result() {
  local now
  now=$(window_by_role frmAustralianAstrologyResult) && [ "$now" != "$1" ]
}

# hand_over <file> [start_program arguments...]: a start with the file while a
# copy runs ends by itself without a word; PROGRAM_PID is the running copy's
# again. A result window that was up has made way for the reading's.
hand_over() {
  local running=$PROGRAM_PID file=$1 result
  shift
  result=$(window_by_role frmAustralianAstrologyResult || true)
  start_program "$@" -- "$file"
  local handing=$PROGRAM_PID
  PROGRAM_PID=$running
  wait_until 20 ended_or_told "$handing" || fail "the start with $file neither ended nor said anything"
  ! message_box "$TITLE" >/dev/null || fail "the start with $file was refused: its file was not taken"
  wait "$handing" || fail "the start that handed $file over ended with status $?"
  [ -z "$result" ] || wait_until 20 another_result "$result" || fail "the result window stayed as it was"
}

# expect_reading <name> <month>: the running copy shows the reading of that
# name and month: saved from its reading window it is that saved reading, and
# the reading window is closed again.
SHOWN=0
expect_reading() {
  SHOWN=$((SHOWN + 1))
  wait_window frmAustralianAstrologyResult >/dev/null
  reading_window >/dev/null
  save_reading "$ROW_DIR/shown-$SHOWN.zod"
  expect_saved_reading "$ROW_DIR/shown-$SHOWN.zod" "$1" "$2"
  focus "$(window_by_role frmSave)"
  keys alt+F4
  wait_until 10 window_gone frmSave || fail "the reading window stayed"
}

# A saved reading whose file name is not UTF-8 (Latin-1, as old archives
# unpacked on Linux have them) opens from the command line, and handed over.
name_not_utf8() {
  local cold handed
  cold="$ROW_DIR/Zo$(printf '\xeb') old.zod"
  handed="$ROW_DIR/bad$(printf '\xff').zod"
  write_saved_reading "$cold" Zoe June
  write_saved_reading "$handed" Ada December
  # What a name cut at the bad byte, or with it replaced, would open.
  write_saved_reading "$ROW_DIR/bad$(printf '\xef\xbf\xbd').zod" Wrong March
  start_program -- "$cold"
  expect_reading Zoe June
  hand_over "$handed"
  expect_reading Ada December
  end_program
}

# A path with a line break in it, handed over, opens exactly that file, not
# the one named by the path up to the break.
name_with_line_break() {
  mkdir -p "$ROW_DIR/d"
  write_saved_reading "$ROW_DIR/d/a.zod" Wrong March
  write_saved_reading "$ROW_DIR/d/a.zod"$'\n'"b.zod" Ada December
  start_program
  wait_window frmMain >/dev/null
  hand_over "$ROW_DIR/d/a.zod"$'\n'"b.zod"
  expect_reading Ada December
  end_program
}

# handoff_elsewhere <how>: the later start does not find the running copy's
# socket where it looked before; its file is still shown.
handoff_elsewhere() {
  local later=()
  case $1 in
  socket-deleted) ;;
  runtime-unset)
    mkdir -p "$ROW_DIR/tmp"
    later=(-u XDG_RUNTIME_DIR TMPDIR="$ROW_DIR/tmp")
    ;;
  runtime-long)
    XDG_RUNTIME_DIR="$ROW_DIR/$(printf 'long-runtime-folder-%.0s' {1..6})"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    ;;
  esac
  start_program
  no_box_over_main
  [ "$1" != socket-deleted ] || find "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME" -type s -delete
  write_saved_reading "$ROW_DIR/handed.zod" Ada December
  hand_over "$ROW_DIR/handed.zod" "${later[@]}"
  expect_reading Ada December
  end_program
}

# connection_waits <pid>: a connection waits on a listening socket of the
# process, not yet taken.
connection_waits() { ss -xlp | grep "pid=$1," | awk '$3 > 0 { found = 1 } END { exit !found }'; }

# Exit pressed on the closing screen just as a start hands a file over: the
# copy is stopped while Alt+X and the start's message reach it, so that it
# meets both at once. Either the start tells its user and the copy ends, or
# the reading is shown.
exit_as_file_comes() {
  start_program
  local running=$PROGRAM_PID
  focus "$(wait_window frmMain)"
  keys alt+F4
  focus "$(wait_window frmNagScreen2)"
  write_saved_reading "$ROW_DIR/handed.zod" Ada December
  kill -STOP "$running"
  xdotool key alt+x
  start_program -- "$ROW_DIR/handed.zod"
  local handing=$PROGRAM_PID
  PROGRAM_PID=$running
  wait_until 10 connection_waits "$running" || fail "the start did not reach the stopped copy"
  sleep 0.5 # for the request to follow the connection
  kill -CONT "$running"
  wait_until 15 ended_or_told "$handing" || fail "the start with the file neither ended nor said anything"
  if message_box "$TITLE" >/dev/null; then
    echo "  the start was told"
    answer_box Return
    wait_exit "$handing" || fail "the told start did not end"
    wait_exit "$running" || fail "Exit did not end the copy"
  else
    echo "  the copy took the file"
    process_running "$running" || fail "the copy took the file and ended without showing it"
    expect_reading Ada December
    end_program
  fi
}

# A start that gave up on a stopped copy (and told its user) does not have
# its file opened once the copy goes on.
sender_gave_up() {
  start_program
  local running=$PROGRAM_PID
  wait_window frmMain >/dev/null
  write_saved_reading "$ROW_DIR/handed.zod" Ada December
  kill -STOP "$running"
  second_copy_refused "$running" -- "$ROW_DIR/handed.zod"
  kill -CONT "$running"
  sleep 3
  window_gone frmAustralianAstrologyResult || fail "the file of the start that gave up was opened"
  window_by_role frmMain >/dev/null || fail "the main window went away"
  end_program
}

# Both lock files deleted under a running copy A, so that B starts beside it:
# when A ends through its closing screen, B keeps its locks and its hand-off,
# and a third start is refused and hands its file to B.
lock_deleted_under_copy() {
  start_program
  local first=$PROGRAM_PID first_main
  first_main=$(wait_window frmMain)
  rm "$(lock_file)" "$XDG_CACHE_HOME/$PROGRAM_NAME/$PROGRAM_NAME.lock"
  start_program
  local second=$PROGRAM_PID
  wait_until 30 bash -c "[ \$(xdotool search --onlyvisible --name '^$TITLE' 2>/dev/null | wc -l) -ge 2 ]" ||
    fail "the second copy did not start beside the first"
  ! message_box "$TITLE" >/dev/null || fail "the second copy was refused"
  focus "$first_main"
  keys alt+F4
  focus "$(wait_window frmNagScreen2)"
  keys alt+x
  wait_exit "$first" || fail "the first copy did not end"
  lock_names "$(lock_file)" "$second" ||
    fail "the second copy's lock is gone: $(ls -la "$XDG_RUNTIME_DIR")"
  second_copy_refused "$second"
  write_saved_reading "$ROW_DIR/handed.zod" Ada December
  hand_over "$ROW_DIR/handed.zod"
  expect_reading Ada December
  end_program
}

# A refer-a-friend address longer than the browser can be handed: the user is
# told in a box of the closing screen and nothing opens; a value just short of
# that limit goes whole.
refer_address_too_long() {
  python3 -c 'import sys; sys.stdout.write("\u00e9" * 32767)' >"$ROW_DIR/name"
  printf 'ann@example.org' >"$ROW_DIR/email"
  printf 'bob@example.net' >"$ROW_DIR/friend_email"
  printf 'Bob' >"$ROW_DIR/friend"
  closing_screen
  local nag
  nag=$(window_by_role frmNagScreen2)
  fill_field name "$ROW_DIR/name"
  fill_field email "$ROW_DIR/email"
  fill_field friend_email "$ROW_DIR/friend_email"
  fill_field friend "$ROW_DIR/friend"
  keys alt+n
  wait_until 20 message_box "$TITLE" || fail "no box for the long address"
  xprop -id "$(message_box "$TITLE")" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$nag")" ||
    fail "the box does not belong to the closing screen"
  answer_box Return
  sleep 1
  [ ! -s "$OPENED_LOG" ] || fail "an address was opened: $(head -c 200 "$OPENED_LOG")"
  # 20,000 of them make an address of about 120,000 bytes, which goes.
  python3 -c 'import sys; sys.stdout.write("\u00e9" * 20000)' >"$ROW_DIR/name"
  focus "$nag"
  read -r x y <<<"${FIELD_AT[name]}"
  click_at "$nag" "$x" "$y"
  keys ctrl+a
  paste_text "$ROW_DIR/name"
  write_expected "$ROW_DIR/expected.json" taf1="$ROW_DIR/name" taf2="$ROW_DIR/email" \
    taf4="$ROW_DIR/friend" taf5="$ROW_DIR/friend_email"
  keys alt+n
  check_submission "$ROW_DIR/expected.json"
  end_program
}

unshare_unavailable() {
  [ "$(id -u)" -eq 0 ] || { echo "mounting needs root"; return; }
  unshare --mount true 2>/dev/null || echo "no private mount namespace (unshare --mount refused)"
}

# --------------------------------------------------------------- name rows

# open_again <file>: leaves the reading window and the result for a fresh
# main window, opens the saved reading there and shows its reading window.
open_again() {
  back_to_main_window
  keys alt+o
  answer_file_dialog "Select the source file" "$1"
  reading_window >/dev/null
}

# A name of 5000 characters saved from the reading window opens back as the
# same reading: saved again, the file is the same byte for byte.
long_name_round_trip() {
  python3 -c 'import sys; sys.stdout.write(("Ada Lovelace " * 400)[:4999] + "z")' >"$ROW_DIR/name"
  start_program
  focus "$(wait_window frmMain)"
  paste_text "$ROW_DIR/name"
  keys alt+f
  reading_window >/dev/null
  [ "$(report_name)" = "$(as_copied "$ROW_DIR/name")" ] || fail "the report does not show the whole name"
  save_reading "$ROW_DIR/long.zod"
  [ "$(file_hex "$ROW_DIR/long.zod")" = "$(masked_hex "$ROW_DIR/name")" ] ||
    fail "the saved bytes are not the masked name"
  open_again "$ROW_DIR/long.zod"
  [ "$(report_name)" = "$(as_copied "$ROW_DIR/name")" ] || fail "the opened reading shows another name"
  save_reading "$ROW_DIR/again.zod"
  cmp "$ROW_DIR/long.zod" "$ROW_DIR/again.zod" || fail "the opened reading saves other bytes"
  end_program
}

# Writes a name of 10,000 characters: every Windows-1252 character, characters
# outside it, control characters and direction marks, and letters to fill.
unusual_name() {
  python3 - "$1" <<'PY'
import sys
unassigned = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
code_page = ''.join(chr(c) if c in unassigned else bytes([c]).decode('cp1252')
                    for c in range(0x20, 0x100) if c != 0x7F)
outside = '漢字 Ωμέγα 🦘🌏 שלום مرحبا \u0101\u2603'
marks = '\u200e\u200f\u202e\u202c'
controls = '\x01\x07\x1b\x7f\t'
name = 'A' + code_page + outside + marks + controls
name += 'x' * (10000 - len(name))
open(sys.argv[1], 'w', encoding='utf-8', newline='').write(name)
PY
}

# What is typed at the keyboard: characters the code page holds and some
# outside it, and direction marks.
TYPED='Zoë Ōtaki 漢字 🦘 ‎‏‮end'
keys_for "$TYPED"

# report_shows_name <name file>: the report's name line is the name, byte for
# byte, as a copy gives it.
report_shows_name() {
  report_name >"$ROW_DIR/report"
  as_copied "$1" >"$ROW_DIR/expected-report"
  echo >>"$ROW_DIR/expected-report"
  cmp "$ROW_DIR/report" "$ROW_DIR/expected-report" ||
    fail "the report does not hold the name: $(cmp -l "$ROW_DIR/report" "$ROW_DIR/expected-report" | head -5)"
}

# The unusual name pasted, then more typed, in the main window: the report
# shows the whole name; the saved reading holds what the code page can and the
# whole name beside it, and opens back with the whole name.
names_in_main_window() {
  unusual_name "$ROW_DIR/name"
  start_program
  focus "$(wait_window frmMain)"
  paste_text "$ROW_DIR/name"
  type_text "$TYPED"
  printf '%s' "$TYPED" >>"$ROW_DIR/name"
  keys alt+f
  reading_window >/dev/null
  report_shows_name "$ROW_DIR/name"
  save_reading "$ROW_DIR/unusual.zod"
  [ "$(file_hex "$ROW_DIR/unusual.zod")" = "$(masked_hex "$ROW_DIR/name")" ] ||
    fail "the saved bytes are not the masked name and the whole name"
  open_again "$ROW_DIR/unusual.zod"
  report_shows_name "$ROW_DIR/name"
  save_reading "$ROW_DIR/again.zod"
  cmp "$ROW_DIR/unusual.zod" "$ROW_DIR/again.zod" || fail "the opened reading saves other bytes"
  process_running "$PROGRAM_PID" || fail "the program ended"
  end_program
}

# The closing screen, reached by closing the main window.
closing_screen() {
  start_program
  focus "$(wait_window frmMain)"
  keys alt+F4
  focus "$(wait_window frmNagScreen2)"
}

# Where each refer-a-friend field is, in the closing screen.
declare -A FIELD_AT=([name]="126 249" [email]="360 249" [friend]="126 273" [friend_email]="360 273")

# fill_field <field> <text file>: clicks into the field and pastes the text;
# "message" is the hidden box after the friend's name, whose text is replaced.
fill_field() {
  local nag
  nag=$(window_by_role frmNagScreen2)
  if [ "$1" = message ]; then
    read -r x y <<<"${FIELD_AT[friend]}"
    click_at "$nag" "$x" "$y"
    keys Tab ctrl+a
  else
    read -r x y <<<"${FIELD_AT[$1]}"
    click_at "$nag" "$x" "$y"
  fi
  paste_text "$2"
}

# check_submission <expected.json>: the browser got one more address, as one
# argument, whose query holds exactly the page and taf1..taf6, each once, with
# the values in the file.
check_submission() {
  wait_until 10 bash -c "[ \$(wc -l <'$OPENED_LOG') -ge $((SUBMITTED + 1)) ]" ||
    fail "no address was opened: $(opened_urls)"
  SUBMITTED=$((SUBMITTED + 1))
  [ "$(sed -n "${SUBMITTED}p" "$OPENED_ARGUMENTS_LOG")" = 1 ] ||
    fail "the browser got $(sed -n "${SUBMITTED}p" "$OPENED_ARGUMENTS_LOG") arguments"
  sed -n "${SUBMITTED}p" "$OPENED_LOG" >"$ROW_DIR/address"
  python3 - "$ROW_DIR/address" "$1" <<'PY' || fail "the address does not carry the fields whole"
import json, sys, urllib.parse
address = open(sys.argv[1], encoding='utf-8').read().rstrip('\n')
expected = json.load(open(sys.argv[2], encoding='utf-8'))
query = urllib.parse.urlsplit(address).query
pairs = urllib.parse.parse_qsl(query, keep_blank_values=True, strict_parsing=True,
                               encoding='utf-8', errors='strict')
keys = [key for key, _ in pairs]
wanted = ['page', 'taf1', 'taf2', 'taf3', 'taf4', 'taf5', 'taf6']
if keys != wanted:
    sys.exit(f'keys {keys}, expected {wanted}')
values = dict(pairs)
for key, value in expected.items():
    if values[key] != value:
        sys.exit(f'{key}: {values[key]!r}, expected {value!r}')
PY
}

# write_expected <json file> <key=file>...: the values the fields should send:
# each file's text without leading and trailing spaces, the message's line
# breaks as CR LF.
write_expected() {
  python3 - "$@" <<'PY'
import json, sys
out = {}
for pair in sys.argv[2:]:
    key, path = pair.split('=', 1)
    text = open(path, encoding='utf-8', newline='').read()
    if key == 'taf3':
        text = text.replace('\n', '\r\n')
    out[key] = text.strip(' ')
json.dump(out, open(sys.argv[1], 'w', encoding='utf-8'))
PY
}

# The unusual name pasted as the sender, typed as the friend: the address
# carries both whole.
names_in_refer_a_friend() {
  unusual_name "$ROW_DIR/name"
  printf 'ann@example.org' >"$ROW_DIR/email"
  printf 'bob@example.net' >"$ROW_DIR/friend_email"
  closing_screen
  fill_field name "$ROW_DIR/name"
  fill_field email "$ROW_DIR/email"
  fill_field friend_email "$ROW_DIR/friend_email"
  read -r x y <<<"${FIELD_AT[friend]}"
  click_at "$(window_by_role frmNagScreen2)" "$x" "$y"
  type_text "$TYPED"
  printf '%s' "$TYPED" >"$ROW_DIR/friend"
  write_expected "$ROW_DIR/expected.json" taf1="$ROW_DIR/name" taf2="$ROW_DIR/email" \
    taf4="$ROW_DIR/friend" taf5="$ROW_DIR/friend_email"
  keys alt+n
  check_submission "$ROW_DIR/expected.json"
  process_running "$PROGRAM_PID" || fail "the program ended"
  end_program
}

# Shell syntax in every field: one argument arrives, every value whole, no
# key added, and nothing runs.
shell_syntax_in_refer_a_friend() {
  local marker="$ROW_DIR/ran" field
  printf '$(touch %s) `touch %s`; touch %s | touch %s "q" '"'"'q'"'"' %%00 &taf6=x\nnext' \
    "$marker" "$marker" "$marker" "$marker" >"$ROW_DIR/name"
  printf 'a$(touch%s)`touch%s`;|"'"'"'%%00&taf6=@x.org' "$marker" "$marker" >"$ROW_DIR/email"
  printf '"; touch %s; echo '"'"'|'"'"' `touch %s` %%00&taf2=y' "$marker" "$marker" >"$ROW_DIR/friend"
  printf 'b%%00&taf6=evil;|touch$IFS%s`@y.net\n' "$marker" >"$ROW_DIR/friend_email"
  printf 'line $(touch %s)\n%%00 &taf6=z;\n`touch %s` | "\x27' "$marker" "$marker" >"$ROW_DIR/message"
  closing_screen
  for field in name email friend friend_email message; do
    fill_field "$field" "$ROW_DIR/$field"
  done
  write_expected "$ROW_DIR/expected.json" taf1="$ROW_DIR/name" taf2="$ROW_DIR/email" \
    taf3="$ROW_DIR/message" taf4="$ROW_DIR/friend" taf5="$ROW_DIR/friend_email"
  keys alt+n
  check_submission "$ROW_DIR/expected.json"
  sleep 1
  [ ! -e "$marker" ] || fail "a command in a field ran"
  end_program
}

# --------------------------------------------------------------- print rows

# The private print server, started by the first row that needs it.
CUPSD_PID=
use_private_cups() {
  [ -n "$CUPSD_PID" ] || start_private_cups
  export CUPS_SERVER="$CUPS_DIR/cups.sock"
}

# Repaints while the print waits: xrefresh covers the screen with a colour and
# takes it away, so every window must draw itself again; a window whose
# program is stuck keeps the colour. Input waits until the print is over.
still_repaints() {
  local window=$1
  timeout 20 import -window "$window" "$ROW_DIR/before.png"
  xrefresh -solid red
  wait_until 5 same_picture "$window" "$ROW_DIR/before.png" ||
    fail "the reading window was not repainted while the print waited"
}

same_picture() {
  timeout 20 import -window "$1" "$ROW_DIR/now.png" 2>/dev/null &&
    [ "$(compare -metric AE "$2" "$ROW_DIR/now.png" /dev/null 2>&1)" = 0 ]
}

no_job_waiting() { [ -z "$(lpstat -o 2>/dev/null)" ]; }

# For a failure's message: the requests the print proxy of the row saw.
proxy_trail() { [ -z "$PROXY_LOG" ] || echo "; the print proxy saw: $(paste -sd, "$PROXY_LOG")"; }

# print_refused <kind>: Print in the reading window with no usable printer, or
# with a print server that fails in the middle of the job (through the print
# proxy): the user is told; nothing is printed and no job is left waiting,
# even once the print server has answered whatever it was asked.
print_refused() {
  local server=/nonexistent cups=
  PROXY_LOG=
  case $1 in
  rejecting | stopped | stopped-server | cut-send | killed-server | held-job-request)
    use_private_cups
    server=$CUPS_SERVER cups=yes
    ;;
  esac
  case $1 in
  rejecting) cupsreject "$CUPS_QUEUE" ;;
  stopped) cupsdisable "$CUPS_QUEUE" ;;
  silent)
    server="$ROW_DIR/silent.sock"
    python3 -c '
import socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
server.listen(16)
held = []
while True:
    held.append(server.accept()[0])' "$server" &
    PIDS+=($!)
    wait_until 10 test -S "$server" || fail "the silent server did not start"
    ;;
  cut-send)
    start_print_proxy cut Send-Document
    server=$PROXY_SOCKET
    ;;
  killed-server)
    start_print_proxy hold Send-Document 30
    server=$PROXY_SOCKET
    ;;
  held-job-request)
    start_print_proxy hold Create-Job 20
    server=$PROXY_SOCKET
    ;;
  esac
  start_program CUPS_SERVER="$server"
  a_reading
  local reading
  reading=$(reading_window)
  focus "$reading"
  [ "$1" != stopped-server ] || kill -STOP "$CUPSD_PID"
  local started=$SECONDS
  keys alt+p
  if [ "$1" = killed-server ]; then
    wait_until 10 proxy_saw "Send-Document held" || fail "the reading was never sent"
    {
      kill -9 "$CUPSD_PID"
      wait "$CUPSD_PID"
    } 2>/dev/null || true
  fi
  if [ "$1" = silent ] || [ "$1" = stopped-server ] || [ "$1" = held-job-request ]; then
    sleep 2
    still_repaints "$reading"
  fi
  # A send that broke is known at once, and so is told at once.
  local told_within=15
  [ "$1" != cut-send ] && [ "$1" != killed-server ] || told_within=5
  wait_until $((started + told_within - SECONDS)) message_box "$TITLE" ||
    fail "the user was not told within $told_within s of Print$(proxy_trail)"
  echo "  told after about $((SECONDS - started)) s"
  answer_box Return
  [ "$1" != stopped-server ] || kill -CONT "$CUPSD_PID"
  focus "$reading"
  process_running "$PROGRAM_PID" || fail "the program ended"
  case $1 in
  killed-server) run_private_cupsd ;;
  held-job-request)
    wait_until 20 proxy_saw "Create-Job let go" || fail "the job request was never let go"
    ;;
  esac
  if [ -n "$cups" ]; then
    # A print given up on must not come out later, once the server answers.
    wait_until 10 scheduler_running || fail "the print server did not come back"
    sleep 3
    # A job that the program takes back once the server is back may take a
    # moment longer; one left for good fails.
    wait_until 10 no_job_waiting || fail "a job was left waiting: $(lpstat -o)$(proxy_trail)"
    [ -z "$(printed_pdfs)" ] || fail "something was printed: $(printed_pdfs)$(proxy_trail)"
  fi
  case $1 in
  rejecting) cupsaccept "$CUPS_QUEUE" ;;
  stopped) cupsenable "$CUPS_QUEUE" ;;
  silent) leave_while_print_waits ;;
  esac
  end_program
}

# The print thread is still waiting on the print server: leaving through the
# closing screen waits for it no more than the 2 s it may take to take back a
# job that the server holds.
leave_while_print_waits() {
  focus "$(window_by_role frmSave)"
  keys alt+F4
  wait_until 10 window_gone frmSave || fail "the reading window stayed"
  focus "$(wait_window frmAustralianAstrologyResult)"
  menu alt+f x
  focus "$(wait_window frmNagScreen2)"
  local asked
  asked=$(date +%s%N)
  keys alt+x
  wait_exit "$PROGRAM_PID" || fail "Exit did not end the program while a print waited"
  ended_soon_after "$asked" Exit
}

# ended_soon_after <time in ns> <what>: the program ended within 3 s (2 s and
# the time it takes to see it gone) of being asked to.
ended_soon_after() {
  local took=$((($(date +%s%N) - $1) / 1000000))
  echo "  ended $took ms after $2"
  [ "$took" -le 3000 ] || fail "the program took $took ms to end after $2"
}

# print_held_at_end <exit|sigterm>: the print proxy holds the reading 25 s on
# its way to the print server, so the user is told that it was not printed;
# then the program is ended while the print still waits: with Exit on the
# closing screen, or with SIGTERM, as at logout, while that box is still up.
# The program ends within 2 s, and once the server has the whole reading, no
# job is left held there, where anyone could let it go to print.
print_held_at_end() {
  use_private_cups
  start_print_proxy hold Send-Document 25
  start_program CUPS_SERVER="$PROXY_SOCKET"
  a_reading
  focus "$(reading_window)"
  local started=$SECONDS
  keys alt+p
  wait_until 10 proxy_saw "Send-Document held" || fail "the reading was never sent$(proxy_trail)"
  wait_until $((started + 15 - SECONDS)) message_box "$TITLE" ||
    fail "the user was not told within 15 s of Print$(proxy_trail)"
  if [ "$1" = sigterm ]; then
    local asked
    asked=$(date +%s%N)
    kill -TERM "$PROGRAM_PID"
    wait_exit "$PROGRAM_PID" || fail "SIGTERM did not end the program while its box was up"
    ended_soon_after "$asked" SIGTERM
  else
    answer_box Return
    leave_while_print_waits
  fi
  wait_until 30 proxy_saw "Send-Document let go" || fail "the reading was never let go$(proxy_trail)"
  sleep 3
  no_job_waiting || fail "a job was left on the print server: $(lpstat -o)$(proxy_trail)"
  [ -z "$(printed_pdfs)" ] || fail "something was printed: $(printed_pdfs)$(proxy_trail)"
}

# ------------------------------------------------------------- open rows

# A saved reading swapped for a named pipe that no one writes to: choosing it
# in the open dialog holds nothing up; the name box stays empty, so Proceed
# asks for a name, as for a file that cannot be read. That box is told by its
# picture: the same as the one Proceed shows for an empty name box.
pipe_as_saved_reading() {
  mkfifo "$ROW_DIR/x.zod"
  start_program
  focus "$(wait_window frmMain)"
  keys alt+f
  wait_until 20 message_box "$TITLE" || fail "no box for an empty name"
  timeout 20 import -window "$(message_box "$TITLE")" "$ROW_DIR/enter-your-name.png"
  answer_box Return
  focus "$(wait_window frmMain)"
  keys alt+o
  # The dialog lists no pipes, so it offers no completion: Enter takes the
  # path as typed.
  wait_until 20 message_box "Select the source file" || fail "no open dialog"
  wait_active "$(message_box "Select the source file")" "the open dialog"
  type_text "$ROW_DIR/x.zod"
  keys Return
  wait_until 10 no_box "Select the source file" || fail "the open dialog stayed"
  wait_until 10 message_box "$TITLE" || fail "no message box within 10 s of choosing the pipe"
  wait_until 5 same_picture "$(message_box "$TITLE")" "$ROW_DIR/enter-your-name.png" ||
    fail "the box is not the one for an empty name: $(compare -metric AE "$ROW_DIR/enter-your-name.png" "$ROW_DIR/now.png" /dev/null 2>&1) pixels differ"
  answer_box Return
  window_by_role frmMain >/dev/null || fail "the main window went away"
  window_gone frmAustralianAstrologyResult || fail "a reading was made"
  [ -p "$ROW_DIR/x.zod" ] || fail "the pipe was replaced: $(ls -l "$ROW_DIR/x.zod")"
  end_program
}

# ----------------------------------------------------------------- the table

# name | fault | play [| prerequisite]
ROWS=(
  "settings-random|settings file of random bytes|settings_damaged random"
  "settings-garbage|10 MB of garbage as the settings file|settings_damaged garbage"
  "settings-folder|a folder where the settings file should be|settings_damaged folder"
  "settings-unreadable|a settings file the program may not read|settings_damaged unreadable|unreadable_unavailable"
  "settings-no-folder|a settings folder that cannot be made|settings_folder_impossible"
  "save-full-disk|Save over a reading on a full disk|save_refused full|unshare_unavailable"
  "save-read-only|Save over a reading in a read-only folder|save_refused read-only|unshare_unavailable"
  "lock-killed|lock left by a copy killed with SIGKILL|lock_left killed"
  "lock-empty|an empty lock file|lock_left empty"
  "lock-garbage|a lock file of garbage|lock_left garbage"
  "lock-stopped-copy|lock held by a copy stopped with SIGSTOP|lock_held_by_stopped_copy"
  "lock-read-only|a runtime folder that cannot be written|lock_runtime_read_only|unshare_unavailable"
  "lock-fifo|a named pipe where the lock file should be|lock_strange fifo"
  "lock-link-to-zero|a link to /dev/zero as the lock file|lock_strange link-to-zero"
  "lock-sparse|a sparse 2 GB lock file|lock_strange sparse"
  "lock-large|a 100 MB lock file|lock_strange large"
  "two-copies-runtime-full|a copy whose runtime folder was full, then a start with it free|two_copies runtime-full|unshare_unavailable"
  "two-copies-runtime-unset|a copy started without XDG_RUNTIME_DIR, then one with it|two_copies runtime-unset"
  "two-copies-host-renamed|the host name changed while a copy runs|two_copies host-renamed|unshare_unavailable"
  "name-not-utf8|a saved reading named in Latin-1, bytes that are no UTF-8, from the command line and handed over|name_not_utf8"
  "name-line-break|a saved reading whose path holds a line break, handed over|name_with_line_break"
  "handoff-socket-deleted|the running copy's socket file deleted, then a start with a file|handoff_elsewhere socket-deleted"
  "handoff-runtime-unset|a start with a file without XDG_RUNTIME_DIR while a copy runs with it|handoff_elsewhere runtime-unset"
  "handoff-runtime-long|a runtime folder too long for a socket address, then a start with a file|handoff_elsewhere runtime-long"
  "handoff-exit|a file handed over just as Exit is pressed|exit_as_file_comes"
  "handoff-gave-up|a start with a file gives up on a copy stopped with SIGSTOP|sender_gave_up"
  "lock-deleted-under-copy|both lock files deleted, a second copy started beside the first, then the first exits|lock_deleted_under_copy"
  "refer-too-long|a refer-a-friend address of 196 KB|refer_address_too_long"
  "long-saved-name|a saved reading with a name of 5000 characters|long_name_round_trip"
  "names-main|10,000 characters of every kind pasted and typed as the name|names_in_main_window"
  "names-refer|10,000 characters of every kind in the refer-a-friend fields|names_in_refer_a_friend"
  "shell-refer|shell syntax in every refer-a-friend field|shell_syntax_in_refer_a_friend"
  "print-none|Print with no printer|print_refused none"
  "print-rejecting|Print to a queue that rejects jobs|print_refused rejecting|private_cups_unavailable"
  "print-stopped-queue|Print to a stopped queue|print_refused stopped|private_cups_unavailable"
  "print-silent-server|Print with a server that never answers|print_refused silent"
  "print-stopped-server|Print with a print server stopped by SIGSTOP|print_refused stopped-server|private_cups_unavailable"
  "print-cut-send|Print with the connection to the print server cut while the reading is sent|print_refused cut-send|private_cups_unavailable"
  "print-killed-server|Print with the print server killed by SIGKILL while the reading is sent|print_refused killed-server|private_cups_unavailable"
  "print-held-job-request|Print with the job request held 20 s on its way to the print server|print_refused held-job-request|private_cups_unavailable"
  "print-exit-held|Exit while the reading sent to print is held 25 s on its way to the print server|print_held_at_end exit|private_cups_unavailable"
  "print-sigterm-held|SIGTERM, as at logout, while the reading sent to print is held on its way and the box saying so is up|print_held_at_end sigterm|private_cups_unavailable"
  "open-pipe|a named pipe chosen as the saved reading x.zod|pipe_as_saved_reading"
)

SUBMITTED=0
ran=0 skipped=0
for row in "${ROWS[@]}"; do
  IFS='|' read -r ROW FAULT play prerequisite <<<"$row"
  FAIL_CONTEXT="row $ROW ($FAULT): "
  [[ "$ROW" =~ ${QUORRIN_FAULT_ROWS:-.} ]] || continue
  fresh_user
  reason=
  [ -z "$prerequisite" ] || reason=$($prerequisite)
  if [ -n "$reason" ]; then
    [ -z "${CI:-}" ] || fail "row $ROW cannot run in CI: $reason"
    echo "row $ROW skipped: $reason"
    skipped=$((skipped + 1))
    continue
  fi
  echo "row $ROW: $FAULT"
  $play
  ran=$((ran + 1))
done
echo "e2e faults: passed ($ran rows, $skipped skipped)"
