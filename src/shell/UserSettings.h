#pragma once

#include <QString>

#include <memory>

class QSettings;

// Where the program keeps what the breeder sets outside the records: the recent files
// and the preferences. Nothing is kept until the program names where (useUserSettings
// at start-up), so code that runs without it, tests included, leaves no trace.
namespace UserSettings {

// The application's organisation and name.
void useUserSettings();
// An INI file of the caller's (tests).
void useSettingsFile(const QString &path);
// Keeps nothing from now on.
void stopKeeping();
bool isKept();

// The settings, or null while nothing is kept.
std::unique_ptr<QSettings> open();

} // namespace UserSettings
