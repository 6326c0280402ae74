#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace PedigreeFile;
using Lines = QMap<int, QString>;
using RabbitFiles = QMap<QString, QStringList>;

namespace {

QByteArray golden(const QString &name)
{
    QFile file(QStringLiteral(HUTCHLORE_TEST_DATA "/pedigree/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", qPrintable(name));
    return file.readAll();
}

LineRecord goldenRecord(const QString &name)
{
    return parse(LineFile::fromBytes(golden(name)));
}

QStringList linkList(const LineRecord &pedigree)
{
    const PedigreeLinks::PositionLinks links = PedigreeLinks::linksOf(pedigree);
    return QStringList(links.begin(), links.end());
}

// Which kind of error a case expects: "" none, or the error's class.
QString errorKind(const std::function<void()> &run, QString *message = nullptr)
{
    try {
        run();
    } catch (const LineIndexError &e) {
        if (message)
            *message = e.message();
        return QStringLiteral("index");
    } catch (const ConversionError &e) {
        if (message)
            *message = e.message();
        return QStringLiteral("conversion");
    } catch (const FileError &e) {
        if (message)
            *message = e.message();
        return QStringLiteral("file");
    }
    return QString();
}

// A rabbit file with the given values over a new rabbit record, cut to `lineCount`.
QString writeRabbit(const QTemporaryDir &dir, const QString &name, const Lines &values,
                    int lineCount = RabbitFile::LineCount)
{
    LineRecord rabbit = RabbitFile::newRecord();
    for (auto it = values.begin(); it != values.end(); ++it)
        rabbit.setValue(it.key(), it.value());
    const QString path = dir.filePath(name);
    LineFile(rabbit.values().mid(0, lineCount)).write(path);
    return path;
}

} // namespace

class TestPedigreeCore : public QObject
{
    Q_OBJECT

private slots:
    void newRecordIsGolden() { QCOMPARE(newRecord().toLines().toBytes(), golden("new.ped")); }

    void loadedState_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("frameBefore");
        QTest::addColumn<Lines>("expected");
        const QString path = QStringLiteral(R"(C:\Rabbits\r%1.rab)");
        QTest::newRow("109 lines") << "old109.ped"
                                   << "true" << Lines{{BunnyName, "Blaze of Glory"}, {MainRabFile, "None"},
                                                      {GreatGram4RabFile, "None"},   {Gridlines, "GridlinesOn"},
                                                      {RabbitryFile, "None"},        {BackPicture, ""}};
        QTest::newRow("124 lines") << "old124.ped"
                                   << "true"
                                   << Lines{{MainRabFile, path.arg("00")},
                                            {118, "None"},
                                            {GreatGram4RabFile, path.arg(14)},
                                            {Gridlines, "GridlinesOn"},
                                            {RabbitryFile, "None"}};
        QTest::newRow("125 lines") << "old125.ped"
                                   << "true"
                                   << Lines{{GreatGram4RabFile, path.arg(14)},
                                            {Gridlines, "GridlinesOff"},
                                            {RabbitryFile, "None"}};
        QTest::newRow("126 lines") << "chart.ped"
                                   << "true"
                                   << Lines{{RabbitryFile, R"(C:\Rabbits\meadow.rbty)"},
                                            {MiniFrameShown, "false"},
                                            {ChartFontWeight, "Bold"}};
        // "True", "maybe", "bold", "Gridlineson": only the exact words count.
        const Lines odd{
            {BackStretch, "false"},      {MiniStretch, "true"}, {MiniFrameShown, "true"}, {ChartFontWeight, "Normal"},
            {Gridlines, "GridlinesOff"}, {MiniPicture, ""},     {BackPicture, ""}};
        QTest::newRow("odd values") << "odd.ped"
                                    << "true" << odd;
        Lines oddHidden = odd;
        oddHidden[MiniFrameShown] = "false";
        QTest::newRow("odd values, frame hidden before") << "odd.ped"
                                                         << "false" << oddHidden;
    }

    void loadedState()
    {
        QFETCH(QString, file);
        QFETCH(QString, frameBefore);
        QFETCH(Lines, expected);
        LineRecord before = newRecord();
        before.setValue(MiniFrameShown, frameBefore);
        const LineRecord state = PedigreeFile::loadedState(goldenRecord(file), before);
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(state.value(it.key()), it.value());
    }

    void rejectsBrokenFiles_data()
    {
        QTest::addColumn<int>("keepLines");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("message");
        QTest::newRow("108 lines") << 108 << -1 << ""
                                   << "index"
                                   << "List index out of bounds (108)";
        QTest::newRow("inside the links") << 115 << -1 << ""
                                          << "index"
                                          << "List index out of bounds (115)";
        QTest::newRow("title left") << 126 << 97 << "12px"
                                    << "conversion"
                                    << "'12px'";
        QTest::newRow("title top") << 126 << 98 << ""
                                   << "conversion"
                                   << "''";
        QTest::newRow("title size") << 109 << 100 << "fourteen"
                                    << "conversion"
                                    << "'fourteen'";
        QTest::newRow("chart size") << 126 << 105 << "9.5"
                                    << "conversion"
                                    << "'9.5'";
    }

    void rejectsBrokenFiles()
    {
        QFETCH(int, keepLines);
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, error);
        QFETCH(QString, message);
        QStringList lines = LineFile::fromBytes(golden("chart.ped")).lines().mid(0, keepLines);
        if (line >= 0)
            lines[line] = text;
        QString got;
        QCOMPARE(errorKind([&] { parse(LineFile(lines)); }, &got), error);
        QVERIFY2(got.contains(message), qPrintable(got));
    }

    void blockOrder()
    {
        // Sex before colour in the bunny's block; colour then winnings in an ancestor's.
        const LineRecord chart = goldenRecord("chart.ped");
        QCOMPARE(chart.value("BunnySex"), "Doe");
        QCOMPARE(chart.value("BunnyColor"), "Broken Black");
        QCOMPARE(chart.value("BunnyBorn"), "3/4/2001");
        QCOMPARE(chart.value("DadColor"), "Dad colour");
        QCOMPARE(chart.value("DadWinnings"), QString::fromUtf8("BOB £0"));
        QCOMPARE(chart.value("DamOneFourName"), "DamOneFour name");
        QCOMPARE(chart.value("SoldToLabel"), QString::fromUtf8("Zoë Müller"));
        QCOMPARE(positionOfLine(95)->code, 48);
        QCOMPARE(positionOfLine(GreatGram4RabFile)->code, 48);
        QVERIFY(!positionOfLine(BreederLabel));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // A window that loads "None" as a picture path saves an empty line instead,
        // so a new record's file is not one the window writes back unchanged.
        QTest::addColumn<bool>("windowKeepsIt");
        QTest::newRow("filled chart") << golden("chart.ped") << true;
        QTest::newRow("new record") << golden("new.ped") << false;
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high += char(b);
        QList<QByteArray> lines = golden("chart.ped").split('\n');
        lines[SoldAddress] = high + '\r';
        lines[FirstAncestorBlock] = high + '\r';
        const QByteArray bytes = lines.join('\n');
        QTest::newRow("bytes 0x80-0xFF") << bytes << true;
    }

    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, windowKeepsIt);
        const LineRecord record = parse(LineFile::fromBytes(bytes));
        QCOMPARE(record.toLines().toBytes(), bytes);
        if (!windowKeepsIt)
            return;

        // Loading and saving through files changes nothing in a file the window wrote.
        QTemporaryDir dir;
        const QString in = dir.filePath("in.ped"), out = dir.filePath("out.ped");
        {
            QFile f(in);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        PedigreeFile::write(PedigreeFile::read(in), out);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }

    void rabbitToPosition_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("rabbitLines");
        QTest::addColumn<Lines>("rabbit");
        QTest::addColumn<Lines>("changed"); // chart lines that change; all others must not
        QTest::addColumn<QString>("error");

        const Lines full{{RabbitFile::RabbitName, "Rex"},     {RabbitFile::EarNumber, "E1"},
                         {RabbitFile::RegNumber, "G2"},       {RabbitFile::Weight, "8 lb"},
                         {RabbitFile::Sex, "Buck"},           {RabbitFile::Color, "Chestnut"},
                         {RabbitFile::BirthDate, "1/2/2003"}, {RabbitFile::Winnings, "BOB"}};
        const Lines bunny{{0, "Rex"}, {1, "E1"}, {2, "G2"}, {3, "8 lb"}, {4, "Buck"}, {5, "Chestnut"}, {6, "1/2/2003"}};
        QTest::newRow("bunny: sex and born, no winnings") << 1 << 72 << full << bunny << "";
        QTest::newRow("bunny from 9 lines") << 1 << 9 << full << bunny << "";
        QTest::newRow("bunny from 6 lines keeps what was copied")
            << 1 << 6 << full << Lines{{0, "Rex"}, {1, "E1"}, {2, "G2"}, {3, "8 lb"}} << "index";
        const Lines dam{{18, "Rex"}, {19, "E1"}, {20, "G2"}, {21, "8 lb"}, {22, "Chestnut"}, {23, "BOB"}};
        QTest::newRow("dam: winnings, no sex or born") << 22 << 57 << full << dam << "";
        Lines damShort = dam;
        damShort.remove(23);
        QTest::newRow("dam from 56 lines") << 22 << 56 << full << damShort << "index";
        Lines partly = full;
        partly.remove(RabbitFile::Color);
        partly.remove(RabbitFile::Winnings); // both stay placeholders in the rabbit file
        QTest::newRow("placeholders skipped")
            << 45 << 72 << partly << Lines{{72, "Rex"}, {73, "E1"}, {74, "G2"}, {75, "8 lb"}} << "";
        QTest::newRow("unknown code") << 23 << 72 << full << Lines{} << "";
    }

    void rabbitToPosition()
    {
        QFETCH(int, code);
        QFETCH(int, rabbitLines);
        QFETCH(Lines, rabbit);
        QFETCH(Lines, changed);
        QFETCH(QString, error);
        LineRecord rabbitRecord = RabbitFile::newRecord();
        for (auto it = rabbit.begin(); it != rabbit.end(); ++it)
            rabbitRecord.setValue(it.key(), it.value());
        const LineFile file(rabbitRecord.values().mid(0, rabbitLines));

        const LineRecord before = goldenRecord("chart.ped");
        LineRecord chart = before;
        QCOMPARE(errorKind([&] { PedigreeLinks::rabbitToPosition(chart, code, file); }), error);
        for (int line = 0; line < LineCount; ++line)
            QCOMPARE(chart.value(line), changed.value(line, before.value(line)));
    }

    void autoFill_data()
    {
        // Rabbit files by name: line count, father link, mother link.
        QTest::addColumn<RabbitFiles>("files");
        QTest::addColumn<QStringList>("initial");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("error");
        const QStringList none(PositionCount, "None");
        const auto links = [&none](const Lines &set) {
            QStringList l = none;
            for (auto it = set.begin(); it != set.end(); ++it)
                l[it.key()] = it.value();
            return l;
        };

        QTest::newRow("three generations")
            << RabbitFiles{{"bunny", {"72", "dad", "mom"}}, {"dad", {"72", "gs1", "gd1"}},
                           {"mom", {"69", "gs2", "None"}},  {"gs1", {"72", "ggs1", "None"}},
                           {"gd1", {"57", "x", "y"}},       {"gs2", {"72", "None", "ggd6"}}}
            << links({{0, "bunny"}, {6, "/old/gram2"}, {9, "/old/ggs2"}, {14, "/old/ggd8"}})
            << links({{0, "bunny"},
                      {1, "dad"},
                      {2, "mom"},
                      {3, "gs1"},
                      {4, "gd1"},
                      {5, "gs2"},
                      {7, "ggs1"},
                      {9, "/old/ggs2"},
                      {12, "ggd6"},
                      {14, "/old/ggd8"}})
            << "";
        QTest::newRow("mother None overwrites a set mother")
            << RabbitFiles{{"bunny", {"72", "dad", "None"}}, {"dad", {"57", "", ""}}}
            << links({{0, "bunny"}, {2, "/old/mom"}}) << links({{0, "bunny"}, {1, "dad"}}) << "";
        QTest::newRow("58-line file stops after its father link")
            << RabbitFiles{{"bunny", {"72", "dad", "mom"}},
                           {"dad", {"58", "gs1", "gd1"}},
                           {"mom", {"72", "gs2", "gd2"}}}
            << links({{0, "bunny"}, {4, "/old/gram1"}})
            << links({{0, "bunny"}, {1, "dad"}, {2, "mom"}, {3, "gs1"}, {4, "/old/gram1"}}) << "index";
        QTest::newRow("missing file stops") << RabbitFiles{{"bunny", {"72", "dad", "mom"}}} << links({{0, "bunny"}})
                                            << links({{0, "bunny"}, {1, "dad"}, {2, "mom"}}) << "file";
        QTest::newRow("no links") << RabbitFiles{} << none << none << "";
    }

    void autoFill()
    {
        QFETCH(RabbitFiles, files);
        QFETCH(QStringList, initial);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        QTemporaryDir dir;
        // Short names in the table stand for files in the temporary folder.
        const auto path = [&dir](const QString &name) {
            return name == "None" || name.isEmpty() || name.startsWith('/') ? name : dir.filePath(name);
        };
        for (auto it = files.begin(); it != files.end(); ++it)
            writeRabbit(
                dir, it.key(),
                {{RabbitFile::FatherRabFile, path(it.value()[1])}, {RabbitFile::MotherRabFile, path(it.value()[2])}},
                it.value()[0].toInt());

        PedigreeLinks::PositionLinks links;
        for (int i = 0; i < PositionCount; ++i)
            links[i] = path(initial[i]);
        QCOMPARE(errorKind([&] { PedigreeLinks::autoFill(links); }), error);
        for (int i = 0; i < PositionCount; ++i)
            QCOMPARE(links[i], path(expected[i]));
    }

    void updateFromLinks_data()
    {
        QTest::addColumn<int>("momLines"); // 0: the mother's file is missing
        QTest::addColumn<QString>("error");
        QTest::newRow("all readable") << 72 << "";
        QTest::newRow("missing file") << 0 << "file";
        QTest::newRow("short file") << 56 << "index";
    }

    void updateFromLinks()
    {
        QFETCH(int, momLines);
        QFETCH(QString, error);
        QTemporaryDir dir;
        LineRecord chart = goldenRecord("chart.ped");
        const LineRecord before = chart;
        chart.setValue(
            MainRabFile,
            writeRabbit(dir, "bunny.rab",
                        {{RabbitFile::RabbitName, "Rex"}, {RabbitFile::Sex, "Buck"}, {RabbitFile::Winnings, "BIS"}}));
        chart.setValue(FatherRabFile, "None");
        chart.setValue(MotherRabFile,
                       momLines ? writeRabbit(dir, "mom.rab",
                                              {{RabbitFile::Color, "Lilac"}, {RabbitFile::Winnings, "BOS"}}, momLines)
                                : dir.filePath("gone.rab"));
        for (int i = 3; i < PositionCount; ++i)
            chart.setValue(MainRabFile + i, "None");
        chart.setValue(positionByCode(34)->linkLine, writeRabbit(dir, "gram.rab", {{RabbitFile::RabbitName, "Nan"}}));
        chart.setValue(RabbitryFile, dir.filePath("hutch.rbty"));
        LineFile({"a.rab", "-RabbitryInfo-", "", "1 Long Road, Springfield", "Springfield", "555"})
            .write(dir.filePath("hutch.rbty"));
        const LineRecord linked = chart;

        QCOMPARE(errorKind([&] { PedigreeLinks::updateFromLinks(chart); }), error);

        // The bunny gets name and sex, keeps its colour (placeholder) and has no winnings.
        QCOMPARE(chart.value(BunnyName), "Rex");
        QCOMPARE(chart.value(BunnySex), "Buck");
        QCOMPARE(chart.value(BunnyColor), before.value(BunnyColor));
        QCOMPARE(chart.value("DadName"), before.value("DadName"));
        // The dam's filled colour overwrites; her name placeholder does not.
        const bool momRead = momLines > 0;
        QCOMPARE(chart.value("MomColor"), momRead ? "Lilac" : before.value("MomColor"));
        QCOMPARE(chart.value("MomName"), before.value("MomName"));
        QCOMPARE(chart.value("MomWinnings"), momLines == 72 ? "BOS" : before.value("MomWinnings"));
        // Nothing after the failing position is refreshed.
        QCOMPARE(chart.value("DamTwoTwoName"), error.isEmpty() ? "Nan" : before.value("DamTwoTwoName"));
        QCOMPARE(chart.value(BreederLabel), error.isEmpty() ? QString(24, '_') : before.value(BreederLabel));
        QCOMPARE(chart.value(AddressLabel), error.isEmpty() ? "Springfield" : before.value(AddressLabel));
        QCOMPARE(linkList(chart), linkList(linked));
    }

    void rabbitryDetails_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<bool>("update"); // Update from Links, else Load Saved Rabbitry
        QTest::addColumn<QString>("breeder");
        QTest::addColumn<QString>("address");
        const QStringList trailer{"-RabbitryInfo-", "Oak Hutch", "1 Long Road, Springfield", "Springfield", "555-0101"};
        const QStringList unnamed{"a.rab", "-RabbitryInfo-", "", "", "", ""};
        const QString start = "Meadow Rabbitry", startAddress = "12 Elm St., Springfield";
        QTest::newRow("trailer only") << trailer << true << "Oak Hutch"
                                      << "Springfield";
        QTest::newRow("empty details, update") << unnamed << true << QString(24, '_') << QString(24, '_');
        QTest::newRow("empty details, load") << unnamed << false << ""
                                             << "";
        QTest::newRow("no trailer") << QStringList{"a", "b", "c", "d", "e", "f"} << true << start << startAddress;
        QTest::newRow("four lines") << QStringList{"a", "b", "c", "d"} << true << start << startAddress;
        QTest::newRow("empty file") << QStringList{} << false << start << startAddress;
    }

    void rabbitryDetails()
    {
        QFETCH(QStringList, file);
        QFETCH(bool, update);
        QFETCH(QString, breeder);
        QFETCH(QString, address);
        QTemporaryDir dir;
        const QString path = dir.filePath("hutch.rbty");
        LineFile(file).write(path);
        LineRecord chart = goldenRecord("chart.ped");
        if (update) {
            for (int i = 0; i < PositionCount; ++i)
                chart.setValue(MainRabFile + i, "None");
            chart.setValue(RabbitryFile, path);
            PedigreeLinks::updateFromLinks(chart);
        } else {
            PedigreeLinks::loadSavedRabbitry(chart, path);
            QCOMPARE(chart.value(RabbitryFile), path);
        }
        QCOMPARE(chart.value(BreederLabel), breeder);
        QCOMPARE(chart.value(AddressLabel), address);
    }

    void chartToRabbit_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<Lines>("chart");
        QTest::addColumn<Lines>("rabbit"); // rabbit lines that differ from a new record
        QTest::newRow("sire: colour placeholder keeps the rabbit's")
            << 21 << Lines{{12, "Thumper"}} << Lines{{RabbitFile::RabbitName, "Thumper"}};
        QTest::newRow("bunny: sex and born, no winnings")
            << 1 << Lines{{4, "Doe"}, {6, "2/2/2004"}, {5, "Blue"}, {17, "BOB"}}
            << Lines{{RabbitFile::Sex, "Doe"}, {RabbitFile::Color, "Blue"}, {RabbitFile::BirthDate, "2/2/2004"}};
        QTest::newRow("ancestor: winnings, all fields")
            << 48 << Lines{{90, "Nan"}, {91, "N1"}, {92, "R9"}, {93, "7 lb"}, {94, "Fawn"}, {95, "BIS"}, {4, "Doe"}}
            << Lines{{RabbitFile::RabbitName, "Nan"}, {RabbitFile::EarNumber, "N1"}, {RabbitFile::RegNumber, "R9"},
                     {RabbitFile::Weight, "7 lb"},    {RabbitFile::Color, "Fawn"},   {RabbitFile::Winnings, "BIS"}};
        QTest::newRow("header code") << HeaderCode << Lines{{7, "Oak"}} << Lines{};
    }

    void chartToRabbit()
    {
        QFETCH(int, code);
        QFETCH(Lines, chart);
        QFETCH(Lines, rabbit);
        LineRecord pedigree = newRecord();
        for (auto it = chart.begin(); it != chart.end(); ++it)
            pedigree.setValue(it.key(), it.value());
        LineRecord expected = RabbitFile::newRecord();
        for (auto it = rabbit.begin(); it != rabbit.end(); ++it)
            expected.setValue(it.key(), it.value());
        QCOMPARE(PedigreeLinks::chartToRabbit(pedigree, code).values(), expected.values());
    }

    void handOff()
    {
        QTemporaryDir dir;
        const QString path = writeRabbit(dir, "kit.rab", {{RabbitFile::RabbitName, "Kit"}});
        LineRecord chart = newRecord();
        QVERIFY(!PedigreeLinks::handOff(chart, 0, path));
        QCOMPARE(chart.values(), newRecord().values());
        QCOMPARE(errorKind([&] { PedigreeLinks::loadSavedRabbit(chart, 33, dir.filePath("no.rab")); }), "file");
        QCOMPARE(chart.values(), newRecord().values());

        QVERIFY(PedigreeLinks::handOff(chart, 33, path));
        QCOMPARE(chart.value("Gramps2RabFile"), path);
        QCOMPARE(chart.value("SireTwoTwoName"), "Kit");
        QCOMPARE(chart.value("SireTwoTwoColor"), newRecord().value("SireTwoTwoColor"));
    }
};

QTEST_GUILESS_MAIN(TestPedigreeCore)
#include "test_pedigree_core.moc"
