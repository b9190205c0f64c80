#!/usr/bin/env bash
# One copy per user: a second start is refused while the first keeps running,
# a second start with a saved reading hands it to the first, which shows it,
# and a copy killed outright never blocks the next start.
source "$QUORRIN_TESTS/e2e/lib.sh"

start_program
first=$PROGRAM_PID
main=$(wait_window frmMain)
main_geometry=$(xdotool getwindowgeometry "$main")

BOX_PICTURE="$WORK/shots/already-running.png" second_copy_refused "$first"
[ "$(window_by_role frmMain)" = "$main" ] || fail "the first copy's main window changed"
[ "$(xdotool getwindowgeometry "$main")" = "$main_geometry" ] || fail "the first copy's window moved"

# A saved reading double-clicked while the program runs: the new start hands
# it over and ends without a word; the running copy comes to the front with
# the reading's sign, and saved again it is the same reading.
write_saved_reading "$WORK/handed.zod" "Grace Hopper" December
start_program -- "$WORK/handed.zod"
handing=$PROGRAM_PID
wait_exit "$handing" || fail "the start that handed its file over did not end"
wait "$handing" || fail "the start that handed its file over ended with status $?"
result=$(wait_window frmAustralianAstrologyResult)
wait_active "$result" "the running copy's result window"
message_box 'Quorrin Australian Astrology' && fail "a box came with the handed file"
process_running "$first" || fail "the running copy ended"
menu alt+f p
focus "$(wait_window frmSave)"
keys alt+s
answer_file_dialog "Save Your Zodiac Signs Result ...." "$WORK/handed-again.zod"
expect_saved_reading "$WORK/handed-again.zod" "Grace Hopper" December

kill -9 "$first"
wait_exit "$first" || fail "the first copy did not die"
wait_until 10 window_gone frmMain || fail "the killed copy's window stayed"
start_program
wait_window frmMain >/dev/null
message_box 'Quorrin Australian Astrology' && fail "a stale lock refused the start"
echo "e2e single copy: passed"
