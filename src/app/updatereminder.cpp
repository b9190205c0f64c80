#include "app/updatereminder.h"

#include "core/messageboxes.h"
#include "core/settings.h"
#include "core/webpages.h"
#include "platform/desktop.h"

#include <QLocale>
#include <QTimer>

namespace {

const QString DurationKey = QStringLiteral("Duration");
constexpr qint64 QuietDays = 14;

// Stored as yyyy-MM-dd: digits and hyphens survive masking, and the day reads
// back the same under any locale. Days stored by older versions in the user's
// short date format are still understood.
const QString StoredDayFormat = QStringLiteral("yyyy-MM-dd");

QString storedDay(const QDate &day) { return day.toString(StoredDayFormat); }

QDate readStoredDay(const QString &text)
{
  const QDate day = QDate::fromString(text, StoredDayFormat);
  if (day.isValid())
    return day;
  return QLocale().toDate(text, QLocale::ShortFormat);
}

} // namespace

void CheckUpdateReminder()
{
  const auto stored = ReadSetting(DurationKey);
  if (!stored)
    return;
  const QDate today = desktop().today();
  const QDate day = readStoredDay(*stored);
  // A first start, and a value that no longer reads as a day, start the
  // count from today without a word. The first window does not need the day:
  // it is written once the program waits for the user, so that the disk's
  // flushes do not hold up the window.
  if (!day.isValid()) {
    QTimer::singleShot(0, [day = storedDay(today)] { WriteSetting(DurationKey, day); });
    return;
  }
  if (qAbs(today.daysTo(day)) <= QuietDays)
    return;

  const MessageAnswer answer =
      askYesNo(nullptr, QStringLiteral("There maybe an update to this software available\n"
                                       "Do you want to check for an update?"));
  WriteSetting(DurationKey, storedDay(today));
  if (answer == MessageAnswer::Yes)
    OpenWebPage(PageKey::Download);
}
