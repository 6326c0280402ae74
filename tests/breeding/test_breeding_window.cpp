#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "breeding/BreedingFormat.h"
#include "breeding/BreedingLinkEditor.h"
#include "breeding/BreedingRecord.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using Answer = Platform::Answer;
using namespace BreedingFile;

namespace {
const QString None = QStringLiteral("None");
const QString Overwrite = QStringLiteral("This will overwrite existing values. Continue?");
} // namespace

class TestBreedingWindow : public WindowTest
{
    Q_OBJECT


    void setText(TBreedingRecord *w, const QString &field, const QString &text) { typeInto(w, w->field(field), text); }

    // Chooses the action from the field's menu; returns the newest rabbit window.
    TRabbitSheet *onField(TBreedingRecord *w, const QString &field, const char *action)
    {
        fromMenu(w, w->field(field), action);
        return WindowRegistry::newest<TRabbitSheet>();
    }

    LinkField *link(TBreedingRecord *w, int position) { return w->linkEditor()->positionLink(position); }

    // Links the positions to the files through the related-file editor and its Ok.
    void setLinks(TBreedingRecord *w, const QMap<int, QString> &files)
    {
        press(w, Qt::CTRL | Qt::Key_L);
        for (auto it = files.begin(); it != files.end(); ++it) {
            m_fx->platform().expectFile(it.value());
            Input::clickOn(link(w, it.key())->setButton());
        }
        Input::clickOn(w->linkEditor()->okButton());
        QVERIFY(w->linkEditor()->isHidden());
    }
    // Right-clicks the background where the heading stands (it lets clicks through).
    static void onBackground(TBreedingRecord *w, const char *action)
    {
        Input::clickOn(w->backImage(), Qt::RightButton, w->findChild<QLabel *>("Heading")->geometry().center());
        Input::chooseFromPopup(action);
    }

private slots:

    void newRecordSheetAndText()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        QVERIFY(showsWithoutScrollBars(w));
        const QString path = m_fx->path("new.brd");
        m_fx->platform().expectFile(path);
        press(w, Qt::CTRL | Qt::Key_S);
        QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(TestFiles::dataPath("breeding/new.brd")));

        // The table's columns stand in file order; a value typed long pushes the columns
        // to its right along instead of covering them.
        for (int k = 1; k < RowSize; ++k)
            QVERIFY(w->field(1, RowField(k))->x() > w->field(1, RowField(k - 1))->geometry().right());
        setText(w, "Parent5", "Hazel Hill Grand Champion Smokey Joe the Third");
        QVERIFY(w->field("Color5")->x() > w->field("Parent5")->geometry().right());
        // An emptied text (here through Change Text in the label's menu) is kept as 27 blanks.
        fromMenu(w, w->field("Colors3"), "ChangeText");
        Input::key(Qt::Key_Delete);
        Input::key(Qt::Key_Return);
        press(w, Qt::CTRL | Qt::Key_S);
        const LineFile saved = LineFile::read(path);
        QCOMPARE(saved.at(rowLine(3, RowField::Colors)), QString(27, u' '));
        QCOMPARE(saved.at(rowLine(5, RowField::Parent)), "Hazel Hill Grand Champion Smokey Joe the Third");
    }

    // Links arrive with a load; the background is a change but no part of the file;
    // the record prints on one page across.
    void loadBackgroundAndPrint()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        const QString full = m_fx->copyData("breeding/full.brd", "full.brd");
        m_fx->platform().expectFile(full);
        press(w, Qt::CTRL | Qt::Key_O);
        QCOMPARE(link(w, 0)->link(), BreedingFile::read(full).value(MainRabFile));

        const QString png = m_fx->path("hay.png");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkYellow);
        QVERIFY(image.save(png));
        m_fx->platform().expectFile(png);
        QVERIFY(changes(w, [&] { onBackground(w, "ChangePicture"); }));
        QVERIFY(!w->backImage()->isBlank());
        press(w, Qt::CTRL | Qt::Key_S);
        QCOMPARE(TestFiles::readBytes(full), TestFiles::readBytes(TestFiles::dataPath("breeding/full.brd")));

        const QString pdf = m_fx->path("record.pdf");
        m_fx->platform().expectPrinter(pdf);
        press(w, Qt::CTRL | Qt::Key_P);
        QVERIFY(TestFiles::onePageAcross(pdf));
    }

    void relatedFileEditor()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        BreedingLinkEditor *editor = w->linkEditor();
        const auto button = [&](const char *name) { return editor->findChild<QToolButton *>(name); };

        // Clear on mate 12, then Cancel: the link is back.
        const QString mate = m_fx->rabbit("mate.rab", {{RabbitFile::RabbitName, "Castor"}});
        setLinks(w, {{12, mate}});
        Input::chooseFromMenuBar(w, "Edit1", "SetFileLinks");
        QVERIFY(changes(w, [&] { Input::clickOn(button("Parent12RabFileNew")); }));
        QCOMPARE(link(w, 12)->link(), None);
        Input::clickOn(editor->cancelButton());
        QVERIFY(editor->isHidden());
        QCOMPARE(link(w, 12)->link(), mate);

        // A double-click on a link opens its file.
        press(w, Qt::CTRL | Qt::Key_L);
        Input::doubleClickOn(link(w, 12)->pathEdit());
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "mate.rab - Rabbit Information");
        QVERIFY(Input::activate(w));
        press(w, Qt::CTRL | Qt::Key_L);

        // Ok keeps what was set and is an edit; the links are saved on their lines.
        press(w, Qt::CTRL | Qt::Key_L);
        m_fx->platform().expectFile(mate);
        Input::clickOn(button("MainRabFileSet"));
        QVERIFY(changes(w, [&] { Input::clickOn(editor->okButton()); }));
        QCOMPARE(w->record().value(MainRabFile), mate);
        QCOMPARE(w->record().value(mateRabFile(12)), mate);
    }

    void loadAndOpenRabbits()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        setText(w, "Kindled4", "5/2");
        // Row 4's ear label: the rabbit comes into the row, the link is set, the litter stays.
        const QString castor = m_fx->rabbit("castor.rab", {{RabbitFile::RabbitName, "Castor"}});
        m_fx->platform().expectFile(castor);
        QVERIFY(changes(w, [&] { onField(w, "Ear4", "LoadSavedRabbit"); }));
        QCOMPARE(w->field("Parent4")->text(), "Castor");
        QCOMPARE(w->field("Kindled4")->text(), "5/2");

        // Open Rabbit File on a linked row opens its file; on an unlinked one a new,
        // untitled and unchanged rabbit record carries the row's values, and is not
        // linked back once saved.
        QCOMPARE(onField(w, "Color4", "OpenRabbitFile")->windowTitle(), "castor.rab - Rabbit Information");
        QVERIFY(Input::activate(w));
        setText(w, "Parent9", "Pollux");
        TRabbitSheet *started = onField(w, "Parent9", "OpenRabbitFile");
        QVERIFY(!started->isModified());
        QCOMPARE(started->record().value(RabbitFile::RabbitName), "Pollux");
        m_fx->platform().expectFile(m_fx->path("pollux.rab"));
        press(started, Qt::CTRL | Qt::Key_S);
        QVERIFY(Input::closeSubWindow(started));
        QCOMPARE(link(w, 9)->link(), None);

        // The subject's own menu starts a record from the subject line.
        QVERIFY(Input::activate(w));
        setText(w, "RabbitName", "Dancer");
        QCOMPARE(onField(w, "RabbitName", "OpenRabbitFile")->record().value(RabbitFile::RabbitName), "Dancer");

        // A link to a file that is gone reports it and leaves no empty window.
        QVERIFY(Input::activate(w));
        setLinks(w, {{9, m_fx->path("gone.rab")}});
        const int windows = m_fx->windows();
        onField(w, "Parent9", "OpenRabbitFile");
        m_fx->platform().takeError("gone.rab");
        QCOMPARE(m_fx->windows(), windows);
    }

    void generateOffspring()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        const QString buck = m_fx->rabbit("buck.rab", {{RabbitFile::RabbitName, "Castor"}});
        const QString doe = m_fx->rabbit("doe.rab", {{RabbitFile::RabbitName, "Dancer"}});

        // Without both links the breeder is told so.
        m_fx->platform().expectQuestion(
            "Must have two linked parent files. Link this record's rabbit to its file through Edit > Set File Links. "
            "Link the mate of row 3 to its file through Load Saved Rabbit on the row (Row > Load Saved Rabbit as Mate, "
            "or a right-click on the mate's name).",
            Answer::Ok);
        onField(w, "Kept3", "GenerateOffspring");
        QVERIFY(m_fx->platform().allAnswered());

        // Any row label starts the litter: a changed, untitled kit; the record is untouched.
        setLinks(w, {{0, buck}, {3, doe}});
        setText(w, "Sex", "Buck");
        w->setModified(false);
        TRabbitSheet *kit = onField(w, "Colors3", "GenerateOffspring");
        QVERIFY(kit->isModified() && kit->fileName().isEmpty());
        QVERIFY(!w->isModified());
        QCOMPARE(kit->record().value(RabbitFile::FatherRabFile), buck);
        QCOMPARE(kit->record().value(RabbitFile::MomName), "Dancer");

        // The mate's file is gone: the error; the kit's window stays with both links.
        QFile::remove(doe);
        QVERIFY(Input::activate(w));
        kit = onField(w, "Parent3", "GenerateOffspring");
        m_fx->platform().takeError("doe.rab");
        QCOMPARE(kit->record().value(RabbitFile::MotherRabFile), doe);
        QCOMPARE(kit->record().value(RabbitFile::DadName), "Castor");
        QVERIFY(kit->isModified());
    }

    // The Row menu acts on the mating row last clicked, left or right, and is greyed
    // before any; a click on the subject chooses no row. Without both parents linked
    // its Generate Offspring says how to link the one missing.
    void rowMenu()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        const QStringList entries{"RowGenerateOffspring", "RowLoadSavedRabbit", "RowOpenMate"};
        const auto enabled = [&] {
            QStringList on;
            for (const QString &entry : entries)
                if (w->findChild<QAction *>(entry)->isEnabled())
                    on.append(entry);
            return on;
        };
        const auto click = [&](const QString &field, Qt::MouseButton button) {
            QTest::mouseClick(w->field(field), button);
            if (QWidget *menu = QApplication::activePopupWidget())
                menu->close();
            w->findChild<QPushButton *>("TextCancel")->click();
        };
        auto *menu = w->findChild<QMenu *>("RowMenu");
        QCOMPARE(menu->title(), "&Row");
        QStringList captions;
        for (QAction *action : menu->actions())
            captions.append(action->text());
        QCOMPARE(captions, QStringList({"&Generate Offspring", "&Load Saved Rabbit as Mate", "&Open Mate's Record"}));
        QCOMPARE(enabled(), QStringList());
        const int windows = m_fx->windows();
        trigger(w, "RowGenerateOffspring"); // greyed: nothing happens
        QCOMPARE(m_fx->windows(), windows);
        click("RabbitName", Qt::LeftButton);
        QCOMPARE(enabled(), QStringList());
        click("Kept9", Qt::RightButton);
        QCOMPARE(enabled(), entries);
        click("Kept4", Qt::LeftButton);
        QCOMPARE(w->chosenRow(), 4);
        click("RabbitName", Qt::LeftButton);
        QCOMPARE(w->chosenRow(), 4);

        const QString doe = m_fx->rabbit("doe.rab", {{RabbitFile::RabbitName, "Dancer"}, {RabbitFile::Color, "Blue"}});
        m_fx->platform().expectFile(doe);
        trigger(w, "RowLoadSavedRabbit");
        QCOMPARE(w->field("Parent4")->value(), "Dancer");
        QCOMPARE(w->field("Color4")->value(), "Blue");
        QCOMPARE(link(w, 4)->link(), doe);

        m_fx->platform().expectQuestion("Must have two linked parent files. Link this record's rabbit to its file "
                                        "through Edit > Set File Links.",
                                        Answer::Ok);
        trigger(w, "RowGenerateOffspring");
        QVERIFY(m_fx->platform().allAnswered());
        QCOMPARE(m_fx->windows(), windows);

        const QString buck = m_fx->rabbit("buck.rab", {{RabbitFile::RabbitName, "Castor"}});
        link(w, 0)->setLink(buck);
        setText(w, "Sex", "Buck");
        click("Colors4", Qt::LeftButton);
        trigger(w, "RowGenerateOffspring");
        TRabbitSheet *kit = WindowRegistry::newest<TRabbitSheet>();
        QCOMPARE(kit->record().value(RabbitFile::FatherRabFile), buck);
        QCOMPARE(kit->record().value(RabbitFile::MotherRabFile), doe);
        QCOMPARE(kit->record().value(RabbitFile::MomName), "Dancer");

        trigger(w, "RowOpenMate");
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->fileName(), doe);
        kit->setModified(false);
    }

    void updateFromLinks()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        BreedingLinkEditor *editor = w->linkEditor();
        const auto update = [&](Answer answer) {
            m_fx->platform().expectQuestion(Overwrite, answer);
            Input::clickOn(editor->updateButton());
        };
        const QString mate7 = m_fx->rabbit("mate7.rab", {{RabbitFile::RabbitName, "Castor"}});
        const QString mate9 = m_fx->rabbit("mate9.rab", {{RabbitFile::RabbitName, "Pollux"}});
        press(w, Qt::CTRL | Qt::Key_L);
        for (const auto &[position, file] : {std::pair{7, mate7}, std::pair{9, mate9}}) {
            m_fx->platform().expectFile(file);
            Input::clickOn(link(w, position)->setButton());
        }

        // OK: the rows are refreshed; Cancel is off, and the
        // links as they now are become what a later Cancel returns to.
        QVERIFY(changes(w, [&] { update(Answer::Ok); }));
        QCOMPARE(w->field("Parent7")->text(), "Castor");
        QCOMPARE(w->field("Parent9")->text(), "Pollux");
        QVERIFY(!editor->cancelButton()->isEnabled());
        press(w, Qt::CTRL | Qt::Key_L);
        QCOMPARE(link(w, 9)->link(), mate9);

        // Mate 9's file gone: the error; mate 2 was refreshed, the snapshot was not
        // retaken, so Cancel is on and returns to the links of the opening.
        QFile::remove(mate9);
        press(w, Qt::CTRL | Qt::Key_L);
        m_fx->platform().expectFile(mate7);
        Input::clickOn(link(w, 2)->setButton());
        QVERIFY(changes(w, [&] { update(Answer::Ok); }));
        m_fx->platform().takeError("mate9.rab");
        QCOMPARE(w->field("Parent2")->text(), "Castor");
        QVERIFY(editor->cancelButton()->isEnabled());
        Input::clickOn(editor->cancelButton());
        QCOMPARE(link(w, 2)->link(), None);
    }

    // Every position is refreshed, the first and the last mating row included; each
    // link is chosen and the update run with the mouse.
    void updateReachesEveryMatingRow()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        QVERIFY(Input::activate(w));
        ScriptedPlatform &platform = m_fx->platform();
        trigger(w, "SetFileLinks");
        for (int position = SubjectPosition; position <= RowCount; ++position) {
            const QString name = QStringLiteral("Rabbit %1").arg(position);
            platform.expectFile(m_fx->rabbit(QStringLiteral("r%1.rab").arg(position),
                                             {{RabbitFile::RabbitName, name},
                                              {RabbitFile::EarNumber, QStringLiteral("E%1").arg(position)},
                                              {RabbitFile::Color, QStringLiteral("Colour %1").arg(position)}}));
            Input::click(link(w, position)->setButton());
        }
        platform.expectQuestion(Overwrite, Answer::Ok);
        Input::click(w->linkEditor()->updateButton());
        QVERIFY(platform.allAnswered());
        QCOMPARE(w->field("RabbitName")->value(), "Rabbit 0");
        for (int row = 1; row <= RowCount; ++row) {
            const QStringList expected = {QStringLiteral("Rabbit %1").arg(row), QStringLiteral("E%1").arg(row),
                                          QStringLiteral("Colour %1").arg(row)};
            const QStringList shown = {w->field(row, RowField::Parent)->value(), w->field(row, RowField::Ear)->value(),
                                       w->field(row, RowField::Color)->value()};
            QCOMPARE(shown, expected);
        }
    }
};

QTEST_MAIN(TestBreedingWindow)
#include "test_breeding_window.moc"
