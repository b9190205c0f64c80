#pragma once

#include <QString>

// The program's start: refuses a second copy, seeds the random draw, gives the
// update reminder its chance, shows the main window and picks which of its
// two offers is in front. Given a saved reading's path, the program opens it
// once the main window is up; a copy already running is handed the path
// instead, and the start ends.
void StartApplication(const QString &savedReading = QString());

// Brings one of the first main window's two offers to the front at random.
void CoBrand_Randomize();
// The same with a chosen draw r in [0, 1); returns the number drawn, 1 to 7.
int CoBrand_Randomize(float r);
