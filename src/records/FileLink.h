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

} // namespace FileLink
