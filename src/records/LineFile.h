#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A record file held as a list of text lines.
//
// Files are 8-bit text in the windows-1252 code page. Reading splits at CR LF or at
// a lone LF; a last line without a line end still counts, and the line end after the
// last line adds no empty line. Writing ends every line with CR LF. Every byte other
// than CR and LF survives a read and a write unchanged.
class LineFile
{
public:
    LineFile() = default;
    explicit LineFile(QStringList lines) : m_lines(std::move(lines)) {}

    // Throws FileError when the file cannot be read.
    static LineFile read(const QString &path);
    static LineFile fromBytes(const QByteArray &bytes);

    QByteArray toBytes() const;
    // Writes through a temporary file and a rename, so a failed write leaves any
    // earlier file untouched. Throws FileError.
    void write(const QString &path) const;

    int count() const { return int(m_lines.size()); }
    // Throws LineIndexError naming the index when the line is missing.
    const QString &at(int index) const;
    void append(const QString &line) { m_lines.append(line); }
    void clear() { m_lines.clear(); }
    const QStringList &lines() const { return m_lines; }

private:
    QStringList m_lines;
};

// Decimal text to integer; throws ConversionError quoting the text.
int toInteger(const QString &text);
QString fromInteger(int value);

// The part of a path after its last folder separator.
QString fileNamePart(const QString &path);
// From the last "." of the file-name part on, dot included, letters as written.
QString extensionOf(const QString &path);
bool fileExists(const QString &path);
