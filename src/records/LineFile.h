#pragma once

#include <QByteArray>
#include <QList>
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
    // No real record comes near this (a rabbitry list of 10,000 files is about
    // 2 MB); anything larger is refused before it is read.
    static constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;

    LineFile() = default;
    explicit LineFile(QStringList lines) : m_lines(std::move(lines)) {}

    // Reads a regular file of at most MaxFileBytes. Throws FileError when the file
    // cannot be opened or read, is not a regular file (a pipe, a device, a folder)
    // or is too large.
    static LineFile read(const QString &path);
    // The first `lineCount` lines of a file read with the same checks, or all of them
    // when it has fewer. The lines after them are neither decoded nor looked at: a
    // reader that takes a few lines from the top of another record's file pays for
    // those only, and is not stopped by what the rest holds.
    static LineFile readHead(const QString &path, int lineCount);
    // All lines, or the first `lineCount` when it is not negative.
    static LineFile fromBytes(const QByteArray &bytes, int lineCount = -1);
    // One line's bytes (no line end) as fromBytes decodes them.
    static QString decodeLine(QByteArrayView bytes);

    // A character windows-1252 cannot store, or a line break inside a line, is
    // written as "?"; unencodableLines() names the lines where that happens.
    QByteArray toBytes() const;
    // Writes through a temporary file and a rename, so a failed write leaves any
    // earlier file untouched. Throws FileError.
    void write(const QString &path) const;
    // Indexes of the lines that toBytes() and write() store with "?" in place of
    // characters a record file cannot hold, in ascending order.
    QList<int> unencodableLines() const;

    int count() const { return int(m_lines.size()); }
    // Throws LineIndexError naming the index when the line is missing.
    const QString &at(int index) const;
    void append(const QString &line) { m_lines.append(line); }
    void clear() { m_lines.clear(); }
    const QStringList &lines() const { return m_lines; }

private:
    QStringList m_lines;
};

// The distinct characters of `text` that a record file cannot store, each once, in
// order of first appearance: what windows-1252 lacks, and a line break, which would
// split the line. A character outside the 16-bit range is one entry (a surrogate
// pair). Empty when the whole text can be stored.
QStringList unstorableCharacters(const QString &text);
bool isStorable(const QString &text);
// A path about to become a link. A link a record file cannot store would be saved with
// "?" in place of those characters and lead nowhere from then on, so it is refused
// before anything changes: throws RecordError naming the path and the characters.
void requireStorableLink(const QString &path);

// The bytes of a regular file, refusing anything else without waiting on it (a pipe
// or a device is never read). `maxBytes` bounds what is read even when the file grows
// while it is read. Throws FileError: "Cannot open <noun> "<path>". ..." when it cannot
// be opened or is not a regular file, "Cannot read <noun> "<path>". ..." when reading
// fails or the file is larger than `maxBytes`; `kind` names the file in the size
// message ("record file", "picture file").
QByteArray readRegularFile(const QString &path, qint64 maxBytes, const QString &noun, const QString &kind);

// Writes `bytes` as the whole file through a temporary file and a rename, so a failed
// write leaves any earlier file untouched. Throws FileError.
void writeFileBytes(const QString &path, const QByteArray &bytes);

// A path as messages show it: native separators, cut short when absurdly long.
QString shownPath(const QString &path);

// Decimal text to integer; throws ConversionError quoting (the start of) the text.
int toInteger(const QString &text);
QString fromInteger(int value);

// The part of a path after its last folder separator.
QString fileNamePart(const QString &path);
// From the last "." of the file-name part on, dot included, letters as written.
QString extensionOf(const QString &path);
bool fileExists(const QString &path);
