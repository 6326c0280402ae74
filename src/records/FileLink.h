#pragma once

#include "records/RecordText.h"

// A file link: the full path of another record file, or exactly "None" for no link.
// Any other text, empty included, is a path to follow.
namespace FileLink {

inline const QString &none()
{
    return RecordText::None;
}
inline bool isLink(const QString &text)
{
    return text != RecordText::None;
}

struct Resolved
{
    QString path;           // the file to read
    bool elsewhere = false; // found beside the holder, not at the stored path
};

// The file a link leads to. Stored paths break when a herd's folder is copied to
// another computer, so a stored path that names no file is looked for by its file
// name (after the last "/" or "\") in the folder of `holderPath`, the record that
// holds the link. An untitled holder (empty path) has no folder to look in. When the
// file is nowhere, the stored path comes back as it is: reading it gives the usual
// error. The stored text itself is never changed.
Resolved resolve(const QString &stored, const QString &holderPath);

} // namespace FileLink
