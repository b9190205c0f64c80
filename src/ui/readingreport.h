#pragma once

#include <QString>

class QTextEdit;

// Writes the report of a reading into an empty rich-text control: the name
// under a dark cyan "Name: " heading and a footer naming the maker's site.
// Web addresses in it, the name's included, become links. The caret is left
// in the last, empty paragraph.
void WriteReadingReport(QTextEdit &richText, const QString &userName);
