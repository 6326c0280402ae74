#pragma once

#include <QString>

// What the breeder sets in File > Preferences of the main window, kept in the user's
// settings (UserSettings). Every preference is empty until set, and an empty one
// changes nothing.
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

// The rabbitry file the herd tools last read, offered first when they ask for one.
QString lastHerdFile();
void setLastHerdFile(const QString &path);

} // namespace Preferences
