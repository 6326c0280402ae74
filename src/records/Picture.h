#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Loads a picture file by its extension. JPEG goes through libjpeg so that a broken
// photograph is reported in libjpeg's own words; bitmaps, icons, PNG and GIF go
// through Qt's readers. Throws PictureError (or FileError when the file cannot be
// read at all).
QImage loadPicture(const QString &path);

// Decodes JPEG bytes with libjpeg. Throws PictureError with libjpeg's message.
QImage decodeJpeg(const QByteArray &bytes);
