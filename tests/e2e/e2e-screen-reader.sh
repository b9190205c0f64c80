#!/usr/bin/env bash
# The program as a screen reader hears it over the accessibility bus: each
# control of the main window by its caption with its role, the window by its
# title and what it is, the links with a press action; pressing one that way
# opens its page. And what Orca itself says as a user goes from the main
# window, through the month list, to the result window.
source "$QUORRIN_TESTS/e2e/lib.sh"

ORCA_LOG="$WORK/orca.log"

# start_orca: Orca listens on the accessibility bus; it is ready once it has
# said something.
start_orca() {
  /usr/bin/python3 "$QUORRIN_TESTS/e2e/orca-speech.py" "$WORK/orca" "$ORCA_LOG" \
    >"$WORK/orca.out" 2>&1 &
  ORCA_PID=$!
  PIDS+=("$ORCA_PID")
  wait_until 60 grep -q 'SPEECH OUTPUT' "$ORCA_LOG" ||
    fail "Orca did not start: $(tail -n 20 "$WORK/orca.out" "$ORCA_LOG" 2>&1)"
}

# The line of Orca's log that what it says next comes after.
said_so_far() { wc -l <"$ORCA_LOG"; }

# spoken <line>: what Orca said after that line of its log, one thing a line.
spoken() {
  tail -n "+$(($1 + 1))" "$ORCA_LOG" |
    sed -n "s/^.* - SPEECH OUTPUT: '\(.*\)'\( voice=[^{]*\)\{0,1\} *{.*}\$/\1/p"
}

says() { spoken "$1" | tr '\n' ' ' | grep -qF -- "$2"; }

# Keeps Orca's whole log, with the events it got, beside the screenshot.
keep_orca_log() {
  local folder=${QUORRIN_FAILURES:-${TMPDIR:-/tmp}}
  local kept="$folder/$TEST_NAME-orca-$(date +%Y%m%d-%H%M%S).log"
  mkdir -p "$folder" && cp "$ORCA_LOG" "$kept" && echo "$kept"
}

# expect_speech <line> <text>...: Orca says each text after that line, each
# in one go or in parts that follow each other.
expect_speech() {
  local from=$1 text
  shift
  for text; do
    wait_until 20 says "$from" "$text" && continue
    process_running "$ORCA_PID" || fail "Orca has ended: $(tail -n 20 "$WORK/orca.out")"
    fail "Orca does not say '$text'; it says:
$(spoken "$from")
(Orca's whole log: $(keep_orca_log))"
  done
}

code_names=(frmMain Label61 Label3 fraDetails Label1 txtName Label2 cboMonth cmdProceed cmdOpen
  fraFullBrand lblCobrand lblFullBrand frmAustralianAstrologyResult fraStarUserSignDetails
  lblLabel0 lblResult0 lblResult1 cmdBack)
code_name_pattern=$(IFS='|' && echo "${code_names[*]}")

start_accessibility_bus
start_orca
start_program QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
wait_window frmMain >/dev/null
expect_speech 0 "$WINDOW_TITLE frame. Main window." 'Personal Details panel. Name text.'

tree=$(reader tree "Main window") || fail "the reader finds no main window: $tree"

# heard <text>: a line of the tree holds the text.
heard() { grep -qF -- "$1" <<<"$tree" || fail "the reader does not hear '$1'; it hears:
$tree"; }

heard "frame \"$WINDOW_TITLE\" — Main window"
forum='Click here to visit our discussion forum at https://www.quorrin.example now and join in friendly talk on astrology.'
heard "link \"$forum\" — Opens the maker's forum in your web browser [Press]"
heard 'label "Are you a Wombat? Or a Koala? Know More about your Australian Astrology Animal Sign with this software."'
heard 'panel "Personal Details"'
heard 'text "Name" [SetFocus] labelled by "Name"'
heard 'combo box "January"'
grep -F 'combo box "January"' <<<"$tree" | grep -qF 'labelled by "Birth Month"' ||
  fail "the month box is not labelled by its caption: $tree"
heard 'push button "Find My Australian Astrology Sign" [Press, SetFocus]'
heard 'push button "Open Previously Saved Reading" [Press, SetFocus]'
heard "link \"Co-brand this software for your site."
heard "link \"Home Business Opportunity."
# The two offers share one place: the reader hears only the one in front.
offers=$(grep -E 'link "(Co-brand|Home Business)' <<<"$tree")
[ "$(grep -c 'Opens the .*-branding offer in your web browser \[Press\]$' <<<"$offers")" = 1 ] ||
  fail "the reader should hear one offer of two: $offers"
! grep -E "\"($code_name_pattern)\"" <<<"$tree" || fail "the reader hears code names: $tree"

reader press "Main window" "$forum" || fail "the forum link cannot be pressed"
wait_until 10 grep -q 'ssd.php?page=home-page$' "$OPENED_LOG" ||
  fail "pressing the forum link opened nothing: $(opened_urls)"
[ "$(wc -l <"$OPENED_LOG")" = 1 ] || fail "one press opened more: $(opened_urls)"

# The month list is heard with its month, and each month the keyboard picks.
type_text Ada
from=$(said_so_far)
keys Tab
expect_speech "$from" 'Birth Month combo box. January.'
for month in February March; do
  from=$(said_so_far)
  keys Down
  expect_speech "$from" "$month."
done

# The result window is heard with the reading, though the focus is on Back.
from=$(said_so_far)
keys Tab Return
wait_window frmAustralianAstrologyResult >/dev/null
description=$(tr -s '[:space:]' ' ' <"$QUORRIN_TESTS/../src/content/text/signs/03-dingbat.txt")
expect_speech "$from" "$WINDOW_TITLE frame." \
  "Result window. Sun Sign. DINGBAT. ${description% }" 'Back push button.'

! spoken 0 | grep -wE "$code_name_pattern" || fail "Orca says code names: $(spoken 0)"
process_running "$PROGRAM_PID" || fail "program ended"
echo "$tree"
spoken 0
echo "e2e screen reader: passed"
