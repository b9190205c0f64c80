#include "support/windowtest.h"

#include "reading/currentreading.h"

#include <QApplication>
#include <QtTest>

void WindowTest::init()
{
  scripted = std::make_unique<ScriptedDesktop>();
  currentReading() = CurrentReading();
}

void WindowTest::cleanup()
{
  // What the program left for its event loop (such as the first start's
  // day) runs while its desktop is still there.
  QCoreApplication::processEvents();
  discardForms();
  scripted.reset();
  QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}
