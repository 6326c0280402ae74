#pragma once

#include <QList>
#include <QString>

#include <functional>

class LineFile;

// Where one record's links are followed from: the record's own file, whose folder is
// searched for a linked file missing at its stored path (FileLink::resolve), and the
// files found that way, for the window to tell the breeder about. The link functions
// take one; they never talk to the screen.
class LinkContext
{
public:
    struct Found
    {
        QString stored; // the link's text
        QString path;   // where the file was found
    };

    // An untitled record: links are followed as stored.
    LinkContext() = default;
    explicit LinkContext(QString holderPath) : m_holderPath(std::move(holderPath)) {}

    const QString &holderPath() const { return m_holderPath; }
    // The path to read for a stored link; a file found beside the holder is noted.
    QString pathOf(const QString &stored);
    // Reads the file a stored link leads to. Throws FileError naming the stored path
    // when the file is nowhere.
    LineFile read(const QString &stored);
    // Only the first `lineCount` lines of it (LineFile::readHead).
    LineFile readHead(const QString &stored, int lineCount);
    // The file pathOf finds, read by `read`; `path` is set to where it was read. A full
    // path is read at once, and only when that fails and nothing is there is the file
    // looked for beside the holder: a link that works costs no look at the disk before
    // it is read, which counts over a herd's thousands of links.
    LineFile readWith(const QString &stored, QString &path, const std::function<LineFile(const QString &)> &read);

    // Each link found beside the holder, once, in the order it was followed.
    const QList<Found> &found() const { return m_found; }
    // What the status bar says about them; empty when every file was where stored.
    QString message() const;

private:
    QString m_holderPath;
    QList<Found> m_found;
};
