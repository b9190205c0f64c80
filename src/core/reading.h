#pragma once

#include <QString>

// A reading: whose it is and the month it is for. The windows that show, print
// and save it are each handed it as they open; a saved reading holds the same.
struct Reading {
  QString userName;   // the name as typed, without leading and trailing spaces
  QString birthMonth; // one of the twelve English month names
};
