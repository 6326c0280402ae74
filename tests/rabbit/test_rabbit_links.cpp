#include "TestFiles.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinks.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "show/ShowFormat.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace RabbitFile;
using Lines = QMap<int, QString>;
using TestFiles::messageOf, TestFiles::writeRabbit;

namespace {

// Links followed as stored: without a holder there is no folder to look in.
LinkContext asStored;

LineRecord with(LineRecord record, const Lines &values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        record.setValue(it.key(), it.value());
    return record;
}

const QString U17(17, '_'), U34(34, '_'), U12(12, '_');

// A rabbit linked to its parents, siblings 1, 4 and 10 and a show file, all written
// into a temporary folder, with the values its Update from Links must give.
struct Family
{
    QTemporaryDir dir;
    LineRecord rabbit = RabbitFile::newRecord();
    Lines refreshed; // line -> value after a full update

    QString path(const QString &name) const { return dir.filePath(name); }

    Family()
    {
        // Blanks in the files (the father's colour, sibling 4's sex, sibling 10's
        // name and colour) leave the sheet's values.
        const auto link = [&](int line, const QString &name, const Lines &values) {
            rabbit.setValue(line, writeRabbit(path(name), values));
        };
        link(FatherRabFile, "sire.rab", {{RabbitName, "Sire"}, {Color, U17}, {Sex, "Buck"}});
        link(MotherRabFile, "dam.rab", {{RabbitName, "Dam"}, {Color, "Blue"}});
        link(siblingRabFile(1), "s1.rab", {{RabbitName, "Sib One"}, {Sex, "Doe"}, {Color, "Black"}});
        link(siblingRabFile(4), "s4.rab", {{RabbitName, "Sib Four"}, {Sex, U12}, {Color, "Fawn"}});
        link(siblingRabFile(10), "s10.rab", {{RabbitName, U34}, {Sex, "Buck"}, {Color, U17}});
        // clang-format off
        rabbit = with(rabbit, {{DadColor, "Old dad colour"}, {siblingSex(4), "Old sex"}, {siblingName(10), "Ten"},
                               {siblingColor(10), "Old colour"}, {Winnings, "Old winnings"}, {ShowLink, path("r.shw")}});
        // clang-format on
        writeShow("3");
        // clang-format off
        refreshed = {{Winnings, "BOB on 1/1/03"}, {DadName, "Sire"}, {MomName, "Dam"}, {MomColor, "Blue"},
                     {siblingName(1), "Sib One"}, {siblingSex(1), "Doe"}, {siblingColor(1), "Black"},
                     {siblingName(4), "Sib Four"}, {siblingColor(4), "Fawn"}, {siblingSex(10), "Buck"}};
        // clang-format on
    }

    void writeShow(const QString &chosen, int keep = -1)
    {
        using namespace ShowFile;
        // Rows 2 and 4 filled around the chosen row 3 must not leak in.
        // clang-format off
        LineRecord show = with(ShowFile::newRecord(), {{rowLine(3, RowField::Award), "BOB"},
            {rowLine(3, RowField::Date), "1/1/03"}, {rowLine(2, RowField::Competitors), "9"},
            {rowLine(4, RowField::Award), "BIS"}});
        // clang-format on
        QStringList lines = show.toLines().lines();
        lines[WinningsNum] = chosen;
        TestFiles::writeLines(path("r.shw"), lines, {}, keep);
    }
};

// Qt names the first line that differs.
void compareChanged(const LineRecord &record, const LineRecord &before, const Lines &changed)
{
    QCOMPARE(record.values(), with(before, changed).values());
}

} // namespace

class TestRabbitLinks : public QObject
{
    Q_OBJECT

private slots:
    void updateFromLinks()
    {
        // Row 3 gives the summary. No chosen row, a row out of the list, a chosen row all
        // blanks: Winnings stays and the relatives are still refreshed. The show file is
        // read first: a chosen row that is not a number stops everything.
        for (const char *chosen : {"3", "None", "0", "16", "5", "seven"}) {
            Family family;
            family.writeShow(chosen);
            const LineRecord before = family.rabbit;
            const QString error =
                messageOf<ConversionError>([&] { RabbitLinks::updateFromLinks(family.rabbit, asStored); });
            Lines expected = family.refreshed;
            if (QByteArray(chosen) != "3")
                expected.remove(Winnings);
            const bool notANumber = QByteArray(chosen) == "seven";
            QCOMPARE(error, notANumber ? "'seven' is not a valid integer value" : QString());
            if (notANumber)
                expected.clear();
            compareChanged(family.rabbit, before, expected);
        }
        // Sibling 4's file gone, or too short for its colour: the parents and sibling 1
        // stay refreshed, nothing of sibling 4 is taken, sibling 10 is not reached.
        for (const int keep : {0, 7}) {
            Family family;
            if (keep == 0)
                QVERIFY(QFile::remove(family.path("s4.rab")));
            else
                writeRabbit(family.path("s4.rab"), {{RabbitName, "Sib Four"}, {Sex, "Doe"}}, keep);
            const LineRecord before = family.rabbit;
            QVERIFY_THROWS_EXCEPTION(RecordError, RabbitLinks::updateFromLinks(family.rabbit, asStored));
            Lines expected = family.refreshed;
            for (int line : {siblingName(4), siblingColor(4), siblingSex(10)})
                expected.remove(line);
            compareChanged(family.rabbit, before, expected);
        }
    }

    // Only what is taken is read: the show file's line 65 and chosen row, a relative's
    // lines 0-7. What the files hold (or lack) beyond that stops nothing.
    void readsOnlyTheLinesItTakes()
    {
        // show file lines kept -> the error, none when the summary is taken
        const std::pair<int, QString> shows[] = {{65, "List index out of bounds (65)"}, {66, {}}, {67, {}}, {68, {}}};
        for (const auto &[keep, error] : shows) {
            Family family;
            family.writeShow("3", keep);
            // Relatives' files that end with the colour line.
            for (const int line : {int(FatherRabFile), siblingRabFile(1)}) {
                const QString file = family.rabbit.value(line);
                TestFiles::writeLines(file, LineFile::read(file).lines(), {}, Color + 1);
            }
            const LineRecord before = family.rabbit;
            QCOMPARE(messageOf<LineIndexError>([&] { RabbitLinks::updateFromLinks(family.rabbit, asStored); }), error);
            compareChanged(family.rabbit, before, error.isEmpty() ? family.refreshed : Lines{});
        }
    }

    void loadSavedRabbit()
    {
        QTemporaryDir dir;
        const QString file = writeRabbit(dir.filePath("r.rab"), {{RabbitName, "Nell"}, {Sex, "Doe"}, {Color, U17}});
        const LineRecord before = with(RabbitFile::newRecord(), {{MomColor, "Old"}, {siblingColor(3), "Old"}});

        // The mother takes no sex; sibling 3 does. A blank colour keeps the old one.
        LineRecord rabbit = before;
        QVERIFY(RabbitLinks::loadSavedRabbit(rabbit, 2, file));
        QVERIFY(RabbitLinks::loadSavedRabbit(rabbit, 5, file));
        // clang-format off
        compareChanged(rabbit, before, {{MotherRabFile, file}, {MomName, "Nell"}, {siblingRabFile(3), file},
                                        {siblingName(3), "Nell"}, {siblingSex(3), "Doe"}});
        // clang-format on

        // All or nothing: unknown number, a file gone, a file too short.
        rabbit = before;
        QVERIFY(!RabbitLinks::loadSavedRabbit(rabbit, 13, file));
        QVERIFY_THROWS_EXCEPTION(FileError, RabbitLinks::loadSavedRabbit(rabbit, 1, dir.filePath("gone.rab")));
        const QString shortFile = writeRabbit(dir.filePath("s.rab"), {{RabbitName, "Short"}}, 7);
        QCOMPARE(messageOf<LineIndexError>([&] { RabbitLinks::loadSavedRabbit(rabbit, 1, shortFile); }),
                 "List index out of bounds (7)");
        compareChanged(rabbit, before, {});
    }

    void relativeToRabbit()
    {
        // Anything empty or starting with "_" is a blank here, whatever its length.
        // clang-format off
        const LineRecord sheet = with(RabbitFile::newRecord(), {{DadName, "Sire"}, {DadColor, "_x"},
            {MomName, ""}, {MomColor, "Blue"}, {siblingName(2), "Kit"}, {siblingSex(2), "Doe"},
            {siblingColor(2), "Red_"}, {siblingName(5), "Five"}, {siblingSex(5), "_"}});
        const std::tuple<int, Lines> cases[] = {
            {1, {{RabbitName, "Sire"}, {Sex, "Male"}}},
            {2, {{Color, "Blue"}, {Sex, "Female"}}},
            {4, {{RabbitName, "Kit"}, {Sex, "Doe"}, {Color, "Red_"}}},
            {7, {{RabbitName, "Five"}}},
            {0, {}}};
        // clang-format on
        for (const auto &[number, expected] : cases)
            QCOMPARE(RabbitLinks::relativeToRabbit(sheet, number).values(),
                     with(RabbitFile::newRecord(), expected).values());
    }
};

QTEST_GUILESS_MAIN(TestRabbitLinks)
#include "test_rabbit_links.moc"
