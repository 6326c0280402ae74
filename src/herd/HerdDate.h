#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// Birth, bred and kindled dates are free text in the records. One reader takes the
// forms breeders type and refuses everything else: a date it cannot read is shown as
// typed and sorted after every date it can, never guessed.
namespace HerdDate {

// Which number comes first in 3/4/24: the breeder's setting.
enum class Order { DayFirst, MonthFirst };

// The order of the locale's short date format: month before day (as in M/d/yy) is
// MonthFirst; day first, and year-first formats, are DayFirst.
Order defaultOrder(const QLocale &locale = QLocale::system());
// "Day before month" / "Month before day", for the settings' choices.
QString orderName(Order order);

// Reads a typed date; an invalid QDate when the text is not one of these forms or
// names no day of the calendar (2/30/24):
//   3/14/24  3/14/2024  3-14-2024  14.3.2024   day and month in `order`, with one
//                                             separator ("/", "-" or ".") used twice
//   2024-03-14  2024/3/14                      four-digit year first: year, month, day
//   14 Mar 2024  14-Mar-24  Mar 14, 2024       an English month name or its first
//                                             three letters (any case)
// Spaces around the text and around separators do not matter. A two-digit year is
// the latest year with those two digits that is not after the year of `today`, so
// the reading stays within the last hundred years. Never throws.
QDate read(const QString &text, Order order, const QDate &today);

// Sorting: readable dates in calendar order, every unreadable one after them.
inline bool before(const QDate &a, const QDate &b)
{
    if (a.isValid() != b.isValid())
        return a.isValid();
    return a.isValid() && a < b;
}

// A rabbit's age on `today`.
struct Age
{
    qint64 days = -1; // -1 when unknown (no readable birth date, or born after today)
    QString text;     // "3 weeks" under sixteen weeks, "5 months" after; empty when unknown

    bool known() const { return days >= 0; }
};
Age ageOf(const QDate &born, const QDate &today);

// Whole months from `from` to `to`: "1 month" on the same day of the next month, or
// on its last day when that month is shorter. 0 when `to` is before `from`.
int monthsBetween(const QDate &from, const QDate &to);

} // namespace HerdDate
