#include "herd/RecordLines.h"

#include "pedigree/PedigreeFormat.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>
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

LineFile read(const QString &path, const LineFormat &format, std::span<const int> wanted)
{
    const int lineCount = format.lineCount();
    // Which lines to decode; numbers too, so that parsing checks them as it would.
    std::vector<char> decode(std::size_t(lineCount), 0);
    for (const int line : wanted)
        if (line >= 0 && line < lineCount)
            decode[std::size_t(line)] = 1;
    for (const FieldSpec &field : format.fields())
        if (field.check == FieldCheck::Integer)
            decode[std::size_t(field.line)] = 1;

    const QByteArray bytes =
        readRegularFile(path, LineFile::MaxFileBytes, QStringLiteral("file"), QStringLiteral("record file"));
    // The wanted lines that are not placeholders, each with a line end, decoded
    // together by LineFile in one pass; placeholders are only noted.
    QByteArray picked;
    std::vector<int> pickedLines, placeholderLines;
    int count = 0;
    const char *const begin = bytes.constData();
    const char *const end = begin + bytes.size();
    // Past the last line to decode, the rest is only counted.
    const int lastDecoded = int(std::find(decode.rbegin(), decode.rend(), 1).base() - decode.begin()) - 1;
    const char *line = begin;
    for (; line < end && count < lineCount && count <= lastDecoded; ++count) {
        const void *found = std::memchr(line, '\n', std::size_t(end - line));
        const char *lineEnd = found ? static_cast<const char *>(found) : end;
        if (decode[std::size_t(count)]) {
            // A CR before the LF belongs to the line end, as LineFile reads it.
            const bool cr = found && lineEnd > line && lineEnd[-1] == '\r';
            const QByteArrayView text(line, lineEnd - line - (cr ? 1 : 0));
            if (sameAscii(text, format.field(count).placeholder)) {
                placeholderLines.push_back(count);
            } else {
                picked.append(text);
                picked.append('\n');
                pickedLines.push_back(count);
            }
        }
        line = lineEnd + 1;
    }
    if (line < end && count < lineCount) {
        // Every line end left, and a last line without one.
        const qsizetype ends = std::count(line, end, '\n');
        count = int(std::min<qsizetype>(lineCount, count + ends + (end[-1] != '\n' ? 1 : 0)));
    }
    QStringList lines(count);
    for (const int line : placeholderLines)
        lines[line] = format.field(line).placeholder;
    const QStringList decoded = LineFile::fromBytes(picked).lines();
    for (std::size_t i = 0; i < pickedLines.size(); ++i)
        lines[pickedLines[i]] = decoded.at(qsizetype(i));
    return LineFile(std::move(lines));
}

std::span<const int> chartLines()
{
    static const std::vector<int> lines = [] {
        std::vector<int> wanted;
        for (const PedigreeFile::Position &p : PedigreeFile::positions()) {
            wanted.push_back(p.line(PedigreeFile::ChartField::Name));
            wanted.push_back(p.line(PedigreeFile::ChartField::Ear));
            wanted.push_back(p.linkLine);
        }
        return wanted;
    }();
    return lines;
}

} // namespace RecordLines
