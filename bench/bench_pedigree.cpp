// What the pedigree table costs over plain file I/O, how long the link-following
// commands take over a full chart of fifteen rabbit files, and how long a pedigree
// window takes to open.
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "frame/BigBadParent.h"

#include <QApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A chart with every field filled, as a breeder's finished pedigree looks.
LineRecord filledChart()
{
    LineRecord chart = PedigreeFile::newRecord();
    for (const PedigreeFile::Position &p : PedigreeFile::positions())
        for (PedigreeFile::ChartField f : p.fields())
            chart.setValue(p.line(f), p.fieldName(f) + QString::fromUtf8(" – Zoë"));
    for (int line = PedigreeFile::BreederLabel; line <= PedigreeFile::DateLabel; ++line)
        chart.setValue(line, QStringLiteral("Meadow Rabbitry, 12 Elm St."));
    for (const PedigreeFile::Position &p : PedigreeFile::positions())
        chart.setValue(p.linkLine, QStringLiteral("C:\\Rabbits\\rabbit%1.rab").arg(p.code));
    return chart;
}

// Fifteen rabbit files whose parent links make a full chart, and a rabbitry file.
struct Chain
{
    QTemporaryDir dir;
    PedigreeLinks::PositionLinks links;
    LineRecord pedigree = PedigreeFile::newRecord();

    Chain()
    {
        const auto path = [this](int code) { return dir.filePath(QStringLiteral("rabbit%1.rab").arg(code)); };
        for (const PedigreeFile::Position &p : PedigreeFile::positions()) {
            LineRecord rabbit = RabbitFile::newRecord();
            rabbit.setValue(RabbitFile::RabbitName, QStringLiteral("Rabbit %1").arg(p.code));
            rabbit.setValue(RabbitFile::Color, QStringLiteral("Chestnut"));
            rabbit.setValue(RabbitFile::Winnings, QStringLiteral("BOB"));
            if (p.hasParents()) {
                rabbit.setValue(RabbitFile::FatherRabFile, path(p.fatherCode));
                rabbit.setValue(RabbitFile::MotherRabFile, path(p.motherCode));
            }
            rabbit.toLines().write(path(p.code));
        }
        LineFile({"a.rab", "-RabbitryInfo-", "Meadow", "12 Elm St.", "Elm St.", "555"})
            .write(dir.filePath("meadow.rbty"));
        links.fill(RecordText::None);
        links[0] = path(PedigreeFile::BunnyCode);
        PedigreeLinks::PositionLinks all;
        for (const PedigreeFile::Position &p : PedigreeFile::positions())
            all[std::size_t(p.index())] = path(p.code);
        PedigreeLinks::setLinks(pedigree, all);
        pedigree.setValue(PedigreeFile::RabbitryFile, dir.filePath("meadow.rbty"));
    }
};

void ParseSerialise(benchmark::State &state)
{
    const QByteArray bytes = filledChart().toLines().toBytes();
    for (auto _ : state) {
        const LineRecord record =
            PedigreeFile::loadedState(PedigreeFile::parse(LineFile::fromBytes(bytes)), PedigreeFile::newRecord());
        benchmark::DoNotOptimize(record.toLines().toBytes());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(ParseSerialise);

void LoadSaveFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.ped"), out = dir.filePath("out.ped");
    PedigreeFile::write(filledChart(), in);
    for (auto _ : state)
        PedigreeFile::write(PedigreeFile::read(in), out);
}
BENCHMARK(LoadSaveFile);

// The same bytes without lines, decoding or checks, written the same atomic way.
void RawReadWriteFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.ped"), out = dir.filePath("out.ped");
    PedigreeFile::write(filledChart(), in);
    for (auto _ : state) {
        QFile source(in);
        if (!source.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot read");
        const QByteArray bytes = source.readAll();
        QSaveFile target(out);
        if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit())
            state.SkipWithError("cannot write");
    }
}
BENCHMARK(RawReadWriteFile);

void AutoFill(benchmark::State &state)
{
    Chain chain;
    LinkContext context;
    for (auto _ : state) {
        PedigreeLinks::PositionLinks links = chain.links;
        PedigreeLinks::autoFill(links, context);
        benchmark::DoNotOptimize(links);
    }
}
BENCHMARK(AutoFill);

void UpdateFromLinks(benchmark::State &state)
{
    Chain chain;
    LinkContext context;
    for (auto _ : state) {
        LineRecord pedigree = chain.pedigree;
        PedigreeLinks::updateFromLinks(pedigree, context);
        benchmark::DoNotOptimize(pedigree);
    }
}
BENCHMARK(UpdateFromLinks);

// Ctrl+E: a new pedigree window created in the main window and shown offscreen.
void PedigreeWindowCreateShow(benchmark::State &state)
{
    TBigBadParent parent;
    parent.show();
    QApplication::processEvents();
    for (auto _ : state) {
        QWidget *chart = parent.runTool(QString::fromLatin1(TMainScreen::KindId));
        QApplication::processEvents();
        state.PauseTiming();
        delete chart;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(PedigreeWindowCreateShow)->Unit(benchmark::kMillisecond);

// The same window opened on a filled chart file (File Open of a .ped).
void PedigreeWindowOpenFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("chart.ped");
    PedigreeFile::write(filledChart(), path);
    TBigBadParent parent;
    parent.show();
    QApplication::processEvents();
    for (auto _ : state) {
        parent.openByExtension(path);
        QApplication::processEvents();
        state.PauseTiming();
        qDeleteAll(parent.findChildren<TMainScreen *>());
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(PedigreeWindowOpenFile)->Unit(benchmark::kMillisecond);

} // namespace
