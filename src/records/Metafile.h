#pragma once

#include "records/MetafileConverter.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Windows metafiles (.wmf) and enhanced metafiles (.emf) are converted to SVG in a
// child process (the converter, MetafileConverter.h) and drawn with Qt SVG. The
// program never loads the converter libraries itself: a file that makes them crash,
// hang or run wild costs a picture, never the program or its memory.

// Longest side of the image a metafile is drawn into, in pixels.
constexpr int MaxMetafileSide = 4096;

// What a converter process may take. A conversion past any of them is stopped.
struct ConverterLimits
{
    qint64 memoryBytes = 1024LL * 1024 * 1024; // address space of the process
    int cpuSeconds = 15;                       // processor time
    int wallMilliseconds = 30'000;             // time from start to answer, waiting included
    qint64 replyBytes = 1 + MaxMetafileSvgBytes;
};

// Whether the extension (".wmf", ".EMF", ...) names a metafile.
bool isMetafileExtension(const QString &extension);

// The converter program: beside the program as installed, else in the build tree,
// unless one was set below.
QString metafileConverterPath();
// For tests: converts with `program` from now on (started with "wmf" or "emf" as the
// real one is); an empty path goes back to the real converter.
void setMetafileConverterPath(const QString &program);

// Runs a converter `program` with `arguments` and `bytes` on its standard input
// under `limits`, and returns the SVG it answers. Throws PictureError with the
// converter's reason when it refuses the metafile, and "the metafile could not be
// converted" when it crashes, is stopped at a limit, ends with a failure or answers
// anything else.
QByteArray runMetafileConverter(const QString &program, const QStringList &arguments, const QByteArray &bytes,
                                const ConverterLimits &limits = {});

// Converts metafile bytes to SVG with the converter program. Throws PictureError as
// above, and for bytes past MaxMetafileBytes or an unknown extension.
QByteArray metafileToSvg(const QByteArray &bytes, const QString &extension);

// Draws SVG bytes into an image at the SVG's own size (bounded by MaxMetafileSide and
// the picture memory limit), on a transparent ground. Throws PictureError for an SVG
// Qt cannot read.
QImage renderSvg(const QByteArray &svg);

// metafileToSvg, then renderSvg.
QImage decodeMetafile(const QByteArray &bytes, const QString &extension);
