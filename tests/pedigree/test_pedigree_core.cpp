#include "TestFiles.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QTemporaryDir>
#include <QTest>

using namespace PedigreeFile;
using Lines = QMap<int, QString>;
using TestFiles::messageOf, TestFiles::writeRabbit;
using RabbitFiles = QMap<QString, QStringList>;
using RabbitFile::RabbitName, RabbitFile::EarNumber, RabbitFile::RegNumber, RabbitFile::Weight, RabbitFile::Sex,
    RabbitFile::Color, RabbitFile::BirthDate, RabbitFile::Winnings;

namespace {

// Links followed as stored: without a holder there is no folder to look in.
LinkContext asStored;

QByteArray golden(const QString &name)
{
    return TestFiles::readBytes(TestFiles::dataPath("pedigree/" + name));
}

LineRecord goldenRecord(const QString &name)
{
    return parse(LineFile::fromBytes(golden(name)));
}

LineRecord with(LineRecord record, const Lines &values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        record.setValue(it.key(), it.value());
    return record;
}

} // namespace

class TestPedigreeCore : public QObject
{
    Q_OBJECT

private slots:
    void fileLayoutAndRoundTrip()
    {
        QCOMPARE(newRecord().toLines().toBytes(), golden("new.ped"));

        // Reading and writing a file the window wrote changes no byte, 0x80-0xFF included.
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high += char(b);
        QList<QByteArray> lines = golden("chart.ped").split('\n');
        lines[SoldAddress] = lines[FirstAncestorBlock] = high + '\r';
        QTemporaryDir dir;
        const QString in = dir.filePath("in.ped"), out = dir.filePath("out.ped");
        for (const QByteArray &bytes : {golden("chart.ped"), lines.join('\n')}) {
            TestFiles::writeBytes(in, bytes);
            write(read(in), out);
            QCOMPARE(TestFiles::readBytes(out), bytes);
        }
    }

    void loadedState()
    {
        // "True", "maybe", "bold", "Gridlineson", "None": only the exact words count.
        Lines odd{
            {BackStretch, "false"},      {MiniStretch, "true"}, {MiniFrameShown, "true"}, {ChartFontWeight, "Normal"},
            {Gridlines, "GridlinesOff"}, {MiniPicture, ""},     {BackPicture, ""}};
        Lines oddHidden = odd;
        oddHidden[MiniFrameShown] = "false";
        // File, the frame before, what the state holds after. Lines an older file lacks
        // keep the window's; sex before colour in the bunny's block, colour then winnings
        // in an ancestor's.
        // clang-format off
        const std::tuple<QString, QString, Lines> cases[] = {
            {"old109.ped", "true", {{BunnyName, "Blaze of Glory"}, {RabbitryFile, "kept.rbty"}, {Gridlines, "GridlinesOn"}}},
            {"old125.ped", "true", {{GreatGram4RabFile, R"(C:\Rabbits\r14.rab)"}, {Gridlines, "GridlinesOff"}, {RabbitryFile, "kept.rbty"}}},
            {"chart.ped", "true", {{BunnySex, "Doe"}, {BunnyColor, "Broken Black"}, {16, "Dad colour"},
                {17, QString::fromUtf8("BOB £0")}, {90, "DamOneFour name"}, {SoldToLabel, QString::fromUtf8("Zoë Müller")},
                {MiniFrameShown, "false"}, {ChartFontWeight, "Bold"}, {RabbitryFile, R"(C:\Rabbits\meadow.rbty)"}}},
            {"odd.ped", "true", odd}, {"odd.ped", "false", oddHidden}};
        // clang-format on
        for (const auto &[file, frameBefore, expected] : cases) {
            const LineRecord before = with(newRecord(), {{MiniFrameShown, frameBefore}, {RabbitryFile, "kept.rbty"}});
            const LineRecord state = PedigreeFile::loadedState(goldenRecord(file), before);
            for (auto it = expected.begin(); it != expected.end(); ++it)
                QCOMPARE(state.value(it.key()), it.value());
        }
    }

    void rejectsBrokenFiles()
    {
        // Cut short (108 lines, or inside the links), or a number that is not one.
        // clang-format off
        const std::tuple<int, int, QString> cases[] = {{108, -1, ""}, {115, -1, ""}, {126, TitleLeft, "12px"},
            {126, TitleTop, ""}, {109, TitleFontSize, "fourteen"}, {126, ChartFontSize, "9.5"}};
        // clang-format on
        for (const auto &[keep, line, text] : cases) {
            QStringList lines = LineFile::fromBytes(golden("chart.ped")).lines().mid(0, keep);
            if (line >= 0)
                lines[line] = text;
            const auto run = [&] { parse(LineFile(lines)); };
            if (line < 0)
                QCOMPARE(messageOf<LineIndexError>(run), QStringLiteral("List index out of bounds (%1)").arg(keep));
            else
                QCOMPARE(messageOf<ConversionError>(run), "'" + text + "' is not a valid integer value");
        }
    }

    void autoFill()
    {
        // Rabbit files by name: line count, father link, mother link; links the result
        // does not list are "None". Three generations deep: the dam's mother "None"
        // overwrites the old link, a 57-line file (no parent links) leaves its parents'
        // links alone. A 58-line file stops the run after its father link.
        // clang-format off
        const std::tuple<RabbitFiles, Lines, Lines, QString> cases[] = {
            {{{"bunny", {"72", "dad", "mom"}}, {"dad", {"72", "gs1", "gd1"}}, {"mom", {"69", "gs2", "None"}},
              {"gs1", {"72", "ggs1", "None"}}, {"gd1", {"57", "x", "y"}}, {"gs2", {"72", "None", "ggd6"}}},
             {{0, "bunny"}, {6, "/old/gram2"}, {9, "/old/ggs2"}, {14, "/old/ggd8"}},
             {{0, "bunny"}, {1, "dad"}, {2, "mom"}, {3, "gs1"}, {4, "gd1"}, {5, "gs2"}, {7, "ggs1"},
              {9, "/old/ggs2"}, {12, "ggd6"}, {14, "/old/ggd8"}}, ""},
            {{{"bunny", {"72", "dad", "mom"}}, {"dad", {"58", "gs1", "gd1"}}, {"mom", {"72", "gs2", "gd2"}}},
             {{0, "bunny"}, {4, "/old/gram1"}}, {{0, "bunny"}, {1, "dad"}, {2, "mom"}, {3, "gs1"}, {4, "/old/gram1"}},
             "List index out of bounds (58)"}};
        // clang-format on
        for (const auto &[files, initial, expected, error] : cases) {
            QTemporaryDir dir;
            // Short names stand for files in the temporary folder.
            const auto path = [&dir](const QString &name) {
                return name == "None" || name.startsWith('/') ? name : dir.filePath(name);
            };
            for (auto it = files.begin(); it != files.end(); ++it)
                writeRabbit(dir.filePath(it.key()),
                            {{RabbitFile::FatherRabFile, path(it.value()[1])},
                             {RabbitFile::MotherRabFile, path(it.value()[2])}},
                            it.value()[0].toInt());
            PedigreeLinks::PositionLinks links;
            for (int i = 0; i < PositionCount; ++i)
                links[i] = path(initial.value(i, "None"));
            QCOMPARE(messageOf<LineIndexError>([&] { PedigreeLinks::autoFill(links, asStored); }), error);
            for (int i = 0; i < PositionCount; ++i)
                QCOMPARE(links[i], path(expected.value(i, "None")));
        }
    }

    void updateFromLinks()
    {
        // The dam's file long enough (57 lines), then too short for her winnings: the run
        // stops and keeps what it refreshed. Placeholders in a rabbit file (the bunny's
        // weight, the dam's name) and unlinked positions leave the chart alone; links stay.
        for (const int momLines : {57, 56}) {
            QTemporaryDir dir;
            LineRecord chart = goldenRecord("chart.ped");
            for (int i = 0; i < PositionCount; ++i)
                chart.setValue(MainRabFile + i, "None");
            // The bunny takes sex and birth date, not winnings: it reads only 9 lines.
            // clang-format off
            chart.setValue(MainRabFile, writeRabbit(dir.filePath("bunny.rab"), {{RabbitName, "Rex"}, {EarNumber, "E1"},
                {RegNumber, "G2"}, {Sex, "Buck"}, {Color, "Chestnut"}, {BirthDate, "1/2/2003"}}, 9));
            // clang-format on
            chart.setValue(MotherRabFile,
                           writeRabbit(dir.filePath("mom.rab"), {{Color, "Lilac"}, {Winnings, "BOS"}}, momLines));
            chart.setValue(positionByCode(34)->linkLine, writeRabbit(dir.filePath("gram.rab"), {{RabbitName, "Nan"}}));
            chart.setValue(RabbitryFile, dir.filePath("hutch.rbty"));
            LineFile({"a.rab", "-RabbitryInfo-", "", "1 Long Road, Springfield", "Springfield", "555"})
                .write(dir.filePath("hutch.rbty"));
            const LineRecord before = chart;

            // clang-format off
            Lines changed{{0, "Rex"}, {1, "E1"}, {2, "G2"}, {4, "Buck"}, {5, "Chestnut"}, {6, "1/2/2003"},
                          {22, "Lilac"}};
            if (momLines == 57) // an empty rabbitry name gives the header's blank
                changed.insert({{23, "BOS"}, {42, "Nan"}, {BreederLabel, QString(24, '_')},
                                {AddressLabel, "Springfield"}});
            // clang-format on
            QCOMPARE(messageOf<LineIndexError>([&] { PedigreeLinks::updateFromLinks(chart, asStored); }),
                     momLines == 57 ? QString() : "List index out of bounds (56)");
            QCOMPARE(chart.values(), with(before, changed).values());
        }
    }

    void rabbitryDetails()
    {
        // The file; Update from Links, else Load Saved Rabbitry; breeder and address after.
        const QString blank(24, '_'); // a new record's, kept
        // clang-format off
        const std::tuple<QStringList, bool, QString, QString> cases[] = {
            {{"-RabbitryInfo-", "Oak Hutch", "1 Long Road", "Springfield", "555"}, true, "Oak Hutch", "Springfield"},
            {{"a.rab", "-RabbitryInfo-", "", "", "", ""}, false, "", ""}, // empty details as they stand
            {{"a", "b", "c", "d", "e", "f"}, true, blank, blank},         // no trailer
            {{"-RabbitryInfo-", "Oak Hutch", "1 Long Road", "Springfield"}, true, blank, blank}, // fewer than five
            {{}, false, blank, blank}};
        // clang-format on
        for (const auto &[file, update, breeder, address] : cases) {
            QTemporaryDir dir;
            const QString path = dir.filePath("hutch.rbty");
            LineFile(file).write(path);
            LineRecord chart = newRecord();
            if (update) {
                chart.setValue(RabbitryFile, path);
                PedigreeLinks::updateFromLinks(chart, asStored);
            } else {
                PedigreeLinks::loadSavedRabbitry(chart, path);
                QCOMPARE(chart.value(RabbitryFile), path);
            }
            QCOMPARE(chart.value(BreederLabel), breeder);
            QCOMPARE(chart.value(AddressLabel), address);
        }
    }

    void chartToRabbitAndBack()
    {
        // Chart fields left as placeholders (the bunny's name, the ancestor's ear) leave
        // the rabbit's own; the bunny has no winnings to give, an ancestor no sex.
        // clang-format off
        const std::tuple<int, Lines, Lines> cases[] = {
            {1, {{4, "Doe"}, {6, "2/2/2004"}, {5, "Blue"}, {17, "BOB"}},
                {{Sex, "Doe"}, {Color, "Blue"}, {BirthDate, "2/2/2004"}}},
            {48, {{90, "Nan"}, {92, "R9"}, {93, "7 lb"}, {94, "Fawn"}, {95, "BIS"}, {4, "Doe"}},
                 {{RabbitName, "Nan"}, {RegNumber, "R9"}, {Weight, "7 lb"}, {Color, "Fawn"}, {Winnings, "BIS"}}},
            {HeaderCode, {{7, "Oak"}}, {}}};
        // clang-format on
        for (const auto &[code, chart, rabbit] : cases)
            QCOMPARE(PedigreeLinks::chartToRabbit(with(newRecord(), chart), code).values(),
                     with(RabbitFile::newRecord(), rabbit).values());

        // The saved rabbit handed back: a file that cannot be read or an unknown code changes nothing.
        QTemporaryDir dir;
        const QString path = writeRabbit(dir.filePath("kit.rab"), {{RabbitName, "Kit"}});
        LineRecord chart = newRecord();
        QVERIFY(!PedigreeLinks::handOff(chart, 0, path));
        QVERIFY_THROWS_EXCEPTION(FileError, PedigreeLinks::loadSavedRabbit(chart, 33, dir.filePath("no.rab")));
        // Too short for the position's last line (56): neither link nor values change.
        const QString cut = writeRabbit(dir.filePath("cut.rab"), {{RabbitName, "Kit"}}, 56);
        QVERIFY_THROWS_EXCEPTION(LineIndexError, PedigreeLinks::loadSavedRabbit(chart, 33, cut));
        QCOMPARE(chart.values(), newRecord().values());
        QVERIFY(PedigreeLinks::handOff(chart, 33, path));
        QCOMPARE(chart.value("Gramps2RabFile"), path);
        QCOMPARE(chart.value("SireTwoTwoName"), "Kit");
    }
};

QTEST_GUILESS_MAIN(TestPedigreeCore)
#include "test_pedigree_core.moc"
