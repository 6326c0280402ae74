#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Largest picture file read at all; a photograph is a few megabytes.
constexpr qint64 MaxPictureFileBytes = 128 * 1024 * 1024;

// Loads a picture file by its extension. JPEG goes through libjpeg so that a broken
// photograph is reported in libjpeg's own words; bitmaps, icons, PNG and GIF go
// through Qt's readers; metafiles (.wmf, .emf) are converted and drawn (Metafile.h). Throws PictureError (or FileError
// when the file cannot be read at all, is not a regular file or is larger than MaxPictureFileBytes).
QImage loadPicture(const QString &path);

// Decodes picture bytes as a file with `extension` (".jpg", ".BMP", ...) would be.
// Throws PictureError with a message that names no file.
QImage decodePicture(const QByteArray &bytes, const QString &extension);

// Decodes JPEG bytes with libjpeg. Throws PictureError with libjpeg's message.
QImage decodeJpeg(const QByteArray &bytes);

// Memory a decoded picture may take, in bytes, 0 for no limit: the allocation limit
// Qt's own image readers apply (QImageReader::allocationLimit()). A header claiming
// more is refused before anything is allocated, and libjpeg's working memory is held
// to the same bound.
qint64 pictureMemoryLimit();
