#include "WindowFixture.h"
#include "TestFiles.h"
#include "genetics/ColorCombiner.h"
#include "genetics/CrossCalculation.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Genetics;

namespace {

// The genotypes of a rabbit file, lines 43-50 in file order (A, B, C, D, E, En, V, W).
using FileGenes = std::array<QString, 8>;

} // namespace

class TestColorCombiner : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void everyColorGeneticsCommandOpensAnEmptyCalculator();
    void parentsThatCannotBeCalculated();
    void parentsAreReadByLineAndKeptUntilCalculate();
    void shortFileStopsAtTheFirstMissingLine();

private:
    QString writeRabbit(const QString &file, const QString &name, const QString &color, const FileGenes &genes,
                        int keepLines = RabbitFile::LineCount);
    TColorCombiner *openFromMainWindow();
    void choose(TColorCombiner *window, const char *button, const std::optional<QString> &path);
    void calculate(TColorCombiner *window);
    QStringList texts(TColorCombiner *window, const QStringList &names);
    static QStringList parentLabels(const QString &who);

    std::unique_ptr<WindowFixture> m_fx;
};

void TestColorCombiner::init()
{
    m_fx = std::make_unique<WindowFixture>();
}

void TestColorCombiner::cleanup()
{
    QCOMPARE(m_fx->finish(), QStringList());
    m_fx.reset();
}

QString TestColorCombiner::writeRabbit(const QString &file, const QString &name, const QString &color,
                                       const FileGenes &genes, int keepLines)
{
    LineRecord record = RabbitFile::newRecord();
    record.setValue(RabbitFile::RabbitName, name);
    record.setValue(RabbitFile::Color, color);
    for (int i = 0; i < 8; ++i)
        record.setValue(RabbitFile::ASeries + i, genes[i]);
    const QString path = m_fx->path(file);
    LineFile(record.values().mid(0, keepLines)).write(path);
    return path;
}

TColorCombiner *TestColorCombiner::openFromMainWindow()
{
    m_fx->parent().findChild<QAction *>("MMGenetics")->trigger();
    return WindowRegistry::newest<TColorCombiner>();
}

void TestColorCombiner::choose(TColorCombiner *window, const char *button, const std::optional<QString> &path)
{
    m_fx->platform().expectFile(path);
    window->findChild<QToolButton *>(button)->click();
}

void TestColorCombiner::calculate(TColorCombiner *window)
{
    window->findChild<QPushButton *>("Calculate")->click();
}

QStringList TestColorCombiner::texts(TColorCombiner *window, const QStringList &names)
{
    QStringList result;
    for (const QString &name : names) {
        auto *label = window->findChild<QLabel *>(name);
        result.append(label ? label->text() : QStringLiteral("<no %1>").arg(name));
    }
    return result;
}

// Name, colour, then the eight series in the window's order (A, B, C, D, En, E, V, W).
QStringList TestColorCombiner::parentLabels(const QString &who)
{
    QStringList names = {who + "Name", who + "Color"};
    for (GeneSeries s : AllSeries)
        names.append(who == "Father" ? fatherLabel(s) : motherLabel(s));
    return names;
}

void TestColorCombiner::everyColorGeneticsCommandOpensAnEmptyCalculator()
{
    TColorCombiner *first = openFromMainWindow();
    QVERIFY(first);
    QCOMPARE(first->objectName(), QStringLiteral("ColorCombiner"));
    QCOMPARE(first->windowTitle(), QStringLiteral("Color Genetics"));
    QCOMPARE(first->size(), QSize(667, 522));
    QCOMPARE(m_fx->parent().mdiArea()->activeSubWindow(), first);
    QCOMPARE(texts(first, resultLabels()), QStringList(24));
    QCOMPARE(texts(first, parentLabels("Mother")).mid(2), QStringList(8));

    // While it is active, its own menus stand in the main window's menu bar.
    QMenuBar *bar = m_fx->parent().menuBar();
    QCOMPARE(bar->actions().size(), first->menus().size());
    QCOMPARE(bar->actions().first()->menu(), first->menus().first());
    QCOMPARE(first->menus().first()->actions().first()->text(), QStringLiteral("&Close"));

    // Its own Tools menu and a record window's open further calculators.
    first->findChild<QAction *>("ColorGenetics1")->trigger();
    TColorCombiner *second = WindowRegistry::newest<TColorCombiner>();
    QVERIFY(second != first);
    QCOMPARE(second->size(), QSize(667, 522));
    m_fx->parent().MMRabbitEditorClick();
    WindowRegistry::newest<TRabbitSheet>()->findChild<QAction *>("ColorGenetics1")->trigger();
    TColorCombiner *third = WindowRegistry::newest<TColorCombiner>();
    QVERIFY(third != second && third != first);
    QCOMPARE(m_fx->parent().mdiArea()->subWindowList().size(), 4);

    // Each window is its own: a father chosen in one is not in the others.
    const QString path = writeRabbit("buck.rab", "Buck", "Black", {"AA", "BB", "CC", "DD", "EE", "En En", "VV", "WW"});
    choose(second, "OpenFather", path);
    QCOMPARE(second->findChild<QLabel *>("FatherName")->text(), QStringLiteral("Buck"));
    QCOMPARE(first->findChild<QLabel *>("FatherName")->text().trimmed(), QString());

    // Closing asks nothing (the scripted platform fails on any question) and frees it.
    QPointer<TColorCombiner> guard(second);
    second->findChild<QAction *>("FileQuit")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
    QVERIFY(first->close());
}

void TestColorCombiner::parentsThatCannotBeCalculated()
{
    const QStringList cannot = [] {
        QStringList lines;
        for (GeneSeries s : AllSeries) {
            QStringList series(resultLabels(s).size());
            series[0] = CannotCalculate;
            lines += series;
        }
        return lines;
    }();

    // Before any parent is chosen.
    TColorCombiner *window = openFromMainWindow();
    calculate(window);
    QCOMPARE(texts(window, resultLabels()), cannot);

    // A father of exact genotypes, and the mother's dialog cancelled.
    const QString father =
        writeRabbit("father.rab", "Smokey", "Blue", {"Aa", "Bb", "Cc", "Dd", "Ee", "En en", "Vv", "Ww"});
    choose(window, "OpenFather", father);
    choose(window, "OpenMother", std::nullopt);
    QCOMPARE(texts(window, parentLabels("Mother")).mid(2), QStringList(8));
    calculate(window);
    QCOMPARE(texts(window, resultLabels()), cannot);

    // A rabbit whose genes were never set carries the placeholder in every series.
    TColorCombiner *fresh = openFromMainWindow();
    const QString blank = TestFiles::dataPath("rabbit/new.rab");
    choose(fresh, "OpenFather", blank);
    choose(fresh, "OpenMother", blank);
    QCOMPARE(texts(fresh, parentLabels("Father")).mid(2), QStringList(8, Placeholder));
    QCOMPARE(texts(fresh, parentLabels("Mother")).mid(2), QStringList(8, Placeholder));
    calculate(fresh);
    QCOMPARE(texts(fresh, resultLabels()), cannot);
}

void TestColorCombiner::parentsAreReadByLineAndKeptUntilCalculate()
{
    // E (line 47) and En (line 48) hold texts of their own series only, so a swap shows.
    const QString first =
        writeRabbit("first.rab", "Hazel Hill Smokey", "Blue", {"Aa", "Bb", "Cchd ch", "Dd", "Es e", "En en", "VV", "Ww"});
    const QString second =
        writeRabbit("second.rab", "Storm", "Broken Tort", {"aa", "bb", "cc", "dd", "ee", "en en", "vv", "ww"});
    const QString mother =
        writeRabbit("mother.rab", "Juniper", "Blue Tort", {"Aa", "Bb", "Cchl c", "dd", "ej e", "En en", "Vv", "Ww"});

    TColorCombiner *window = openFromMainWindow();
    choose(window, "OpenFather", first);
    choose(window, "OpenMother", mother);
    QCOMPARE(texts(window, parentLabels("Father")),
             QStringList({"Hazel Hill Smokey", "Blue", "Aa", "Bb", "Cchd ch", "Dd", "En en", "Es e", "VV", "Ww"}));
    QCOMPARE(texts(window, parentLabels("Mother")),
             QStringList({"Juniper", "Blue Tort", "Aa", "Bb", "Cchl c", "dd", "En en", "ej e", "Vv", "Ww"}));

    calculate(window);
    const QStringList firstResults = texts(window, resultLabels());
    QCOMPARE(firstResults, QStringList({"75% Agouti", "0% Tan", "25% Self",
                                        "75% Black", "25% Chocolate",
                                        "0% Full Color", "50% Dark Chinchilla", "25% Light Chinchilla",
                                        "25% Himilayan", "0% Albino",
                                        "50% Dilute", "50% Intense",
                                        "25% Charlie", "50% Broken", "25% Normal",
                                        "50% Steel", "0% Normal", "25% Japanese (Harlequin/Tri)", "25% Tort",
                                        "50% Normal", "50% Dutch", "0% Blue-Eyed White",
                                        "75% Normal", "25% Wide Band"}));

    // A second father replaces all ten of his labels; the results wait for Calculate.
    choose(window, "OpenFather", second);
    QCOMPARE(texts(window, parentLabels("Father")),
             QStringList({"Storm", "Broken Tort", "aa", "bb", "cc", "dd", "en en", "ee", "vv", "ww"}));
    QCOMPARE(texts(window, resultLabels()), firstResults);

    calculate(window);
    QCOMPARE(texts(window, resultLabels()),
             QStringList({"50% Agouti", "0% Tan", "50% Self",
                          "50% Black", "50% Chocolate",
                          "0% Full Color", "0% Dark Chinchilla", "50% Light Chinchilla", "0% Himilayan", "50% Albino",
                          "100% Dilute", "0% Intense",
                          "0% Charlie", "50% Broken", "50% Normal",
                          "0% Steel", "0% Normal", "50% Japanese (Harlequin/Tri)", "50% Tort",
                          "0% Normal", "50% Dutch", "50% Blue-Eyed White",
                          "50% Normal", "50% Wide Band"}));
}

void TestColorCombiner::shortFileStopsAtTheFirstMissingLine()
{
    const QString full = writeRabbit("full.rab", "Smokey", "Blue", {"Aa", "Bb", "Cc", "Dd", "Ee", "En en", "Vv", "Ww"});
    // Ends after line 47 (E): the window reads En (line 48) before E, so E is not
    // reached either.
    const QString upToE =
        writeRabbit("short.rab", "Pip", "Chocolate", {"aa", "bb", "cc", "dd", "ee", "", "", ""}, 48);
    const QString tiny = writeRabbit("tiny.rab", "Dot", "", {}, 5);

    TColorCombiner *window = openFromMainWindow();
    choose(window, "OpenFather", full);
    calculate(window);
    const QStringList results = texts(window, resultLabels());

    choose(window, "OpenFather", upToE);
    QStringList errors = m_fx->platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains("(48)"), qPrintable(errors.first()));
    QCOMPARE(texts(window, parentLabels("Father")),
             QStringList({"Pip", "Chocolate", "aa", "bb", "cc", "dd", "En en", "Ee", "Vv", "Ww"}));

    choose(window, "OpenFather", tiny);
    errors = m_fx->platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains("(7)"), qPrintable(errors.first()));
    QCOMPARE(texts(window, parentLabels("Father")).mid(0, 3), QStringList({"Dot", "Chocolate", "aa"}));
    QCOMPARE(texts(window, resultLabels()), results); // loading never calculates
}

QTEST_MAIN(TestColorCombiner)
#include "test_color_combiner.moc"
