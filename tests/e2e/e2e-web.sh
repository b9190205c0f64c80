#!/usr/bin/env bash
# The web pages, the about window and the closing screen as a user meets them:
# the Help and Donate menus, Help > About with its links and Esc, then File >
# Exit to the topmost closing screen, its links, a refer-a-friend submission
# typed field by field, and Exit.
source "$QUORRIN_TESTS/e2e/lib.sh"

SEEN=0
BASE=
# expect_opened <query>: the next address the program handed to the browser is
# the product's folder + "ssd.php?page=" + query.
expect_opened() {
  SEEN=$((SEEN + 1))
  wait_until 10 bash -c "[ \$(wc -l <'$OPENED_LOG') -ge $SEEN ]" ||
    fail "nothing opened for $1; all: $(opened_urls)"
  local line
  line=$(sed -n "${SEEN}p" "$OPENED_LOG")
  [ -n "$BASE" ] || BASE=${line%%ssd.php\?page=*}
  [ "$line" = "${BASE}ssd.php?page=$1" ] || fail "expected page=$1, opened $line"
}

is_topmost() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }

start_program
main=$(wait_window frmMain)
focus "$main"
type_text "Ada"
keys alt+f
result=$(wait_window frmAustralianAstrologyResult)
focus "$result"

menu alt+h o
expect_opened help-web-page
menu alt+h v
expect_opened home-page
menu alt+h u
expect_opened download-web-page
keys alt+d
expect_opened donate

menu alt+h a
about=$(wait_window frmAbout)
screenshot "$about" about
click_at "$about" 200 89 # lblHomePage
expect_opened home-page
click_at "$about" 315 147 # lblCobrand
expect_opened fully-branded
window_by_role frmAbout >/dev/null || fail "a link closed the about window"
focus "$about"
keys Escape
wait_until 10 window_gone frmAbout || fail "Escape did not close the about window"

focus "$result"
menu alt+f x
nag=$(wait_window frmNagScreen2)
wait_until 10 window_gone frmAustralianAstrologyResult || fail "the result window stayed"
wait_until 10 is_topmost "$nag" || fail "the closing screen is not kept above: $(xprop -id "$nag" _NET_WM_STATE)"
screenshot "$nag" closing-screen
focus "$nag"
click_at "$nag" 240 150 # Check1
expect_opened home-page
click_at "$nag" 500 297 # lblGoToHome
expect_opened quorrinsoftwares

# From Check1, Tab goes to the name, Submit, the e-mail, the friend's e-mail,
# the friend's name and the hidden message box, which keeps its first text.
keys Tab
type_text "Ann & Bob"
keys Tab Tab
type_text "ann@example.org"
keys Tab
type_text "bob+x@example.net"
keys Tab
type_text "Bob #1"
keys Tab
screenshot "$nag" closing-screen-filled
keys alt+n
expect_opened "quorrin-refer-a-friend&taf1=Ann%20%26%20Bob&taf2=ann%40example.org&taf3=Your%20Message%0D%0A&taf4=Bob%20%231&taf5=bob%2Bx%40example.net&taf6=$BASE"
process_running "$PROGRAM_PID" || fail "the program ended before Exit"

keys alt+x
wait_exit "$PROGRAM_PID" || fail "Exit did not end the program"
[ "$(wc -l <"$OPENED_LOG")" -eq "$SEEN" ] || fail "unexpected pages opened: $(opened_urls)"
echo "e2e web: passed"
