#include "shell/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace RecentFiles {

namespace {

const QString Key = QStringLiteral("RecentFiles");

enum class Store { None, User, File };
Store g_store = Store::None;
QString g_file;

std::unique_ptr<QSettings> settings()
{
    switch (g_store) {
    case Store::User:
        return std::make_unique<QSettings>();
    case Store::File:
        return std::make_unique<QSettings>(g_file, QSettings::IniFormat);
    case Store::None:
        break;
    }
    return nullptr;
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
    g_store = Store::User;
}

void useSettingsFile(const QString &path)
{
    g_store = Store::File;
    g_file = path;
}

void stopKeeping()
{
    g_store = Store::None;
    g_file.clear();
}

bool isKept()
{
    return g_store != Store::None;
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
