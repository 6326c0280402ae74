#include "herd/RecordLines.h"

#include "pedigree/PedigreeFormat.h"

#include <QByteArray>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace RecordLines {

namespace {

// Whether the bytes are `text`, every character of which is ASCII: windows-1252 decodes
// those bytes to themselves.
bool sameAscii(QByteArrayView bytes, const QString &text)
{
    if (bytes.size() != text.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x80 || static_cast<unsigned char>(bytes.at(i)) != c)
            return false;
    }
    return true;
}

} // namespace

Selection::Selection(const LineFormat &format, std::span<const int> wanted)
    : m_format(&format), m_decode(std::size_t(format.lineCount()), 0)
{
    const int lineCount = format.lineCount();
    for (const int line : wanted)
        if (line >= 0 && line < lineCount)
            m_decode[std::size_t(line)] = 1;
    // Numbers too, so that parsing checks them as it would.
    for (const FieldSpec &field : format.fields())
        if (field.check == FieldCheck::Integer)
            m_decode[std::size_t(field.line)] = 1;
    m_last = int(std::find(m_decode.rbegin(), m_decode.rend(), 1).base() - m_decode.begin()) - 1;
}

LineFile read(const QString &path, const LineFormat &format, std::span<const int> wanted)
{
    return read(path, Selection(format, wanted));
}

LineFile read(const QString &path, const Selection &selection)
{
    const LineFormat &format = selection.format();
    const int lineCount = format.lineCount();
    const QByteArray bytes =
        readRegularFile(path, LineFile::MaxFileBytes, QStringLiteral("file"), QStringLiteral("record file"));
    // The wanted lines are decoded one by one as LineFile decodes them; a placeholder
    // is only noted, as the format's own text.
    QVarLengthArray<std::pair<int, QByteArrayView>, 64> picked;
    int count = 0;
    const char *const begin = bytes.constData();
    const char *const end = begin + bytes.size();
    // Past the last line to decode, the rest is only counted.
    const int lastDecoded = selection.last();
    const char *line = begin;
    for (; line < end && count < lineCount && count <= lastDecoded; ++count) {
        const void *found = std::memchr(line, '\n', std::size_t(end - line));
        const char *lineEnd = found ? static_cast<const char *>(found) : end;
        if (selection.decodes(count)) {
            // A CR before the LF belongs to the line end, as LineFile reads it.
            const bool cr = found && lineEnd > line && lineEnd[-1] == '\r';
            picked.append({count, QByteArrayView(line, lineEnd - line - (cr ? 1 : 0))});
        }
        line = lineEnd + 1;
    }
    if (line < end && count < lineCount) {
        // Every line end left, and a last line without one.
        const qsizetype ends = std::count(line, end, '\n');
        count = int(std::min<qsizetype>(lineCount, count + ends + (end[-1] != '\n' ? 1 : 0)));
    }
    QStringList lines(count);
    for (const auto &[at, text] : std::as_const(picked)) {
        const QString &placeholder = format.field(at).placeholder;
        // The format's own text, not a copy: copies of a placeholder share one count of
        // users, which every thread reading records would otherwise keep changing.
        if (sameAscii(text, placeholder))
            lines[at] = QString::fromRawData(placeholder.constData(), placeholder.size());
        else
            lines[at] = LineFile::decodeLine(text);
    }
    return LineFile(std::move(lines));
}

const Selection &chart()
{
    static const Selection lines = [] {
        std::vector<int> wanted;
        for (const PedigreeFile::Position &p : PedigreeFile::positions()) {
            wanted.push_back(p.line(PedigreeFile::ChartField::Name));
            wanted.push_back(p.line(PedigreeFile::ChartField::Ear));
            wanted.push_back(p.linkLine);
        }
        return Selection(PedigreeFile::format(), wanted);
    }();
    return lines;
}

} // namespace RecordLines
