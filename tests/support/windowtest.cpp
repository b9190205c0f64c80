#include "support/windowtest.h"

#include "ui/windows/frmAbout.h"
#include "ui/windows/frmAustralianAstrologyResult.h"
#include "ui/windows/frmMain.h"
#include "ui/windows/frmNagScreen2.h"
#include "ui/windows/frmSave.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <QApplication>
#include <QtTest>

void WindowTest::init()
{
  scripted = std::make_unique<ScriptedDesktop>();
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

Form &WindowTest::openWindow(const QString &formName, const QString &month)
{
  auto &main = Forms::get<frmMain>();
  main.showModeless();
  if (formName == QLatin1String("frmMain"))
    return main;
  main.txtName->setText(QStringLiteral("Ada"));
  main.cboMonth->setCurrentText(month);
  main.cmdProceed->click();
  Form *window = Forms::find<frmAustralianAstrologyResult>();
  if (formName == QLatin1String("frmSave"))
    window = &Forms::get<frmSave>();
  else if (formName == QLatin1String("frmAbout"))
    window = &Forms::get<frmAbout>();
  else if (formName == QLatin1String("frmNagScreen2"))
    window = &Forms::get<frmNagScreen2>();
  window->showModeless();
  return *window;
}
