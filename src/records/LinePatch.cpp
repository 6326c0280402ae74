#include "records/LinePatch.h"

#include "records/LineFile.h"
#include "records/LineFormat.h"
#include "records/RecordError.h"

namespace LinePatch {

namespace {

QByteArray encoded(const QString &text)
{
    const QStringList unstorable = unstorableCharacters(text);
    if (!unstorable.isEmpty()) {
        QStringList shown = unstorable;
        shown.replaceInStrings(QStringLiteral("\n"), QStringLiteral("(line break)"));
        throw RecordError(QStringLiteral("\"%1\" holds characters a record file cannot store: %2")
                              .arg(excerpt(text), excerpt(shown.join(u' '))));
    }
    QByteArray bytes = LineFile(QStringList{text}).toBytes();
    bytes.chop(2); // the CR LF toBytes ends every line with
    return bytes;
}

} // namespace

QByteArray withLine(const QByteArray &file, const LineFormat &format, int index, const QString &text)
{
    Q_ASSERT(index >= 0 && index < format.lineCount());
    const QByteArray line = encoded(text);
    // Lines are counted as LineFile counts them: split at LF, a last line without a
    // line end counts, the line end after the last line adds no empty line.
    qsizetype start = 0;
    int count = 0;
    while (count < index && start < file.size()) {
        const qsizetype end = file.indexOf('\n', start);
        start = end < 0 ? file.size() : end + 1;
        ++count;
    }
    if (start < file.size()) {
        const qsizetype end = file.indexOf('\n', start);
        qsizetype textEnd = end < 0 ? file.size() : end;
        if (end >= 0 && textEnd > start && file.at(textEnd - 1) == '\r')
            --textEnd;
        return file.left(start) + line + file.mid(textEnd);
    }
    // An older file: it keeps every byte it has and gains what it lacks.
    QByteArray result = file;
    if (!result.isEmpty() && !result.endsWith('\n'))
        result += "\r\n";
    // `text` passed the check above, so it is written as it stands.
    LineFile missing;
    for (int l = count; l < format.linesThrough(index); ++l)
        missing.append(l == index ? text : format.field(l).placeholder);
    return result + missing.toBytes();
}

bool setLineIf(const QString &path, const LineFormat &format, int index, const QString &expected,
               const QString &text)
{
    const QByteArray bytes =
        readRegularFile(path, LineFile::MaxFileBytes, QStringLiteral("file"), QStringLiteral("record file"));
    const LineRecord record = LineRecord::parse(format, LineFile::fromBytes(bytes));
    const QString &current = record.has(index) ? record.value(index) : format.field(index).placeholder;
    if (current != expected)
        return false;
    writeFileBytes(path, withLine(bytes, format, index, text));
    return true;
}

} // namespace LinePatch
