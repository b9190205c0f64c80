#pragma once

#include "support/scripteddesktop.h"

#include <QObject>

#include <memory>

// The base of the tests that open the program's windows: each test starts
// with a fresh scripted desktop and an empty reading, and ends with no window
// left behind.
class WindowTest : public QObject {
  Q_OBJECT

protected:
  std::unique_ptr<ScriptedDesktop> scripted;

protected slots:
  // Qt Test runs these around every test function, here or in a subclass
  // that calls them from its own.
  void init();
  void cleanup();
};
