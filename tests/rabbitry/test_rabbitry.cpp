#include "TestFiles.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <QTemporaryDir>
#include <QTest>

using Rabbitry::Details;
using TestFiles::messageOf;

namespace {

// Links followed as stored: without a holder there is no folder to look in.
LinkContext asStored;

QString golden(const QString &name)
{
    return TestFiles::dataPath("rabbitry/" + name);
}

const Details Lievres{QString::fromUtf8("Clos des Lièvres"), QString::fromUtf8("12 Chemin du Moulin, Saint-Rémy"),
                      QString::fromUtf8("Saint-Rémy"), QStringLiteral("555-0100")};

} // namespace

class TestRabbitry : public QObject
{
    Q_OBJECT

private slots:
    void goldenFilesLoadAndSaveBack()
    {
        // A saved file comes back byte for byte, windows-1252 letters included.
        QTemporaryDir dir;
        for (const QString name : {"empty.rbty", "several.rbty"}) {
            const Rabbitry::Record record = Rabbitry::read(golden(name));
            QCOMPARE(record.details, Lievres);
            const QString out = dir.filePath(name);
            Rabbitry::write(out, record.rabbits, *record.details);
            QCOMPARE(TestFiles::readBytes(out), TestFiles::readBytes(golden(name)));
        }
        QCOMPARE(Rabbitry::read(golden("empty.rbty")).rabbits, QStringList());
        QCOMPARE(Rabbitry::read(golden("several.rbty")).rabbits,
                 QStringList({"/home/ann/rabbits/zebra.rab", R"(c:\rabbits\bucks\Thumper.rab)",
                              R"(C:\Rabbits\Does\clover.rab)", QString::fromUtf8(R"(C:\Rabbits\Élodie.rab)")}));

        // An empty rabbitry saves as the marker and four empty details.
        const QString empty = dir.filePath("new.rbty");
        Rabbitry::write(empty, {}, {});
        QCOMPARE(TestFiles::readBytes(empty), QByteArray("-RabbitryInfo-\r\n\r\n\r\n\r\n\r\n"));
    }

    void olderListsWithoutDetails()
    {
        // No marker: every line is a rabbit and the window keeps its details; the
        // next save sorts the paths and adds the trailer.
        const Rabbitry::Record older = Rabbitry::read(golden("older.rbty"));
        QCOMPARE(older.rabbits, QStringList({R"(C:\Rabbits\hazel.rab)", R"(C:\Rabbits\bramble.rab)"}));
        QVERIFY(!older.details);
        QCOMPARE(Rabbitry::toLines(older.rabbits, Lievres).lines(),
                 QStringList({R"(C:\Rabbits\bramble.rab)", R"(C:\Rabbits\hazel.rab)", "-RabbitryInfo-", Lievres.name,
                              Lievres.address, Lievres.abbreviatedAddress, Lievres.phone}));
        // Shorter than a trailer, or empty.
        for (const QStringList &lines : {QStringList{"a.rab"}, QStringList{"a", "b", "c", "d"}, QStringList{}}) {
            const Rabbitry::Record record = Rabbitry::parse(LineFile(lines), "x.rbty");
            QCOMPARE(record.rabbits, lines);
            QVERIFY(!record.details);
            QVERIFY(!Rabbitry::trailer(LineFile(lines)));
        }
    }

    // A file touched by hand or by another tool may end with blank lines after the
    // phone line: they are passed over, and only as many as put the marker fifth from
    // the end, so empty details stay details. Lines that hold something are still
    // refused, and blank lines ending an older list stay entries.
    void blankLinesAfterTheTrailer()
    {
        const QString M = Rabbitry::Marker;
        const Details full{"Oak", "1 Road", "Road", "555"};
        struct Case
        {
            const char *name;
            QStringList lines;
            QStringList rabbits;
            std::optional<Details> details; // nothing: an older list
        };
        const Case cases[] = {
            {"one empty line", {"a.rab", M, "Oak", "1 Road", "Road", "555", ""}, {"a.rab"}, full},
            {"blank lines", {M, "Oak", "1 Road", "Road", "555", "", " \t", "\r", ""}, {}, full},
            {"empty phone kept", {M, "Oak", "1 Road", "Road", "", ""}, {}, Details{"Oak", "1 Road", "Road", ""}},
            {"empty details kept", {M, "", "", "", "", ""}, {}, Details{}},
            {"older list", {"a.rab", "", "b.rab", "", "", "", ""}, {"a.rab", "", "b.rab", "", "", "", ""}, {}},
        };
        for (const Case &c : cases) {
            const LineFile file(c.lines);
            const Rabbitry::Record record = Rabbitry::parse(file, "x.rbty");
            QVERIFY2(record.rabbits == c.rabbits && record.details == c.details, c.name);
            QVERIFY2(Rabbitry::trailer(file) == c.details, c.name);
        }
        // Still misplaced: something after the blank lines, a cut-off trailer.
        for (const QStringList &lines : {QStringList{M, "Oak", "1 Road", "Road", "555", "", "b.rab"},
                                         QStringList{"a.rab", M, "Oak", "", ""}, QStringList{M, "", ""}}) {
            QVERIFY(!messageOf<RecordError>([&] { Rabbitry::parse(LineFile(lines), "x.rbty"); }).isEmpty());
            QVERIFY(!Rabbitry::trailer(LineFile(lines)));
        }
    }

    void misplacedMarkerIsRefused()
    {
        // A cut-off trailer, a trailer with lines after it, a second marker: read as a
        // list, the details would become rabbits and be lost at the next save.
        const QString message = QStringLiteral("\"%1\" is not a complete rabbitry file: \"-RabbitryInfo-\" must be "
                                               "followed by exactly four lines (name, address, abbreviated address, "
                                               "phone).");
        QCOMPARE(messageOf<RecordError>([] { Rabbitry::read(golden("cutoff.rbty")); }),
                 message.arg(QDir::toNativeSeparators(golden("cutoff.rbty"))));
        const QStringList bad[] = {
            {"-RabbitryInfo-", "Oak", "1 Road", "Road"},
            {"a.rab", "-RabbitryInfo-"},
            {"-RabbitryInfo-", "Oak", "1 Road", "Road", "555", "b.rab"},
            {"-RabbitryInfo-", "a.rab", "-RabbitryInfo-", "Oak", "1 Road", "Road", "555"},
        };
        for (const QStringList &lines : bad)
            QCOMPARE(messageOf<RecordError>([&] { Rabbitry::parse(LineFile(lines), "x.rbty"); }),
                     message.arg("x.rbty"));

        // The pedigree only takes a complete trailer and otherwise reads no details.
        QVERIFY(!Rabbitry::trailer(LineFile(bad[0])) && !Rabbitry::trailer(LineFile(bad[2])));
        QCOMPARE(Rabbitry::trailer(LineFile({"x", "-RabbitryInfo-", "N", "A", "B", "P"})),
                 (Details{"N", "A", "B", "P"}));
    }

    void savingRefusesWhatTheFileCannotHold()
    {
        // A line break would split one value into two lines and misplace the
        // marker; the earlier file stays as it was.
        QTemporaryDir dir;
        const QString path = dir.filePath("hutch.rbty");
        Rabbitry::write(path, {"a.rab"}, Lievres);
        const QByteArray before = TestFiles::readBytes(path);
        Details broken = Lievres;
        broken.address = "1 Road\nTown";
        QCOMPARE(messageOf<RecordError>([&] { Rabbitry::write(path, {"a.rab"}, broken); }),
                 "\"1 Road Town\" holds a line break and cannot be stored in a rabbitry file.");
        QVERIFY_THROWS_EXCEPTION(RecordError, Rabbitry::write(path, {"new\nline.rab"}, Lievres));
        QCOMPARE(TestFiles::readBytes(path), before);
    }

    void addRefusesListedPaths()
    {
        QStringList rabbits{"/r/b.rab"};
        QCOMPARE(Rabbitry::addRabbit(rabbits, "/r/b.rab"), Rabbitry::AddResult::AlreadyListed);
        QCOMPARE(Rabbitry::addRabbit(rabbits, "/r/B.rab"), Rabbitry::AddResult::Added); // case matters
        QCOMPARE(Rabbitry::addRabbit(rabbits, "/r/x\ny.rab"), Rabbitry::AddResult::CannotStore);

        // What Add says of refused files: the single Add's words, names for several,
        // and no endless box for a thousand.
        QStringList many;
        for (int i = 1; i <= 15; ++i)
            many.append(QStringLiteral("/r/%1.rab").arg(i));
        const QString listed = QStringLiteral("That rabbit is already in the rabbitry");
        QCOMPARE(Rabbitry::alreadyListedMessage({"/r/b.rab"}, 1), listed);
        QCOMPARE(Rabbitry::alreadyListedMessage({"/r/b.rab"}, 3), listed + ":\nb.rab");
        const QString cut = Rabbitry::alreadyListedMessage(many, 20);
        QVERIFY(cut.startsWith("These rabbits are already in the rabbitry:\n1.rab\n"));
        QVERIFY(cut.endsWith("\n12.rab\nand 3 more"));
        QCOMPARE(rabbits, QStringList({"/r/b.rab", "/r/B.rab"}));
    }

    void sortingForFileAndScreen()
    {
        // The file sorts by full path, the screen by file name, both ignoring case.
        const QStringList paths{"/z/a.rab", "/a/b.rab", "/m/A.rab", "/M/c.RAB", R"(C:\x\B.rab)"};
        QCOMPARE(Rabbitry::fileOrder(paths),
                 QStringList({"/a/b.rab", "/m/A.rab", "/M/c.RAB", "/z/a.rab", R"(C:\x\B.rab)"}));
        // Same name in two folders: the folder decides, so the order never depends on
        // the order of adding.
        QCOMPARE(Rabbitry::displayOrder(paths),
                 QStringList({"/m/A.rab", "/z/a.rab", "/a/b.rab", R"(C:\x\B.rab)", "/M/c.RAB"}));
        QCOMPARE(Rabbitry::displayName(R"(C:\x\B.rab)"), "B.rab");
    }

    void rabbitPreview()
    {
        using namespace Rabbitry;
        QTemporaryDir dir;
        const QMap<int, QString> values{{RabbitFile::RabbitName, "Clover"},
                                        {RabbitFile::OwnerName, "Ann"},
                                        {RabbitFile::EarNumber, "E7"},
                                        {RabbitFile::RegNumber, "R8"},
                                        {RabbitFile::Sex, "Doe"},
                                        {RabbitFile::Color, "Opal"},
                                        {RabbitFile::RabbitPicture, "/p/clover.jpg"},
                                        {RabbitFile::PedigreeLink, "/r/clover.ped"},
                                        {RabbitFile::BreedLink, "/r/clover.brd"},
                                        {RabbitFile::ShowLink, "/r/clover.shw"}};
        const RabbitPreview full = readPreview(TestFiles::writeRabbit(dir.filePath("full.rab"), values), asStored);
        QCOMPARE((QStringList{full.name, full.owner, full.ear, full.reg, full.sex, full.color, full.picture}),
                 (QStringList{"Clover", "Ann", "E7", "R8", "Doe", "Opal", "/p/clover.jpg"}));

        // Older files end before some link lines; each missing line is no link.
        const std::pair<int, QList<bool>> cases[] = {{72, {true, true, true}},
                                                     {71, {true, true, false}},
                                                     {70, {true, false, false}},
                                                     {55, {false, false, false}}};
        for (const auto &[count, present] : cases) {
            const RabbitPreview p = readPreview(TestFiles::writeRabbit(dir.filePath("r.rab"), values, count), asStored);
            QCOMPARE(p.name, "Clover");
            for (const RabbitLink link : {RabbitLink::Pedigree, RabbitLink::Breeding, RabbitLink::Show})
                QCOMPARE(p.hasLink(link), present[int(link)]);
        }
        // "None" in a link line is no link either.
        QVERIFY(
            !readPreview(TestFiles::writeRabbit(dir.filePath("new.rab"), {}), asStored).hasLink(RabbitLink::Pedigree));

        // Too short, or missing: nothing is returned, so the window blanks the preview.
        QCOMPARE(messageOf<LineIndexError>(
                     [&] { readPreview(TestFiles::writeRabbit(dir.filePath("short.rab"), values, 54), asStored); }),
                 "List index out of bounds (54)");
        QVERIFY_THROWS_EXCEPTION(FileError, readPreview(dir.filePath("gone.rab"), asStored));
    }
};

QTEST_GUILESS_MAIN(TestRabbitry)
#include "test_rabbitry.moc"
