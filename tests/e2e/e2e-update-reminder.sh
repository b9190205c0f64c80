#!/usr/bin/env bash
# The update reminder: the first start stores today quietly; a start 15 days
# later asks before any window shows, opens the download page on Yes and
# stores the new day.
source "$QUORRIN_TESTS/e2e/lib.sh"

start_program
wait_window frmMain >/dev/null
wait_until 10 test -s "$(settings_file)" || fail "the first start stored no day"
grep -q Settings "$(settings_file)" || fail "no Settings section in $(settings_file)"
first_day=$(cat "$(settings_file)")
message_box "$TITLE" && fail "the first start asked about updates"
kill -9 "$PROGRAM_PID"
wait_exit "$PROGRAM_PID"

start_program faketime -f +15d
wait_until 20 message_box "$TITLE" || fail "no update reminder after 15 days"
window_by_role frmMain && fail "the main window came before the reminder"
box=$(message_box "$TITLE")
screenshot "$box" update-reminder
focus "$box"
keys Return      # Yes is the default answer
wait_window frmMain >/dev/null
wait_until 10 grep -q 'ssd.php?page=download-web-page$' "$OPENED_LOG" ||
  fail "the download page was not opened: $(opened_urls)"
[ "$(cat "$(settings_file)")" != "$first_day" ] || fail "the new day was not stored"
echo "e2e update reminder: passed"
