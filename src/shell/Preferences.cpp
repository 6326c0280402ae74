#include "shell/Preferences.h"

#include "shell/UserSettings.h"

#include <QSettings>

namespace Preferences {

namespace {
const QString MyRabbitryKey = QStringLiteral("Preferences/MyRabbitryFile");
} // namespace

QString myRabbitryFile()
{
    const auto settings = UserSettings::open();
    // A settings file edited by hand may hold anything under the key: only text counts.
    const QVariant value = settings ? settings->value(MyRabbitryKey) : QVariant();
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

void setMyRabbitryFile(const QString &path)
{
    const auto settings = UserSettings::open();
    if (!settings)
        return;
    if (path.isEmpty())
        settings->remove(MyRabbitryKey);
    else
        settings->setValue(MyRabbitryKey, path);
    settings->sync();
}

} // namespace Preferences
