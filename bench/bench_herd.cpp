// The herd tools over a generated herd (HerdGenerator: 10,000 rabbits over five
// generations, linked to their parents, with pedigree, breeding and show records),
// each against reading the same files raw (QFile::readAll, nothing parsed), side by
// side in one run:
//   herd rows    every listed rabbit's row (rabbit file, show legs, pedigree COI)
//                against the bytes of those files; goal within 2x
//   ranking      1,000 bucks for one doe, each file read once; goal within 1 s
//   calendar     events of 1,000 breeding records against their bytes; goal within 2x
// The "ratio" counters are tool time over raw time, measured in turn each iteration.
// HUTCHLORE_HERD_DIR names a folder to write the herd into and keep (else a
// temporary folder); a folder that holds herd.rbty already is used as it is. The
// files are flushed to the disk before anything is measured.
#include "HerdGenerator.h"
#include "herd/BreedingCalendar.h"
#include "herd/Herd.h"
#include "herd/HerdLoader.h"
#include "herd/TestMating.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

#include <atomic>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int HerdSize = 10000;
constexpr int RankedBucks = 1000;
constexpr int CalendarRecords = 1000;
const QDate Today(2024, 6, 1);

struct Bench
{
    QTemporaryDir made;
    HerdGenerator::Herd herd;
    QStringList rowFiles; // what the herd rows read
    QStringList records;  // the calendar's breeding records
    QList<BreedingCalendar::Source> sources;

    Bench()
    {
        QString folder = qEnvironmentVariable("HUTCHLORE_HERD_DIR");
        if (folder.isEmpty())
            folder = made.path();
        QDir().mkpath(folder);
        const bool made = QFile::exists(QDir(folder).filePath(QStringLiteral("herd.rbty")));
        herd = HerdGenerator::write(folder, {HerdSize, 5, 1, !made});
        // Writing back 30,000 new files would otherwise go on while the first runs are timed.
        ::sync();
        for (const HerdGenerator::Rabbit &r : std::as_const(herd.rabbits))
            rowFiles += r.rowFiles();
        records = herd.breedingRecords().mid(0, CalendarRecords);
        for (const QString &record : std::as_const(records))
            sources.append({record, herd.rabbitry});
        // Every run reads from the page cache, the first one too.
        readAll(rowFiles);
        readAll(herd.breedingRecords());
    }

    static void readAll(const QStringList &paths)
    {
        for (const QString &path : paths) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                file.readAll();
        }
    }
};

const Bench &bench()
{
    static const Bench b;
    return b;
}

const Herd::Options Options{HerdDate::Order::MonthFirst, Today};

qint64 readRaw(const QStringList &paths)
{
    qint64 bytes = 0;
    for (const QString &path : paths) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

// The same raw reading dealt out to as many threads as the loader uses.
qint64 readRawThreaded(const QStringList &paths)
{
    const int workers = std::clamp(QThread::idealThreadCount(), 1, 4);
    std::atomic<qint64> bytes{0};
    std::atomic<qsizetype> next{0};
    QList<QThread *> threads;
    for (int w = 0; w < workers; ++w) {
        threads.append(QThread::create([&] {
            for (qsizetype i = next++; i < paths.size(); i = next++) {
                QFile file(paths.at(i));
                if (file.open(QIODevice::ReadOnly))
                    bytes += file.readAll().size();
            }
        }));
        threads.last()->start();
    }
    for (QThread *t : threads)
        t->wait();
    qDeleteAll(threads);
    return bytes;
}

QList<Herd::Row> loadRows()
{
    HerdLoader loader(bench().herd.listed(), bench().herd.rabbitry, Options);
    loader.start();
    loader.wait();
    return loader.takeRows();
}

// Wall time and the CPU time of the whole process (every thread), so a ratio can be
// read on a machine that others share too.
struct Clock
{
    QElapsedTimer wall;
    double cpuStart = cpuNow();

    Clock() { wall.start(); }
    static double cpuNow()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    }
    std::pair<double, double> lap()
    {
        const std::pair<double, double> took{double(wall.nsecsElapsed()) / 1e9, cpuNow() - cpuStart};
        wall.restart();
        cpuStart = cpuNow();
        return took;
    }
};

struct Ratio
{
    double toolWall = 0, toolCpu = 0, rawWall = 0, rawCpu = 0;

    void add(std::pair<double, double> tool, std::pair<double, double> raw)
    {
        toolWall += tool.first;
        toolCpu += tool.second;
        rawWall += raw.first;
        rawCpu += raw.second;
    }
    void report(benchmark::State &state) const
    {
        state.counters["ratio"] = toolWall / rawWall;
        state.counters["cpu_ratio"] = toolCpu / rawCpu;
    }
};

void BM_HerdRowsLoader(benchmark::State &state)
{
    qsizetype rows = 0;
    for (auto _ : state)
        rows = loadRows().size();
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_HerdRowsLoader)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HerdRowsOneThread(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Herd::readRows(bench().herd.listed(), bench().herd.rabbitry, Options));
}
BENCHMARK(BM_HerdRowsOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HerdRowFilesRaw(benchmark::State &state)
{
    const bool threaded = state.range(0) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(threaded ? readRawThreaded(bench().rowFiles) : readRaw(bench().rowFiles));
    state.SetLabel(threaded ? "threads as the loader" : "one thread");
    state.counters["files"] = double(bench().rowFiles.size());
}
BENCHMARK(BM_HerdRowFilesRaw)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The loader, then the raw reading on as many threads, then on one thread, in turn:
// "ratio" and "cpu_ratio" against the same threads, "ratio_one_thread" against one.
void BM_HerdRowsVsRaw(benchmark::State &state)
{
    Ratio ratio;
    double oneThread = 0, freeing = 0;
    for (auto _ : state) {
        Clock clock;
        // Filled: the rows in hand, as the table has them. Freeing them is timed on
        // its own: a window does it when it closes.
        QList<Herd::Row> rows = loadRows();
        benchmark::DoNotOptimize(rows);
        const auto tool = clock.lap();
        rows = {};
        freeing += clock.lap().first;
        benchmark::DoNotOptimize(readRawThreaded(bench().rowFiles));
        ratio.add(tool, clock.lap());
        benchmark::DoNotOptimize(readRaw(bench().rowFiles));
        oneThread += clock.lap().first;
    }
    ratio.report(state);
    state.counters["ratio_one_thread"] = ratio.toolWall / oneThread;
    state.counters["freeing_ms"] = freeing * 1000 / double(state.iterations());
}
BENCHMARK(BM_HerdRowsVsRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_RankBucks(benchmark::State &state)
{
    const QStringList bucks = bench().herd.bucks().mid(0, RankedBucks);
    const QString doe = bench().herd.does().first();
    int files = 0;
    qsizetype ranked = 0;
    for (auto _ : state) {
        AncestorFiles read; // each ranking reads each file once
        ranked = TestMating::rankBucks(doe, bucks, read).size();
        files = read.filesRead();
    }
    state.counters["bucks"] = double(ranked);
    state.counters["files"] = double(files);
}
BENCHMARK(BM_RankBucks)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Calendar(benchmark::State &state)
{
    qsizetype events = 0;
    for (auto _ : state)
        events = BreedingCalendar::gather(bench().sources, {}, HerdDate::Order::MonthFirst, Today).events.size();
    state.counters["events"] = double(events);
}
BENCHMARK(BM_Calendar)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CalendarRecordsRaw(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readRaw(bench().records));
}
BENCHMARK(BM_CalendarRecordsRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CalendarVsRaw(benchmark::State &state)
{
    Ratio ratio;
    qsizetype events = 0;
    for (auto _ : state) {
        Clock clock;
        events = BreedingCalendar::gather(bench().sources, {}, HerdDate::Order::MonthFirst, Today).events.size();
        const auto tool = clock.lap();
        benchmark::DoNotOptimize(readRaw(bench().records));
        ratio.add(tool, clock.lap());
    }
    state.counters["events"] = double(events);
    ratio.report(state);
}
BENCHMARK(BM_CalendarVsRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
