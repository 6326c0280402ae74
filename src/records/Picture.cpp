#include "records/Picture.h"

#include "records/LineFile.h"
#include "records/Metafile.h"
#include "records/RecordError.h"

#include <QBuffer>
#include <QImageReader>
#include <QLocale>
#include <QtEndian>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <limits>

namespace {

// A real progressive JPEG has about ten scans; thousands of tiny ones make libjpeg
// work for minutes on a small file.
constexpr int MaxJpegScans = 500;

// Bytes per pixel of the images both decoders produce (32-bit RGB or ARGB).
constexpr qint64 BytesPerPixel = 4;

bool tooLarge(qint64 width, qint64 height)
{
    const qint64 limit = pictureMemoryLimit();
    return limit > 0 && width * height * BytesPerPixel > limit;
}

QString tooLargeMessage(qint64 width, qint64 height)
{
    return QStringLiteral("it claims %1 x %2 pixels, larger than the %3 of memory a picture may take")
        .arg(width)
        .arg(height)
        .arg(QLocale::c().formattedDataSize(pictureMemoryLimit(), 0));
}

struct JpegErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr info)
{
    auto *manager = reinterpret_cast<JpegErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings (a truncated file, say) are kept quiet; libjpeg fills in what is missing.
void jpegOutputMessage(j_common_ptr) {}

// libjpeg calls this while it absorbs the scans of a multi-scan file.
void jpegProgress(j_common_ptr info)
{
    const auto *decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxJpegScans) {
        auto *manager = reinterpret_cast<JpegErrorManager *>(info->err);
        std::snprintf(manager->message, JMSG_LENGTH_MAX, "more than %d scans", MaxJpegScans);
        std::longjmp(manager->jump, 1);
    }
}

enum class JpegResult { Decoded, Failed, TooLarge };

// Everything after setjmp lives in plain C structures, so a longjmp out of libjpeg
// skips no destructors. The image is allocated only once the claimed size passed.
JpegResult decodeInto(const QByteArray &bytes, QImage &image, char *message, JDIMENSION size[2])
{
    jpeg_decompress_struct info;
    JpegErrorManager error;
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = jpegErrorExit;
    error.pub.output_message = jpegOutputMessage;
    error.message[0] = '\0';
    if (setjmp(error.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", error.message);
        jpeg_destroy_decompress(&info);
        return JpegResult::Failed;
    }
    jpeg_create_decompress(&info);
    // Without a backing store, libjpeg refuses a file whose whole-image buffers (a
    // progressive file keeps every coefficient) would pass this.
    if (const qint64 limit = pictureMemoryLimit(); limit > 0)
        info.mem->max_memory_to_use = long(limit);
    progress.progress_monitor = jpegProgress;
    info.progress = &progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBX;
    jpeg_calc_output_dimensions(&info);
    if (tooLarge(info.output_width, info.output_height)) {
        size[0] = info.output_width;
        size[1] = info.output_height;
        jpeg_destroy_decompress(&info);
        return JpegResult::TooLarge;
    }
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGBX8888);
    if (image.isNull()) {
        size[0] = info.output_width;
        size[1] = info.output_height;
        jpeg_destroy_decompress(&info);
        return JpegResult::TooLarge;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return JpegResult::Decoded;
}

bool isJpegExtension(const QString &extension)
{
    return extension == u".jpg" || extension == u".jpeg" || extension == u".jpe" || extension == u".jfif";
}

// What Qt may read for us, whatever the extension says: never one of the other
// formats its plugins offer (SVG, TIFF, XPM, ...), which no record refers to.
bool isQtPictureFormat(const QByteArray &format)
{
    return format == "bmp" || format == "png" || format == "gif" || format == "ico" || format == "cur";
}

// The size a BMP or GIF header states, where Qt's reader gives none once the size is
// past its own bounds; invalid when the header states nothing readable.
QSize headerClaim(const QByteArray &bytes, const QByteArray &format)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (format == "bmp" && bytes.size() >= 26 && bytes.startsWith("BM")) {
        // The 12-byte OS/2 header has 16-bit sizes; every later one 32-bit, the
        // height negative for a top-down bitmap.
        if (qFromLittleEndian<quint32>(data + 14) == 12)
            return QSize(qFromLittleEndian<quint16>(data + 18), qFromLittleEndian<quint16>(data + 20));
        const qint32 width = qFromLittleEndian<qint32>(data + 18);
        const qint32 height = qFromLittleEndian<qint32>(data + 22);
        if (width > 0 && height != 0 && height != std::numeric_limits<qint32>::min())
            return QSize(width, std::abs(height));
    }
    if (format == "gif" && bytes.size() >= 10) // the logical screen every frame is drawn on
        return QSize(qFromLittleEndian<quint16>(data + 6), qFromLittleEndian<quint16>(data + 8));
    return {};
}

QString unsupported()
{
    return QStringLiteral("unsupported picture format");
}

} // namespace

qint64 pictureMemoryLimit()
{
    return qint64(QImageReader::allocationLimit()) * 1024 * 1024;
}

QImage decodeJpeg(const QByteArray &bytes)
{
    QImage image;
    char message[JMSG_LENGTH_MAX] = {};
    JDIMENSION size[2] = {};
    switch (decodeInto(bytes, image, message, size)) {
    case JpegResult::Decoded:
        return image;
    case JpegResult::TooLarge:
        throw PictureError(tooLargeMessage(size[0], size[1]));
    case JpegResult::Failed:
        break;
    }
    throw PictureError(QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(message)));
}

QImage decodePicture(const QByteArray &bytes, const QString &extension)
{
    const QString lower = extension.toLower();
    if (isMetafileExtension(lower))
        return decodeMetafile(bytes, lower);
    if (isJpegExtension(lower))
        return decodeJpeg(bytes);

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (!isQtPictureFormat(format))
        throw PictureError(unsupported());
    // Qt's readers apply the same limit, but only with a vague "unable to read".
    for (const QSize size : {reader.size(), headerClaim(bytes, format)}) {
        if (size.isValid() && tooLarge(size.width(), size.height()))
            throw PictureError(tooLargeMessage(size.width(), size.height()));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        throw PictureError(reader.error() == QImageReader::UnsupportedFormatError ? unsupported()
                                                                                  : reader.errorString());
    }
    return image;
}

QImage loadPicture(const QString &path)
{
    const QString extension = extensionOf(path).toLower();
    const QString shown = shownPath(path);
    const auto failed = [&](const QString &reason) {
        return PictureError(QStringLiteral("Cannot load picture \"%1\": %2").arg(shown, reason));
    };
    const qint64 limit = isMetafileExtension(extension) ? MaxMetafileBytes : MaxPictureFileBytes;
    const QByteArray bytes = readRegularFile(path, limit, QStringLiteral("picture"), QStringLiteral("picture file"));
    try {
        return decodePicture(bytes, extension);
    } catch (const PictureError &e) {
        throw failed(e.message());
    }
}
