#!/usr/bin/env bash
# Windows and boxes on a real desktop, under the window manager QUORRIN_WM
# names: every window comes up centred, frame included, with no maximise
# button; each box and dialog is transient for the window it belongs to and
# shows on top of it, the topmost closing screen included; closing the box by
# keyboard gives that window back to the mouse.
source "$QUORRIN_TESTS/e2e/lib.sh"

SCREEN_CENTRE_X=640
SCREEN_CENTRE_Y=512
CLICKS=0

# frame_geometry <window>: "x y width height" of the window with its frame.
frame_geometry() {
  local left right top bottom x y width height
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  # xwininfo, not xdotool, which misplaces windows inside some frames.
  read -r x y width height < <(xwininfo -id "$1" |
    sed -n 's/.*Absolute upper-left [XY]: *//p; s/^ *Width: //p; s/^ *Height: //p' | xargs)
  echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))"
}

# expect_desktop_window <window> <what>: centred, frame included, and offering
# minimise and close but no maximise.
expect_desktop_window() {
  local x y width height actions
  wait_until 10 bash -c "xprop -id $1 _NET_FRAME_EXTENTS | grep -q =" ||
    fail "$2 has no frame"
  read -r x y width height < <(frame_geometry "$1")
  local dx=$((2 * x + width - 2 * SCREEN_CENTRE_X)) dy=$((2 * y + height - 2 * SCREEN_CENTRE_Y))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
    fail "$2 is not centred: frame ${width}x${height} at $x,$y"
  actions=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)
  grep -q MINIMIZE <<<"$actions" && grep -q CLOSE <<<"$actions" ||
    fail "$2 cannot be minimised and closed: $actions"
  ! grep -q MAXIMIZE <<<"$actions" || fail "$2 offers to maximise: $actions"
  # What the program asks of any window manager: functions and buttons to
  # minimise and close, none to maximise.
  local flags functions decorations
  read -r flags functions decorations _ < <(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
  ((flags & 3 && (functions & 0x28) == 0x28 && decorations & 0x20)) &&
    ((!(functions & 0x10) && !(decorations & 0x40))) ||
    fail "$2 asks for other buttons: $(xprop -id "$1" _MOTIF_WM_HINTS)"
}

# screen_area <x y width height> <file>: what the screen shows there.
screen_area() {
  timeout 20 import -window root -crop "${3}x${4}+${1}+${2}" +repage "$5"
}

is_top_window() { [ "$(($(top_window)))" = "$1" ]; }

# expect_on_top <box> <owner> <what>: the box belongs to its owner, is the top
# window and is what the screen shows where it stands.
expect_on_top() {
  local box=$1 owner=$2
  local transient_for
  transient_for=$(xprop -id "$box" WM_TRANSIENT_FOR | sed -n 's/.*# //p')
  [ "$((transient_for))" = "$owner" ] || fail "$3 is transient for '$transient_for', not $owner"
  wait_until 10 is_top_window "$box" || fail "$3 is not the top window"
  BOX_AREA=$(frame_geometry "$box")
  # shellcheck disable=SC2086
  screen_area $BOX_AREA "$WORK/box.png"
}

# expect_was_seen <what>: once the box has gone, the same part of the screen
# looks clearly different, so the box was seen and not hidden by its owner.
expect_was_seen() {
  local width height differing
  # shellcheck disable=SC2086
  screen_area $BOX_AREA "$WORK/after.png"
  read -r _ _ width height <<<"$BOX_AREA"
  differing=$(compare -metric AE "$WORK/box.png" "$WORK/after.png" null: 2>&1 || true)
  [ "${differing%%.*}" -gt $((width * height / 4)) ] ||
    fail "$1 was hidden: only $differing of $((width * height)) pixels changed when it closed"
}

# click_opens <window> <x> <y> <page>: a click on a link of the window opens
# its page, so the window takes clicks.
click_opens() {
  click_at "$1" "$2" "$3"
  CLICKS=$((CLICKS + 1))
  wait_until 10 bash -c "[ \$(grep -c 'page=$4\$' '$OPENED_LOG') -ge $CLICKS ]" ||
    fail "a click on the window did not open $4: $(opened_urls)"
}

# dialog_over <owner> <title> <what> <click x y>: a file dialog opened from the
# owner, closed with Escape.
dialog_over() {
  local dialog
  wait_until 20 message_box "$2" || fail "no dialog \"$2\""
  dialog=$(message_box "$2")
  expect_on_top "$dialog" "$1" "$3"
  focus "$dialog"
  keys Escape
  wait_until 10 bash -c "! xdotool search --onlyvisible --name '^$2\$'" || fail "$3 stayed"
  expect_was_seen "$3"
}

# refusal <text> <keys...>: the keys typed on the closing screen bring up a box;
# Enter closes it and the closing screen takes a click again.
refusal() {
  local text=$1 box
  shift
  focus "$nag"
  "$@"
  wait_until 20 message_box "$TITLE" || fail "no box \"$text\""
  box=$(message_box "$TITLE")
  expect_on_top "$box" "$nag" "the box \"$text\""
  screenshot "$box" "refusal-$CLICKS"
  focus "$box"
  keys Return
  wait_until 10 bash -c "! message_box '$TITLE'" || fail "\"$text\" stayed"
  expect_was_seen "the box \"$text\""
  click_opens "$nag" 240 150 home-page # Check1
}

type_into() {
  click_at "$nag" "$1" "$2"
  xdotool key ctrl+a
  type_text "$3"
}

# expect_centred_box <box> <what>: a box no window asked for.
expect_centred_box() {
  local x y width height
  read -r x y width height < <(frame_geometry "$1")
  local dx=$((2 * x + width - 2 * SCREEN_CENTRE_X)) dy=$((2 * y + height - 2 * SCREEN_CENTRE_Y))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
    fail "$2 is not centred: frame ${width}x${height} at $x,$y"
  wait_until 10 active_window_is "$1" || fail "$2 does not have the focus"
}

start_program
main=$(wait_window frmMain)
expect_desktop_window "$main" "the main window"

# A second copy's refusal belongs to no window: centred, with the focus.
first=$PROGRAM_PID
start_program
wait_until 30 message_box "$TITLE" || fail "no refusal of a second copy"
box=$(message_box "$TITLE")
expect_centred_box "$box" "the refusal of a second copy"
keys Return
wait_exit "$PROGRAM_PID" || fail "the second copy did not end"
PROGRAM_PID=$first
focus "$main"
keys alt+o
dialog_over "$main" "Select the source file" "the open dialog"
click_opens "$main" 200 12 home-page # Label61

focus "$main"
type_text "Ada"
keys alt+f
result=$(wait_window frmAustralianAstrologyResult)
expect_desktop_window "$result" "the result window"
focus "$result"
menu alt+f p
reading=$(wait_window frmSave)
expect_desktop_window "$reading" "the reading window"
focus "$reading"
keys alt+s
dialog_over "$reading" "Save Your Zodiac Signs Result ...." "the save dialog"
click_opens "$reading" 250 12 home-page # Label61

focus "$reading"
keys alt+F4
wait_until 10 window_gone frmSave || fail "the reading window stayed"
focus "$result"
menu alt+f x
nag=$(wait_window frmNagScreen2)
expect_desktop_window "$nag" "the closing screen"
xprop -id "$nag" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the closing screen is not topmost"

# Field centres on the closing screen: name, e-mail, friend's name, friend's e-mail.
refusal "Please Enter Proper Email Address" keys alt+n
refusal "Email Address Cannot Contain Space" eval 'type_into 360 249 ann@x.org; xdotool type " "'
refusal "Please Enter Distinct Email Addresses" eval 'type_into 360 273 ann@x.org; keys alt+n'
refusal "Please Enter Your Name" eval 'type_into 360 273 bob@x.org; keys alt+n'
refusal "Please Enter Your Friend's Name" eval 'type_into 125 249 Ann; keys alt+n'
# Tab from the friend's name goes on to the hidden message box; emptied and
# left, it holds its bare caption again.
refusal "Please Enter Your Message" eval 'type_into 125 273 Bob; keys Tab ctrl+a Delete Tab alt+n'
[ "$(grep -c 'refer-a-friend' "$OPENED_LOG")" = 0 ] || fail "a refused form was sent: $(opened_urls)"

focus "$nag"
keys alt+x
wait_exit "$PROGRAM_PID" || fail "Exit did not end the program"
echo "e2e stacking under $WINDOW_MANAGER: passed"
