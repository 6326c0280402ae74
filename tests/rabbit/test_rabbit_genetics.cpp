#include "WindowFixture.h"
#include "TestFiles.h"
#include "genetics/GeneTables.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The Set Genetics panel of the rabbit sheet.
class TestRabbitGenetics : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void panelOffersTheSeriesOfItsLabel();
    void okStoresTheHighlightedEntry();
    void effectLineFollowsTheHighlight();
    void freeTextInASeriesIsKept();
    void cancelHidesBothPanels();
    void eachPanelWritesToTheLabelItShows();

private:
    TRabbitSheet *newSheet();
    QStringList entries() const;
    void highlight(const QString &text);
    void useMenu(ValueLabel *label, const QString &entry);

    QWidget *genePanel() const { return m_sheet->findChild<QWidget *>("GeneticsChangePanel"); }
    QWidget *textPanel() const { return m_sheet->findChild<QWidget *>("TextChangePanel"); }
    QListWidget *list() const { return m_sheet->findChild<QListWidget *>("GeneSelect"); }
    QString effect() const { return m_sheet->findChild<QLabel *>("ColorEffect")->text(); }
    void clickButton(const char *name) { m_sheet->findChild<QPushButton *>(name)->click(); }
    ValueLabel *field(const char *name) const { return m_sheet->field(QString::fromLatin1(name)); }

    std::unique_ptr<WindowFixture> m_fx;
    TRabbitSheet *m_sheet = nullptr;
};

void TestRabbitGenetics::init()
{
    m_fx = std::make_unique<WindowFixture>();
    m_sheet = newSheet();
}

void TestRabbitGenetics::cleanup()
{
    QCOMPARE(m_fx->finish(), QStringList());
    m_fx.reset();
}

TRabbitSheet *TestRabbitGenetics::newSheet()
{
    m_fx->parent().MMRabbitEditorClick();
    return WindowRegistry::newest<TRabbitSheet>();
}

QStringList TestRabbitGenetics::entries() const
{
    QStringList texts;
    for (int i = 0; i < list()->count(); ++i)
        texts.append(list()->item(i)->text());
    return texts;
}

void TestRabbitGenetics::highlight(const QString &text)
{
    const QList<QListWidgetItem *> found = list()->findItems(text, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    list()->scrollToItem(found.first());
    const QRect at = list()->visualItemRect(found.first());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at.center());
}

void TestRabbitGenetics::useMenu(ValueLabel *label, const QString &entry)
{
    QTest::mouseClick(label, Qt::RightButton);
    auto *menu = m_sheet->findChild<QMenu *>("GeneticPopUp");
    QVERIFY(menu->isVisible());
    for (QAction *action : menu->actions()) {
        if (action->text() == entry) {
            menu->hide();
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable("no menu entry " + entry));
}

void TestRabbitGenetics::panelOffersTheSeriesOfItsLabel()
{
    QTest::mouseClick(field("CSeries"), Qt::LeftButton);
    QVERIFY(genePanel()->isVisible());
    QCOMPARE(genePanel()->size(), QSize(337, 281));
    QCOMPARE(list()->count(), 21);

    // Another series while the panel is open: exactly its own list, from the placeholder.
    QTest::mouseClick(field("ASeries"), Qt::LeftButton);
    QCOMPARE(entries(), QStringList({"_________", "AA", "A at", "Aa", "AA, A at, or Aa", "at at", "at a",
                                     "at at or at a", "aa"}));
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(effect(), QStringLiteral("Unknown"));
    QCOMPARE(m_sheet->currentLabel(), field("ASeries"));
    QVERIFY(!textPanel()->isVisible());

    // "Set Genetics" in the series menu opens the panel too; "Change Text" the text panel.
    useMenu(field("BrokenSeries"), "Set Genetics");
    QCOMPARE(entries(), QStringList({"_________", "En En", "En en", "en en"}));
    QCOMPARE(m_sheet->currentLabel(), field("BrokenSeries"));
    useMenu(field("ESeries"), "Change Text");
    QVERIFY(textPanel()->isVisible());
    QCOMPARE(m_sheet->findChild<QLineEdit *>("TextEdit")->text(), QStringLiteral("_________"));
    QVERIFY(!m_sheet->isModified());
}

void TestRabbitGenetics::okStoresTheHighlightedEntry()
{
    const QString source = m_fx->path("filled.rab");
    TestFiles::writeBytes(source, TestFiles::readBytes(TestFiles::dataPath("rabbit/filled.rab")));
    m_sheet->loadFile(source);
    QCOMPARE(field("ASeries")->text(), QStringLiteral("A at"));

    // Ok without moving stores the placeholder: the series is cleared.
    QTest::mouseClick(field("ASeries"), Qt::LeftButton);
    clickButton("GeneOK");
    QCOMPARE(field("ASeries")->text(), QStringLiteral("_________"));
    QVERIFY(m_sheet->isModified());
    QVERIFY(!genePanel()->isVisible());
    QCOMPARE(m_sheet->currentLabel(), nullptr);

    // A grouped choice is stored as it stands and goes to line 43.
    QTest::mouseClick(field("ASeries"), Qt::LeftButton);
    highlight("AA, A at, or Aa");
    clickButton("GeneOK");
    QCOMPARE(field("ASeries")->text(), QStringLiteral("AA, A at, or Aa"));

    // A double-click stores the entry, and so does Enter in the list.
    QTest::mouseClick(field("DSeries"), Qt::LeftButton);
    const QRect dd = list()->visualItemRect(list()->findItems("DD or Dd", Qt::MatchExactly).first());
    // A real double-click: the first click, then the second reported as a double.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, dd.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, dd.center());
    QCOMPARE(field("DSeries")->text(), QStringLiteral("DD or Dd"));
    QVERIFY(!genePanel()->isVisible());
    QTest::mouseClick(field("VSeries"), Qt::LeftButton);
    QTest::keyClick(list(), Qt::Key_End);
    QTest::keyClick(list(), Qt::Key_Return);
    QCOMPARE(field("VSeries")->text(), QStringLiteral("vv"));

    const QString saved = m_fx->path("saved.rab");
    m_sheet->saveFile(saved);
    const LineFile lines = LineFile::read(saved);
    QCOMPARE(lines.at(43), QStringLiteral("AA, A at, or Aa"));
    QCOMPARE(lines.at(46), QStringLiteral("DD or Dd"));
    QCOMPARE(lines.at(49), QStringLiteral("vv"));
    TRabbitSheet *again = newSheet();
    again->loadFile(saved);
    QCOMPARE(again->field("ASeries")->text(), QStringLiteral("AA, A at, or Aa"));
}

void TestRabbitGenetics::effectLineFollowsTheHighlight()
{
    QTest::mouseClick(field("VSeries"), Qt::LeftButton);
    highlight("VV");
    QCOMPARE(effect(), QStringLiteral("Vienna White: No effect ")); // the blank is part of it
    QTest::keyClick(list(), Qt::Key_Down); // the keyboard moves the highlight too
    QCOMPARE(effect(), QStringLiteral("Vienna White: Dutch"));

    QTest::mouseClick(field("CSeries"), Qt::LeftButton);
    QCOMPARE(effect(), QStringLiteral("Unknown"));
    highlight("Cchl C chl, Cchl ch, or Cchl c");
    QCOMPARE(effect(), QStringLiteral("C Series: Light Chinchilla"));
    highlight("_________");
    QCOMPARE(effect(), QStringLiteral("Unknown"));

    // Esc closes the panel and changes nothing.
    QTest::keyClick(list(), Qt::Key_Escape);
    QVERIFY(!genePanel()->isVisible());
    QCOMPARE(field("CSeries")->text(), QStringLiteral("_________"));
    QVERIFY(!m_sheet->isModified());
}

void TestRabbitGenetics::freeTextInASeriesIsKept()
{
    const QString typed = QStringLiteral("ww? (sire unknown)");
    useMenu(field("WSeries"), "Change Text");
    m_sheet->findChild<QLineEdit *>("TextEdit")->setText(typed);
    clickButton("TextOk");
    QCOMPARE(field("WSeries")->text(), typed);

    const QString path = m_fx->path("typed.rab");
    m_sheet->saveFile(path);
    QCOMPARE(LineFile::read(path).at(50), typed);
    TRabbitSheet *again = newSheet();
    again->loadFile(path);
    QCOMPARE(again->field("WSeries")->text(), typed);

    // The panel does not look for the label's value: it starts at the placeholder.
    m_sheet = again;
    QTest::mouseClick(field("WSeries"), Qt::LeftButton);
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(list()->currentItem()->text(), QStringLiteral("_________"));
    QCOMPARE(effect(), QStringLiteral("Unknown"));
}

void TestRabbitGenetics::cancelHidesBothPanels()
{
    // The genetics panel's Cancel closes the text panel as well.
    QTest::mouseClick(field("Breed"), Qt::LeftButton);
    QTest::mouseClick(field("ASeries"), Qt::LeftButton);
    QVERIFY(textPanel()->isVisible());
    QVERIFY(genePanel()->isVisible());
    highlight("aa");
    clickButton("GeneCancel");
    QVERIFY(!genePanel()->isVisible());
    QVERIFY(!textPanel()->isVisible());
    QCOMPARE(m_sheet->currentLabel(), nullptr);
    QCOMPARE(field("ASeries")->text(), QStringLiteral("_________"));

    // And the text panel's Cancel closes the genetics panel.
    QTest::mouseClick(field("BSeries"), Qt::LeftButton);
    QTest::mouseClick(field("Color"), Qt::LeftButton);
    QVERIFY(genePanel()->isVisible());
    clickButton("TextCancel");
    QVERIFY(!genePanel()->isVisible());
    QVERIFY(!textPanel()->isVisible());
    QVERIFY(!m_sheet->isModified());
}

void TestRabbitGenetics::eachPanelWritesToTheLabelItShows()
{
    const QString breed = field("Breed")->text();

    // Text panel on the breed, then the genetics panel on a series: each Ok goes to
    // its own value.
    QTest::mouseClick(field("Breed"), Qt::LeftButton);
    QTest::mouseClick(field("ASeries"), Qt::LeftButton);
    highlight("aa");
    clickButton("GeneOK");
    QCOMPARE(field("ASeries")->text(), QStringLiteral("aa"));
    QCOMPARE(field("Breed")->text(), breed);
    QVERIFY(textPanel()->isVisible());
    m_sheet->findChild<QLineEdit *>("TextEdit")->setText("Rex");
    clickButton("TextOk");
    QCOMPARE(field("Breed")->text(), QStringLiteral("Rex"));
    QCOMPARE(field("ASeries")->text(), QStringLiteral("aa"));

    // The other way round: a value clicked while the genetics panel is open does not
    // receive the genotype.
    QTest::mouseClick(field("BSeries"), Qt::LeftButton);
    QTest::mouseClick(field("Weight"), Qt::LeftButton);
    highlight("bb");
    clickButton("GeneOK");
    QCOMPARE(field("BSeries")->text(), QStringLiteral("bb"));
    QCOMPARE(field("Weight")->text(), RabbitFile::format().field(RabbitFile::Weight).placeholder);
}

QTEST_MAIN(TestRabbitGenetics)
#include "test_rabbit_genetics.moc"
