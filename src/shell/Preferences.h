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

} // namespace Preferences
