#include "HerdFiles.h"
#include "TestFiles.h"
#include "herd/TestMating.h"
#include "records/RecordError.h"

#include <QDir>
#include <QTest>

#include <functional>

using Place = HerdFiles::Place;
using TestMating::Result;

namespace {

// Writes a herd and says which buck and doe to mate.
using Herd = std::function<std::pair<QString, QString>(HerdFiles &)>;

Result mate(HerdFiles &h, const QString &buck, const QString &doe)
{
    AncestorFiles files;
    return TestMating::mate(h.path(buck + ".rab"), h.path(doe + ".rab"), files);
}

// A line of rabbits, each the father of the next, ending at `last`; the mothers are
// unrelated. Returns the file of the rabbit at the end of the line.
QString lineDown(HerdFiles &h, const QString &prefix, QString father, int steps)
{
    for (int i = 1; i <= steps; ++i) {
        const QString dam = prefix + QStringLiteral("Dam%1").arg(i);
        h.rabbit(dam, dam, "Doe");
        const QString name = prefix + QString::number(i);
        h.rabbit(name, name, "Buck", father, dam + ".rab");
        father = name + ".rab";
    }
    return father;
}

} // namespace

class TestTestMating : public QObject
{
    Q_OBJECT

private slots:
    // Hand-computed: each pair of paths from the sire and the dam to a common ancestor
    // adds (1/2)^(n1+n2+1)(1 + F_A).
    void coefficients()
    {
        const std::tuple<const char *, Herd, double> cases[] = {
            {"unrelated",
             [](HerdFiles &h) {
                 for (const char *name : {"S1", "D1", "S2", "D2"})
                     h.rabbit(name, name, "Buck");
                 h.rabbit("Buck", "B", "Buck", "S1.rab", "D1.rab");
                 h.rabbit("Doe", "D", "Doe", "S2.rab", "D2.rab");
                 return std::pair{QString("Buck"), QString("Doe")};
             },
             0.0},
            {"half siblings: 1 + 1 steps to the shared father",
             [](HerdFiles &h) {
                 h.rabbit("Storm", "S1", "Buck");
                 h.rabbit("DamA", "A", "Doe");
                 h.rabbit("DamB", "B", "Doe");
                 h.rabbit("Buck", "B", "Buck", "Storm.rab", "DamA.rab");
                 h.rabbit("Doe", "D", "Doe", "Storm.rab", "DamB.rab");
                 return std::pair{QString("Buck"), QString("Doe")};
             },
             0.125},
            {"full siblings: two ancestors at 1 + 1 steps",
             [](HerdFiles &h) {
                 h.rabbit("Storm", "S1", "Buck");
                 h.rabbit("Mist", "M1", "Doe");
                 h.rabbit("Buck", "B", "Buck", "Storm.rab", "Mist.rab");
                 h.rabbit("Doe", "D", "Doe", "Storm.rab", "Mist.rab");
                 return std::pair{QString("Buck"), QString("Doe")};
             },
             0.25},
            {"a buck mated to his daughter: 0 + 1 steps",
             [](HerdFiles &h) {
                 h.rabbit("Mist", "M1", "Doe");
                 h.rabbit("Buck", "B", "Buck");
                 h.rabbit("Daughter", "D", "Doe", "Buck.rab", "Mist.rab");
                 return std::pair{QString("Buck"), QString("Daughter")};
             },
             0.25},
            {"a common ancestor four generations back: 3 + 3 steps",
             [](HerdFiles &h) {
                 h.rabbit("Old", "O1", "Buck");
                 h.rabbit("BuckDam", "BD", "Doe");
                 h.rabbit("DoeDam", "DD", "Doe");
                 h.rabbit("Buck", "B", "Buck", lineDown(h, "B", "Old.rab", 2), "BuckDam.rab");
                 h.rabbit("Doe", "D", "Doe", lineDown(h, "D", "Old.rab", 2), "DoeDam.rab");
                 return std::pair{QString("Buck"), QString("Doe")};
             },
             0.0078125},
            {"five generations back is beyond the pedigree",
             [](HerdFiles &h) {
                 h.rabbit("Old", "O1", "Buck");
                 h.rabbit("Buck", "B", "Buck", lineDown(h, "B", "Old.rab", 3));
                 h.rabbit("Doe", "D", "Doe", lineDown(h, "D", "Old.rab", 3));
                 return std::pair{QString("Buck"), QString("Doe")};
             },
             0.0},
            {"half siblings through an inbred father: (1/8)(1 + 1/8)",
             [](HerdFiles &h) {
                 h.rabbit("Zed", "Z", "Buck");
                 h.rabbit("P", "P", "Doe");
                 h.rabbit("Q", "Q", "Doe");
                 h.rabbit("X", "X", "Buck", "Zed.rab", "P.rab");
                 h.rabbit("Y", "Y", "Doe", "Zed.rab", "Q.rab");
                 h.rabbit("Ace", "A", "Buck", "X.rab", "Y.rab");
                 h.rabbit("Buck", "B", "Buck", "Ace.rab");
                 h.rabbit("Doe", "D", "Doe", "Ace.rab");
                 return std::pair{QString("Buck"), QString("Doe")};
             },
             0.140625},
        };
        for (const auto &[name, herd, expected] : cases) {
            HerdFiles h;
            const auto [buck, doe] = herd(h);
            const Result result = mate(h, buck, doe);
            QVERIFY2(result.coefficient == expected,
                     qPrintable(QStringLiteral("%1: %2").arg(name).arg(result.coefficient)));
            double shares = 0;
            for (const TestMating::CommonAncestor &ancestor : result.common)
                shares += ancestor.share;
            QVERIFY2(shares == expected, name);
            QVERIFY2(result.loops.isEmpty() && result.problems.isEmpty(), name);
        }
    }

    void textNamesCommonAncestorsAndCompleteness()
    {
        HerdFiles h;
        h.rabbit("Storm", "S1", "Buck");
        h.rabbit("DamA", "A", "Doe");
        h.rabbit("DamB", "B", "Doe");
        h.rabbit("Buck", "B", "Buck", "Storm.rab", "DamA.rab");
        h.rabbit("Doe", "D", "Doe", "Storm.rab", "DamB.rab");
        const Result result = mate(h, "Buck", "Doe");
        QCOMPARE(result.lines(),
                 (QStringList{"COI 12.50% over five generations", "",
                              "Common ancestors:", "Storm, ear S1: sire's sire, dam's sire (adds 12.50%)", "",
                              "2 of 2 parents known", "4 of 4 grandparents known", "0 of 8 great-grandparents known",
                              "0 of 16 great-great-grandparents known"}));
        QCOMPARE(result.completeness(), QStringLiteral("6 of 30 ancestors known"));
        QCOMPARE(TestMating::placeName(30), QStringLiteral("dam's dam's dam's dam"));
        QCOMPARE(TestMating::placeName(15), QStringLiteral("sire's sire's sire's sire"));
    }

    // The buck's father is linked; the doe's stands unlinked on her pedigree chart.
    // Check Inbreeding's rules: linked to linked by file, else by name and ear.
    void linkedAndUnlinkedIdentity()
    {
        const QString none = QStringLiteral("None");
        // case, the doe's father on her chart, the coefficient, whether he counts as known
        const std::tuple<const char *, std::function<Place(HerdFiles &)>, double, bool> cases[] = {
            {"name and ear agree in any case and spacing",
             [&](HerdFiles &) {
                 return Place{"  sTORM ", " s1", none};
             },
             0.125, true},
            {"another ear",
             [&](HerdFiles &) {
                 return Place{"Storm", "S2", none};
             },
             0.0, true},
            {"the same file spelled another way, whatever the chart's name",
             [&](HerdFiles &h) {
                 return Place{"Someone", "X", h.path("sub/../Storm.rab")};
             },
             0.125, true},
            {"both linked, to two files with one name",
             [&](HerdFiles &h) {
                 h.rabbit("Storm2", "S1", "Buck", none, none, {{0, "Storm"}});
                 return Place{"Storm", "S1", h.path("Storm2.rab")};
             },
             0.0, true},
            {"placeholders never match",
             [&](HerdFiles &) {
                 return Place{QString(27, u'_'), "S1", none};
             },
             0.0, false},
        };
        for (const auto &[name, place, expected, known] : cases) {
            HerdFiles h;
            QDir().mkpath(h.path("sub"));
            h.rabbit("Storm", "S1", "Buck");
            h.rabbit("Buck", "B", "Buck", "Storm.rab");
            h.pedigree("doe.ped", {{21, place(h)}});
            h.rabbit("Doe", "D", "Doe", none, none, {{69, h.path("doe.ped")}});
            const Result result = mate(h, "Buck", "Doe");
            QVERIFY2(result.coefficient == expected, name);
            QVERIFY2(result.places[TestMating::Dam * 2 + 1].known == known, name);
        }
    }

    void loopsAreReportedByNameAndNotFollowed()
    {
        HerdFiles h;
        h.rabbit("Ring", "R", "Buck", "Buck.rab");
        h.rabbit("Buck", "B", "Buck", "Ring.rab");
        h.rabbit("Solo", "S", "Doe", "None", "Solo.rab");
        const Result result = mate(h, "Buck", "Solo");
        QCOMPARE(
            result.loops,
            (QStringList{"Buck is listed as its own ancestor (the father link of Ring); that link is not followed.",
                         "Solo is listed as its own ancestor (the mother link of Solo); that link is not followed."}));
        QCOMPARE(result.places[3].name, QStringLiteral("Ring"));
        QVERIFY(!result.places[7].known);
        QVERIFY(!result.places[6].known);
        QCOMPARE(result.coefficient, 0.0);
        QVERIFY(result.lines().contains("Loops in the links:"));
    }

    // The buck's father file is gone: his chart names the father and goes on above
    // him, where the doe's father stands.
    void missingFileInTheMiddleOfALine()
    {
        HerdFiles h;
        h.rabbit("Aster", "A1", "Buck");
        const QString gone = h.path("Gone.rab");
        h.pedigree("buck.ped", {{21, Place{"Gone", "G1", gone}}, {31, Place{"Aster", "A1", h.path("Aster.rab")}}});
        h.rabbit("Buck", "B", "Buck", "Gone.rab", "None", {{69, h.path("buck.ped")}});
        h.rabbit("Doe", "D", "Doe", "Aster.rab");
        const Result result = mate(h, "Buck", "Doe");
        QCOMPARE(result.coefficient, 0.0625); // 2 + 1 steps
        QCOMPARE(result.places[3].name, QStringLiteral("Gone"));
        QCOMPARE(result.places[3].ear, QStringLiteral("G1"));
        QCOMPARE(result.places[7].name, QStringLiteral("Aster"));
        QCOMPARE(result.problems.size(), 1);
        QVERIFY2(result.problems[0].contains(QDir::toNativeSeparators(gone)), qPrintable(result.problems[0]));

        // With no chart, the father's name from the rabbit file still counts as known
        // but matches nobody: there is no ear to compare.
        HerdFiles bare;
        bare.rabbit("Storm", "S1", "Buck");
        bare.rabbit("Buck", "B", "Buck", "Storm.rab");
        bare.rabbit("Doe", "D", "Doe", "None", "None", {{9, "Storm"}});
        const Result byName = mate(bare, "Buck", "Doe");
        QVERIFY(byName.places[5].known);
        QCOMPARE(byName.coefficient, 0.0);
    }

    void theBuckAndTheDoeMustBeReadable()
    {
        HerdFiles h;
        h.rabbit("Doe", "D", "Doe");
        QDir().mkpath(h.path("sub"));
        AncestorFiles files;
        const QString missing = h.path("Nobody.rab");
        QVERIFY(TestFiles::messageOf<RecordError>([&] {
                    TestMating::mate(missing, h.path("Doe.rab"), files);
                }).contains(QDir::toNativeSeparators(missing)));
        QVERIFY(TestFiles::messageOf<RecordError>([&] {
                    TestMating::mate(h.path("Doe.rab"), h.path("sub/../Doe.rab"), files);
                }).contains("both the buck and the doe"));
    }

    void rankBucksLowestFirstThenMostComplete()
    {
        HerdFiles h;
        for (const char *name : {"Storm", "Mist", "Sire1", "Dam1", "Other"})
            h.rabbit(name, name, "Buck");
        h.rabbit("Doe", "D", "Doe", "Storm.rab", "Mist.rab");
        h.rabbit("Unrelated", "U", "Buck", "Sire1.rab", "Dam1.rab");
        h.rabbit("HalfBrother", "H", "Buck", "Storm.rab", "Other.rab");
        h.rabbit("Empty", "E", "Buck");
        const QStringList bucks{h.path("HalfBrother.rab"), h.path("Empty.rab"), h.path("Nope.rab"), h.path("Doe.rab"),
                                h.path("Unrelated.rab")};
        AncestorFiles files;
        const QList<TestMating::Ranked> ranked = TestMating::rankBucks(h.path("Doe.rab"), bucks, files);
        QStringList shown;
        for (const TestMating::Ranked &r : ranked)
            shown.append(QStringLiteral("%1 %2 %3").arg(r.name).arg(r.coefficient).arg(r.completeness()));
        QCOMPARE(shown,
                 (QStringList{"Unrelated 0 6 of 30 ancestors known", "Empty 0 4 of 30 ancestors known",
                              "HalfBrother 0.125 6 of 30 ancestors known", "Nope.rab 0 0 of 30 ancestors known"}));
        QVERIFY(ranked.last().error.contains("Nope.rab"));

        // Ten files (the missing one tried once), each read once; ranking again reads none.
        QCOMPARE(files.filesRead(), 10);
        TestMating::rankBucks(h.path("Doe.rab"), bucks, files);
        QCOMPARE(files.filesRead(), 10);

        const std::atomic<bool> cancelled{true};
        QVERIFY(TestMating::rankBucks(h.path("Doe.rab"), bucks, files, &cancelled).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTestMating)
#include "test_test_mating.moc"
