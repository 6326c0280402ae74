#include "shell/UserSettings.h"

#include <QSettings>

namespace UserSettings {

namespace {

enum class Store { None, User, File };
Store g_store = Store::None;
QString g_file;

} // namespace

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

std::unique_ptr<QSettings> open()
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

} // namespace UserSettings
