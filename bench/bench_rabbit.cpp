// The rabbit file against raw I/O of the same bytes, a rabbit sheet created and
// shown offscreen, and the main window's start-up against a bare Qt window with
// the same menus.
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "frame/BigBadParent.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString sampleFile()
{
    static const QString path = [] {
        LineRecord record = RabbitFile::newRecord();
        record.setValue(RabbitFile::RabbitName, QStringLiteral("Blue Moon of Hazel Hill"));
        record.setValue(RabbitFile::Winnings, QStringLiteral("Best of Breed, Spring Classic"));
        const QString p = workDir().filePath(QStringLiteral("sample.rab"));
        record.toLines().write(p);
        return p;
    }();
    return path;
}

void BM_RabbitLoadSave(benchmark::State &state)
{
    const QString in = sampleFile();
    const QString out = workDir().filePath(QStringLiteral("out.rab"));
    for (auto _ : state) {
        const LineRecord record = RabbitFile::parse(LineFile::read(in));
        record.toLines().write(out);
    }
}
BENCHMARK(BM_RabbitLoadSave)->Unit(benchmark::kMicrosecond);

// The same bytes read and written with the same kind of safe save.
void BM_RawReadWrite(benchmark::State &state)
{
    const QString in = sampleFile();
    const QString out = workDir().filePath(QStringLiteral("raw.rab"));
    for (auto _ : state) {
        QFile file(in);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        QSaveFile save(out);
        save.open(QIODevice::WriteOnly);
        save.write(bytes);
        save.commit();
    }
}
BENCHMARK(BM_RawReadWrite)->Unit(benchmark::kMicrosecond);

// Parsing and serialising alone, without the disk.
void BM_RabbitParseSerialiseInMemory(benchmark::State &state)
{
    QFile file(sampleFile());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        const LineRecord record = RabbitFile::parse(LineFile::fromBytes(bytes));
        benchmark::DoNotOptimize(record.toLines().toBytes());
    }
}
BENCHMARK(BM_RabbitParseSerialiseInMemory)->Unit(benchmark::kMicrosecond);

void BM_RabbitSheetCreateShow(benchmark::State &state)
{
    TBigBadParent parent;
    parent.show();
    QApplication::processEvents();
    for (auto _ : state) {
        auto *sheet = static_cast<TRabbitSheet *>(parent.runTool(QString::fromLatin1(TRabbitSheet::KindId)));
        QApplication::processEvents();
        state.PauseTiming();
        delete sheet;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RabbitSheetCreateShow)->Unit(benchmark::kMillisecond);

void BM_StartupMainWindow(benchmark::State &state)
{
    for (auto _ : state) {
        auto *parent = new TBigBadParent;
        parent->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete parent;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupMainWindow)->Unit(benchmark::kMillisecond);

// A bare frame with the same menus, entries and shortcuts, for comparison.
void BM_StartupBareWindow(benchmark::State &state)
{
    for (auto _ : state) {
        auto *window = new QMainWindow;
        window->resize(1032, 748);
        window->setCentralWidget(new QMdiArea);
        QMenu *file = window->menuBar()->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("&Open"));
        file->addSeparator();
        file->addAction(QStringLiteral("&Exit"));
        QMenu *tools = window->menuBar()->addMenu(QStringLiteral("&Tools"));
        for (Qt::Key key : {Qt::Key_E, Qt::Key_R, Qt::Key_B, Qt::Key_H, Qt::Key_G, Qt::Key_F, Qt::Key_M})
            tools->addAction(QStringLiteral("Tool"))->setShortcut(QKeySequence(Qt::CTRL | key));
        window->menuBar()->addMenu(QStringLiteral("&Window"))->addAction(QStringLiteral("&Cascade"));
        QMenu *help = window->menuBar()->addMenu(QStringLiteral("&Help"));
        help->addAction(QStringLiteral("&Hutchlore Help"));
        help->addAction(QStringLiteral("&About"));
        window->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupBareWindow)->Unit(benchmark::kMillisecond);

} // namespace
