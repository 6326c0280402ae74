// The show file against raw I/O of the same bytes, and a rabbit's Update from Links
// over twelve linked rabbit files and a show file against reading the same thirteen
// files raw and against the same update reading every file whole.
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinks.h"
#include "records/LineFile.h"
#include "show/ShowFormat.h"

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

QString showSample()
{
    static const QString path = [] {
        using namespace ShowFile;
        LineRecord record = ShowFile::newRecord();
        record.setValue(RabbitName, QStringLiteral("Clover Hollow Dancer"));
        for (int row = 1; row <= RowCount; row += 2) {
            record.setValue(rowLine(row, RowField::Award), QStringLiteral("Best of Breed"));
            record.setValue(rowLine(row, RowField::Date), QStringLiteral("5/12/01"));
            record.setValue(rowLine(row, RowField::Location), QStringLiteral("County Fair"));
            record.setValue(rowLine(row, RowField::Competitors), QString::number(row + 10));
        }
        record.setValue(WinningsNum, QStringLiteral("7"));
        const QString p = workDir().filePath(QStringLiteral("sample.shw"));
        record.toLines().write(p);
        return p;
    }();
    return path;
}

// A rabbit linked to twelve relatives' files and a show file.
const LineRecord &family()
{
    static const LineRecord rabbit = [] {
        using namespace RabbitFile;
        LineRecord r = RabbitFile::newRecord();
        for (int number = 1; number <= RabbitLinks::RelativeCount; ++number) {
            LineRecord relative = RabbitFile::newRecord();
            relative.setValue(RabbitName, QStringLiteral("Relative %1").arg(number));
            relative.setValue(Sex, number % 2 ? QStringLiteral("Buck") : QStringLiteral("Doe"));
            relative.setValue(Color, QStringLiteral("Broken Chestnut"));
            const QString path = workDir().filePath(QStringLiteral("relative%1.rab").arg(number));
            relative.toLines().write(path);
            r.setValue(RabbitLinks::relative(number)->linkLine, path);
        }
        r.setValue(ShowLink, showSample());
        return r;
    }();
    return rabbit;
}

QStringList familyFiles()
{
    QStringList files{family().value(RabbitFile::ShowLink)};
    for (int number = 1; number <= RabbitLinks::RelativeCount; ++number)
        files.append(family().value(RabbitLinks::relative(number)->linkLine));
    return files;
}

void BM_ShowLoadSave(benchmark::State &state)
{
    const QString in = showSample();
    const QString out = workDir().filePath(QStringLiteral("out.shw"));
    for (auto _ : state) {
        const LineRecord record = ShowFile::read(in);
        ShowFile::write(record, out);
    }
}
BENCHMARK(BM_ShowLoadSave)->Unit(benchmark::kMicrosecond);

// The same bytes read and written with the same kind of safe save.
void BM_ShowRawReadWrite(benchmark::State &state)
{
    const QString in = showSample();
    const QString out = workDir().filePath(QStringLiteral("raw.shw"));
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
BENCHMARK(BM_ShowRawReadWrite)->Unit(benchmark::kMicrosecond);

void BM_RabbitUpdateFromLinks(benchmark::State &state)
{
    const LineRecord start = family();
    LinkContext context;
    for (auto _ : state) {
        LineRecord rabbit = start;
        RabbitLinks::updateFromLinks(rabbit, context);
        benchmark::DoNotOptimize(rabbit);
    }
}
BENCHMARK(BM_RabbitUpdateFromLinks)->Unit(benchmark::kMicrosecond);

// The update as it was before it read only the lines it takes: every file read and
// decoded whole, the show file parsed as the show window parses it.
void BM_RabbitUpdateWholeFiles(benchmark::State &state)
{
    const LineRecord start = family();
    for (auto _ : state) {
        LineRecord rabbit = start;
        const QString show = rabbit.value(RabbitFile::ShowLink);
        if (const auto summary = ShowFile::winningsSummary(ShowFile::parse(LineFile::read(show))))
            rabbit.setValue(RabbitFile::Winnings, *summary);
        for (int number = 1; number <= RabbitLinks::RelativeCount; ++number) {
            const RabbitLinks::Relative r = *RabbitLinks::relative(number);
            const LineFile file = LineFile::read(rabbit.value(r.linkLine));
            const QList<LinePair> pairs = r.rabbitLines();
            requireLines(file, pairs);
            copyLines(file, RabbitFile::format(), pairs, rabbit, Placeholders::Skip);
        }
        benchmark::DoNotOptimize(rabbit);
    }
}
BENCHMARK(BM_RabbitUpdateWholeFiles)->Unit(benchmark::kMicrosecond);

// The thirteen files opened and read whole, nothing more.
void BM_ThirteenFilesRaw(benchmark::State &state)
{
    const QStringList files = familyFiles();
    for (auto _ : state) {
        for (const QString &path : files) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            benchmark::DoNotOptimize(file.readAll());
        }
    }
}
BENCHMARK(BM_ThirteenFilesRaw)->Unit(benchmark::kMicrosecond);

} // namespace
