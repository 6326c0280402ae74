#include "WindowFixture.h"
#include "pedigree/Inbreeding.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "shell/HiddenPrint.h"
#include "shell/SheetWidgets.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollArea>
#include <QTest>

using namespace PedigreeFile;
using Answer = Platform::Answer;
// Position -> the position whose rabbit stands there too.
using SameAs = QMap<int, int>;
using Codes = QList<int>;

namespace {

void setRabbit(LineRecord &chart, int code, const QString &name, const QString &ear, const QString &link)
{
    const Position *p = positionByCode(code);
    chart.setValue(p->line(ChartField::Name), name);
    chart.setValue(p->line(ChartField::Ear), ear);
    chart.setValue(p->linkLine, link);
}

// A chart of fifteen different, unlinked rabbits, then the positions of `sameAs`
// given the name, ear and link of another position.
LineRecord chartOf(const SameAs &sameAs)
{
    LineRecord chart = newRecord();
    for (const Position &p : positions())
        setRabbit(chart, p.code, QStringLiteral("Rabbit %1").arg(p.code), QStringLiteral("E%1").arg(p.code),
                  QStringLiteral("None"));
    for (auto it = sameAs.cbegin(); it != sameAs.cend(); ++it) {
        const Position *from = positionByCode(it.value());
        setRabbit(chart, it.key(), chart.value(from->line(ChartField::Name)), chart.value(from->line(ChartField::Ear)),
                  chart.value(from->linkLine));
    }
    return chart;
}

QImage rendered(const QPicture &picture, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPicture(0, 0, picture);
    return image;
}

} // namespace

class TestInbreeding : public QObject
{
    Q_OBJECT

private slots:
    // Hand-computed: each pair of paths adds (1/2)^(n1+n2+1)(1+F_A), n counted from
    // the sire and from the dam. The share of every repeated ancestor adds up to the figure.
    void coefficient()
    {
        // Half siblings share their father: one pair of paths, 1 + 1 + 1 steps; his own
        // parents stand on both sides too, but every way to them passes him. Repeated on
        // one side only, the sire is inbred, not the bunny. Last, the sire is the dam's
        // father (0 + 1 steps) and inbred by 1/8 himself: (1/2)^2 (1 + 1/8).
        const std::pair<SameAs, double> cases[] = {{{}, 0.0},
                                                   {{{33, 31}, {45, 41}, {46, 42}}, 0.125},
                                                   {{{33, 31}, {34, 32}, {45, 41}, {46, 42}, {47, 43}, {48, 44}}, 0.25},
                                                   {{{34, 31}}, 0.125},
                                                   {{{43, 41}}, 0.0},
                                                   {{{33, 21}, {45, 31}, {46, 32}, {43, 41}}, 0.28125}};
        for (const auto &[sameAs, expected] : cases) {
            const Inbreeding::Result result = Inbreeding::compute(chartOf(sameAs));
            QCOMPARE(result.coefficient, expected);
            double shares = 0;
            for (const Inbreeding::RepeatedAncestor &ancestor : result.repeated)
                shares += ancestor.contribution;
            QCOMPARE(shares, expected);
        }
    }

    // Positions 31 and 33 by name, ear and link: unlinked, name and ear agree in any
    // case and spacing; one file, however spelled, is one rabbit; placeholder or emptied
    // names never match, nor do empty links.
    void sameRabbit()
    {
        const QString none = QStringLiteral("None"), name27(27, u'_'), emptied(27, u' ');
        const std::tuple<QStringList, QStringList, bool> cases[] = {
            {{"Blaze", "B12", none}, {"  bLAZE ", " b12", none}, true},
            {{"Blaze", "B12", none}, {"Blaze", "B13", none}, false},
            {{"A", "1", "/herd/x/../blaze.rab"}, {"B", "2", "/herd//blaze.rab"}, true},
            {{"Blaze", "B12", "/herd/blaze.rab"}, {"Blaze", "B12", "/other/blaze.rab"}, false},
            {{name27, "B12", none}, {name27, "B12", none}, false},
            {{emptied, "B12", none}, {emptied, "B12", none}, false},
            {{"Blaze", "B12", ""}, {"Storm", "S1", " "}, false}};
        for (const auto &[sire, damSire, same] : cases) {
            LineRecord chart = chartOf({});
            setRabbit(chart, 31, sire[0], sire[1], sire[2]);
            setRabbit(chart, 33, damSire[0], damSire[1], damSire[2]);
            QCOMPARE(Inbreeding::sameRabbit(chart, 31, 33), same);
            QCOMPARE(Inbreeding::sameRabbit(chart, 33, 31), same);
            QCOMPARE(Inbreeding::compute(chart).coefficient, same ? 0.125 : 0.0);
            QVERIFY(!Inbreeding::sameRabbit(chart, 31, 99));
        }
    }

    void placeholdersNeverMatch()
    {
        // A new chart: fourteen ancestors all holding the same placeholders.
        const Inbreeding::Result result = Inbreeding::compute(newRecord());
        QCOMPARE(Inbreeding::report(result), QStringLiteral("COI 0.00% over four generations\n\n"
                                                            "No rabbit stands more than once on the chart."));
    }

    void reportNamesAncestorsAndPlaces()
    {
        LineRecord chart = chartOf({{33, 31}, {45, 41}, {46, 42}});
        // The one who adds to the figure comes first; a long name is cut.
        setRabbit(chart, 41, QString(500, u'x'), QStringLiteral("G1"), QStringLiteral("None"));
        setRabbit(chart, 45, QString(500, u'X'), QStringLiteral("g1"), QStringLiteral("None"));
        const Inbreeding::Result result = Inbreeding::compute(chart);
        QCOMPARE(result.repeatedPositions(), (Codes{31, 33, 41, 42, 45, 46}));
        QCOMPARE(Inbreeding::summary(result), QStringLiteral("COI 12.50% over four generations"));
        const QStringList lines = Inbreeding::report(result).split(u'\n');
        QCOMPARE(lines.mid(0, 4), (QStringList{"COI 12.50% over four generations", "", "Repeated ancestors:",
                                               "Rabbit 31, ear E31: sire's sire, dam's sire (adds 12.50%)"}));
        QCOMPARE(lines[4], QString(40, u'x') +
                               QStringLiteral("\u2026, ear G1: sire's sire's sire, dam's sire's sire (adds nothing)"));
        QCOMPARE(lines[5], QStringLiteral("Rabbit 42, ear E42: sire's sire's dam, dam's sire's dam (adds nothing)"));
    }

    // The window: the check tints the repeated ancestors' places on screen only, and
    // the tint goes with the next edit or load.
    void windowTintsUntilTheRecordChanges()
    {
        WindowFixture fx;
        TMainScreen *chart = fx.newChart();
        chart->fillFrom(chartOf({{33, 31}, {45, 41}, {46, 42}}));
        chart->setModified(false);
        auto *scroll = chart->findChild<QScrollArea *>("SheetScroll");
        const QPicture printedBefore = THiddenPrint::capture(chart->sheet());
        const QPoint onSire = chart->field("SireTwoOneEar")->geometry().center();
        const QRgb screenBefore = scroll->viewport()->grab().toImage().pixel(onSire);

        const QString report = Inbreeding::report(Inbreeding::compute(chart->record()));
        QVERIFY(report.startsWith("COI 12.50% over four generations\n"));
        fx.platform().expectQuestion(report, Answer::Ok);
        Input::chooseFromMenuBar(chart, "Pedigree1", "CheckInbreeding");
        QVERIFY(fx.platform().allAnswered());
        QCOMPARE(chart->tintedPositions(), (Codes{31, 33, 41, 42, 45, 46}));
        // On screen the sire's sire is tinted; the page as printed is not.
        QVERIFY(scroll->viewport()->grab().toImage().pixel(onSire) != screenBefore);
        const QSize size = chart->sheet()->size();
        QCOMPARE(rendered(THiddenPrint::capture(chart->sheet()), size), rendered(printedBefore, size));

        // An edit clears the tint.
        Input::chooseFromMenuBar(chart, "View1", "ViewGridlines");
        QCOMPARE(chart->tintedPositions(), Codes());
        QCOMPARE(scroll->viewport()->grab().toImage().pixel(onSire), screenBefore);

        // So does a load.
        const QString path = fx.path("half.ped");
        chart->saveFile(path);
        fx.platform().expectQuestion(report, Answer::Ok);
        Input::chooseFromMenuBar(chart, "Pedigree1", "CheckInbreeding");
        QCOMPARE(chart->tintedPositions(), (Codes{31, 33, 41, 42, 45, 46}));
        chart->loadFile(path);
        QCOMPARE(chart->tintedPositions(), Codes());
        QCOMPARE(fx.finish(), QStringList());
    }
};

QTEST_MAIN(TestInbreeding)
#include "test_inbreeding.moc"
