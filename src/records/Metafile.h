#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Windows metafiles (.wmf, through libwmf) and enhanced metafiles (.emf, through
// libemf2svg) are converted to SVG and drawn with Qt SVG. Both libraries are loaded
// on the first metafile, so a program that never meets one never loads them.

// Largest metafile read at all; clip-art is a few kilobytes, a big drawing a megabyte.
constexpr qint64 MaxMetafileBytes = 16 * 1024 * 1024;
// Largest SVG a conversion may produce; a conversion that writes more is stopped.
constexpr qint64 MaxMetafileSvgBytes = 64 * 1024 * 1024;
// Records a metafile may hold; each costs the converters some work.
constexpr qint64 MaxMetafileRecords = 1'000'000;
// Longest side of the image a metafile is drawn into, in pixels.
constexpr int MaxMetafileSide = 4096;

// Whether the extension (".wmf", ".EMF", ...) names a metafile.
bool isMetafileExtension(const QString &extension);

// Converts metafile bytes to SVG. Throws PictureError when the bytes are not a
// metafile of that kind, are damaged, exceed the bounds above or the converter
// library cannot be loaded.
QByteArray metafileToSvg(const QByteArray &bytes, const QString &extension);

// Draws SVG bytes into an image at the SVG's own size (bounded by MaxMetafileSide and
// the picture memory limit), on a transparent ground. Throws PictureError for an SVG
// Qt cannot read.
QImage renderSvg(const QByteArray &svg);

// metafileToSvg, then renderSvg.
QImage decodeMetafile(const QByteArray &bytes, const QString &extension);
