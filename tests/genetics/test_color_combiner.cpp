#include "TestFiles.h"
#include "WindowFixture.h"
#include "genetics/ColorCombiner.h"
#include "genetics/CrossCalculation.h"
#include "rabbit/RabbitFormat.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace Genetics;

namespace {

QStringList texts(TColorCombiner *window, const QStringList &names)
{
    QStringList result;
    for (const QString &name : names) {
        auto *label = window->findChild<QLabel *>(name);
        result.append(label ? label->text() : QStringLiteral("<no %1>").arg(name));
    }
    return result;
}

// Name, colour, then the eight series in the window's order (A, B, C, D, En, E, V, W).
QStringList parentLabels(const QString &who)
{
    QStringList names = {who + "Name", who + "Color"};
    for (GeneSeries s : AllSeries)
        names.append(who == "Father" ? fatherLabel(s) : motherLabel(s));
    return names;
}

void calculate(TColorCombiner *window)
{
    window->findChild<QPushButton *>("Calculate")->click();
}

} // namespace

class TestColorCombiner : public WindowTest
{
    Q_OBJECT
private slots:

    void parentsAreReadByLineAndKeptUntilCalculate();
    void cannotCalculateSaysWhyInItsTooltip();

private:
    // The genes are lines 43-50 in file order (A, B, C, D, E, En, V, W).
    QString writeRabbit(const QString &file, const QString &name, const QString &color,
                        const std::array<QString, 8> &genes, int keepLines = RabbitFile::LineCount)
    {
        QMap<int, QString> values{{RabbitFile::RabbitName, name}, {RabbitFile::Color, color}};
        for (int i = 0; i < 8; ++i)
            values[RabbitFile::ASeries + i] = genes[i];
        return TestFiles::writeRabbit(m_fx->path(file), values, keepLines);
    }
    void choose(TColorCombiner *window, const char *button, const std::optional<QString> &path)
    {
        m_fx->platform().expectFile(path);
        window->findChild<QToolButton *>(button)->click();
    }

};

void TestColorCombiner::parentsAreReadByLineAndKeptUntilCalculate()
{
    // Before any parent is chosen, and with a father but the mother's dialog
    // cancelled, every series shows "Cannot Calculate" on its first line.
    QStringList cannot;
    for (GeneSeries s : AllSeries)
        cannot += QStringList{CannotCalculate} + QStringList(resultLabels(s).size() - 1);
    m_fx->parent().findChild<QAction *>("MMGenetics")->trigger();
    TColorCombiner *window = WindowRegistry::newest<TColorCombiner>();
    calculate(window);
    QCOMPARE(texts(window, resultLabels()), cannot);

    // E (line 47) and En (line 48) hold texts of their own series only, so a swap shows.
    choose(window, "OpenFather",
           writeRabbit("first.rab", "Hazel Hill Smokey", "Blue",
                       {"Aa", "Bb", "Cchd ch", "Dd", "Es e", "En en", "VV", "Ww"}));
    choose(window, "OpenMother", std::nullopt);
    QCOMPARE(texts(window, parentLabels("Mother")), QStringList({" ", " "}) + QStringList(8));
    calculate(window);
    QCOMPARE(texts(window, resultLabels()), cannot);

    choose(
        window, "OpenMother",
        writeRabbit("mother.rab", "Juniper", "Blue Tort", {"Aa", "Bb", "Cchl c", "dd", "ej e", "En en", "Vv", "Ww"}));
    QCOMPARE(texts(window, parentLabels("Father")),
             QStringList({"Hazel Hill Smokey", "Blue", "Aa", "Bb", "Cchd ch", "Dd", "En en", "Es e", "VV", "Ww"}));
    QCOMPARE(texts(window, parentLabels("Mother")),
             QStringList({"Juniper", "Blue Tort", "Aa", "Bb", "Cchl c", "dd", "En en", "ej e", "Vv", "Ww"}));
    calculate(window);
    // The results are the calculation's (checked against Mendel in test_genetics), in
    // the window's series order, parents taken in file order.
    const QStringList firstResults = texts(window, resultLabels());
    QCOMPARE(firstResults, calculateCross({"Aa", "Bb", "Cchd ch", "Dd", "En en", "Es e", "VV", "Ww"},
                                          {"Aa", "Bb", "Cchl c", "dd", "En en", "ej e", "Vv", "Ww"})
                               .allLines());
    QCOMPARE(firstResults.mid(12, 7), QStringList({"25% Charlie", "50% Broken", "25% Normal", "50% Steel", "0% Normal",
                                                   "25% Japanese (Harlequin/Tri)", "25% Tort"}));

    // The window reads En (line 48) before E (line 47): a file ending after line 47
    // stops at En with an error, E is not reached either, and the labels set before
    // it keep their new texts. The results wait for Calculate.
    choose(window, "OpenFather", writeRabbit("short.rab", "Pip", "Chocolate", {"Aa", "bb", "Cc", "Dd", "Ee"}, 48));
    QCOMPARE(m_fx->platform().takeErrors(), QStringList{"List index out of bounds (48)"});
    QCOMPARE(texts(window, parentLabels("Father")),
             QStringList({"Pip", "Chocolate", "Aa", "bb", "Cc", "Dd", "En en", "Es e", "VV", "Ww"}));
    QCOMPARE(texts(window, resultLabels()), firstResults);
}

// The label keeps its text; resting the pointer on it says which parent's series
// holds no single genotype. A later cross that can be calculated leaves no reason.
// A name too long for the window shows whole in its tooltip.
void TestColorCombiner::cannotCalculateSaysWhyInItsTooltip()
{
    m_fx->parent().findChild<QAction *>("MMGenetics")->trigger();
    TColorCombiner *window = WindowRegistry::newest<TColorCombiner>();
    const QString longName = "Grand Champion Hazel Hill Smokey Blue of the Upper Meadow Rabbitry, Third of the Line";
    const std::array<QString, 8> genes = {"Aa", "BB or Bb", "Cc", "Dd", "Ee", "En en", "VV", "Ww"};
    choose(window, "OpenFather", writeRabbit("father.rab", longName, "Blue", genes));
    choose(window, "OpenMother",
           writeRabbit("mother.rab", "Juniper", "Blue", {"Aa", "bb", "Cc", "_________", "Ee", "En en", "VV", "Ww"}));
    QVERIFY(window->label("FatherName")->toolTip().contains(longName));
    calculate(window);

    const auto tip = [&](const char *name) { return window->label(name)->toolTip(); };
    QCOMPARE(window->label("KidB1")->text(), CannotCalculate);
    QVERIFY2(tip("KidB1").contains("Father, Color Base: 'BB or Bb' is two genotypes; choose one to calculate"),
             qPrintable(tip("KidB1")));
    QVERIFY2(tip("KidD1").contains("Mother, Dilution: not set") && !tip("KidD1").contains("Father"),
             qPrintable(tip("KidD1")));
    QCOMPARE(tip("KidA1"), QString());

    std::array<QString, 8> chosen = genes;
    chosen[1] = "Bb";
    choose(window, "OpenFather", writeRabbit("father2.rab", "Smokey", "Blue", chosen));
    calculate(window);
    QCOMPARE(window->label("KidB1")->text(), "50% Black");
    QCOMPARE(tip("KidB1"), QString());
    QVERIFY(tip("KidD1").contains("Mother, Dilution: not set"));
}

QTEST_MAIN(TestColorCombiner)
#include "test_color_combiner.moc"
