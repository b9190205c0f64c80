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
  discardForms();
  scripted.reset();
  QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}
