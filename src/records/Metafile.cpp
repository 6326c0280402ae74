#include "records/Metafile.h"

#include "records/Picture.h"
#include "records/RecordError.h"

#include <QLibrary>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// The few entry points used of each library, resolved when the first metafile comes.
struct WmfLibrary
{
    decltype(&wmf_api_create) apiCreate = nullptr;
    decltype(&wmf_api_destroy) apiDestroy = nullptr;
    decltype(&wmf_mem_open) memOpen = nullptr;
    decltype(&wmf_mem_close) memClose = nullptr;
    decltype(&wmf_scan) scan = nullptr;
    decltype(&wmf_play) play = nullptr;
    decltype(&wmf_display_size) displaySize = nullptr;
    decltype(&wmf_status_function) statusFunction = nullptr;
    decltype(&wmf_svg_function) svgFunction = nullptr;
    QString error;
};

struct EmfLibrary
{
    decltype(&emf2svg) convert = nullptr;
    QString error;
};

template <typename F> bool resolve(QLibrary &library, const char *name, F &function)
{
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

const WmfLibrary &wmfLibrary()
{
    static WmfLibrary wmf;
    static std::once_flag once;
    std::call_once(once, [] {
        QLibrary library(QStringLiteral("libwmf-0.2.so.7"));
        if (!library.load()) {
            wmf.error = library.errorString();
            return;
        }
        // The library stays loaded for the rest of the run.
        const bool all =
            resolve(library, "wmf_api_create", wmf.apiCreate) && resolve(library, "wmf_api_destroy", wmf.apiDestroy) &&
            resolve(library, "wmf_mem_open", wmf.memOpen) && resolve(library, "wmf_mem_close", wmf.memClose) &&
            resolve(library, "wmf_scan", wmf.scan) && resolve(library, "wmf_play", wmf.play) &&
            resolve(library, "wmf_display_size", wmf.displaySize) &&
            resolve(library, "wmf_status_function", wmf.statusFunction) &&
            resolve(library, "wmf_svg_function", wmf.svgFunction);
        if (!all)
            wmf = WmfLibrary{.error = QStringLiteral("libwmf lacks a function this program needs")};
    });
    return wmf;
}

const EmfLibrary &emfLibrary()
{
    static EmfLibrary emf;
    static std::once_flag once;
    std::call_once(once, [] {
        QLibrary library(QStringLiteral("libemf2svg.so.1"));
        if (!library.load())
            emf.error = library.errorString();
        else if (!resolve(library, "emf2svg", emf.convert))
            emf.error = QStringLiteral("libemf2svg lacks a function this program needs");
    });
    return emf;
}

PictureError damaged(const QString &what)
{
    return PictureError(QStringLiteral("damaged metafile: %1").arg(what));
}

// Walks the record chain of a Windows metafile up to its end record, so that a cut
// or looping file is refused before libwmf sees it.
void checkWmfRecords(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qint64 length = bytes.size();
    qint64 at = 0;
    if (length >= 4 && qFromLittleEndian<quint32>(data) == 0x9AC6CDD7u)
        at = 22; // the placeable header some programs put first
    if (length - at < 18)
        throw damaged(QStringLiteral("it is too short for a Windows metafile header"));
    const quint16 type = qFromLittleEndian<quint16>(data + at);
    const quint16 headerWords = qFromLittleEndian<quint16>(data + at + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        throw damaged(QStringLiteral("it does not start with a Windows metafile header"));
    // libwmf allocates the largest record the header states before reading any.
    if (qint64(qFromLittleEndian<quint32>(data + at + 12)) > (length - at) / 2)
        throw damaged(QStringLiteral("its header states a record larger than the file"));
    at += 18;
    for (qint64 records = 0;; ++records) {
        if (records >= MaxMetafileRecords)
            throw PictureError(QStringLiteral("the metafile holds more than %1 records").arg(MaxMetafileRecords));
        if (length - at < 6)
            throw damaged(QStringLiteral("it ends before its last record"));
        const qint64 words = qFromLittleEndian<quint32>(data + at);
        const quint16 function = qFromLittleEndian<quint16>(data + at + 4);
        if (words < 3)
            throw damaged(QStringLiteral("a record is shorter than its own header"));
        if (words > (length - at) / 2)
            throw damaged(QStringLiteral("it ends before its last record"));
        if (function == 0) // META_EOF
            return;
        at += words * 2;
    }
}

// The same for an enhanced metafile: a header record that says " EMF", then records
// each at least 8 bytes, a multiple of 4, up to EMR_EOF.
void checkEmfRecords(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qint64 length = bytes.size();
    if (length < 88 || qFromLittleEndian<quint32>(data) != 1 || qFromLittleEndian<quint32>(data + 40) != 0x464D4520u)
        throw damaged(QStringLiteral("it does not start with an enhanced metafile header"));
    qint64 at = 0;
    for (qint64 records = 0;; ++records) {
        if (records >= MaxMetafileRecords)
            throw PictureError(QStringLiteral("the metafile holds more than %1 records").arg(MaxMetafileRecords));
        if (length - at < 8)
            throw damaged(QStringLiteral("it ends before its last record"));
        const quint32 type = qFromLittleEndian<quint32>(data + at);
        const qint64 size = qFromLittleEndian<quint32>(data + at + 4);
        if (size < 8 || size % 4 != 0)
            throw damaged(QStringLiteral("a record states an impossible size"));
        if (size > length - at)
            throw damaged(QStringLiteral("it ends before its last record"));
        if (type == 14) // EMR_EOF
            return;
        at += size;
    }
}

// libwmf writes its SVG through this stream; past the bound it keeps nothing more and
// the status function stops the conversion.
struct BoundedStream
{
    QByteArray svg;
    bool overflowed = false;
};

int boundedPuts(char *text, void *context)
{
    auto *stream = static_cast<BoundedStream *>(context);
    const qint64 length = qint64(std::strlen(text));
    if (stream->overflowed || stream->svg.size() + length > MaxMetafileSvgBytes) {
        stream->overflowed = true;
        return EOF;
    }
    stream->svg.append(text, qsizetype(length));
    return 0;
}

int boundedReset(void *context)
{
    static_cast<BoundedStream *>(context)->svg.clear();
    return 0;
}

int stopWhenOverflowed(void *context, float)
{
    return static_cast<BoundedStream *>(context)->overflowed ? 1 : 0;
}

QString wmfFailure(wmf_error_t error)
{
    switch (error) {
    case wmf_E_InsMem:
        return QStringLiteral("not enough memory to convert the metafile");
    case wmf_E_EOF:
        return damaged(QStringLiteral("it ends before its last record")).message();
    case wmf_E_UserExit:
        return QStringLiteral("the metafile draws more than %1 of SVG").arg(MaxMetafileSvgBytes);
    default:
        return damaged(QStringLiteral("libwmf could not read it (error %1)").arg(int(error))).message();
    }
}

QByteArray wmfToSvg(const QByteArray &bytes)
{
    checkWmfRecords(bytes);
    const WmfLibrary &wmf = wmfLibrary();
    if (!wmf.apiCreate)
        throw PictureError(QStringLiteral("Windows metafiles cannot be shown: %1").arg(wmf.error));

    wmfAPI_Options options{};
    options.function = wmf.svgFunction;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI *api = nullptr;
    if (wmf.apiCreate(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf.apiDestroy(api);
        throw PictureError(QStringLiteral("libwmf could not be started"));
    }
    BoundedStream stream;
    wmfStream output{&stream, boundedPuts, boundedReset};
    QByteArray input = bytes; // libwmf reads from a buffer it may not change, but wants it mutable
    wmf_error_t error = wmf.memOpen(api, reinterpret_cast<unsigned char *>(input.data()), long(input.size()));
    wmfD_Rect box{};
    if (error == wmf_E_None)
        error = wmf.scan(api, 0, &box);
    if (error == wmf_E_None) {
        wmf.statusFunction(api, &stream, stopWhenOverflowed);
        auto *device = WMF_SVG_GetData(api);
        device->out = &output;
        device->bbox = box;
        unsigned int width = 0;
        unsigned int height = 0;
        wmf.displaySize(api, &width, &height, 72, 72);
        device->width = width;
        device->height = height;
        error = wmf.play(api, 0, &box);
        if (stream.overflowed)
            error = wmf_E_UserExit;
    }
    wmf.memClose(api);
    wmf.apiDestroy(api);
    if (error != wmf_E_None)
        throw PictureError(wmfFailure(error));
    return stream.svg;
}

QByteArray emfToSvg(const QByteArray &bytes)
{
    checkEmfRecords(bytes);
    const EmfLibrary &emf = emfLibrary();
    if (!emf.convert)
        throw PictureError(QStringLiteral("enhanced metafiles cannot be shown: %1").arg(emf.error));
    generatorOptions options{};
    options.nameSpace = const_cast<char *>("svg");
    options.svgDelimiter = true;
    options.emfplus = true;
    QByteArray input = bytes;
    char *out = nullptr;
    size_t outLength = 0;
    const int ok = emf.convert(input.data(), size_t(input.size()), &out, &outLength, &options);
    QByteArray svg;
    const bool fits = outLength <= size_t(MaxMetafileSvgBytes);
    if (out && fits)
        svg = QByteArray(out, qsizetype(outLength));
    std::free(out);
    if (!fits)
        throw PictureError(QStringLiteral("the metafile draws more than %1 of SVG").arg(MaxMetafileSvgBytes));
    if (!ok || svg.isEmpty())
        throw damaged(QStringLiteral("libemf2svg could not read it"));
    return svg;
}

} // namespace

bool isMetafileExtension(const QString &extension)
{
    const QString lower = extension.toLower();
    return lower == u".wmf" || lower == u".emf";
}

QByteArray metafileToSvg(const QByteArray &bytes, const QString &extension)
{
    if (bytes.size() > MaxMetafileBytes)
        throw PictureError(QStringLiteral("the metafile is larger than %1 bytes").arg(MaxMetafileBytes));
    if (extension.toLower() == u".wmf")
        return wmfToSvg(bytes);
    if (extension.toLower() == u".emf")
        return emfToSvg(bytes);
    throw PictureError(QStringLiteral("unsupported picture format"));
}

QImage renderSvg(const QByteArray &svg)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        throw damaged(QStringLiteral("its drawing could not be read"));
    QSizeF size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBoxF().size();
    if (!(size.width() >= 1 && size.height() >= 1) || !std::isfinite(size.width()) || !std::isfinite(size.height()))
        throw damaged(QStringLiteral("its drawing has no size"));
    // A metafile may claim any size; it is drawn smaller, proportions kept.
    double scale = std::min(1.0, double(MaxMetafileSide) / std::max(size.width(), size.height()));
    if (const qint64 limit = pictureMemoryLimit(); limit > 0) {
        const double bytes = size.width() * size.height() * scale * scale * 4;
        if (bytes > double(limit))
            scale *= std::sqrt(double(limit) / bytes);
    }
    const QSize pixels(std::max(1, int(size.width() * scale)), std::max(1, int(size.height() * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        throw PictureError(QStringLiteral("not enough memory to draw the metafile"));
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    return image;
}

QImage decodeMetafile(const QByteArray &bytes, const QString &extension)
{
    return renderSvg(metafileToSvg(bytes, extension));
}
