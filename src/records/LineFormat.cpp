#include "records/LineFormat.h"

#include "records/RecordError.h"

LineFormat::LineFormat(QList<FieldSpec> fields, QList<int> optionalGroupStarts)
    : m_fields(std::move(fields)), m_groupStarts(std::move(optionalGroupStarts))
{
    for (int i = 0; i < m_fields.size(); ++i)
        Q_ASSERT(m_fields.at(i).line == i);
}

int LineFormat::lineOf(const QString &name) const
{
    for (const FieldSpec &f : m_fields)
        if (f.name == name)
            return f.line;
    return -1;
}

QString LineFormat::label(int line) const
{
    return line >= 0 && line < m_fields.size() ? m_fields.at(line).label : QString();
}

QStringList LineFormat::placeholders() const
{
    QStringList result;
    result.reserve(m_fields.size());
    for (const FieldSpec &f : m_fields)
        result.append(f.placeholder);
    return result;
}

int LineFormat::linesUsed(int available) const
{
    const auto missing = [](int line) {
        return LineIndexError(QStringLiteral("List index out of bounds (%1)").arg(line));
    };
    const int headEnd = m_groupStarts.isEmpty() ? lineCount() : m_groupStarts.first();
    if (available < headEnd)
        throw missing(available);
    int used = headEnd;
    for (int g = 0; g < m_groupStarts.size(); ++g) {
        const int start = m_groupStarts.at(g);
        const int end = g + 1 < m_groupStarts.size() ? m_groupStarts.at(g + 1) : lineCount();
        if (available <= start)
            break;
        if (available < end)
            throw missing(available);
        used = end;
    }
    return used;
}

int LineFormat::linesThrough(int line) const
{
    for (const int start : m_groupStarts)
        if (line < start)
            return start;
    return lineCount();
}

LineRecord::LineRecord(const LineFormat &format)
    : m_format(&format), m_values(format.placeholders()), m_present(format.lineCount())
{}

LineRecord::LineRecord(const LineFormat &format, QStringList values)
    : m_format(&format), m_values(std::move(values)), m_present(format.lineCount())
{}

const QString &LineRecord::value(const QString &name) const
{
    const int line = m_format->lineOf(name);
    Q_ASSERT_X(line >= 0, "LineRecord::value", qPrintable(name));
    return m_values.at(line);
}

void LineRecord::setValue(const QString &name, const QString &text)
{
    const int line = m_format->lineOf(name);
    Q_ASSERT_X(line >= 0, "LineRecord::setValue", qPrintable(name));
    m_values[line] = text;
}

LineRecord LineRecord::parse(const LineFormat &format, const LineFile &file)
{
    const int present = format.linesUsed(file.count());
    // The values built once, the file's lines then the placeholders of those it lacks:
    // a herd parses thousands of records.
    QStringList values;
    values.reserve(format.lineCount());
    for (int line = 0; line < present; ++line) {
        const QString &text = file.at(line);
        if (format.field(line).check == FieldCheck::Integer)
            toInteger(text);
        values.append(text);
    }
    for (int line = present; line < format.lineCount(); ++line)
        values.append(format.field(line).placeholder);
    LineRecord record(format, std::move(values));
    record.m_present = present;
    return record;
}
