#include "frame/RecentFiles.h"

#include "shell/UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace RecentFiles {

namespace {

const QString Key = QStringLiteral("RecentFiles");

std::unique_ptr<QSettings> settings()
{
    return UserSettings::open();
}

void store(const QStringList &paths)
{
    if (const auto s = settings()) {
        s->setValue(Key, paths);
        s->sync();
    }
}

} // namespace

QString normalized(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStringList withAdded(QStringList list, const QString &path)
{
    const QString kept = normalized(path);
    list.removeAll(kept);
    list.prepend(kept);
    return cleaned(list);
}

QStringList cleaned(const QStringList &stored)
{
    QStringList result;
    for (const QString &path : stored) {
        if (result.size() == Limit)
            break;
        if (!path.isEmpty() && !result.contains(path))
            result.append(path);
    }
    return result;
}

void useUserSettings()
{
    UserSettings::useUserSettings();
}

void useSettingsFile(const QString &path)
{
    UserSettings::useSettingsFile(path);
}

void stopKeeping()
{
    UserSettings::stopKeeping();
}

bool isKept()
{
    return UserSettings::isKept();
}

QStringList list()
{
    const auto s = settings();
    // Whatever the settings file holds, the menu gets a short list of paths.
    return s ? cleaned(s->value(Key).toStringList()) : QStringList();
}

void add(const QString &path)
{
    if (isKept() && !path.isEmpty())
        store(withAdded(list(), path));
}

void remove(const QString &path)
{
    if (!isKept())
        return;
    QStringList paths = list();
    paths.removeAll(path);
    paths.removeAll(normalized(path));
    store(paths);
}

} // namespace RecentFiles
