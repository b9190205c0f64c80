#!/usr/bin/env bash
# The command line: --help, --version and a wrong option answer on the
# terminal with no display at all; a start with no display says so in one
# line; and a saved reading named on the command line opens as the open
# command opens it: the result window shows its sign, and saved again it is
# the same reading.
source "$QUORRIN_TESTS/e2e/lib.sh"

# run_without_display <arguments...>: the program's status, standard output
# and standard error, in $WORK/status, out and err.
run_without_display() {
  local status=0
  timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$QUORRIN_PROGRAM" "$@" \
    >"$WORK/out" 2>"$WORK/err" </dev/null || status=$?
  echo "$status" >"$WORK/status"
}

# holds <file> <pattern>: a line of the file matches; "-" says it is empty.
holds() { if [ "$2" = - ]; then [ ! -s "$1" ]; else grep -qE "$2" "$1"; fi; }

# expect <status> <stdout pattern> <stderr pattern> <arguments...>
expect() {
  local status=$1 out=$2 err=$3
  shift 3
  run_without_display "$@"
  [ "$(cat "$WORK/status")" = "$status" ] && holds "$WORK/out" "$out" && holds "$WORK/err" "$err" ||
    fail "'$*' with no display: status $(cat "$WORK/status"), expected $status
--- standard output:
$(cat "$WORK/out")
--- standard error:
$(cat "$WORK/err")"
}

name=$(basename "$QUORRIN_PROGRAM")
expect 0 "^Usage: $name \[OPTION\] \[FILE\]" - --help
expect 0 "^$TITLE ${QUORRIN_VERSION//./\\.}$" - --version
expect 2 - "^$name: Unknown option 'bogus'\.$" --bogus
grep -q '^Usage:' "$WORK/err" || fail "a wrong option shows no usage: $(cat "$WORK/err")"
expect 1 - "^$name: needs a graphical display" "$WORK/none.zod"
[ "$(wc -l <"$WORK/err")" = 1 ] || fail "more than one line without a display: $(cat "$WORK/err")"

# A relative path, from the folder the reading is in.
mkdir -p "$WORK/saved"
write_saved_reading "$WORK/saved/ada.zod" "Ada Lovelace" April
cd "$WORK/saved"
start_program -- ada.zod
cd - >/dev/null
reading_window >/dev/null
wait_until 10 window_gone frmMain || fail "the main window stayed after the reading opened"
save_path="$WORK/again.zod"
focus "$(window_by_role frmSave)"
keys alt+s
answer_file_dialog "Save Your Zodiac Signs Result ...." "$save_path"
expect_saved_reading "$save_path" "Ada Lovelace" April
echo "e2e command line: passed"
