#!/usr/bin/env bash
# The whole road with the keyboard alone, under the window manager QUORRIN_WM
# names; no mouse event at all, and each window takes the keyboard by itself
# when it comes up. Proceed with no name and its message, a reading, File >
# Print to the reading window, Save through the file dialog and the bytes on
# disk, back to a fresh main window, the saved reading opened with Alt+O,
# Help > About and Esc, File > Exit to the closing screen, a refer-a-friend
# submission by Tab and typing (a space in an address refused on the way),
# and Exit.
#
# With QUORRIN_REFRESH_DOCS=1 (under openbox) the run also keeps its pictures
# of the windows, frames included, as the README's screenshots in docs/.
source "$QUORRIN_TESTS/e2e/lib.sh"

NAME="Ada Lovelace"
SAVED="$WORK/ada lovelace.zod"
DOCS="$QUORRIN_TESTS/../docs"

# picture <window> <docs name>: a framed screenshot for the README.
picture() { framed_screenshot "$1" "$WORK/shots/$2"; }

start_program
main=$(wait_window frmMain)
wait_active "$main" "the main window"

keys alt+f
wait_until 20 message_box "$TITLE" || fail "no message for a missing name"
box=$(message_box "$TITLE")
wait_active "$box" "the message box"
keys Return
wait_until 10 no_box "$TITLE" || fail "the message box stayed"
wait_active "$main" "the main window after the message"

type_text "$NAME"
keys Tab Down Down Down # January -> April
picture "$main" main-window.png
keys alt+f
result=$(wait_window frmAustralianAstrologyResult)
wait_until 10 window_gone frmMain || fail "main window still shown after Proceed"
wait_active "$result" "the result window"
picture "$result" result-window.png
screenshot "$result" keyboard-result-typed

menu alt+f p
reading=$(wait_window frmSave)
wait_active "$reading" "the reading window"
picture "$reading" reading-window.png
keys alt+s
answer_file_dialog "Save Your Zodiac Signs Result ...." "$SAVED"
expect_saved_reading "$SAVED" "$NAME" April
wait_active "$reading" "the reading window after saving"
keys alt+F4
wait_until 10 window_gone frmSave || fail "the reading window stayed"
wait_active "$result" "the result window after the reading window"

keys alt+b
main=$(wait_window frmMain)
wait_until 10 window_gone frmAustralianAstrologyResult || fail "the result window stayed after Back"
wait_active "$main" "the main window after Back"
keys alt+o
answer_file_dialog "Select the source file" "$SAVED"
result=$(wait_window frmAustralianAstrologyResult)
wait_active "$result" "the result window of the opened reading"
screenshot "$result" keyboard-result-opened
differing=$(compare -metric AE "$WORK/shots/keyboard-result-typed.png" \
  "$WORK/shots/keyboard-result-opened.png" /dev/null 2>&1 || true)
[ "$differing" = 0 ] || fail "the opened reading looks different ($differing pixels)"

menu alt+h a
about=$(wait_window frmAbout)
wait_active "$about" "the about window"
picture "$about" about-window.png
keys Escape
wait_until 10 window_gone frmAbout || fail "Esc did not close the about window"
wait_active "$result" "the result window after the about window"

menu alt+f x
nag=$(wait_window frmNagScreen2)
wait_until 10 window_gone frmAustralianAstrologyResult || fail "the result window stayed"
wait_active "$nag" "the closing screen"
picture "$nag" closing-screen.png

# From Exit, Tab goes to Check1, the name, Submit, the e-mail, the friend's
# e-mail and the friend's name.
keys Tab Tab
type_text "$NAME"
keys Tab Tab
# A space in an address is refused with a message; the box goes with Enter
# and the typing goes on where it was.
type_text "ada "
wait_until 20 message_box "$TITLE" || fail "no refusal of a space"
box=$(message_box "$TITLE")
wait_active "$box" "the refusal of a space"
picture "$box" message-box.png
keys Return
wait_until 10 no_box "$TITLE" || fail "the refusal stayed"
wait_active "$nag" "the closing screen after the refusal"
type_text "@example.org"
keys Tab
type_text "charles@example.net"
keys Tab
type_text "Charles"
keys alt+n
wait_until 10 test -s "$OPENED_LOG" || fail "the form sent nothing"
sent=$(head -1 "$OPENED_LOG")
base=${sent%%ssd.php\?page=*}
[ "$sent" = "${base}ssd.php?page=quorrin-refer-a-friend&taf1=Ada%20Lovelace&taf2=ada%40example.org&taf3=Your%20Message%0D%0A&taf4=Charles&taf5=charles%40example.net&taf6=$base" ] ||
  fail "the form sent $sent"

keys alt+x
wait_exit "$PROGRAM_PID" || fail "Exit did not end the program"
[ "$(wc -l <"$OPENED_LOG")" = 1 ] || fail "unexpected pages opened: $(opened_urls)"

if [ "${QUORRIN_REFRESH_DOCS:-}" = 1 ] && [ "$WINDOW_MANAGER" = openbox ]; then
  mkdir -p "$DOCS"
  for name in main-window result-window reading-window about-window closing-screen message-box; do
    cp "$WORK/shots/$name.png" "$DOCS/$name.png"
  done
  echo "e2e keyboard: pictures refreshed in $(cd "$DOCS" && pwd)"
fi
echo "e2e keyboard under $WINDOW_MANAGER: passed"
