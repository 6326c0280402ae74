#include "TestFiles.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "show/ShowFormat.h"
#include "show/ShowLinks.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ShowFile;
using Lines = QMap<int, QString>;
using TestFiles::messageOf, TestFiles::writeRabbit;
using OptionalText = std::optional<QString>;

Q_DECLARE_METATYPE(OptionalText)

namespace {

// Links followed as stored: without a holder there is no folder to look in.
LinkContext asStored;

QByteArray golden(const QString &name)
{
    return TestFiles::readBytes(TestFiles::dataPath("show/" + name));
}

QStringList goldenLines(const QString &name)
{
    return LineFile::fromBytes(golden(name)).lines();
}

LineRecord with(LineRecord record, const Lines &values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        record.setValue(it.key(), it.value());
    return record;
}

void row(const char *name, const QString &text, const QString &error, const QString &shown, const OptionalText &summary)
{
    QTest::newRow(name) << text << error << shown << summary;
}

const QString U17(17, '_'), U34(34, '_'), U9(9, '_');

} // namespace

class TestShow : public QObject
{
    Q_OBJECT

private slots:
    void layoutAndRoundTrip()
    {
        QCOMPARE(newRecord().toLines().toBytes(), golden("new.shw"));

        // windows-1252 bytes and the chosen row survive a load and a save byte for byte.
        QTemporaryDir dir;
        const QString out = dir.filePath("out.shw");
        const LineRecord full = read(TestFiles::dataPath("show/full.shw"));
        QCOMPARE(full.value(rowLine(7, RowField::Location)), QString::fromUtf8("Smørgås Hall"));
        write(full, out);
        QCOMPARE(TestFiles::readBytes(out), golden("full.shw"));

        // The older 66-line file: sex and colour keep what the window held; the save has 68 lines.
        const LineRecord before = with(newRecord(), {{Sex, "Kept sex"}, {RabbitName, "Old name"}});
        const LineRecord old = loadedState(parse(LineFile::fromBytes(golden("old66.shw"))), before);
        QCOMPARE(old.value(RabbitName), "Clover Hollow Dancer");
        QCOMPARE(old.value(WinningsNum), "7");
        QCOMPARE(old.value(Sex), "Kept sex");
        QCOMPARE(old.value(Color), QString(22, '_'));
        write(read(TestFiles::dataPath("show/old66.shw")), out);
        QStringList expected = goldenLines("full.shw");
        expected[Sex] = U9;
        expected[Color] = QString(22, '_');
        QCOMPARE(TestFiles::readBytes(out), LineFile(expected).toBytes());

        // A file ending inside the required lines, or between sex and colour.
        for (const int keep : {65, 0, 67}) {
            const auto run = [&] { parse(LineFile(goldenLines("full.shw").mid(0, keep))); };
            QCOMPARE(messageOf<LineIndexError>(run), QStringLiteral("List index out of bounds (%1)").arg(keep));
        }
    }

    void chosenRow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error"); // the conversion error of a load, or empty
        QTest::addColumn<QString>("shown"); // line 65 after the load, written back by a save
        QTest::addColumn<OptionalText>("summary");
        const OptionalText none;
        const OptionalText row7 = QString::fromUtf8("Best in Show € on 6/1/02 at Smørgås Hall against 31 opponents");
        // clang-format off
        row("None", "None", "", "None", none);
        row("7", "7", "", "7", row7);
        row("7 with blanks", " 7 ", "", "7", row7);
        // Outside the window's list: no row, no error; a save writes "None".
        row("0", "0", "", "None", none);
        // Not a number, "none" included: the load fails quoting the text.
        row("none", "none", "'none' is not a valid integer value", "", none);
        row("too big", "99999999999", "'99999999999' is not a valid integer value", "", none);
        // clang-format on
    }

    void chosenRow()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        QFETCH(QString, shown);
        QFETCH(OptionalText, summary);
        QStringList lines = goldenLines("full.shw");
        lines[WinningsNum] = text;
        const LineFile file(lines);
        if (!error.isEmpty()) {
            QCOMPARE(messageOf<ConversionError>([&] { parse(file); }), error);
            return;
        }
        const LineRecord state = loadedState(parse(file), newRecord());
        QCOMPARE(state.value(WinningsNum), shown);
        QCOMPARE(state.toLines().lines(),
                 with(parse(LineFile(goldenLines("full.shw"))), {{WinningsNum, shown}}).toLines().lines());
        // The summary reads line 65 as it is in the file, not as the window shows it.
        QCOMPARE(ShowFile::winningsSummary(parse(file)), summary);
    }

    void winningsSummary_data()
    {
        QTest::addColumn<Lines>("row"); // field -> text, the rest blanks
        QTest::addColumn<OptionalText>("summary");
        const auto r = [](RowField f) { return int(f); };
        const int award = r(RowField::Award), date = r(RowField::Date), count = r(RowField::Competitors);
        QTest::newRow("competitors only") << Lines{{count, "9"}} << OptionalText(" against 9 opponents");
        QTest::newRow("all blank") << Lines{} << OptionalText();
        // Only the exact blank is skipped: a shorter run of underscores or an empty text is a value.
        QTest::newRow("short blank, empty date") << Lines{{award, "____"}, {date, ""}} << OptionalText("____ on ");
    }

    void winningsSummary()
    {
        QFETCH(Lines, row);
        QFETCH(OptionalText, summary);
        // Row 12 chosen; row 11 and row 13 filled around it must not leak in.
        LineRecord show = with(
            newRecord(),
            {{WinningsNum, "12"}, {rowLine(11, RowField::Competitors), "99"}, {rowLine(13, RowField::Award), "Other"}});
        for (auto it = row.begin(); it != row.end(); ++it)
            show.setValue(rowLine(12, RowField(it.key())), it.value());
        QCOMPARE(ShowFile::winningsSummary(show), summary);
    }

    void updateFromLinks()
    {
        QTemporaryDir dir;
        // Verbatim, blanks included: the rabbit's 12-underscore sex replaces "Doe".
        const QString rabbit = writeRabbit(
            dir.filePath("r.rab"),
            {{RabbitFile::RabbitName, "Clover"}, {RabbitFile::RegNumber, "R-1"}, {RabbitFile::Color, "Chestnut"}});
        const LineRecord before = with(
            newRecord(), {{Sex, "Doe"}, {EarNumber, "E1"}, {WinningsNum, "3"}, {Legs, "2"}, {MainRabFile, rabbit}});
        LineRecord show = before;
        ShowLinks::updateFromLinks(show, asStored);
        QCOMPARE(show.values(), with(before, {{RabbitName, "Clover"},
                                              {EarNumber, U9},
                                              {RegNumber, "R-1"},
                                              {Sex, QString(12, '_')},
                                              {Color, "Chestnut"}})
                                    .values());

        // A file too short or gone: nothing changes.
        const QString shortFile = writeRabbit(dir.filePath("s.rab"), {{RabbitFile::RabbitName, "Short"}}, 7);
        for (const QString &path : {shortFile, dir.filePath("gone.rab")}) {
            LineRecord broken = with(before, {{MainRabFile, path}});
            QVERIFY_THROWS_EXCEPTION(RecordError, ShowLinks::updateFromLinks(broken, asStored));
            QCOMPARE(broken.values(), with(before, {{MainRabFile, path}}).values());
        }
    }

    void loadSavedRabbit()
    {
        QTemporaryDir dir;
        const LineRecord before = with(newRecord(), {{RabbitName, "Kept"}, {Sex, "Doe"}, {WinningsNum, "2"}});
        // A 34-underscore name and a 17-underscore sex are blanks; the 9-underscore ear is copied.
        const QString rabbit =
            writeRabbit(dir.filePath("r.rab"),
                        {{RabbitFile::RabbitName, U34}, {RabbitFile::Sex, U17}, {RabbitFile::RegNumber, "R-9"}});
        LineRecord show = before;
        ShowLinks::loadSavedRabbit(show, rabbit);
        QCOMPARE(show.values(), with(before, {{MainRabFile, rabbit}, {EarNumber, U9}, {RegNumber, "R-9"}}).values());

        // All or nothing: a too-short file or a file that cannot be read leaves even the link.
        const QString shortFile = writeRabbit(dir.filePath("s.rab"), {{RabbitFile::RabbitName, "Short"}}, 7);
        LineRecord untouched = before;
        QCOMPARE(messageOf<LineIndexError>([&] { ShowLinks::loadSavedRabbit(untouched, shortFile); }),
                 "List index out of bounds (7)");
        QVERIFY_THROWS_EXCEPTION(FileError, ShowLinks::loadSavedRabbit(untouched, dir.filePath("gone.rab")));
        QCOMPARE(untouched.values(), before.values());
    }

    void showToRabbit()
    {
        // The show sheet's own blanks (22 for colour, 9 for sex) are not carried.
        const LineRecord show = with(
            newRecord(), {{RabbitName, "Clover"}, {RegNumber, "R-1"}, {Sex, U9}, {Color, "Chestnut"}, {Legs, "3"}});
        QCOMPARE(
            ShowLinks::showToRabbit(show).values(),
            with(RabbitFile::newRecord(),
                 {{RabbitFile::RabbitName, "Clover"}, {RabbitFile::RegNumber, "R-1"}, {RabbitFile::Color, "Chestnut"}})
                .values());
    }
};

QTEST_GUILESS_MAIN(TestShow)
#include "test_show.moc"
