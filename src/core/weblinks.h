#pragma once

#include <QList>
#include <QString>

#include <optional>

class QColor;
class QTextDocument;

// Web and mail addresses in the program's rich text. Only http, https, ftp
// and mailto addresses (and those starting "www.", taken as http) are links:
// a text that names a local file, a script or any other scheme stays plain
// text, whoever typed it.

struct WebLink {
  qsizetype start;
  qsizetype length;
  QString address; // what the link opens
};

// The web addresses in a text, in order.
QList<WebLink> FindWebLinks(const QString &text);

// The address that a link's text opens, or nothing when it is no web or mail
// address.
std::optional<QString> WebLinkAddress(const QString &text);

// Shows every web address in the document as a link to it.
void MarkWebLinks(QTextDocument &document, const QColor &linkColour);
