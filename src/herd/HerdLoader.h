#pragma once

#include "herd/Herd.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FileKeys;
class QThread;

// Reads a herd's rows on worker threads, so a window stays responsive over thousands
// of rabbits. The window takes the rows in list order as they come (takeRows), shows
// progress from done() and total(), and may stop() at any time; rows after the first
// one not read are then never handed out.
//
// Nothing here touches a widget: `onChange` is called on a worker thread, and a window
// turns it into a queued call to itself.
class HerdLoader
{
public:
    HerdLoader(QStringList listed, QString rabbitryPath, Herd::Options options);
    // Stops the workers and waits for the files they have in hand.
    ~HerdLoader();
    HerdLoader(const HerdLoader &) = delete;
    HerdLoader &operator=(const HerdLoader &) = delete;

    // Starts reading on `threads` workers (0: as many as the machine has, at most four).
    // `onChange` is called on a worker thread when a row has been read or the last
    // worker has ended, once until the next takeRows(), so ten thousand rows do not
    // queue ten thousand calls. Call once.
    void start(std::function<void()> onChange = {}, int threads = 0);
    // Asks the workers to end after the file each has in hand; returns at once.
    void stop();
    // Blocks until every worker has ended.
    void wait();

    int total() const { return int(m_listed.size()); }
    // Rows read so far, in any order.
    int done() const;
    // Every worker has ended: all rows read, or stopped.
    bool finished() const;
    bool stopped() const { return m_stop.load(); }

    // The rows not taken before that now follow on from them in list order.
    QList<Herd::Row> takeRows();

private:
    void work();
    void notify(QMutexLocker<QMutex> &lock);

    const QStringList m_listed;
    const QString m_rabbitryPath;
    const Herd::Options m_options;
    std::function<void()> m_onChange;
    std::atomic<bool> m_stop{false};
    std::atomic<qsizetype> m_next{0};       // the next list index a worker takes
    const std::unique_ptr<FileKeys> m_keys; // shared by the workers
    QList<QThread *> m_workers;

    mutable QMutex m_lock; // guards what follows
    std::vector<std::optional<Herd::Row>> m_arrived;
    qsizetype m_taken = 0; // rows handed out by takeRows()
    int m_done = 0;
    int m_running = 0;
    bool m_notified = false; // onChange called and not yet answered by takeRows()
};
