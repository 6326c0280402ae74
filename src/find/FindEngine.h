#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// Find in Files without the window: which files of a folder are searched, and the
// search of their lines for a text.
//
// The search works on the files' bytes. Each windows-1252 byte is folded through a
// 256-entry table built from the same decoding LineFile uses, so the result is the
// same as decoding each line and testing QString::contains(text,
// Qt::CaseInsensitive) ("é" finds "É", "œ" finds "Œ"), without building strings.
//
// Nothing here touches a widget; a window may run search() on a worker thread and
// take the per-file callback as its progress.
namespace FindEngine {

// A kind of record file the search covers, as the kind registers it.
struct SearchedKind
{
    QString title;     // "Rabbit Files"
    QString extension; // ".rab"
};
// One item of the Extensions drop-down.
struct KindItem
{
    QString item; // "Rabbit Files (*.rab)"
    QString mask; // "*.rab"; several masks are joined by ";"
    bool operator==(const KindItem &) const = default;
};
// The drop-down's items: "All (*.ped, *.rab)" with every kind's pattern, then each
// kind in the order given. No kinds: no items.
QList<KindItem> kindItems(const QList<SearchedKind> &kinds);

// Whether a file name (no folder) matches a mask of ";"-separated patterns with
// "*" and "?". Letters match regardless of case, as the platform's file list did:
// "*.rab" lists OLDDOE.RAB.
bool matchesMask(const QString &fileName, const QString &mask);

// The files of `folder` whose names match `mask`, as full paths, sorted by file
// name ignoring case (exact text breaks ties): the order the window lists them.
// Directories are left out; anything else is listed (a search reports what it
// cannot read). Throws FileError when the folder cannot be listed.
QStringList listFolder(const QString &folder, const QString &mask);

// What Search answers for an empty text.
QString emptyTextMessage();

// The largest file searched; no record comes near it. Larger files are reported.
constexpr qint64 MaxFileSize = 8 * 1024 * 1024;

// One matching line.
struct Hit
{
    QString path; // full path, so a hit opens the file searched even after the folder changed
    int line;     // from 0

    // What the result list shows: the file name without folder.
    QString name() const;
    bool operator==(const Hit &) const = default;
};

// How much of a matching line a result keeps: a record's line is far shorter, and a
// line of a hostile file may be megabytes long.
constexpr qsizetype MaxShownLine = 200;

// What one file gave.
struct FileResult
{
    QString path;
    QList<int> lines;  // the matching lines, from 0, ascending, each once
    QStringList texts; // each matching line's text, cut around the match when longer than MaxShownLine
    QString error;     // why the file could not be searched; empty when it was

    bool failed() const { return !error.isEmpty(); }
};

// One search text, ready to test files. Keeps a read buffer and the last file's
// folder open between files, so one object serves one thread at a time, for one
// search: a folder renamed meanwhile is still read through the handle it had.
class Search
{
public:
    // Throws RecordError with emptyTextMessage() for an empty text.
    explicit Search(const QString &text);

    const QString &text() const { return m_text; }
    // Searches one file's lines. Never throws and never blocks on a FIFO or device:
    // a file that is missing, unreadable, not a regular file or larger than
    // MaxFileSize comes back with an error.
    FileResult searchFile(const QString &path);
    // The matching lines of bytes held in memory, split and decoded as LineFile does.
    QList<int> searchBytes(const QByteArray &bytes) const;

    ~Search(); // closes the folder
    Search(const Search &) = delete;
    Search &operator=(const Search &) = delete;

private:
    // The matching lines; with `texts`, their texts as well.
    QList<int> matchingLines(const char *data, qsizetype size, QStringList *texts = nullptr) const;
    // Where the text starts at or after `from`, or -1.
    qsizetype findFrom(const char *data, qsizetype size, qsizetype from) const;
    bool matchesAt(const char *data, qsizetype at) const;
    // Opens a file relative to its folder, kept open while files of the same
    // folder follow, so the path is not walked again for every file.
    int openInFolder(const QString &path);

    QString m_text;
    QByteArray m_folded;    // the text as folded windows-1252 bytes
    bool m_possible = true; // false when the text holds a character no file line can
    // The bytes that fold to the text's first and last byte.
    QByteArray m_firstBytes, m_lastBytes;
    std::vector<char> m_buffer;
    QString m_folder;
    int m_folderFd = -1;
};

// Called once per file, in list order, with the file's index in the list.
using FileCallback = std::function<void(int index, const FileResult &result)>;

struct Outcome
{
    QList<Hit> hits;            // in list order, then line order
    QList<FileResult> failures; // the files that could not be searched
    int filesSearched = 0;      // files visited, failures included
    bool cancelled = false;
};

// Searches `paths` in order for `text`. `cancel`, when given, is checked before each
// file; once set, the search stops and says so. A file that cannot be read is
// reported in the outcome and the search goes on. Throws RecordError only for an
// empty text, before any file is read.
Outcome search(const QStringList &paths, const QString &text, const FileCallback &onFile = {},
               const std::atomic<bool> *cancel = nullptr);

} // namespace FindEngine
