#pragma once

#include <QObject>
#include <QString>

// What the breeder sets in File > Preferences of the main window, kept in the user's
// settings (UserSettings). Every preference is empty until set, and an empty one
// changes nothing; the breeding calendar's day counts start at their defaults.
namespace Preferences {

// "My rabbitry file": the breeder's own rabbitry (.rbty). A new pedigree is linked to
// it and takes its breeder lines from it.
QString myRabbitryFile();
void setMyRabbitryFile(const QString &path);

// Which number comes first in a typed date such as 3/4/24. System: as the system's
// locale writes dates.
enum class DateOrder { System, DayFirst, MonthFirst };
DateOrder dateOrder();
void setDateOrder(DateOrder order);

// The breeding calendar's day counts: palpation, nest box and kindling counted from
// the bred date, weaning in weeks from the kindled date. Each has its range, and the
// nest box comes after palpation and before kindling.
struct BreedingDays
{
    int palpateDay = 12;
    int nestBoxDay = 28;
    int kindleDay = 31;
    int weanWeeks = 8;

    struct Range
    {
        int least;
        int most;
    };
    static constexpr Range PalpateRange{7, 20};
    static constexpr Range NestBoxRange{20, 35};
    static constexpr Range KindleRange{28, 35};
    static constexpr Range WeanRange{4, 12};

    // What is wrong with these counts, for the breeder to read; empty when they can be kept.
    QString problem() const;
    bool operator==(const BreedingDays &) const = default;
};
// The counts set, or the defaults. A settings file edited by hand that holds counts
// which cannot be kept together (out of range, out of order, no numbers) gives the
// defaults for all four.
BreedingDays breedingDays();
// Keeps the counts; counts with a problem() are not kept (false).
bool setBreedingDays(const BreedingDays &days);

// The rabbitry file the herd tools last read, offered first when they ask for one.
QString lastHerdFile();
void setLastHerdFile(const QString &path);

// Says that a preference the open windows read has changed, whoever changed it, so
// they follow at once. Nothing is said when a set keeps the value it had.
class Notifier : public QObject
{
    Q_OBJECT
signals:
    void dateOrderChanged();
    void breedingDaysChanged();
};
Notifier *notifier();

} // namespace Preferences
