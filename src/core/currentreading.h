#pragma once

#include <QString>

// The last reading made, kept for the whole run: the report and the save
// command read it after the main window is gone.
struct CurrentReading {
  QString strUserName;   // the name as typed, without leading and trailing spaces
  QString strBirthMonth; // one of the twelve English month names
  QString strSunSign;    // the animal of that month
};

CurrentReading &currentReading();
