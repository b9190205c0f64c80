#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The twelve signs of the Australian animal zodiac, one per month.

// "January" to "December", the order of the month list.
const QStringList &MonthNames();

// The animal of a month, by the exact month name; nothing for anything else.
std::optional<QString> AnimalForMonth(const QString &month);

// The description of an animal, by its exact name; empty for anything else.
QString SignDescription(const QString &animal);
