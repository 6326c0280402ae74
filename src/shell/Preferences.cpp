#include "shell/Preferences.h"

#include "shell/UserSettings.h"

#include <QSettings>

#include <optional>

namespace Preferences {

namespace {
const QString MyRabbitryKey = QStringLiteral("Preferences/MyRabbitryFile");
const QString DateOrderKey = QStringLiteral("Preferences/DateOrder");
const QString LastHerdKey = QStringLiteral("Herd/LastRabbitryFile");
const QString PalpateKey = QStringLiteral("Preferences/PalpateDay");
const QString NestBoxKey = QStringLiteral("Preferences/NestBoxDay");
const QString KindleKey = QStringLiteral("Preferences/KindleDay");
const QString WeanKey = QStringLiteral("Preferences/WeanWeeks");

QString textAt(const QString &key)
{
    const auto settings = UserSettings::open();
    // A settings file edited by hand may hold anything under the key: only text counts.
    const QVariant value = settings ? settings->value(key) : QVariant();
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

void setTextAt(const QString &key, const QString &text)
{
    const auto settings = UserSettings::open();
    if (!settings)
        return;
    if (text.isEmpty())
        settings->remove(key);
    else
        settings->setValue(key, text);
    settings->sync();
}

// A count kept as its digits: `fallback` while the key holds nothing, nothing when it
// holds anything but a number.
std::optional<int> countAt(const QString &key, int fallback)
{
    const auto settings = UserSettings::open();
    if (!settings || !settings->contains(key))
        return fallback;
    const QVariant value = settings->value(key);
    bool ok = false;
    const int count = value.typeId() == QMetaType::QString ? value.toString().trimmed().toInt(&ok) : 0;
    return ok ? std::optional<int>(count) : std::nullopt;
}

bool within(int value, BreedingDays::Range range)
{
    return value >= range.least && value <= range.most;
}

} // namespace

QString myRabbitryFile()
{
    return textAt(MyRabbitryKey);
}

void setMyRabbitryFile(const QString &path)
{
    setTextAt(MyRabbitryKey, path);
}

DateOrder dateOrder()
{
    // Anything but the two words written below means the system's order.
    const QString text = textAt(DateOrderKey);
    if (text == QLatin1String("DayFirst"))
        return DateOrder::DayFirst;
    if (text == QLatin1String("MonthFirst"))
        return DateOrder::MonthFirst;
    return DateOrder::System;
}

void setDateOrder(DateOrder order)
{
    const DateOrder before = dateOrder();
    setTextAt(DateOrderKey, order == DateOrder::DayFirst     ? QStringLiteral("DayFirst")
                            : order == DateOrder::MonthFirst ? QStringLiteral("MonthFirst")
                                                             : QString());
    if (dateOrder() != before)
        emit notifier()->dateOrderChanged();
}

QString BreedingDays::problem() const
{
    const struct
    {
        int value;
        Range range;
        const char *message; // the value, then the range
    } counts[] = {{palpateDay, PalpateRange, "Palpate on day %1: choose a day from %2 to %3."},
                  {nestBoxDay, NestBoxRange, "Nest box on day %1: choose a day from %2 to %3."},
                  {kindleDay, KindleRange, "Due to kindle on day %1: choose a day from %2 to %3."},
                  {weanWeeks, WeanRange, "Wean at %1 weeks: choose from %2 to %3 weeks."}};
    for (const auto &count : counts)
        if (!within(count.value, count.range))
            return QString::fromLatin1(count.message).arg(count.value).arg(count.range.least).arg(count.range.most);
    if (nestBoxDay <= palpateDay)
        return QStringLiteral("The nest box (day %1) must come after palpation (day %2).")
            .arg(nestBoxDay)
            .arg(palpateDay);
    if (nestBoxDay >= kindleDay)
        return QStringLiteral("The nest box (day %1) must come before kindling (day %2).")
            .arg(nestBoxDay)
            .arg(kindleDay);
    return {};
}

BreedingDays breedingDays()
{
    const BreedingDays defaults;
    const std::optional<int> palpate = countAt(PalpateKey, defaults.palpateDay);
    const std::optional<int> nestBox = countAt(NestBoxKey, defaults.nestBoxDay);
    const std::optional<int> kindle = countAt(KindleKey, defaults.kindleDay);
    const std::optional<int> wean = countAt(WeanKey, defaults.weanWeeks);
    if (!palpate || !nestBox || !kindle || !wean)
        return defaults;
    const BreedingDays days{.palpateDay = *palpate, .nestBoxDay = *nestBox, .kindleDay = *kindle, .weanWeeks = *wean};
    return days.problem().isEmpty() ? days : defaults;
}

bool setBreedingDays(const BreedingDays &days)
{
    if (!days.problem().isEmpty())
        return false;
    const BreedingDays before = breedingDays();
    setTextAt(PalpateKey, QString::number(days.palpateDay));
    setTextAt(NestBoxKey, QString::number(days.nestBoxDay));
    setTextAt(KindleKey, QString::number(days.kindleDay));
    setTextAt(WeanKey, QString::number(days.weanWeeks));
    if (breedingDays() != before)
        emit notifier()->breedingDaysChanged();
    return true;
}

Notifier *notifier()
{
    static Notifier instance;
    return &instance;
}

QString lastHerdFile()
{
    return textAt(LastHerdKey);
}

void setLastHerdFile(const QString &path)
{
    setTextAt(LastHerdKey, path);
}

} // namespace Preferences
