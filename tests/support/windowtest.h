#pragma once

#include "support/scripteddesktop.h"

class Form;

#include <QObject>
#include <QString>

#include <memory>

// The base of the tests that open the program's windows: each test starts
// with a fresh scripted desktop and ends with no window left behind.
class WindowTest : public QObject {
  Q_OBJECT

protected:
  std::unique_ptr<ScriptedDesktop> scripted;

  // One of the five windows by its form's name, shown as a user reaches it,
  // with a reading of Ada born in the month made on the way.
  static Form &openWindow(const QString &formName, const QString &month);

protected slots:
  // Qt Test runs these around every test function, here or in a subclass
  // that calls them from its own.
  void init();
  void cleanup();
};
