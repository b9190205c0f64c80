#include "core/commandline.h"

#include "config.h"
#include "platform/store/filenames.h"

#include <QCommandLineParser>
#include <QUrl>

namespace {

const QCommandLineOption HelpOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Show this help and end."));
const QCommandLineOption VersionOption({QStringLiteral("v"), QStringLiteral("version")},
                                       QStringLiteral("Show the name and version and end."));

QString absoluteFile(const QString &argument)
{
  const QUrl address(argument);
  return absoluteFileName(address.isLocalFile() ? localFileOf(address) : argument);
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
  QCommandLineParser parser;
  parser.addOptions({HelpOption, VersionOption});
  // The program's name is what the parser expects first.
  if (!parser.parse(QStringList{QString()} + arguments))
    return {CommandLine::Action::Refuse, {}, parser.errorText()};
  if (parser.isSet(HelpOption))
    return {CommandLine::Action::ShowHelp, {}, {}};
  if (parser.isSet(VersionOption))
    return {CommandLine::Action::ShowVersion, {}, {}};
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1)
    return {CommandLine::Action::Refuse, {}, QStringLiteral("Give one saved reading at most.")};
  if (files.isEmpty() || files.constFirst().isEmpty())
    return {};
  return {CommandLine::Action::Run, absoluteFile(files.constFirst()), {}};
}

QString UsageText(const QString &programName)
{
  return QStringLiteral("Usage: %1 [OPTION] [FILE]\n"
                        "Shows your sign in the Australian animal zodiac.\n"
                        "FILE is a saved reading (.zod) to open.\n"
                        "\n"
                        "  -h, --help     %2\n"
                        "  -v, --version  %3\n")
      .arg(programName, HelpOption.description(), VersionOption.description());
}

QString VersionText() { return AppTitle + QLatin1Char(' ') + AppVersion + QLatin1Char('\n'); }
