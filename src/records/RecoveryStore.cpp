#include "records/RecoveryStore.h"

#include "records/RecordError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

RecoveryStore *g_active = nullptr;

// An index is a few short fields; anything larger is not one of ours.
constexpr qint64 MaxIndexBytes = 64 * 1024;

// "<pid>-<start time>-<serial>": the session is all but the serial.
const QRegularExpression &copyName()
{
    static const QRegularExpression name(QStringLiteral("^([0-9]+-[0-9]+)-[0-9]+$"));
    return name;
}

QString sessionOf(const QString &name)
{
    const QRegularExpressionMatch match = copyName().match(name);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

RecoveryStore::RecoveryStore(const QString &folder) : m_folder(folder)
{
    // One writer keeps the saves and removes of a copy in the order they were asked for.
    m_writer.setMaxThreadCount(1);
    // The session names this program: its process id, and its start so that a later
    // program given the same id never takes these copies for its own.
    m_session =
        QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(QDateTime::currentMSecsSinceEpoch());
}

RecoveryStore::~RecoveryStore()
{
    m_writer.waitForDone();
    release();
    if (g_active == this)
        g_active = nullptr;
}

QString RecoveryStore::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("recovery"));
}

RecoveryStore *RecoveryStore::active()
{
    return g_active;
}

bool RecoveryStore::start()
{
    if (!QDir().mkpath(m_folder)) {
        keepError(QStringLiteral("Cannot create the folder \"%1\".").arg(shownPath(m_folder)));
        return false;
    }
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(m_session + QStringLiteral(".lock")));
    // Held for as long as the program runs, however long: never stale by age.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        keepError(QStringLiteral("Cannot lock the folder \"%1\".").arg(shownPath(m_folder)));
        m_lock.reset();
        return false;
    }
    g_active = this;
    return true;
}

QString RecoveryStore::error() const
{
    QMutexLocker locker(&m_errorLock);
    return m_error;
}

void RecoveryStore::keepError(const QString &message)
{
    QMutexLocker locker(&m_errorLock);
    m_error = message;
}

QString RecoveryStore::newName()
{
    return QStringLiteral("%1-%2").arg(m_session).arg(++m_next);
}

QString RecoveryStore::pathOf(const QString &name, const char *extension) const
{
    return QDir(m_folder).filePath(name + QLatin1String(extension));
}

void RecoveryStore::save(const QString &name, const QString &kind, const QString &file, const LineFile &lines)
{
    // The bytes are made here, from the window's state now; only the disk waits.
    const QByteArray bytes = lines.toBytes();
    QJsonObject index;
    index.insert(QStringLiteral("kind"), kind);
    index.insert(QStringLiteral("file"), file);
    index.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    const QByteArray indexBytes = QJsonDocument(index).toJson();
    const QString linesPath = pathOf(name, LinesExtension);
    const QString indexPath = pathOf(name, IndexExtension);
    m_writer.start([this, bytes, indexBytes, linesPath, indexPath] {
        try {
            // The lines first: an index always names lines that are there.
            writeFileBytes(linesPath, bytes);
            writeFileBytes(indexPath, indexBytes);
        } catch (const RecordError &e) {
            keepError(e.message());
        }
    });
}

void RecoveryStore::remove(const QString &name)
{
    const QString linesPath = pathOf(name, LinesExtension);
    const QString indexPath = pathOf(name, IndexExtension);
    m_writer.start([indexPath, linesPath] {
        // The index first: lines without one are never offered as a record.
        QFile::remove(indexPath);
        QFile::remove(linesPath);
    });
}

void RecoveryStore::flush()
{
    m_writer.waitForDone();
}

RecoveryStore::Leftovers RecoveryStore::leftovers()
{
    flush();
    Leftovers found;
    const QDir dir(m_folder);
    // Whether a session's program is gone, asked once per session. Claiming its lock
    // both answers that and keeps a program starting now from offering it too.
    QHash<QString, bool> gone;
    const auto isGone = [&](const QString &session) {
        if (session == m_session)
            return false;
        auto it = gone.constFind(session);
        if (it != gone.constEnd())
            return *it;
        auto lock = std::make_unique<QLockFile>(dir.filePath(session + QStringLiteral(".lock")));
        lock->setStaleLockTime(0);
        // Held by a running program: taken only when that program is dead (its process
        // is gone, or the id now names another program).
        const bool claimed = lock->tryLock(0);
        if (claimed)
            m_claimed.push_back(std::move(lock));
        gone.insert(session, claimed);
        return claimed;
    };

    // Lock files of sessions that left no copies (the program stopped with nothing
    // unsaved): claimed here so that release() clears them away.
    for (const QString &entry : dir.entryList({QStringLiteral("*.lock")}, QDir::Files, QDir::Name)) {
        const QString session = entry.chopped(5);
        if (copyName().match(session + QStringLiteral("-0")).hasMatch())
            isGone(session);
    }

    QStringList indexed;
    const QStringList indexes =
        dir.entryList({QStringLiteral("*") + QLatin1String(IndexExtension)}, QDir::Files | QDir::System, QDir::Name);
    for (const QString &entry : indexes) {
        const QString name = entry.chopped(int(qstrlen(IndexExtension)));
        const QString session = sessionOf(name);
        if (session.isEmpty() || !isGone(session))
            continue;
        indexed.append(name);
        try {
            const QString indexPath = pathOf(name, IndexExtension);
            const QJsonObject index =
                QJsonDocument::fromJson(
                    readRegularFile(indexPath, MaxIndexBytes, QStringLiteral("file"), QStringLiteral("recovery index")))
                    .object();
            RecoveryCopy copy;
            copy.name = name;
            copy.kind = index.value(QStringLiteral("kind")).toString();
            copy.file = index.value(QStringLiteral("file")).toString();
            copy.time = QDateTime::fromString(index.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
            if (copy.kind.isEmpty())
                throw FileError(QStringLiteral("Its index \"%1\" names no kind of record.").arg(shownPath(indexPath)));
            copy.lines = LineFile::read(pathOf(name, LinesExtension));
            found.copies.append(copy);
        } catch (const RecordError &e) {
            found.unreadable.append(QStringLiteral("The recovery copy \"%1\" cannot be read and was set aside. %2")
                                        .arg(shownPath(pathOf(name, LinesExtension)), e.message()));
            setAside(name);
        }
    }
    // Lines whose index never came (the program stopped between the two writes).
    const QStringList lines =
        dir.entryList({QStringLiteral("*") + QLatin1String(LinesExtension)}, QDir::Files | QDir::System, QDir::Name);
    for (const QString &entry : lines) {
        const QString name = entry.chopped(int(qstrlen(LinesExtension)));
        const QString session = sessionOf(name);
        if (session.isEmpty() || indexed.contains(name) || !isGone(session))
            continue;
        found.unreadable.append(
            QStringLiteral("The recovery copy \"%1\" cannot be read and was set aside. It has no index.")
                .arg(shownPath(pathOf(name, LinesExtension))));
        setAside(name);
    }
    return found;
}

void RecoveryStore::setAside(const QString &name)
{
    // Kept under another name: not offered again, and there for whoever wants it.
    for (const char *extension : {LinesExtension, IndexExtension}) {
        const QString path = pathOf(name, extension);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            QFile::rename(path, path + QLatin1String(AsideExtension));
    }
}

void RecoveryStore::discard(const RecoveryCopy &copy)
{
    QFile::remove(pathOf(copy.name, IndexExtension));
    QFile::remove(pathOf(copy.name, LinesExtension));
}

void RecoveryStore::release()
{
    // Unlocking removes each lock file.
    m_claimed.clear();
}
