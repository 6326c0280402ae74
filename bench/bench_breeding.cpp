// The breeding file against raw I/O of the same bytes, and a breeding window created
// and shown offscreen against a rabbit sheet in the same run.
#include "breeding/BreedingFormat.h"
#include "breeding/BreedingRecord.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "frame/BigBadParent.h"

#include <QApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Every field filled, as a breeder's record of fifteen litters is.
QString sampleFile()
{
    static const QString path = [] {
        LineRecord record = BreedingFile::newRecord();
        record.setValue(BreedingFile::RabbitName, QStringLiteral("Clover Hollow Dancer"));
        record.setValue(BreedingFile::Sex, QStringLiteral("Doe"));
        for (int m = 1; m <= BreedingFile::RowCount; ++m) {
            for (int k = 0; k < BreedingFile::RowSize; ++k)
                record.setValue(BreedingFile::rowLine(m, BreedingFile::RowField(k)),
                                QStringLiteral("Value %1.%2").arg(m).arg(k));
            record.setValue(BreedingFile::mateRabFile(m), QStringLiteral("C:\\Rabbits\\Mate%1.rab").arg(m));
        }
        const QString p = workDir().filePath(QStringLiteral("sample.brd"));
        record.toLines().write(p);
        return p;
    }();
    return path;
}

void BM_BreedingLoadSave(benchmark::State &state)
{
    const QString in = sampleFile();
    const QString out = workDir().filePath(QStringLiteral("out.brd"));
    for (auto _ : state) {
        const LineRecord record = BreedingFile::read(in);
        BreedingFile::write(record, out);
    }
}
BENCHMARK(BM_BreedingLoadSave)->Unit(benchmark::kMicrosecond);

// The same bytes read and written with the same kind of safe save.
void BM_BreedingRawReadWrite(benchmark::State &state)
{
    const QString in = sampleFile();
    const QString out = workDir().filePath(QStringLiteral("raw.brd"));
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
BENCHMARK(BM_BreedingRawReadWrite)->Unit(benchmark::kMicrosecond);

template <typename Window> void createAndShow(benchmark::State &state)
{
    TBigBadParent parent;
    parent.show();
    QApplication::processEvents();
    for (auto _ : state) {
        auto *window = static_cast<Window *>(parent.runTool(QString::fromLatin1(Window::KindId)));
        QApplication::processEvents();
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_BreedingWindowCreateShow(benchmark::State &state)
{
    createAndShow<TBreedingRecord>(state);
}
BENCHMARK(BM_BreedingWindowCreateShow)->Unit(benchmark::kMillisecond);

void BM_RabbitSheetCreateShowBeside(benchmark::State &state)
{
    createAndShow<TRabbitSheet>(state);
}
BENCHMARK(BM_RabbitSheetCreateShowBeside)->Unit(benchmark::kMillisecond);

} // namespace
