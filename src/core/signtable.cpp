#include "core/signtable.h"

#include "content/content.h"

namespace {

struct Sign {
  QString month;
  QString animal;
};

const QList<Sign> &signs()
{
  static const QList<Sign> table = {
      {QStringLiteral("January"), QStringLiteral("Galah")},
      {QStringLiteral("February"), QStringLiteral("Koala")},
      {QStringLiteral("March"), QStringLiteral("Dingbat")},
      {QStringLiteral("April"), QStringLiteral("Western Swamp Turtle")},
      {QStringLiteral("May"), QStringLiteral("Kangaroo")},
      {QStringLiteral("June"), QStringLiteral("Northern Hairy-nosed Wombat")},
      {QStringLiteral("July"), QStringLiteral("Platypus")},
      {QStringLiteral("August"), QStringLiteral("Possum")},
      {QStringLiteral("September"), QStringLiteral("Numbat")},
      {QStringLiteral("October"), QStringLiteral("Dibbler")},
      {QStringLiteral("November"), QStringLiteral("Dingo")},
      {QStringLiteral("December"), QStringLiteral("Emu")},
  };
  return table;
}

qsizetype indexOfAnimal(const QString &animal)
{
  for (qsizetype i = 0; i < signs().size(); ++i) {
    if (signs().at(i).animal == animal)
      return i;
  }
  return -1;
}

} // namespace

const QStringList &MonthNames()
{
  static const QStringList months = [] {
    QStringList names;
    for (const Sign &sign : signs())
      names.append(sign.month);
    return names;
  }();
  return months;
}

std::optional<QString> AnimalForMonth(const QString &month)
{
  for (const Sign &sign : signs()) {
    if (sign.month == month)
      return sign.animal;
  }
  return std::nullopt;
}

QString SignDescription(const QString &animal)
{
  static const QStringList descriptions = Content::signDescriptions();
  const qsizetype index = indexOfAnimal(animal);
  return index < 0 ? QString() : descriptions.value(index);
}
