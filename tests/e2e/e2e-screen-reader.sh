#!/usr/bin/env bash
# The main window as a screen reader hears it over the accessibility bus: each
# control by its caption with its role, the window by its title and what it
# is, the links with a press action; pressing one that way opens its page.
source "$QUORRIN_TESTS/e2e/lib.sh"

start_accessibility_bus
start_program QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
wait_window frmMain >/dev/null
tree=$(reader tree "Main window") || fail "the reader finds no main window: $tree"

# heard <text>: a line of the tree holds the text.
heard() { grep -qF -- "$1" <<<"$tree" || fail "the reader does not hear '$1'; it hears:
$tree"; }

heard 'frame "Quorrin Australian Astrology v1.15" — Main window'
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
code_names='"(frmMain|Label61|Label3|fraDetails|Label1|txtName|Label2|cboMonth|cmdProceed|cmdOpen|fraFullBrand|lblCobrand|lblFullBrand)"'
! grep -E "$code_names" <<<"$tree" || fail "the reader hears code names: $tree"

reader press "Main window" "$forum" || fail "the forum link cannot be pressed"
wait_until 10 grep -q 'ssd.php?page=home-page$' "$OPENED_LOG" ||
  fail "pressing the forum link opened nothing: $(opened_urls)"
[ "$(wc -l <"$OPENED_LOG")" = 1 ] || fail "one press opened more: $(opened_urls)"
process_running "$PROGRAM_PID" || fail "program ended"
echo "$tree"
echo "e2e screen reader: passed"
