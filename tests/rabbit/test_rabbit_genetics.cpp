#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

// The Set Genetics panel of the rabbit sheet.
class TestRabbitGenetics : public WindowTest
{
    Q_OBJECT
private slots:
    void init();

    void panelOffersTheSeriesOfItsLabel();
    void choicesAndFreeTextAreStored();
    void bothPanelsOpenTogether();

private:
    // The row of the entry, or -1.
    int rowOf(const QString &text) const
    {
        const QList<QListWidgetItem *> found = list()->findItems(text, Qt::MatchExactly);
        return found.size() == 1 ? list()->row(found.first()) : -1;
    }
    void highlight(const QString &text)
    {
        const int row = rowOf(text);
        QVERIFY2(row >= 0, qPrintable(text));
        Input::clickRow(list(), row);
    }
    void useMenu(const char *label, const char *entry)
    {
        Input::clickOn(field(label), Qt::RightButton);
        QCOMPARE(QApplication::activePopupWidget(), m_sheet->findChild<QMenu *>("GeneticPopUp"));
        Input::chooseFromPopup(entry);
    }

    QWidget *genePanel() const { return m_sheet->findChild<QWidget *>("GeneticsChangePanel"); }
    QWidget *textPanel() const { return m_sheet->findChild<QWidget *>("TextChangePanel"); }
    QListWidget *list() const { return m_sheet->findChild<QListWidget *>("GeneSelect"); }
    QString effect() const { return m_sheet->findChild<QLabel *>("ColorEffect")->text(); }
    void clickButton(const char *name) { Input::clickOn(m_sheet->findChild<QPushButton *>(name)); }
    void click(const char *name) { Input::clickOn(field(name)); }
    ValueLabel *field(const char *name) const { return m_sheet->field(QString::fromLatin1(name)); }

    TRabbitSheet *m_sheet = nullptr;
};

void TestRabbitGenetics::init()
{
    WindowTest::init();
    m_sheet = m_fx->newRabbit();
}

// A series' panel offers exactly its own list, from the placeholder; the effect
// line follows the highlight.
void TestRabbitGenetics::panelOffersTheSeriesOfItsLabel()
{
    click("CSeries");
    click("VSeries"); // another series while the panel is open
    QCOMPARE(list()->count(), 4);
    QCOMPARE(list()->currentRow(), 0);
    QCOMPARE(effect(), QStringLiteral("Unknown"));
    highlight("VV");
    QCOMPARE(effect(), QStringLiteral("Vienna White: No effect ")); // the blank is part of it
    // A click elsewhere on the panel leaves the keys with the list.
    Input::clickOn(m_sheet->findChild<QLabel *>("ColorEffect"));
    QCOMPARE(Input::focused(), list());
    Input::key(Qt::Key_Escape);
    QVERIFY(!genePanel()->isVisible());
    click("ASeries");
    highlight("aa");
    clickButton("GeneCancel");
    QVERIFY(!genePanel()->isVisible());
    QCOMPARE(field("ASeries")->text(), QStringLiteral("_________"));
    QVERIFY(!m_sheet->isModified());
}

// Ok, Enter and a double-click store the highlighted entry as it stands; free text
// typed into a series ("Change Text" in its menu) is kept too. Both are saved on
// the series' lines and read back.
void TestRabbitGenetics::choicesAndFreeTextAreStored()
{
    m_sheet->loadFile(m_fx->copyData("rabbit/filled.rab", "filled.rab"));
    QCOMPARE(field("ASeries")->text(), QStringLiteral("A at"));

    // Ok without moving stores the placeholder: the series is cleared.
    click("ASeries");
    clickButton("GeneOK");
    QCOMPARE(field("ASeries")->text(), QStringLiteral("_________"));
    QVERIFY(m_sheet->isModified());
    QVERIFY(!genePanel()->isVisible());

    click("ASeries");
    highlight("AA, A at, or Aa");
    clickButton("GeneOK");
    QCOMPARE(field("ASeries")->text(), QStringLiteral("AA, A at, or Aa"));

    click("VSeries");
    Input::key(Qt::Key_End);
    Input::key(Qt::Key_Return);
    QCOMPARE(field("VSeries")->text(), QStringLiteral("vv"));

    useMenu("DSeries", "ChangeGenes");
    QVERIFY(genePanel()->isVisible());
    Input::doubleClickRow(list(), rowOf("dd"));
    QCOMPARE(field("DSeries")->text(), QStringLiteral("dd"));
    QVERIFY(!genePanel()->isVisible());

    const QString typed = QStringLiteral("ww? (sire unknown)");
    useMenu("WSeries", "Change Text");
    QCOMPARE(m_sheet->findChild<QLineEdit *>("TextEdit")->text(), QStringLiteral("WW"));
    QCOMPARE(Input::focused(), m_sheet->findChild<QLineEdit *>("TextEdit"));
    Input::type(typed); // over the selected text
    clickButton("TextOk");

    const QString saved = m_fx->path("saved.rab");
    m_fx->platform().expectFile(saved);
    Input::chooseFromMenuBar(m_sheet, "File", "FileSaveAs");
    const LineFile lines = LineFile::read(saved);
    QCOMPARE(lines.at(43), QStringLiteral("AA, A at, or Aa"));
    QCOMPARE(lines.at(46), QStringLiteral("dd"));
    QCOMPARE(lines.at(50), typed);
}

// The text panel and the genetics panel open together: either Cancel hides both,
// and each Ok writes to the label its panel was opened for.
void TestRabbitGenetics::bothPanelsOpenTogether()
{
    click("Breed");
    click("ASeries");
    highlight("aa");
    clickButton("TextCancel");
    QVERIFY(!genePanel()->isVisible() && !textPanel()->isVisible());
    QVERIFY(!m_sheet->isModified());

    const QString breed = field("Breed")->text();
    click("Breed");
    click("ASeries");
    highlight("aa");
    clickButton("GeneOK");
    QCOMPARE(field("ASeries")->text(), QStringLiteral("aa"));
    QCOMPARE(field("Breed")->text(), breed);
    QVERIFY(textPanel()->isVisible());
    Input::clickOn(m_sheet->findChild<QLineEdit *>("TextEdit"));
    Input::key(Qt::Key_A, Qt::ControlModifier);
    Input::type("Rex");
    clickButton("TextOk");
    QCOMPARE(field("Breed")->text(), QStringLiteral("Rex"));
    QCOMPARE(field("ASeries")->text(), QStringLiteral("aa"));

    // The other way round: a value clicked while the genetics panel is open does not
    // receive the genotype.
    click("BSeries");
    click("Weight");
    highlight("bb");
    clickButton("GeneOK");
    QCOMPARE(field("BSeries")->text(), QStringLiteral("bb"));
    QCOMPARE(field("Weight")->text(), RabbitFile::format().field(RabbitFile::Weight).placeholder);
}

QTEST_MAIN(TestRabbitGenetics)
#include "test_rabbit_genetics.moc"
