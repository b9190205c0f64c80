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

// Writes an animal's name in capitals and its description into the result
// window, loading that window (hidden) if needed. An animal that is not in the
// table, compared exactly and case-sensitively, changes nothing.
void ShowSignResult(const QString &animal);
