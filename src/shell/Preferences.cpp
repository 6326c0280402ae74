#include "shell/Preferences.h"

#include "shell/UserSettings.h"

#include <QSettings>

namespace Preferences {

namespace {
const QString MyRabbitryKey = QStringLiteral("Preferences/MyRabbitryFile");
const QString DateOrderKey = QStringLiteral("Preferences/DateOrder");
const QString LastHerdKey = QStringLiteral("Herd/LastRabbitryFile");

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
    setTextAt(DateOrderKey, order == DateOrder::DayFirst     ? QStringLiteral("DayFirst")
                            : order == DateOrder::MonthFirst ? QStringLiteral("MonthFirst")
                                                             : QString());
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
