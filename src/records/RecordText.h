#pragma once

#include <QString>

// Texts that several record kinds store with the same meaning.
namespace RecordText {

// "No link" in a link line, "no picture" in a picture line.
inline const QString None = QStringLiteral("None");
// The stored font weights; other texts leave a window's weight as it is.
inline const QString Bold = QStringLiteral("Bold");
inline const QString Normal = QStringLiteral("Normal");

// A blank placeholder: a run of underscores as long as the field's place on paper.
inline QString underscores(int n)
{
    return QString(n, u'_');
}

// A value that shows nothing: its field's placeholder, or spaces only (an emptied
// field keeps its width on the sheet with spaces).
inline bool isBlank(const QString &value, const QString &placeholder)
{
    return value == placeholder || value.trimmed().isEmpty();
}

// A stored picture path means "no picture" when empty or exactly "None".
inline bool isNoPicture(const QString &path)
{
    return path.isEmpty() || path == None;
}

} // namespace RecordText
