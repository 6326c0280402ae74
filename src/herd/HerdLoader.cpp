#include "herd/HerdLoader.h"

#include "herd/FileKeys.h"

#include <QThread>

#include <algorithm>
#include <exception>

namespace {

// Reading is mostly waiting for the disk; a few workers keep it busy without
// crowding out the window.
constexpr int MaxWorkers = 4;

} // namespace

HerdLoader::HerdLoader(QStringList listed, QString rabbitryPath, Herd::Options options)
    : m_listed(std::move(listed)), m_rabbitryPath(std::move(rabbitryPath)), m_options(options),
      m_keys(std::make_unique<FileKeys>()), m_arrived(std::size_t(m_listed.size()))
{}

HerdLoader::~HerdLoader()
{
    stop();
    wait();
    qDeleteAll(m_workers);
}

void HerdLoader::start(std::function<void()> onChange, int threads)
{
    Q_ASSERT(m_workers.isEmpty());
    m_onChange = std::move(onChange);
    if (threads <= 0)
        threads = std::clamp(QThread::idealThreadCount(), 1, MaxWorkers);
    // No more workers than rows, but one even for an empty list: it reports the end.
    threads = int(std::clamp<qsizetype>(m_listed.size(), 1, threads));
    {
        QMutexLocker lock(&m_lock);
        m_running = threads;
    }
    for (int i = 0; i < threads; ++i)
        m_workers.append(QThread::create([this] { work(); }));
    for (QThread *worker : std::as_const(m_workers))
        worker->start();
}

void HerdLoader::stop()
{
    m_stop.store(true);
}

void HerdLoader::wait()
{
    for (QThread *worker : std::as_const(m_workers))
        worker->wait();
}

int HerdLoader::done() const
{
    QMutexLocker lock(&m_lock);
    return m_done;
}

bool HerdLoader::finished() const
{
    QMutexLocker lock(&m_lock);
    return m_running == 0;
}

QList<Herd::Row> HerdLoader::takeRows()
{
    QList<Herd::Row> rows;
    QMutexLocker lock(&m_lock);
    while (m_taken < qsizetype(m_arrived.size()) && m_arrived[std::size_t(m_taken)]) {
        rows.append(std::move(*m_arrived[std::size_t(m_taken)]));
        m_arrived[std::size_t(m_taken)].reset();
        ++m_taken;
    }
    m_notified = false;
    return rows;
}

void HerdLoader::notify(QMutexLocker<QMutex> &lock)
{
    if (m_notified || !m_onChange)
        return;
    m_notified = true;
    lock.unlock();
    m_onChange();
}

void HerdLoader::work()
{
    // Rows are taken in list order, one at a time, so the front of the list fills first
    // and the window can show it while the rest is read.
    for (;;) {
        if (m_stop.load())
            break;
        const qsizetype index = m_next.fetch_add(1);
        if (index >= m_listed.size())
            break;
        Herd::Row row;
        try {
            row = Herd::readRow(m_listed.at(index), m_rabbitryPath, m_options, m_keys.get());
        } catch (const std::exception &e) {
            // readRow reports every file problem in the row; this is memory running out.
            row.listed = row.path = m_listed.at(index);
            row.error = QString::fromLocal8Bit(e.what());
        }
        QMutexLocker lock(&m_lock);
        m_arrived[std::size_t(index)] = std::move(row);
        ++m_done;
        notify(lock);
    }
    QMutexLocker lock(&m_lock);
    --m_running;
    // The end is always told, even when a call is still unanswered: the window may
    // have taken the rows just before the last worker ended.
    if (m_running == 0)
        m_notified = false;
    notify(lock);
}
