#pragma once

#include <QString>
#include <QStringList>

// What the program is asked to do when it starts:
//   australian-astrology [FILE]     a saved reading to open, or none
//   australian-astrology --help     the usage, on standard output
//   australian-astrology --version  the name and version, on standard output
struct CommandLine {
  enum class Action { Run, ShowHelp, ShowVersion, Refuse };
  Action action = Action::Run;
  // Run: the saved reading to open, as an absolute path; empty for none.
  QString file;
  // Refuse: what is wrong, in one line.
  QString error;
};

// Reads the arguments after the program's own name. A file may be given as a
// path, relative to the working folder, or as a file:// address.
CommandLine ParseCommandLine(const QStringList &arguments);

QString UsageText(const QString &programName);
QString VersionText();
