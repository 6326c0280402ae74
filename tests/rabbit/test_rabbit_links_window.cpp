// The rabbit window's related files: the editor, the relatives' commands, the
// records behind the primary links and Update from Links over a family of files.

#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinkEditor.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "show/ShowFormat.h"
#include "show/ShowRecord.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace RabbitFile;
using Answer = Platform::Answer;
using Lines = QMap<int, QString>;

namespace {
const QString Overwrite = QStringLiteral("This will overwrite existing values. Continue?");
const QString None = QStringLiteral("None");
const QString U17(17, '_');
} // namespace

class TestRabbitLinksWindow : public WindowTest
{
    Q_OBJECT


    int windows() const { return m_fx->windows(); }
    QString rabbitFile(const QString &name, const Lines &values) const { return m_fx->rabbit(name, values); }
    static LinkField *link(TRabbitSheet *rabbit, int line) { return rabbit->linkEditor()->linkOf(line); }
    static void onField(TRabbitSheet *rabbit, const char *field, const char *action)
    {
        fromMenu(rabbit, rabbit->field(QString::fromLatin1(field)), action);
    }
    static QString value(TRabbitSheet *rabbit, int line)
    {
        return rabbit->field(RabbitFile::format().field(line).name)->value();
    }
    // A show file whose chosen row 3 is filled.
    QString showFile() const
    {
        using namespace ShowFile;
        QStringList lines = ShowFile::newRecord().toLines().lines();
        lines[rowLine(3, RowField::Award)] = "Best of Breed";
        lines[rowLine(3, RowField::Location)] = "County Fair";
        lines[rowLine(3, RowField::Competitors)] = "14";
        lines[WinningsNum] = "3";
        return TestFiles::writeLines(m_fx->path("wins.shw"), lines);
    }

private slots:

    // Ctrl+L (or Edit > Set File Links) shows every link under the names of its
    // commands; the links are the record's lines 57-71; Cancel, Esc and Ctrl+L again
    // go back to the snapshot, Ok is an edit.
    void editorKeepsTheRecordsLinks()
    {
        TRabbitSheet *rabbit = m_fx->newRabbit();
        press(rabbit, Qt::CTRL | Qt::Key_L);
        RabbitLinkEditor *editor = rabbit->linkEditor();
        QVERIFY(editor->isVisible());
        QVERIFY(rabbit->sheet()->rect().contains(editor->geometry()));

        const QString sire = rabbitFile("sire.rab", {{RabbitName, "Sire"}});
        m_fx->platform().expectFile(sire);
        QVERIFY(changes(rabbit, [&] { Input::clickOn(editor->findChild<QToolButton *>("FatherRabFileSet")); }));
        QCOMPARE(rabbit->findChild<QLabel *>("FatherFile")->text(), "sire.rab");
        Input::clickOn(editor->cancelButton());
        QVERIFY(editor->isHidden());
        QCOMPARE(link(rabbit, FatherRabFile)->link(), None);
        QCOMPARE(rabbit->findChild<QLabel *>("FatherFile")->text(), QString());

        // Esc cancels also after a button of the editor was clicked.
        Input::chooseFromMenuBar(rabbit, "Edit1", "RSRabbitFileSet");
        m_fx->platform().expectFile(sire);
        Input::clickOn(editor->findChild<QToolButton *>("MotherRabFileSet"));
        QCOMPARE(link(rabbit, MotherRabFile)->link(), sire);
        Input::key(Qt::Key_Escape);
        QVERIFY(editor->isHidden());
        QCOMPARE(link(rabbit, MotherRabFile)->link(), None);

        press(rabbit, Qt::CTRL | Qt::Key_L);
        m_fx->platform().expectFile(m_fx->path("p.ped"));
        Input::clickOn(editor->findChild<QToolButton *>("SetPedFile"));
        QVERIFY(changes(rabbit, [&] { Input::clickOn(editor->okButton()); }));
        QVERIFY(editor->isHidden());
        const QString path = m_fx->path("linked.rab");
        m_fx->platform().expectFile(path);
        press(rabbit, Qt::CTRL | Qt::Key_S);
        QCOMPARE(LineFile::read(path).at(PedigreeLink), m_fx->path("p.ped"));

        // A load shows the file's links; Ctrl+L again is Cancel.
        TRabbitSheet *again = m_fx->newRabbit();
        m_fx->platform().expectFile(path);
        press(again, Qt::CTRL | Qt::Key_O);
        QCOMPARE(again->fileName(), path);
        QCOMPARE(again->findChild<QLabel *>("PedigreeFile")->text(), "p.ped");
        press(again, Qt::CTRL | Qt::Key_L);
        Input::clickOn(again->findChild<QToolButton *>("NewPedFile"));
        press(again, Qt::CTRL | Qt::Key_L);
        QVERIFY(again->linkEditor()->isHidden());
        QCOMPARE(link(again, PedigreeLink)->link(), m_fx->path("p.ped"));
    }

    // Update from Links in the window: it asks first, refreshes the sheet, retakes the
    // editor's snapshot; a relative's file gone is reported and what was done stays.
    // What each link gives is the core test's.
    void updateFromAFamilyOfFiles()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TRabbitSheet *rabbit = m_fx->newRabbit();
        Lines links{
            {FatherRabFile, rabbitFile("sire.rab", {{RabbitName, "Sire"}})},
            {MotherRabFile, rabbitFile("dam.rab", {{RabbitName, "Dam"}})},
            {siblingRabFile(4), rabbitFile("s4.rab", {{RabbitName, "Kit Four"}})},
            {siblingRabFile(7), rabbitFile("s7.rab", {{RabbitName, "Kit Seven"}})},
            // Never read: the files need not even be records.
            {PedigreeLink, TestFiles::writeLines(m_fx->path("p.ped"), {"not a pedigree"})},
            {BreedLink, TestFiles::writeLines(m_fx->path("b.brd"), {"not a breeding record"})},
            {ShowLink, showFile()},
        };
        LineRecord seed = RabbitFile::newRecord();
        for (auto it = links.begin(); it != links.end(); ++it)
            seed.setValue(it.key(), it.value());
        rabbit->fillFrom(seed);

        press(rabbit, Qt::CTRL | Qt::Key_L);
        QPushButton *update = rabbit->linkEditor()->updateButton();
        platform.expectQuestion(Overwrite, Answer::Cancel);
        QVERIFY(!changes(rabbit, [&] { Input::clickOn(update); }));
        QCOMPARE(value(rabbit, DadName), RabbitFile::format().field(DadName).placeholder);

        platform.expectQuestion(Overwrite, Answer::Ok);
        QVERIFY(changes(rabbit, [&] { Input::clickOn(update); }));
        QCOMPARE(value(rabbit, Winnings), "Best of Breed at County Fair against 14 opponents");
        QCOMPARE(value(rabbit, siblingName(7)), "Kit Seven");
        QVERIFY(!rabbit->linkEditor()->cancelButton()->isEnabled());
        press(rabbit, Qt::CTRL | Qt::Key_L); // Cancel: the snapshot was retaken
        for (auto it = links.begin(); it != links.end(); ++it)
            QCOMPARE(link(rabbit, it.key())->link(), it.value());

        // Sibling 4's file is gone: the parents are refreshed again, sibling 7 is not reached.
        rabbitFile("dam.rab", {{RabbitName, "Dam Again"}});
        rabbitFile("s7.rab", {{RabbitName, "Not reached"}});
        QVERIFY(QFile::remove(links[siblingRabFile(4)]));
        press(rabbit, Qt::CTRL | Qt::Key_L);
        platform.expectQuestion(Overwrite, Answer::Ok);
        Input::clickOn(update);
        platform.takeError("s4.rab");
        QVERIFY(rabbit->isModified());
        QCOMPARE(value(rabbit, MomName), "Dam Again");
        QCOMPARE(value(rabbit, siblingName(7)), "Kit Seven");
        Input::clickOn(rabbit->linkEditor()->okButton());
    }

    // Load Saved Rabbit and Open Rabbit File act on the relative whose label was
    // right-clicked.
    void relativesCommands()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TRabbitSheet *rabbit = m_fx->newRabbit();
        const QString kit = rabbitFile("kit.rab", {{RabbitName, "Kit"}, {Sex, "Doe"}, {Color, U17}});
        platform.expectFile(kit);
        QVERIFY(changes(rabbit, [&] { onField(rabbit, "Sibling3Color", "LoadSavedRabbit"); }));
        QCOMPARE(link(rabbit, siblingRabFile(3))->link(), kit);
        QCOMPARE(value(rabbit, siblingName(3)), "Kit");
        QCOMPARE(rabbit->currentLabel(), nullptr);

        // Unlinked: a new record with the relative's values, clean, so it closes
        // without a question.
        LineRecord seed = rabbit->record();
        seed.setValue(MomName, "Nell");
        seed.setValue(MomColor, "Blue");
        rabbit->fillFrom(seed);
        onField(rabbit, "MomColor", "OpenRabbitFile");
        TRabbitSheet *mother = WindowRegistry::newest<TRabbitSheet>();
        QVERIFY(mother != rabbit);
        QCOMPARE(mother->windowTitle(), "Untitled - Rabbit Information");
        QCOMPARE(value(mother, RabbitName), "Nell");
        QCOMPARE(value(mother, Sex), "Female");
        QVERIFY(Input::closeSubWindow(mother));

        // Linked: the file itself.
        onField(rabbit, "Sibling3Name", "OpenRabbitFile");
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "kit.rab - Rabbit Information");
    }

    // A show file of 67 lines (cut inside the sex and colour an older file lacks) still
    // gives the summary: Update from Links reads only line 65 and the chosen row.
    void updateReadsOnlyTheShowLinesItNeeds()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TRabbitSheet *rabbit = m_fx->newRabbit();
        QVERIFY(Input::activate(rabbit));
        const QString wins = TestFiles::writeLines(m_fx->path("cut.shw"), LineFile::read(showFile()).lines(), {},
                                                   ShowFile::LineCount - 1);
        const QString sire = rabbitFile("sire.rab", {{RabbitName, "Sire"}});
        trigger(rabbit, "RSRabbitFileSet");
        platform.expectFile(wins);
        Input::click(rabbit->findChild<QToolButton *>("SetShowFile"));
        platform.expectFile(sire);
        Input::click(rabbit->findChild<QToolButton *>("FatherRabFileSet"));
        platform.expectQuestion(Overwrite, Answer::Ok);
        Input::click(rabbit->linkEditor()->updateButton());
        QVERIFY(platform.allAnswered());
        QCOMPARE(platform.takeErrors(), QStringList());
        QCOMPARE(value(rabbit, Winnings), "Best of Breed at County Fair against 14 opponents");
        QCOMPARE(value(rabbit, DadName), "Sire");
    }

    // The primary links open their records in windows of their kinds, or create the
    // record through its Save As.
    void primaryFiles()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TRabbitSheet *rabbit = m_fx->newRabbit();
        press(rabbit, Qt::CTRL | Qt::Key_L);
        QLineEdit *show = link(rabbit, ShowLink)->pathEdit();

        const QString wins = m_fx->path("wins.shw");
        platform.expectFile(wins);
        Input::doubleClickOn(show);
        QCOMPARE(link(rabbit, ShowLink)->link(), wins);
        QCOMPARE(WindowRegistry::newest<TShowRecord>()->windowTitle(), "wins.shw - Show Record");

        // The new window came to the front; the breeder goes back to the rabbit.
        const QString ped = m_fx->path("family.ped");
        platform.expectFile(ped);
        QVERIFY(Input::activate(rabbit));
        Input::doubleClickOn(link(rabbit, PedigreeLink)->pathEdit());
        QCOMPARE(link(rabbit, PedigreeLink)->link(), ped);

        // A linked file that is gone leaves no window behind.
        QFile::remove(ped);
        const int before = windows();
        QVERIFY(Input::activate(rabbit));
        Input::doubleClickOn(link(rabbit, PedigreeLink)->pathEdit());
        QCOMPARE(platform.takeErrors().size(), 1);
        QCOMPARE(windows(), before);
    }
};

QTEST_MAIN(TestRabbitLinksWindow)
#include "test_rabbit_links_window.moc"
