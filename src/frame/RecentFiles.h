#pragma once

#include <QString>
#include <QStringList>

// The records opened or saved last, most recent first, kept in the user's settings
// (UserSettings). Nothing is kept until the program names where (useUserSettings at
// start-up), so code that opens files without it, tests included, leaves no trace.
namespace RecentFiles {

constexpr int Limit = 10;

// The list after `path` was opened or saved: at the top, once, at most Limit long.
QStringList withAdded(QStringList list, const QString &path);
// A list as stored, made sound: no empty entries, no repeats, at most Limit.
QStringList cleaned(const QStringList &stored);
// How a path is kept: absolute, without "." or "..".
QString normalized(const QString &path);

// Keeps the list, and the preferences, with the application's organisation and name.
void useUserSettings();
// Keeps them in an INI file of the caller's (tests).
void useSettingsFile(const QString &path);
// Keeps nothing from now on.
void stopKeeping();
bool isKept();

// The list as stored; empty while nothing is kept.
QStringList list();
void add(const QString &path);
void remove(const QString &path);

} // namespace RecentFiles
