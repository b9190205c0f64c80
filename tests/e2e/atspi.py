#!/usr/bin/python3
"""What a screen reader finds of the program on the accessibility bus.

    atspi.py tree <window description>   prints the window as a reader hears it
    atspi.py press <window description> <name>
                                         does the press action of the shown
                                         control of that name
    atspi.py captions <window description>
                                         prints "x y width height text" for
                                         each caption shown in the window, in
                                         points (Qt's device-independent
                                         pixels) from its top left

A line of the tree is: role "name" — description [actions] labelled by "label",
indented by depth; "(not shown)" marks what a reader skips. The window is the
program's window whose description starts with the sentence given ("Main
window", ...); a window may go on to describe what it shows.
"""

import sys
import time

import pyatspi

PROGRAM = "australian-astrology"
PATIENCE_SECONDS = 20


def find_window(description):
    deadline = time.monotonic() + PATIENCE_SECONDS
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is None or app.name != PROGRAM:
                continue
            for window in app:
                if window is not None and window.description.split(". ")[0] == description:
                    return window
        time.sleep(0.2)
    sys.exit(f"no window described as {description!r} on the accessibility bus")


def action_names(node):
    try:
        actions = node.queryAction()
    except NotImplementedError:
        return []
    return [actions.getName(i) for i in range(actions.nActions)]


def labels(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def line(node):
    text = f'{node.getRoleName()} "{node.name}"'
    if node.description:
        text += f" — {node.description}"
    actions = action_names(node)
    if actions:
        text += f" [{', '.join(actions)}]"
    for label in labels(node):
        text += f' labelled by "{label}"'
    if not node.getState().contains(pyatspi.STATE_SHOWING):
        text += " (not shown)"
    return text


def walk(node, depth=0):
    yield depth, node
    # The entries of a closed drop-down list say nothing about the window.
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        return
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


# Roles whose name is the caption drawn on them; a group box draws its name
# as its title. Boxes and lists draw their text, not their name.
CAPTIONED = {pyatspi.ROLE_LABEL, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX,
             pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_LINK, pyatspi.ROLE_PANEL,
             pyatspi.ROLE_MENU_ITEM}
BOXES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX}
# Points of frame around the text of controls drawn in a frame, left out of
# the caption's area so that only text is read there.
FRAMES = {pyatspi.ROLE_PUSH_BUTTON: 3, pyatspi.ROLE_CHECK_BOX: 3, pyatspi.ROLE_TOGGLE_BUTTON: 3,
          pyatspi.ROLE_TEXT: 2, pyatspi.ROLE_COMBO_BOX: 2}


def shown_text(node):
    state = node.getState()
    if not state.contains(pyatspi.STATE_SHOWING):
        return ""
    if node.getRole() in CAPTIONED:
        return node.name
    if node.getRole() in BOXES and not state.contains(pyatspi.STATE_MULTI_LINE):
        if node.getRole() == pyatspi.ROLE_COMBO_BOX:
            return node.name
        return node.queryText().getText(0, -1)
    return ""


def captions(window):
    frame = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    for _, node in walk(window):
        text = shown_text(node).strip()
        if not text:
            continue
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x, y = box.x - frame.x, box.y - frame.y
        # A control placed wholly outside the window is never seen (the main
        # window's Open button); one partly outside is cut and stays in.
        if x >= frame.width or y >= frame.height or x + box.width <= 0 or y + box.height <= 0:
            continue
        inset = FRAMES.get(node.getRole(), 0)
        print(x + inset, y + inset, box.width - 2 * inset, box.height - 2 * inset,
              " ".join(text.split()))


def main(argv):
    if len(argv) == 3 and argv[1] == "tree":
        for depth, node in walk(find_window(argv[2])):
            print("  " * depth + line(node))
        return 0
    if len(argv) == 4 and argv[1] == "press":
        for _, node in walk(find_window(argv[2])):
            shown = node.getState().contains(pyatspi.STATE_SHOWING)
            if node.name != argv[3] or not shown:
                continue
            actions = action_names(node)
            if "press" not in [name.lower() for name in actions]:
                sys.exit(f"{line(node)} has no press action")
            node.queryAction().doAction([name.lower() for name in actions].index("press"))
            return 0
        sys.exit(f"nothing shown is named {argv[3]!r}")
    if len(argv) == 3 and argv[1] == "captions":
        captions(find_window(argv[2]))
        return 0
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
