#include "TestFiles.h"
#include "breeding/BreedingFormat.h"
#include "breeding/BreedingLinks.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QTemporaryDir>
#include <QTest>

using namespace BreedingFile;
using Lines = QMap<int, QString>;
using TestFiles::messageOf, TestFiles::writeRabbit;

namespace {

// Links followed as stored: without a holder there is no folder to look in.
LinkContext asStored;

QByteArray golden(const QString &name)
{
    return TestFiles::readBytes(TestFiles::dataPath("breeding/" + name));
}

LineRecord with(LineRecord record, const Lines &values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        record.setValue(it.key(), it.value());
    return record;
}

// Every line of `record` is `changed`'s value where it has one, `before`'s otherwise.
void compareChanged(const LineRecord &record, const LineRecord &before, const Lines &changed)
{
    for (int line = 0; line < record.format().lineCount(); ++line) {
        const QString expected = changed.value(line, before.value(line));
        if (record.value(line) != expected)
            QFAIL(qPrintable(
                QStringLiteral("line %1: \"%2\", expected \"%3\"").arg(line).arg(record.value(line), expected)));
    }
}

const QString U17(17, '_'), U34(34, '_');

} // namespace

class TestBreeding : public QObject
{
    Q_OBJECT

private slots:
    void newAndRoundTrip()
    {
        QCOMPARE(newRecord().toLines().toBytes(), golden("new.brd"));
        // windows-1252 bytes, blanks at both ends, an empty line and 27 blanks survive
        // a load and a save byte for byte; a last line without its line end counts.
        QTemporaryDir dir;
        const QString out = dir.filePath("out.brd");
        for (const char *name : {"full.brd", "noend.brd"}) {
            const LineRecord record = read(TestFiles::dataPath(QStringLiteral("breeding/") + name));
            QCOMPARE(record.value(rowLine(2, RowField::Parent)), QString::fromUtf8("Renée €Ÿ"));
            QCOMPARE(record.value(mateRabFile(1)), QStringLiteral(R"(C:\Rabbits\Blue Sky Rex.rab)"));
            write(record, out);
            QCOMPARE(TestFiles::readBytes(out), golden("full.brd"));
        }
        // Lines after 200 are read past and dropped by the next save.
        TestFiles::writeBytes(dir.filePath("long.brd"), golden("full.brd") + "surplus\r\n\r\n");
        write(read(dir.filePath("long.brd")), out);
        QCOMPARE(TestFiles::readBytes(out), golden("full.brd"));
    }

    void shortFilesLoadNothing()
    {
        const QStringList lines = LineFile::fromBytes(golden("full.brd")).lines();
        for (const int keep : {200, 185, 0}) {
            const QString message = messageOf<LineIndexError>([&] { parse(LineFile(lines.mid(0, keep))); });
            QCOMPARE(message, QStringLiteral("List index out of bounds (%1)").arg(keep));
        }
        QVERIFY_THROWS_EXCEPTION(FileError, read(QStringLiteral("/nonexistent/x.brd")));
    }

    void updateFromLinks()
    {
        // The subject, mate 2 (colour still blank in its file) and mate 7 (a file
        // whose ear, registration and sex hold the rabbit sheet's shorter blanks, which
        // are copied); mate 9's file then turns out too short and the run stops there,
        // mate 12 not reached. Litter fields and links never change.
        for (const bool mate9Short : {false, true}) {
            QTemporaryDir dir;
            const QString u9(9, '_');
            LineRecord breeding = with(newRecord(), {{rowLine(2, RowField::Bred), "1/1/03"}, {Sex, "Doe"}});
            const auto link = [&](int position, const QString &name, const Lines &values, int keep = -1) {
                breeding.setValue(linkLine(position), writeRabbit(dir.filePath(name), values, keep));
            };
            link(0, "subject.rab",
                 {{RabbitFile::RabbitName, "Clover"},
                  {RabbitFile::EarNumber, "CH12"},
                  {RabbitFile::RegNumber, "R-4471"},
                  {RabbitFile::Color, "Chestnut"},
                  {RabbitFile::Sex, U17}});
            link(2, "castor.rab", {{RabbitFile::RabbitName, "Castor"}, {RabbitFile::EarNumber, "B7"}});
            link(7, "blank.rab", {{RabbitFile::Color, "Black"}});
            link(9, "nine.rab", {{RabbitFile::RabbitName, "Nine"}, {RabbitFile::Color, "Blue"}}, mate9Short ? 7 : 8);
            link(12, "twelve.rab", {{RabbitFile::RabbitName, "Twelve"}});
            const LineRecord before = breeding;

            // clang-format off
            Lines changed{{RabbitName, "Clover"}, {EarNumber, "CH12"}, {RegNumber, "R-4471"}, {Color, "Chestnut"},
                          {rowLine(2, RowField::Parent), "Castor"}, {rowLine(2, RowField::Ear), "B7"},
                          {rowLine(7, RowField::Ear), u9}, {rowLine(7, RowField::Color), "Black"}};
            // clang-format on
            if (!mate9Short) {
                changed.insert({{rowLine(9, RowField::Parent), "Nine"},
                                {rowLine(9, RowField::Ear), u9},
                                {rowLine(9, RowField::Color), "Blue"},
                                {rowLine(12, RowField::Parent), "Twelve"},
                                {rowLine(12, RowField::Ear), u9}});
            }
            QCOMPARE(messageOf<LineIndexError>([&] { BreedingLinks::updateFromLinks(breeding, asStored); }),
                     mate9Short ? "List index out of bounds (7)" : "");
            compareChanged(breeding, before, changed);
        }
    }

    void loadSavedRabbit()
    {
        QTemporaryDir dir;
        const QString subject =
            writeRabbit(dir.filePath("s.rab"),
                        {{RabbitFile::RabbitName, U34}, {RabbitFile::Color, "Lilac"}, {RabbitFile::Sex, "Buck"}});
        LineRecord breeding = with(newRecord(), {{RabbitName, "Kept name"}, {rowLine(4, RowField::Died), "1"}});

        // A file that cannot be read, a file too short, an unknown position: nothing changes.
        const LineRecord before = breeding;
        QVERIFY_THROWS_EXCEPTION(FileError, BreedingLinks::loadSavedRabbit(breeding, 0, dir.filePath("gone.rab")));
        const QString shortFile = writeRabbit(dir.filePath("short.rab"), {{RabbitFile::RabbitName, "Short"}}, 7);
        QCOMPARE(messageOf<LineIndexError>([&] { BreedingLinks::loadSavedRabbit(breeding, 4, shortFile); }),
                 "List index out of bounds (7)");
        QVERIFY(!BreedingLinks::loadSavedRabbit(breeding, 16, subject));
        compareChanged(breeding, before, {});

        // The subject: a blank name keeps the old one; the rabbit's 9-underscore ear is copied.
        QVERIFY(BreedingLinks::loadSavedRabbit(breeding, 0, subject));
        compareChanged(breeding, before,
                       {{MainRabFile, subject},
                        {Sex, "Buck"},
                        {Color, "Lilac"},
                        {EarNumber, QString(9, '_')},
                        {RegNumber, QString(9, '_')}});
    }

    void generateOffspring_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<bool>("subjectIsFather");
        QTest::newRow("Buck") << "Buck" << true;
        QTest::newRow("Male") << "Male" << true;
        QTest::newRow("Doe") << "Doe" << false;
        QTest::newRow("Buck with a blank") << "Buck " << false;
    }

    void generateOffspring()
    {
        QFETCH(QString, sex);
        QFETCH(bool, subjectIsFather);
        QTemporaryDir dir;
        // The subject's name is still blank in its file: the offspring keeps its own blank.
        const QString subject = writeRabbit(dir.filePath("s.rab"), {{RabbitFile::Color, "Chestnut"}});
        const QString mate =
            writeRabbit(dir.filePath("m.rab"), {{RabbitFile::RabbitName, "Castor"}, {RabbitFile::Color, "Black"}});
        // Row 3's labels are all blanks: only the link matters.
        const LineRecord breeding = with(newRecord(), {{Sex, sex}, {MainRabFile, subject}, {mateRabFile(3), mate}});

        const LineRecord kit = BreedingLinks::generateOffspring(breeding, 3, asStored);
        const QString father = subjectIsFather ? subject : mate, mother = subjectIsFather ? mate : subject;
        const QString fatherName = subjectIsFather ? QString(17, '_') : "Castor";
        const QString motherName = subjectIsFather ? "Castor" : QString(17, '_');
        // clang-format off
        QCOMPARE(kit.values(), with(RabbitFile::newRecord(), {{RabbitFile::FatherRabFile, father},
            {RabbitFile::MotherRabFile, mother}, {RabbitFile::DadName, fatherName}, {RabbitFile::MomName, motherName},
            {RabbitFile::DadColor, subjectIsFather ? "Chestnut" : "Black"},
            {RabbitFile::MomColor, subjectIsFather ? "Black" : "Chestnut"}}).values());
        // clang-format on
    }

    void offspringFailures()
    {
        QTemporaryDir dir;
        const QString subject = writeRabbit(dir.filePath("s.rab"), {{RabbitFile::RabbitName, "Clover"}});
        const QString mate = writeRabbit(dir.filePath("m.rab"), {{RabbitFile::RabbitName, "Castor"}});
        const LineRecord both = with(newRecord(), {{Sex, "Buck"}, {MainRabFile, subject}, {mateRabFile(3), mate}});
        const QString first = QStringLiteral("Must have two linked parent files");
        const QString subjectHow = QStringLiteral("Edit > Set File Links");
        const QString mateHow = QStringLiteral("the mate of row 3 to its file through Load Saved Rabbit on the row");

        // Either link "None", or a row that is not a mating row: the message, as a
        // RecordError, before any file is opened. It starts with its sentence and says
        // how to link each missing file, and only those.
        const auto missing = [&](const LineRecord &breeding, int row) {
            return messageOf<BreedingLinks::MissingParentsError>(
                [&] { BreedingLinks::generateOffspring(breeding, row, asStored); });
        };
        struct Case
        {
            const char *name;
            LineRecord breeding;
            int row;
            bool namesSubject, namesMate;
        };
        const Case cases[] = {
            {"subject unlinked", with(both, {{MainRabFile, "None"}}), 3, true, false},
            {"mate unlinked", with(both, {{mateRabFile(3), "None"}, {MainRabFile, dir.filePath("gone")}}), 3, false,
             true},
            {"neither linked", with(both, {{MainRabFile, "None"}, {mateRabFile(3), "None"}}), 3, true, true},
            {"row 0", both, 0, false, false},
            {"row 16", both, 16, false, false},
        };
        for (const Case &c : cases) {
            const QString message = missing(c.breeding, c.row);
            QVERIFY2(message.startsWith(first), c.name);
            QVERIFY2(message.contains(subjectHow) == c.namesSubject, c.name);
            QVERIFY2(message.contains(mateHow) == c.namesMate, c.name);
        }
        // "none" is a path, not a missing link: following it fails as a file.
        QVERIFY_THROWS_EXCEPTION(FileError,
                                 BreedingLinks::generateOffspring(with(both, {{mateRabFile(3), "none"}}), 3, asStored));
    }
};

QTEST_GUILESS_MAIN(TestBreeding)
#include "test_breeding.moc"
