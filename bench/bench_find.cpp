// Find in Files over 10,000 record files against `grep -i -F -c TEXT <files>` over the
// same files, in one run. The files come from the shared corpus generator:
//
//   python3 ../shared/tools/gen_corpus.py DIR 10000
//
// which the benchmark runs itself into a temporary folder (HUTCHLORE_GEN_CORPUS
// names another copy of the script; HUTCHLORE_FIND_CORPUS names a folder already
// made, which is then used as it is). The engine's time includes listing the folder;
// grep is given the list. BM_FindVsGrep reports engine/grep as its "ratio" counter;
// BM_FindWindowVsGrep does the same for the find window, from pressing Search to the
// last result shown.
#include "find/Find.h"
#include "find/FindEngine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#ifndef HUTCHLORE_GEN_CORPUS
#define HUTCHLORE_GEN_CORPUS "gen_corpus.py"
#endif

namespace {

constexpr int FileCount = 10000;
// "smith" is an owner in about a fifth of the files; "zebra" is nowhere, so every
// byte of every file is looked at.
const char *const Texts[] = {"smith", "zebra"};

struct Corpus
{
    QTemporaryDir made;
    QString folder;
    QStringList paths;
    QString error;

    Corpus()
    {
        folder = qEnvironmentVariable("HUTCHLORE_FIND_CORPUS");
        if (folder.isEmpty()) {
            folder = made.path();
            const QString script = qEnvironmentVariable("HUTCHLORE_GEN_CORPUS", QStringLiteral(HUTCHLORE_GEN_CORPUS));
            QProcess gen;
            gen.start(QStringLiteral("python3"), {script, folder, QString::number(FileCount)});
            if (!gen.waitForFinished(600000) || gen.exitStatus() != QProcess::NormalExit || gen.exitCode() != 0) {
                error = QStringLiteral("gen_corpus.py failed: ") + QString::fromLocal8Bit(gen.readAllStandardError());
                return;
            }
        }
        paths = FindEngine::listFolder(folder, QStringLiteral("*.ped;*.rab;*.brd;*.shw"));
    }
};

const Corpus &corpus()
{
    static const Corpus c;
    return c;
}

struct GrepRun
{
    qint64 lines = -1; // matching lines over all files, or -1 on failure
    double seconds = 0;
};

// grep writes its counts to a file: with standard output on /dev/null, GNU grep
// stops at the first match, which would not be the same work.
GrepRun runGrep(const QString &text, const QStringList &paths, bool cLocale)
{
    QTemporaryFile out;
    out.open();
    QProcess grep;
    if (cLocale) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        grep.setProcessEnvironment(env);
    }
    grep.setStandardOutputFile(out.fileName());
    QElapsedTimer timer;
    timer.start();
    grep.start(QStringLiteral("grep"), QStringList{"-i", "-F", "-c", text} + paths);
    grep.waitForFinished(-1);
    GrepRun run;
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    if (grep.exitStatus() != QProcess::NormalExit || grep.exitCode() > 1)
        return run;
    QFile counts(out.fileName());
    counts.open(QIODevice::ReadOnly);
    run.lines = 0;
    for (const QByteArray &line : counts.readAll().split('\n')) {
        const qsizetype colon = line.lastIndexOf(':');
        if (colon >= 0)
            run.lines += line.mid(colon + 1).toLongLong();
    }
    return run;
}

bool ready(benchmark::State &state)
{
    if (!corpus().error.isEmpty()) {
        state.SkipWithError(qPrintable(corpus().error));
        return false;
    }
    return true;
}

void BM_FindEngine(benchmark::State &state)
{
    if (!ready(state))
        return;
    const QString text = QString::fromLatin1(Texts[state.range(0)]);
    qsizetype hits = 0;
    for (auto _ : state) {
        const QStringList paths =
            FindEngine::listFolder(corpus().folder, QStringLiteral("*.ped;*.rab;*.brd;*.shw"));
        hits = FindEngine::search(paths, text).hits.size();
        benchmark::DoNotOptimize(hits);
    }
    state.SetLabel(text.toStdString());
    state.counters["files"] = double(corpus().paths.size());
    state.counters["hits"] = double(hits);
}
BENCHMARK(BM_FindEngine)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Grep(benchmark::State &state)
{
    if (!ready(state))
        return;
    const QString text = QString::fromLatin1(Texts[state.range(0)]);
    const bool cLocale = state.range(1) != 0;
    GrepRun run;
    for (auto _ : state) {
        run = runGrep(text, corpus().paths, cLocale);
        state.SetIterationTime(run.seconds);
    }
    state.SetLabel(text.toStdString() + (cLocale ? " LC_ALL=C" : " locale as set"));
    state.counters["hits"] = double(run.lines);
}
BENCHMARK(BM_Grep)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->UseManualTime();

// Both in turn, each iteration; the engine's share of the time is the ratio. The
// two must find the same lines.
void BM_FindVsGrep(benchmark::State &state)
{
    if (!ready(state))
        return;
    const QString text = QString::fromLatin1(Texts[state.range(0)]);
    double engine = 0, grep = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        const QStringList paths =
            FindEngine::listFolder(corpus().folder, QStringLiteral("*.ped;*.rab;*.brd;*.shw"));
        const FindEngine::Outcome outcome = FindEngine::search(paths, text);
        const double took = double(timer.nsecsElapsed()) / 1e9;
        const GrepRun run = runGrep(text, paths, false);
        if (run.lines != outcome.hits.size()) {
            state.SkipWithError("grep and the engine found different lines");
            break;
        }
        engine += took;
        grep += run.seconds;
        state.SetIterationTime(took);
    }
    state.SetLabel(text.toStdString());
    state.counters["engine_ms"] = benchmark::Counter(engine * 1000, benchmark::Counter::kAvgIterations);
    state.counters["grep_ms"] = benchmark::Counter(grep * 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = grep > 0 ? engine / grep : 0;
}
BENCHMARK(BM_FindVsGrep)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseManualTime();

// The window: Search pressed, the worker run, every result put in the list. The
// window lists the folder again when Search is pressed, as the engine run does.
void BM_FindWindowVsGrep(benchmark::State &state)
{
    if (!ready(state))
        return;
    const QString text = QString::fromLatin1(Texts[state.range(0)]);
    TFind window;
    window.show();
    window.setFolder(corpus().folder);
    window.findChild<QLineEdit *>(QStringLiteral("FindName"))->setText(text);
    auto *search = window.findChild<QPushButton *>(QStringLiteral("Search"));
    auto *found = window.findChild<QTreeWidget *>(QStringLiteral("FoundBox"));
    double shown = 0, grep = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QObject::connect(&window, &TFind::searchFinished, &loop, &QEventLoop::quit);
        QElapsedTimer timer;
        timer.start();
        search->click();
        loop.exec();
        const double took = double(timer.nsecsElapsed()) / 1e9;
        const GrepRun run = runGrep(text, corpus().paths, false);
        if (run.lines != found->topLevelItemCount()) {
            state.SkipWithError("grep and the window found different lines");
            break;
        }
        shown += took;
        grep += run.seconds;
        state.SetIterationTime(took);
    }
    state.SetLabel(text.toStdString());
    state.counters["window_ms"] = benchmark::Counter(shown * 1000, benchmark::Counter::kAvgIterations);
    state.counters["grep_ms"] = benchmark::Counter(grep * 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = grep > 0 ? shown / grep : 0;
}
BENCHMARK(BM_FindWindowVsGrep)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
