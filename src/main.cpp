#include "app/startup.h"
#include "core/commandline.h"
#include "platform/arguments.h"
#include "platform/guistart.h"
#include "platform/qtdesktop.h"
#include "platform/session/endrequest.h"
#include "platform/terminal.h"
#include "ui/shutdown.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace {
enum ExitStatus { Success = 0, Usage = 2 };

int answerWithoutWindows(const CommandLine &command, const QString &programName)
{
  useStartingTerminal();
  switch (command.action) {
  case CommandLine::Action::ShowHelp:
    std::fputs(qPrintable(UsageText(programName)), stdout);
    return Success;
  case CommandLine::Action::ShowVersion:
    std::fputs(qPrintable(VersionText()), stdout);
    return Success;
  default:
    std::fprintf(stderr, "%s: %s\n", qPrintable(programName), qPrintable(command.error));
    std::fputs(qPrintable(UsageText(programName)), stderr);
    return Usage;
  }
}
} // namespace

int main(int argc, char *argv[])
{
  const QStringList arguments = commandLineArguments(argc, argv);
  const QString programName = QFileInfo(arguments.value(0)).fileName();
  const CommandLine command = ParseCommandLine(arguments.mid(1));
  if (command.action != CommandLine::Action::Run)
    return answerWithoutWindows(command, programName);

  // Qt reads options of its own from the arguments; the program takes none
  // but its own, which are read already.
  int qtArgc = 1;
  const auto application = openApplication(qtArgc, argv);
  QApplication::setApplicationName(QtDesktop::applicationName());
  QApplication::setDesktopFileName(QStringLiteral("australian-astrology"));
  // The program ends only through its closing screen, never because its last
  // visible window went away.
  QApplication::setQuitOnLastWindowClosed(false);

  QtDesktop desktop;
  setDesktop(&desktop);
  // Asked to end by the system, the program ends as through its closing
  // screen, which takes back a reading still held on the print server.
  onEndRequest(ExitApplication);
  StartApplication(command.file);
  return QApplication::exec();
}
