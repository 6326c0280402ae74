// Start-up of the whole program against a bare Qt main window, measured as whole
// processes started side by side: each iteration starts the bare window, then
// `hutchlore --quit-after-start` (both show their window and end once the event loop
// has run), and times each from start to exit. The ratio of the medians is the figure
// to hold under 1.3. Both run on the same platform plugin (offscreen unless
// QT_QPA_PLATFORM says otherwise), with a warm file cache after the first rounds.
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

double runMillis(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_StartupSideBySide(benchmark::State &state)
{
    std::vector<double> bare;
    std::vector<double> program;
    for (int warm = 0; warm < 3; ++warm) {
        runMillis(QStringLiteral(HUTCHLORE_BARE_WINDOW), {});
        runMillis(QStringLiteral(HUTCHLORE_PROGRAM), {QStringLiteral("--quit-after-start")});
    }
    for (auto _ : state) {
        const double b = runMillis(QStringLiteral(HUTCHLORE_BARE_WINDOW), {});
        const double p = runMillis(QStringLiteral(HUTCHLORE_PROGRAM), {QStringLiteral("--quit-after-start")});
        if (b < 0 || p < 0) {
            state.SkipWithError("a program did not start and end cleanly");
            return;
        }
        bare.push_back(b);
        program.push_back(p);
    }
    state.counters["bare_ms"] = median(bare);
    state.counters["hutchlore_ms"] = median(program);
    state.counters["ratio"] = median(program) / median(bare);
}
BENCHMARK(BM_StartupSideBySide)->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace
