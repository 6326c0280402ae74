// Any bytes as a Windows or enhanced metafile must convert or be refused with a
// PictureError, within the bounds: no crash, no hang, no SVG past its bound. This is
// the converter process's own work, run here in process; the SVG it makes is then
// drawn as the program draws it, within the image bounds.
#include "records/Metafile.h"
#include "records/MetafileConverter.h"
#include "records/Picture.h"
#include "records/RecordError.h"

#include <QGuiApplication>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Qt SVG draws with QPainter on an image, which needs no window system.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    QImageReader::setAllocationLimit(16);
    return 0;
}

// The first byte picks WMF or EMF, the rest is the file; inputs are kept small
// (-max_len) so each run is quick.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 64 * 1024)
        return 0;
    const MetafileKind kind = (data[0] & 1) ? MetafileKind::Emf : MetafileKind::Wmf;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    QByteArray svg;
    try {
        svg = convertMetafile(bytes, kind);
    } catch (const PictureError &) {
        return 0; // a refused metafile is fine
    }
    if (svg.size() > MaxMetafileSvgBytes)
        std::abort();
    try {
        const QImage image = renderSvg(svg);
        if (image.isNull() || qint64(image.sizeInBytes()) > pictureMemoryLimit() ||
            std::max(image.width(), image.height()) > MaxMetafileSide)
            std::abort();
    } catch (const PictureError &) {
        // A drawing Qt SVG cannot read is refused like a damaged file.
    }
    return 0;
}
