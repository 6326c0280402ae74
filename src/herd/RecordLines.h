#pragma once

#include "records/LineFile.h"
#include "records/LineFormat.h"

#include <span>
#include <vector>

// Reading a few lines of many records: the herd tools read thousands of files for a
// handful of fields each, and decoding every line of every file would cost more than
// reading the files does.
namespace RecordLines {

// A record file of `format` read as LineFile::read reads it (the same checks, the same
// lines, split and decoded the same way), except that only the lines in `wanted` and
// the lines the format checks as numbers are decoded. Every other line of the file is
// there, empty. A wanted line that holds exactly its placeholder is given the
// format's placeholder text without decoding; that text is the format's own, so the
// lines must not outlive the format (every record format lives as long as the program). At most format.lineCount() lines are
// kept, which is all LineRecord::parse reads. Throws FileError as LineFile::read does.
LineFile read(const QString &path, const LineFormat &format, std::span<const int> wanted);

// The lines of a format `read` decodes, worked out once for a herd's thousands of files.
class Selection
{
public:
    Selection(const LineFormat &format, std::span<const int> wanted);
    const LineFormat &format() const { return *m_format; }
    bool decodes(int line) const { return m_decode[std::size_t(line)] != 0; }
    int last() const { return m_last; } // the last line decoded; -1 for none

private:
    const LineFormat *m_format;
    std::vector<char> m_decode;
    int m_last = -1;
};
LineFile read(const QString &path, const Selection &lines);

// The lines of a pedigree chart that say who stands where: each position's name, ear
// number and link, which is all Check Inbreeding compares.
const Selection &chart();

} // namespace RecordLines
