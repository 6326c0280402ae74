#include "records/Picture.h"

#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

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

// Everything after setjmp lives in plain C structures, so a longjmp out of libjpeg
// skips no destructors.
bool decodeInto(const QByteArray &bytes, QImage &image, char *message)
{
    jpeg_decompress_struct info;
    JpegErrorManager error;
    info.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = jpegErrorExit;
    error.pub.output_message = jpegOutputMessage;
    error.message[0] = '\0';
    if (setjmp(error.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", error.message);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBX;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGBX8888);
    if (image.isNull()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Picture too large (%u x %u pixels)", info.output_width,
                      info.output_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes)
{
    QImage image;
    char message[JMSG_LENGTH_MAX] = {};
    if (!decodeInto(bytes, image, message))
        throw PictureError(QStringLiteral("JPEG error: %1").arg(QString::fromLocal8Bit(message)));
    return image;
}

QImage loadPicture(const QString &path)
{
    const QString extension = extensionOf(path).toLower();
    const QString shown = QDir::toNativeSeparators(path);
    if (extension == u".wmf" || extension == u".emf")
        throw PictureError(QStringLiteral("Cannot load picture \"%1\": unsupported picture format").arg(shown));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open picture \"%1\". %2").arg(shown, file.errorString()));
    const QByteArray bytes = file.readAll();

    if (extension == u".jpg" || extension == u".jpeg" || extension == u".jpe" || extension == u".jfif") {
        try {
            return decodeJpeg(bytes);
        } catch (const PictureError &e) {
            throw PictureError(QStringLiteral("Cannot load picture \"%1\": %2").arg(shown, e.message()));
        }
    }

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) {
        throw PictureError(QStringLiteral("Cannot load picture \"%1\": %2")
                               .arg(shown, reader.error() == QImageReader::UnsupportedFormatError
                                               ? QStringLiteral("unsupported picture format")
                                               : reader.errorString()));
    }
    return image;
}
