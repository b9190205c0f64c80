#!/usr/bin/python3
"""Orca, the screen reader, as a test listens to it.

    orca-speech.py <settings folder> <log>

runs Debian's Orca on the display and the accessibility bus of the
environment, with its settings in a folder of its own, and writes its debug
output to the log line by line. Everything Orca says is a line of the log:

    <time> - SPEECH OUTPUT: '<what it says>'<voice>

It says it without a speech synthesizer, a braille display or a sound card.
Unlike the orca command, it starts beside another Orca of the same user (a
test run at the same time) instead of refusing to.
"""

import sys

from orca import debug


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    settings_folder, log = argv[1:]
    debug.debugLevel = debug.LEVEL_ALL
    debug.eventDebugLevel = debug.LEVEL_OFF
    # Line by line, so that a test can wait on what was said.
    debug.debugFile = open(log, "w", buffering=1, encoding="utf-8")

    # Imported only now, as the orca command does: it logs as it loads.
    from orca import orca

    orca.getSettingsManager().activate(settings_folder, {
        # No speech server: what Orca says is only logged.
        "speechServerFactory": "",
        "enableBraille": False,
        "enableSound": False,
    })
    return orca.main()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
