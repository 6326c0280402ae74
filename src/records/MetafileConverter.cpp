#include "records/MetafileConverter.h"

#include "records/RecordError.h"

#include <QtEndian>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <cstdlib>
#include <cstring>

namespace {

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

// The fixed part of an enhanced metafile's header record, and where in it the
// description (UTF-16 characters, then their offset from the record's start) is told.
constexpr qint64 EmfHeaderBytes = 88;
constexpr qint64 EmfDescriptionChars = 60;
constexpr qint64 EmfDescriptionOffset = 64;

// libemf2svg reads the header's description wherever its offset points (no offset:
// none), so the description must lie within the header record.
void checkEmfHeader(const uchar *data, qint64 headerSize)
{
    if (headerSize < EmfHeaderBytes)
        throw damaged(QStringLiteral("its header record is too short"));
    const qint64 chars = qFromLittleEndian<quint32>(data + EmfDescriptionChars);
    const qint64 offset = qFromLittleEndian<quint32>(data + EmfDescriptionOffset);
    if (offset != 0 && (offset > headerSize || chars * 2 > headerSize - offset))
        throw damaged(QStringLiteral("its description lies outside its header record"));
}

// The same walk for an enhanced metafile: a header record that says " EMF", then
// records each at least 8 bytes, a multiple of 4, up to EMR_EOF.
void checkEmfRecords(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qint64 length = bytes.size();
    if (length < EmfHeaderBytes || qFromLittleEndian<quint32>(data) != 1 ||
        qFromLittleEndian<quint32>(data + 40) != 0x464D4520u)
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
        if (at == 0)
            checkEmfHeader(data, size);
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
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI *api = nullptr;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        throw PictureError(QStringLiteral("libwmf could not be started"));
    }
    BoundedStream stream;
    wmfStream output{&stream, boundedPuts, boundedReset};
    QByteArray input = bytes; // libwmf reads from a buffer it may not change, but wants it mutable
    wmf_error_t error = wmf_mem_open(api, reinterpret_cast<unsigned char *>(input.data()), long(input.size()));
    wmfD_Rect box{};
    if (error == wmf_E_None)
        error = wmf_scan(api, 0, &box);
    if (error == wmf_E_None) {
        wmf_status_function(api, &stream, stopWhenOverflowed);
        auto *device = WMF_SVG_GetData(api);
        device->out = &output;
        device->bbox = box;
        unsigned int width = 0;
        unsigned int height = 0;
        wmf_display_size(api, &width, &height, 72, 72);
        device->width = width;
        device->height = height;
        error = wmf_play(api, 0, &box);
        if (stream.overflowed)
            error = wmf_E_UserExit;
    }
    wmf_mem_close(api);
    wmf_api_destroy(api);
    if (error != wmf_E_None)
        throw PictureError(wmfFailure(error));
    return stream.svg;
}

QByteArray emfToSvg(const QByteArray &bytes)
{
    checkEmfRecords(bytes);
    // No namespace prefix: the library never frees the copy it makes of one.
    generatorOptions options{};
    options.svgDelimiter = true;
    options.emfplus = true;
    // The library reads even a sound description past its stated length (it looks
    // for terminating characters, and takes the second of its two strings to be as
    // long as both) and draws nothing from it: it is given none.
    QByteArray input = bytes;
    qToLittleEndian<quint32>(0, input.data() + EmfDescriptionChars);
    qToLittleEndian<quint32>(0, input.data() + EmfDescriptionOffset);
    char *out = nullptr;
    size_t outLength = 0;
    const int ok = emf2svg(input.data(), size_t(input.size()), &out, &outLength, &options);
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

QByteArray convertMetafile(const QByteArray &bytes, MetafileKind kind)
{
    if (bytes.size() > MaxMetafileBytes)
        throw PictureError(QStringLiteral("the metafile is larger than %1 bytes").arg(MaxMetafileBytes));
    return kind == MetafileKind::Wmf ? wmfToSvg(bytes) : emfToSvg(bytes);
}
