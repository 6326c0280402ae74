#pragma once

#include "records/LineFile.h"

#include <QList>
#include <QString>
#include <QStringList>

// How the value on a line is checked when a file is parsed.
enum class FieldCheck {
    Text,    // any text, kept as it stands
    Integer, // must be a decimal integer
};

// One line of a record file: where it is, what the window calls it, and what a
// never-filled value holds.
struct FieldSpec
{
    int line;
    QString name;        // control name in the window, or a descriptive name
    QString placeholder; // the blank value a new record holds
    FieldCheck check = FieldCheck::Text;
    // What a breeder calls the line outside its window ("Sire's name"), as find in
    // files names a matching line; empty for a line with no such name.
    QString label = {};
};

// The line layout of one kind of record file, stated once and used both to read
// and to write.
//
// Older files are shorter. The layout is a required head followed by optional
// groups: a group is read when the file reaches its first line, and then every
// line of the group must be there.
class LineFormat
{
public:
    LineFormat(QList<FieldSpec> fields, QList<int> optionalGroupStarts);

    int lineCount() const { return int(m_fields.size()); }
    const QList<FieldSpec> &fields() const { return m_fields; }
    const FieldSpec &field(int line) const { return m_fields.at(line); }
    // Line index of the named field, or -1.
    int lineOf(const QString &name) const;
    // The line's label (FieldSpec::label); empty for a line the format does not have.
    QString label(int line) const;
    QStringList placeholders() const;

    // Number of lines a file of `available` lines supplies to a record (the head
    // plus every complete optional group it reaches). Throws LineIndexError naming
    // the first missing line when the file ends inside the head or a group.
    int linesUsed(int available) const;
    // The number of lines a file needs to hold `line`: through the end of the head or
    // of the optional group the line belongs to.
    int linesThrough(int line) const;

private:
    QList<FieldSpec> m_fields;
    QList<int> m_groupStarts;
};

// The values of one record: one text per line of its format. Lines past `present`
// were not in the file that was read; a window keeps its own values for them.
class LineRecord
{
public:
    explicit LineRecord(const LineFormat &format);

    const LineFormat &format() const { return *m_format; }
    const QString &value(int line) const { return m_values.at(line); }
    const QString &value(const QString &name) const;
    void setValue(int line, const QString &text) { m_values[line] = text; }
    void setValue(const QString &name, const QString &text);
    const QStringList &values() const { return m_values; }
    int present() const { return m_present; }
    bool has(int line) const { return line < m_present; }

    // Parses a whole file: every line it will use is present, every number valid.
    // Throws LineIndexError or ConversionError; never returns a half-read record.
    static LineRecord parse(const LineFormat &format, const LineFile &file);
    LineFile toLines() const { return LineFile(m_values); }

private:
    LineRecord(const LineFormat &format, QStringList values);

    const LineFormat *m_format;
    QStringList m_values;
    int m_present;
};
