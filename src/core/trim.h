#pragma once

#include <QString>

// Removes leading and trailing spaces, and only spaces: tabs and line breaks
// typed into a field stay, as users of the program's fields expect.
inline QString TrimSpaces(const QString &text)
{
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first) == QLatin1Char(' '))
    ++first;
  while (last > first && text.at(last - 1) == QLatin1Char(' '))
    --last;
  return text.mid(first, last - first);
}
