#pragma once

#include <QByteArray>

// What runs inside the converter process (hutchlore-metafile, MetafileHelper.cpp):
// the record structure is checked, then libwmf (Windows metafiles) or libemf2svg
// (enhanced metafiles) turns the file into SVG. These old C libraries trust what they
// read, so the program never calls them itself: Metafile.h runs this in a child
// process under limits and takes back only the SVG. Qt Core only, so the helper
// starts quickly.

// Largest metafile read at all; clip-art is a few kilobytes, a big drawing a megabyte.
constexpr qint64 MaxMetafileBytes = 16 * 1024 * 1024;
// Largest SVG a conversion may produce; a conversion that writes more is stopped.
constexpr qint64 MaxMetafileSvgBytes = 64 * 1024 * 1024;
// Records a metafile may hold; each costs the converters some work.
constexpr qint64 MaxMetafileRecords = 1'000'000;

enum class MetafileKind { Wmf, Emf };

// Converts metafile bytes to SVG. Throws PictureError when the bytes are not a
// metafile of that kind, are damaged, exceed the bounds above or the library refuses
// them.
QByteArray convertMetafile(const QByteArray &bytes, MetafileKind kind);

// The converter's answer on its standard output: a mark, then the SVG or the reason
// the metafile was refused (UTF-8). Anything else, or a process that does not end
// normally with status 0, is a failed conversion.
constexpr char ConverterSvgMark = 'S';
constexpr char ConverterRefusalMark = 'E';
// The longest refusal reason passed back; the rest is cut.
constexpr qsizetype MaxConverterReasonBytes = 1024;
