#include "core/weblinks.h"

#include <QColor>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <array>

namespace {
const QString BareWebPrefix = QStringLiteral("www.");
const QString BareWebScheme = QStringLiteral("http://");
const QStringList WebSchemes = {QStringLiteral("http"), QStringLiteral("https"),
                                QStringLiteral("ftp")};
const QString MailScheme = QStringLiteral("mailto");

const QRegularExpression &addressPattern()
{
  static const QRegularExpression pattern(
      QStringLiteral(R"(\b(?:(?:https?|ftp)://|mailto:|www\.)[^\s<>"]+)"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
  return pattern;
}

// Punctuation that ends a sentence after an address rather than belonging to
// it; a closing bracket stays when the address opened one. The brackets are
// counted once and the counts kept as the end moves in, so that a name of
// nothing but closing brackets takes no longer than any other.
qsizetype withoutTrailingPunctuation(const QString &text)
{
  const QString sentencePunctuation = QStringLiteral(".,;:!?'");
  struct Brackets {
    QChar close;
    qsizetype opened;
    qsizetype closed;
  };
  std::array<Brackets, 2> brackets{{
      {QLatin1Char(')'), text.count(QLatin1Char('(')), text.count(QLatin1Char(')'))},
      {QLatin1Char(']'), text.count(QLatin1Char('[')), text.count(QLatin1Char(']'))},
  }};
  qsizetype length = text.size();
  while (length > 0) {
    const QChar last = text.at(length - 1);
    bool closesUnopened = false;
    for (Brackets &kind : brackets) {
      if (last == kind.close && kind.opened < kind.closed) {
        closesUnopened = true;
        --kind.closed;
      }
    }
    if (!closesUnopened && !sentencePunctuation.contains(last))
      break;
    --length;
  }
  return length;
}
} // namespace

std::optional<QString> WebLinkAddress(const QString &text)
{
  const QString address =
      text.startsWith(BareWebPrefix, Qt::CaseInsensitive) ? BareWebScheme + text : text;
  const QUrl url(address, QUrl::TolerantMode);
  if (!url.isValid())
    return std::nullopt;
  const QString scheme = url.scheme().toLower();
  if (WebSchemes.contains(scheme) && !url.host().isEmpty())
    return address;
  if (scheme == MailScheme && !url.path().isEmpty())
    return address;
  return std::nullopt;
}

QList<WebLink> FindWebLinks(const QString &text)
{
  QList<WebLink> links;
  QRegularExpressionMatchIterator matches = addressPattern().globalMatch(text);
  while (matches.hasNext()) {
    const QRegularExpressionMatch match = matches.next();
    const QString candidate = match.captured().left(withoutTrailingPunctuation(match.captured()));
    if (const auto address = WebLinkAddress(candidate))
      links.append({match.capturedStart(), candidate.size(), *address});
  }
  return links;
}

void MarkWebLinks(QTextDocument &document, const QColor &linkColour)
{
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (const WebLink &link : FindWebLinks(block.text())) {
      const int start = block.position() + static_cast<int>(link.start);
      QTextCursor cursor(&document);
      cursor.setPosition(start);
      cursor.setPosition(start + static_cast<int>(link.length), QTextCursor::KeepAnchor);
      QTextCharFormat format;
      format.setAnchor(true);
      format.setAnchorHref(link.address);
      format.setFontUnderline(true);
      format.setForeground(linkColour);
      cursor.mergeCharFormat(format);
    }
  }
}
