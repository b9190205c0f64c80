#include "platform/qtdesktop.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
  QApplication application(argc, argv);
  QApplication::setApplicationName(QtDesktop::applicationName());
  QApplication::setDesktopFileName(QStringLiteral("australian-astrology"));
  // The program ends only through its closing screen, never because its last
  // visible window went away.
  QApplication::setQuitOnLastWindowClosed(false);

  QtDesktop desktop;
  setDesktop(&desktop);
  StartApplication();
  return QApplication::exec();
}
