#pragma once

#include "records/LineFile.h"

#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <memory>
#include <vector>

// A record's recovery copy as a program left it: the lines a save would have written,
// and what its index says about them.
struct RecoveryCopy
{
    QString name; // the copy's name in the folder, without extension
    QString kind; // the kind of window it came from
    QString file; // the record's file; empty for an untitled record
    QDateTime time;
    LineFile lines;
};

// Copies of unsaved records, kept in a folder of the user's data so that a crash or a
// power cut loses nothing. Each running program holds a lock file of its own (its
// session); a copy belongs to the session that wrote it. Copies of a session whose
// program is no longer running are left over; those of a running program are never
// offered or deleted by another. Writes go to a worker thread in the order given, so
// typing never waits for the disk. GUI-free.
class RecoveryStore
{
public:
    explicit RecoveryStore(const QString &folder);
    // Waits for the writes under way; the session's lock goes, its copies stay (the
    // windows remove theirs as they close).
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // The user's folder: "recovery" in the program's local data folder.
    static QString defaultFolder();
    // The store the windows keep their copies in; null when none was started (tests
    // that do not ask for one).
    static RecoveryStore *active();

    // Makes the folder and takes this session's lock; the store becomes the active
    // one. False, with error(), when that is not possible: the program then runs
    // without copies.
    bool start();
    QString error() const;
    const QString &folder() const { return m_folder; }

    // A name for one window's copy, unique in this session.
    QString newName();
    // Replaces the copy `name` (lines and index) in one step each, on the worker.
    void save(const QString &name, const QString &kind, const QString &file, const LineFile &lines);
    void remove(const QString &name);
    // Waits until every save and remove asked for so far is done.
    void flush();

    // Copies left by programs no longer running. Their sessions stay claimed by this
    // program until release(), so no other program offers them meanwhile. A copy that
    // cannot be read is set aside (renamed, kept) and named in `unreadable`.
    struct Leftovers
    {
        QList<RecoveryCopy> copies;
        QStringList unreadable; // one message per copy, naming its file
    };
    Leftovers leftovers();
    // Deletes a left-over copy (answered No, or restored into a window).
    void discard(const RecoveryCopy &copy);
    // Renames a copy's files so it is kept but never offered again (it could not be
    // read, or not be shown).
    void setAside(const QString &name);
    // Lets go of the claimed sessions: their lock files go.
    void release();

    static constexpr const char *LinesExtension = ".lines";
    static constexpr const char *IndexExtension = ".index";
    static constexpr const char *AsideExtension = ".unreadable";

private:
    QString pathOf(const QString &name, const char *extension) const;
    void keepError(const QString &message);

    QString m_folder;
    QString m_session;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<std::unique_ptr<QLockFile>> m_claimed;
    int m_next = 0;
    QThreadPool m_writer;
    mutable QMutex m_errorLock;
    QString m_error;
};
