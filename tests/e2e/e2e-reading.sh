#!/usr/bin/env bash
# A reading by keyboard: type a name, choose a month, Alt+F; the result window
# comes up; Enter on it is Back and brings a fresh main window.
source "$QUORRIN_TESTS/e2e/lib.sh"

start_program
main=$(wait_window frmMain)
focus "$main"
screenshot "$main" main
type_text "Ada Lovelace"
keys Tab Down Down Down     # January -> April
keys alt+f
result=$(wait_window frmAustralianAstrologyResult)
wait_until 10 window_gone frmMain || fail "main window still shown after Proceed"
screenshot "$result" result
focus "$result"
keys Return
main=$(wait_window frmMain)
wait_until 10 window_gone frmAustralianAstrologyResult || fail "result window still shown after Back"
process_running "$PROGRAM_PID" || fail "program ended"
echo "e2e reading: passed"
