// Undo and redo: a command that changes many values is one step, named after it;
// undoing back to the record as loaded or saved clears the flag; a load starts a new
// history; keys typed into one field in a row are one step.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/Kinds.h"
#include "frame/BigBadParent.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "rabbitry/MyRabbitry.h"
#include "records/LineFile.h"
#include "shell/KindRegistry.h"
#include "shell/LinkEditor.h"
#include "shell/SheetWidgets.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Answer = Platform::Answer;

namespace {

const QString Overwrite = QStringLiteral("This will overwrite existing values. Continue?");

// How many lines differ.
int changedLines(const QStringList &a, const QStringList &b)
{
    int changed = 0;
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
        changed += a.value(i) != b.value(i);
    return changed;
}

QString undoText(QObject *window)
{
    return window->findChild<QAction *>("EditUndo")->text();
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    QString rabbitFile(const QString &name, const QString &rabbit) const
    {
        return m_fx->rabbit(name, {{RabbitFile::RabbitName, rabbit},
                                   {RabbitFile::EarNumber, rabbit.left(2)},
                                   {RabbitFile::Color, "Blue"},
                                   {RabbitFile::RegNumber, "R" + rabbit}});
    }

private slots:
    void initTestCase() { registerKinds(); }
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    void loadCommandsAreOneStep_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("label");  // whose menu has the command
        QTest::addColumn<QString>("action"); // the command
        QTest::addColumn<QString>("step");   // how Undo names it
        QTest::newRow("rabbit: father") << "rabbit"
                                        << "DadName"
                                        << "LoadSavedRabbit"
                                        << "Load Saved Rabbit";
        QTest::newRow("pedigree: sire") << "pedigree"
                                        << "DadName"
                                        << "LoadSavedRabbit"
                                        << "Load Saved Rabbit";
        QTest::newRow("pedigree: rabbitry") << "pedigree"
                                            << "BreederLabel"
                                            << "LoadSavedRabbitry"
                                            << "Load Saved Rabbitry";
        QTest::newRow("breeding: subject") << "breeding"
                                           << "RabbitName"
                                           << "LoadSavedRabbit"
                                           << "Load Saved Rabbit";
        QTest::newRow("show: rabbit") << "show"
                                      << "RabbitName"
                                      << "LoadSavedRabbit"
                                      << "Load Saved Rabbit";
    }
    void loadCommandsAreOneStep();
    void updateAndAutoFillAreOneStepEach();
    void undoingToTheLoadedRecordIsClean();
    void typingInOneFieldIsOneStep();
};

// Each copies several lines of another file (values and the link); one Ctrl+Z takes
// all of them back and the window is clean again.
void TestUndo::loadCommandsAreOneStep()
{
    QFETCH(QString, kind);
    QFETCH(QString, label);
    QFETCH(QString, action);
    QFETCH(QString, step);
    auto *window = qobject_cast<SheetWindow *>(m_fx->parent().runTool(kind));
    QVERIFY(window);
    const QString file =
        action.endsWith("Rabbitry")
            ? TestFiles::writeLines(m_fx->path("oak.rbty"), {"-RabbitryInfo-", "Oak Hutch", "1 Road", "Road", "555"})
            : rabbitFile("thumper.rab", "Thumper");
    const QStringList before = window->record().values();
    m_fx->platform().expectFile(file);
    fromMenu(window, window->findChild<ValueLabel *>(label), qPrintable(action));
    QVERIFY(m_fx->platform().allAnswered());
    const QStringList after = window->record().values();
    QVERIFY2(changedLines(before, after) >= 2, qPrintable(QString::number(changedLines(before, after))));
    QCOMPARE(undoText(window), "&Undo " + step);
    press(window, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(window->record().values(), before);
    QVERIFY(!window->isModified());
    press(window, Qt::CTRL | Qt::Key_Y);
    QCOMPARE(window->record().values(), after);
    QCOMPARE(window->findChild<QAction *>("EditRedo")->text(), "&Redo");
    window->setModified(false);
}

// The pedigree's Update from Links and Auto-Fill each change every linked position in
// one step, on top of the steps before them.
void TestUndo::updateAndAutoFillAreOneStepEach()
{
    TMainScreen *chart = m_fx->newChart();
    const QString sire = rabbitFile("sire.rab", "Smokey");
    m_fx->platform().expectFile(sire);
    fromMenu(chart, chart->field("DadName"), "LoadSavedRabbit");
    const QStringList loaded = chart->record().values();

    // The sire's file changes; Update from Links takes it over.
    rabbitFile("sire.rab", "Storm");
    press(chart, Qt::CTRL | Qt::Key_L);
    m_fx->platform().expectQuestion(Overwrite, Answer::Ok);
    Input::clickOn(chart->linkEditor()->updateButton());
    QVERIFY(m_fx->platform().allAnswered());
    const QStringList updated = chart->record().values();
    QVERIFY(changedLines(loaded, updated) >= 2);
    QCOMPARE(undoText(chart), "&Undo Update from Links");
    Input::clickOn(chart->linkEditor()->cancelButton());

    press(chart, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(chart->record().values(), loaded);
    QCOMPARE(undoText(chart), "&Undo Load Saved Rabbit");
    QVERIFY(chart->isModified()); // the load of the sire is still there
    press(chart, Qt::CTRL | Qt::Key_Y);
    QCOMPARE(chart->record().values(), updated);
    chart->setModified(false);
}

// Edits on a loaded record undone one by one end at the file as loaded: clean, so
// closing asks nothing. Loading another file forgets the history.
void TestUndo::undoingToTheLoadedRecordIsClean()
{
    const QString path = rabbitFile("bluebell.rab", "Bluebell");
    auto *window = qobject_cast<TRabbitSheet *>(KindRegistry::instance().openFile(RabbitFile::KindId, path));
    QVERIFY(window);
    const QStringList loaded = window->record().values();
    QVERIFY(!window->findChild<QAction *>("EditUndo")->isEnabled());
    typeInto(window, window->field("Breed"), "Rex");
    typeInto(window, window->field("Weight"), "9 lb");
    QCOMPARE(undoText(window), "&Undo Typing");
    press(window, Qt::CTRL | Qt::Key_Z);
    QVERIFY(window->isModified());
    QCOMPARE(window->field("Breed")->value(), "Rex");
    press(window, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(window->record().values(), loaded);
    QVERIFY(!window->isModified());

    // Saved in between, the saved state is the clean one.
    press(window, Qt::CTRL | Qt::Key_Y);
    press(window, Qt::CTRL | Qt::Key_S);
    QVERIFY(!window->isModified());
    press(window, Qt::CTRL | Qt::Key_Z);
    QVERIFY(window->isModified());
    press(window, Qt::CTRL | Qt::Key_Y);
    QVERIFY(!window->isModified());

    // A load starts afresh: nothing to undo into the other file.
    typeInto(window, window->field("Breed"), "Dutch");
    window->loadFile(rabbitFile("other.rab", "Clover"));
    QVERIFY(!window->findChild<QAction *>("EditUndo")->isEnabled());
    QVERIFY(!window->findChild<QAction *>("EditRedo")->isEnabled());
    QVERIFY(Input::closeSubWindow(window)); // clean: no question
}

// The rabbitry's detail fields record each key; a word typed is still one step, and
// the next field is a step of its own.
void TestUndo::typingInOneFieldIsOneStep()
{
    auto *window = KindRegistry::instance().newWindow<TMyRabbitry>();
    QVERIFY(window);
    Input::focus(window->detailField("RabbitryName"));
    Input::type("Hazel Hill");
    Input::focus(window->detailField("RabbitryPhone"));
    Input::type("555");
    QCOMPARE(undoText(window), "&Undo Typing in Phone");
    press(window, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(window->detailField("RabbitryPhone")->text(), "");
    QCOMPARE(window->detailField("RabbitryName")->text(), "Hazel Hill");
    QCOMPARE(undoText(window), "&Undo Typing in Rabbitry Name");
    press(window, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(window->detailField("RabbitryName")->text(), "");
    QVERIFY(!window->isModified());
}

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
