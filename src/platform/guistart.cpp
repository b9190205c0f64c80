#include "platform/guistart.h"

#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

// What Qt says while it opens the display, held back until it is known
// whether the display opened.
QStringList heldMessages;
QtMessageHandler qtHandler = nullptr;
QString programName;

bool noDisplay()
{
  for (const QString &message : heldMessages) {
    if (message.contains(QLatin1String("could not connect to display")) ||
        message.contains(QLatin1String("wl_display")))
      return true;
  }
  return false;
}

void whileOpening(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
  if (type != QtFatalMsg) {
    heldMessages.append(qFormatLogMessage(type, context, text));
    return;
  }
  if (noDisplay()) {
    std::fprintf(stderr, "%s: needs a graphical display, and none could be opened\n",
                 qPrintable(programName));
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
  }
  for (const QString &message : heldMessages)
    std::fprintf(stderr, "%s\n", qPrintable(message));
  qtHandler(type, context, text);
}

} // namespace

std::unique_ptr<QApplication> openApplication(int &argc, char **argv)
{
  programName = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
  qtHandler = qInstallMessageHandler(whileOpening);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(qtHandler);
  for (const QString &message : heldMessages)
    std::fprintf(stderr, "%s\n", qPrintable(message));
  heldMessages.clear();
  return application;
}
