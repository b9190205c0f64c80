#pragma once

#include <QString>

class ScriptedDesktop;

// One round of what a user does with a reading: a name and month typed in the
// main window and Proceed; from the result, the reading window opened,
// printed, saved and closed; Back; the saved reading opened from the main
// window; Back again. The event loop then runs what it would have run,
// deferred deletions included. A step that does not do what the user would
// see fails the running Qt Test function (check QTest::currentTestFailed()).
void runReadingCycle(ScriptedDesktop &desktop, const QString &savedPath);

// The objects of every window of the program and of the application, by count.
qsizetype countLiveObjects();
