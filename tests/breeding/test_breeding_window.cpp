#include "TestFiles.h"
#include "WindowFixture.h"
#include "breeding/BreedingFormat.h"
#include "breeding/BreedingLinkEditor.h"
#include "breeding/BreedingRecord.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/RecordText.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

using Answer = Platform::Answer;
using namespace BreedingFile;

namespace {
const QString None = QStringLiteral("None");
const QString Overwrite = QStringLiteral("This will overwrite existing values. Continue?");
const QString TwoParents = QStringLiteral("Must have two linked parent files");
} // namespace

class TestBreedingWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    void setText(TBreedingRecord *w, const QString &field, const QString &text)
    {
        QTest::mouseClick(w->field(field), Qt::LeftButton);
        w->findChild<QLineEdit *>("TextEdit")->setText(text);
        w->findChild<QPushButton *>("TextOk")->click();
    }

    // Right-clicks the label; returns its menu's entries by object name.
    QStringList menuOf(TBreedingRecord *w, const QString &field)
    {
        QTest::mouseClick(w->field(field), Qt::RightButton);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QStringList names;
        if (!menu)
            return names;
        for (const QAction *action : menu->actions())
            names.append(action->objectName());
        menu->close();
        return names;
    }

    // Chooses the action from the field's menu; returns the newest rabbit window.
    TRabbitSheet *onField(TBreedingRecord *w, const QString &field, const char *action)
    {
        QTest::mouseClick(w->field(field), Qt::RightButton);
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
        trigger(w, action);
        return WindowRegistry::newest<TRabbitSheet>();
    }

    LinkField *link(TBreedingRecord *w, int position) { return w->linkEditor()->positionLink(position); }

    QString rabbit(const QString &name, const QMap<int, QString> &values, int keep = -1)
    {
        return TestFiles::writeRabbit(m_fx->path(name), values, keep);
    }

    int rabbitWindows() const
    {
        int n = 0;
        for (QObject *window : m_fx->parent().mdiArea()->subWindowList())
            n += qobject_cast<TRabbitSheet *>(window) != nullptr;
        return n;
    }

private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    void newRecordSheetAndText()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), "Untitled - Breeding Record");
        QCOMPARE(w->size(), QSize(923, 510));
        QVERIFY(showsWithoutScrollBars(w));
        QVERIFY(!w->isModified());

        // Untitled, Save runs Save As and writes the new record: every label is bound.
        const QString path = m_fx->path("new.brd");
        m_fx->platform().expectFile(path);
        trigger(w, "FileSave");
        QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(TestFiles::dataPath("breeding/new.brd")));
        QCOMPARE(w->windowTitle(), "new.brd - Breeding Record");

        // Each label carries its position; the table's columns stand in file order,
        // and the rows 24 pixels apart.
        QCOMPARE(w->field("EarNumber")->tag(), 0);
        QCOMPARE(w->field("Kept9")->tag(), 9);
        for (int k = 1; k < RowSize; ++k)
            QVERIFY(w->field(1, RowField(k))->x() > w->field(1, RowField(k - 1))->geometry().right());
        QCOMPARE(w->field("Born2")->y() - w->field("Born1")->y(), 24);

        // Ok with an unchanged text is an edit; an emptied text is kept as 27 blanks.
        QVERIFY(changes(w, [&] { setText(w, "Bred3", RecordText::underscores(6)); }));
        setText(w, "Colors3", QString());
        QCOMPARE(w->field("Colors3")->text(), QString(27, u' '));
        // A value typed long pushes the columns to its right along instead of covering them.
        setText(w, "Parent5", "Hazel Hill Grand Champion Smokey Joe the Third");
        QVERIFY(w->field("Color5")->x() > w->field("Parent5")->geometry().right());
        QCOMPARE(w->field("Color1")->x(), w->field("Color5")->x());
        trigger(w, "FileSave");
        const LineFile saved = LineFile::read(path);
        QCOMPARE(saved.at(rowLine(3, RowField::Colors)), QString(27, u' '));
        QCOMPARE(saved.at(rowLine(5, RowField::Parent)), "Hazel Hill Grand Champion Smokey Joe the Third");

        // The menus as each kind of label offers them; a litter label cannot load a rabbit.
        const QStringList subject = {"ChangeText", "OpenRabbitFile", "LoadSavedRabbit"};
        QCOMPARE(menuOf(w, "Sex"), subject);
        QCOMPARE(menuOf(w, "Ear4"), subject + QStringList{"GenerateOffspring"});
        QCOMPARE(menuOf(w, "Fostered4"), (QStringList{"ChangeText", "GenerateOffspring"}));
        // A right-click makes the label current for Change Text.
        menuOf(w, "Does7");
        trigger(w, "ChangeText");
        QCOMPARE(w->findChild<QLineEdit *>("TextEdit")->text(), RecordText::underscores(6));
    }

    void openLoadAndBackground()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        const QString full = m_fx->copyData("breeding/full.brd", "full.brd");
        // A file too short names the missing line and changes nothing.
        const QString cut = TestFiles::writeLines(m_fx->path("cut.brd"), LineFile::read(full).lines(), {}, 200);
        m_fx->platform().expectFile(cut);
        trigger(w, "FileOpen");
        m_fx->platform().takeError("(200)");
        QCOMPARE(w->windowTitle(), "Untitled - Breeding Record");
        QCOMPARE(w->record().values(), newRecord().values());

        // Open in an untouched window loads there, links included.
        m_fx->platform().expectFile(full);
        trigger(w, "FileOpen");
        QCOMPARE(w->windowTitle(), "full.brd - Breeding Record");
        QVERIFY(!w->isModified());
        QCOMPARE(w->record().values(), BreedingFile::read(full).values());
        QCOMPARE(link(w, 0)->link(), BreedingFile::read(full).value(MainRabFile));

        // The background has the picture menu, on the picture and through the heading,
        // and is a change, but no part of the file.
        const QString png = m_fx->path("hay.png");
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkYellow);
        QVERIFY(image.save(png));
        QLabel *heading = w->findChild<QLabel *>("Heading");
        QCOMPARE(w->sheet()->childAt(heading->geometry().center()), w->backImage());
        QTest::mouseClick(w->backImage(), Qt::RightButton, {}, QPoint(400, 470));
        auto *menu = w->findChild<QMenu *>("PicturePopUp");
        QVERIFY(menu->isVisible());
        QCOMPARE(w->findChild<QAction *>("ChangePicture")->text(), "&Change Background");
        QVERIFY(!menu->findChild<QMenu *>("ChangeGlobalFont"));
        menu->close();
        m_fx->platform().expectFile(png);
        QVERIFY(changes(w, [&] { trigger(w, "ChangePicture"); }));
        QVERIFY(!w->backImage()->isBlank());
        trigger(w, "FileSave");
        QCOMPARE(TestFiles::readBytes(full), TestFiles::readBytes(TestFiles::dataPath("breeding/full.brd")));

        // Open in a titled window opens a second one.
        const QString copy = m_fx->copyData("breeding/new.brd", "other.brd");
        m_fx->platform().expectFile(copy);
        trigger(w, "FileOpen");
        auto *second = WindowRegistry::newest<TBreedingRecord>();
        QVERIFY(second != w);
        QCOMPARE(second->windowTitle(), "other.brd - Breeding Record");
    }

    void printsOnOnePage()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        w->loadFile(m_fx->copyData("breeding/full.brd", "full.brd"));
        for (int m = 1; m <= RowCount; ++m)
            w->field(m, RowField::Colors)->setValue(QStringLiteral("Litter%1Colors").arg(m));
        const QString pdf = m_fx->path("record.pdf");
        m_fx->platform().expectPrinter(pdf);
        trigger(w, "FilePrint");
        const QString bytes = QString::fromLatin1(TestFiles::readBytes(pdf));
        QCOMPARE(bytes.count(QRegularExpression(QStringLiteral(R"(/Type\s*/Page\b)"))), 1);
        const QRegularExpressionMatch box =
            QRegularExpression(QStringLiteral(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])")).match(bytes);
        QVERIFY(box.captured(1).toDouble() > box.captured(2).toDouble());
        if (!TestFiles::havePdfToText())
            QSKIP("pdftotext is not installed; the PDF's text was not read");
        const QString text = TestFiles::pdfText(pdf);
        for (int m = 1; m <= RowCount; ++m)
            QVERIFY2(text.contains(QStringLiteral("Litter%1Colors").arg(m)), qPrintable(text));
    }

    void relatedFileEditor()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        BreedingLinkEditor *editor = w->linkEditor();
        QVERIFY(editor->isHidden());
        for (const char *name : {"MainRabFileSet", "MainRabFileNew", "Parent1RabFileSet", "Parent15RabFileNew"})
            QVERIFY2(editor->findChild<QToolButton *>(name), name);

        // Set, then Clear on mate 12, then Cancel: the link is back.
        const QString mate = rabbit("mate.rab", {{RabbitFile::RabbitName, "Castor"}});
        link(w, 12)->setLink(mate);
        w->setModified(false);
        trigger(w, "SetFileLinks");
        QVERIFY(!editor->isHidden());
        QVERIFY(changes(w, [&] { editor->findChild<QToolButton *>("Parent12RabFileNew")->click(); }));
        QCOMPARE(link(w, 12)->link(), None);
        QCOMPARE(link(w, 12)->caption()->text(), QString());
        editor->cancelButton()->click();
        QVERIFY(editor->isHidden());
        QCOMPARE(link(w, 12)->link(), mate);
        QCOMPARE(link(w, 12)->caption()->text(), "mate.rab");

        // Set File Links pressed twice is Set File Links and Cancel.
        trigger(w, "SetFileLinks");
        m_fx->platform().expectFile(mate);
        editor->findChild<QToolButton *>("Parent3RabFileSet")->click();
        QCOMPARE(link(w, 3)->link(), mate);
        trigger(w, "SetFileLinks");
        QVERIFY(editor->isHidden());
        QCOMPARE(link(w, 3)->link(), None);

        // Ok keeps what was set and is an edit; the links are saved on their lines.
        trigger(w, "SetFileLinks");
        m_fx->platform().expectFile(mate);
        editor->findChild<QToolButton *>("MainRabFileSet")->click();
        QVERIFY(changes(w, [&] { editor->okButton()->click(); }));
        QVERIFY(editor->isHidden());
        QCOMPARE(w->record().value(MainRabFile), mate);
        QCOMPARE(w->record().value(mateRabFile(12)), mate);

        // A double click on an empty link names a new rabbit's file; cancelled, the link
        // stays "None" and the new rabbit window stays open. On a set link it opens the file.
        const int before = rabbitWindows();
        m_fx->platform().expectFile(std::nullopt);
        QTest::mouseDClick(link(w, 7)->pathEdit(), Qt::LeftButton);
        QCOMPARE(link(w, 7)->link(), None);
        QCOMPARE(rabbitWindows(), before + 1);
        m_fx->platform().expectFile(m_fx->path("kit.rab"));
        QTest::mouseDClick(link(w, 7)->pathEdit(), Qt::LeftButton);
        QCOMPARE(link(w, 7)->link(), m_fx->path("kit.rab"));
        QTest::mouseDClick(link(w, 12)->pathEdit(), Qt::LeftButton);
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "mate.rab - Rabbit Information");
    }

    void loadAndOpenRabbits()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        setText(w, "Kindled4", "5/2");
        // Row 4's ear label: name, ear and colour come in, the link is set, the litter stays.
        const QString castor =
            rabbit("castor.rab",
                   {{RabbitFile::RabbitName, "Castor"}, {RabbitFile::EarNumber, "C9"}, {RabbitFile::Color, "Black"}});
        m_fx->platform().expectFile(castor);
        QVERIFY(changes(w, [&] { onField(w, "Ear4", "LoadSavedRabbit"); }));
        QCOMPARE(w->field("Parent4")->text(), "Castor");
        QCOMPARE(w->field("Ear4")->text(), "C9");
        QCOMPARE(w->field("Color4")->text(), "Black");
        QCOMPARE(w->field("Kindled4")->text(), "5/2");
        QCOMPARE(link(w, 4)->link(), castor);
        QCOMPARE(link(w, 4)->caption()->text(), "castor.rab");

        // The subject: a name still blank in the file keeps the old name; the rabbit's
        // 12-underscore sex is copied.
        setText(w, "RabbitName", "Dancer");
        const QString blank = rabbit("blank.rab", {{RabbitFile::Sex, RecordText::underscores(12)}});
        m_fx->platform().expectFile(blank);
        onField(w, "Sex", "LoadSavedRabbit");
        QCOMPARE(w->field("RabbitName")->text(), "Dancer");
        QCOMPARE(w->field("Sex")->text(), RecordText::underscores(12));
        QCOMPARE(link(w, 0)->link(), blank);

        // A file too short: the error, and neither link nor values change.
        const QStringList values = w->record().values();
        const QString cut = rabbit("cut.rab", {{RabbitFile::RabbitName, "Pollux"}}, 7);
        m_fx->platform().expectFile(cut);
        onField(w, "Parent4", "LoadSavedRabbit");
        m_fx->platform().takeError("(7)");
        QCOMPARE(w->record().values(), values);
        // A cancelled dialog changes nothing.
        m_fx->platform().expectFile(std::nullopt);
        QVERIFY(!changes(w, [&] { onField(w, "Parent6", "LoadSavedRabbit"); }));

        // Open Rabbit File on a linked row opens its file; on an unlinked one a new,
        // untitled and unchanged rabbit record carries the row's filled values.
        QCOMPARE(onField(w, "Color4", "OpenRabbitFile")->windowTitle(), "castor.rab - Rabbit Information");
        setText(w, "Parent9", "Pollux");
        TRabbitSheet *started = onField(w, "Parent9", "OpenRabbitFile");
        QCOMPARE(started->windowTitle(), "Untitled - Rabbit Information");
        QVERIFY(!started->isModified());
        QCOMPARE(started->record().value(RabbitFile::RabbitName), "Pollux");
        QCOMPARE(started->record().value(RabbitFile::Color), RabbitFile::newRecord().value(RabbitFile::Color));
        // Saved and closed, it is not linked back.
        m_fx->platform().expectFile(m_fx->path("pollux.rab"));
        trigger(started, "FileSave");
        QVERIFY(started->close());
        QCOMPARE(link(w, 9)->link(), None);

        // A link to a file that is gone reports it and leaves no empty window.
        link(w, 9)->setLink(m_fx->path("gone.rab"));
        const int windows = rabbitWindows();
        onField(w, "Parent9", "OpenRabbitFile");
        m_fx->platform().takeError("gone.rab");
        QCOMPARE(rabbitWindows(), windows);
    }

    void generateOffspring()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        const QString buck = rabbit("buck.rab", {{RabbitFile::RabbitName, "Castor"}, {RabbitFile::Color, "Black"}});
        const QString doe = rabbit("doe.rab", {{RabbitFile::RabbitName, "Dancer"}, {RabbitFile::Color, "Chestnut"}});

        // Either link "None": the message, no window.
        const int windows = rabbitWindows();
        m_fx->platform().expectQuestion(TwoParents, Answer::Ok);
        onField(w, "Parent3", "GenerateOffspring");
        link(w, 0)->setLink(buck);
        m_fx->platform().expectQuestion(TwoParents, Answer::Ok);
        onField(w, "Kept3", "GenerateOffspring");
        QCOMPARE(rabbitWindows(), windows);

        // A "Buck" subject is the father; any row label of row 3 starts the litter.
        link(w, 3)->setLink(doe);
        setText(w, "Sex", "Buck");
        w->setModified(false);
        TRabbitSheet *kit = onField(w, "Colors3", "GenerateOffspring");
        QCOMPARE(rabbitWindows(), windows + 1);
        QCOMPARE(kit->windowTitle(), "Untitled - Rabbit Information");
        QVERIFY(kit->isModified());
        QVERIFY(!w->isModified());
        LineRecord r = kit->record();
        QCOMPARE(r.value(RabbitFile::FatherRabFile), buck);
        QCOMPARE(r.value(RabbitFile::MotherRabFile), doe);
        QCOMPARE(r.value(RabbitFile::DadName), "Castor");
        QCOMPARE(r.value(RabbitFile::DadColor), "Black");
        QCOMPARE(r.value(RabbitFile::MomName), "Dancer");
        QCOMPARE(r.value(RabbitFile::MomColor), "Chestnut");

        // "buck", "Doe" and the blank: the subject is the mother.
        for (const QString &sex : {QStringLiteral("buck"), QStringLiteral("Doe"), RecordText::underscores(9)}) {
            w->field("Sex")->setValue(sex);
            r = onField(w, "Ear3", "GenerateOffspring")->record();
            QCOMPARE(r.value(RabbitFile::MotherRabFile), buck);
            QCOMPARE(r.value(RabbitFile::FatherRabFile), doe);
            QCOMPARE(r.value(RabbitFile::MomName), "Castor");
        }

        // The mate's file is gone: the error; the kit's window stays with both links and
        // what the father's file gave.
        QFile::remove(doe);
        kit = onField(w, "Parent3", "GenerateOffspring");
        m_fx->platform().takeError("doe.rab");
        r = kit->record();
        QCOMPARE(r.value(RabbitFile::MotherRabFile), buck);
        QCOMPARE(r.value(RabbitFile::FatherRabFile), doe);
        QCOMPARE(r.value(RabbitFile::DadName), RabbitFile::newRecord().value(RabbitFile::DadName));
        QVERIFY(kit->isModified());
        w->field("Sex")->setValue("Male");
        kit = onField(w, "Parent3", "GenerateOffspring");
        m_fx->platform().takeError("doe.rab");
        QCOMPARE(kit->record().value(RabbitFile::DadName), "Castor");
    }

    void updateFromLinks()
    {
        TBreedingRecord *w = m_fx->newBreeding();
        BreedingLinkEditor *editor = w->linkEditor();
        const auto update = [&](Answer answer) {
            m_fx->platform().expectQuestion(Overwrite, answer);
            editor->updateButton()->click();
        };
        setText(w, "RabbitName", "Dancer");
        setText(w, "Color7", "Blue");
        setText(w, "Born7", "8");
        const QString subject = rabbit("subject.rab", {{RabbitFile::EarNumber, "D1"}, {RabbitFile::Sex, "Doe"}});
        const QString mate7 = rabbit("mate7.rab", {{RabbitFile::RabbitName, "Castor"}, {RabbitFile::EarNumber, "C9"}});
        const QString mate9 = rabbit("mate9.rab", {{RabbitFile::RabbitName, "Pollux"}});

        // Cancel on the question: nothing changes.
        trigger(w, "SetFileLinks");
        link(w, 0)->setLink(subject);
        link(w, 7)->setLink(mate7);
        link(w, 9)->setLink(mate9);
        const QStringList before = w->record().values();
        QVERIFY(!changes(w, [&] { update(Answer::Cancel); }));
        QCOMPARE(w->record().values(), before);

        // OK: placeholders in the files are skipped (the subject's name, mate 7's colour),
        // the rest copied; litter fields and links stay. Cancel is off, and the links
        // as they now are become what a later Cancel returns to.
        QVERIFY(changes(w, [&] { update(Answer::Ok); }));
        QCOMPARE(w->field("RabbitName")->text(), "Dancer");
        QCOMPARE(w->field("EarNumber")->text(), "D1");
        QCOMPARE(w->field("Sex")->text(), "Doe");
        QCOMPARE(w->field("Parent7")->text(), "Castor");
        QCOMPARE(w->field("Ear7")->text(), "C9");
        QCOMPARE(w->field("Color7")->text(), "Blue");
        QCOMPARE(w->field("Born7")->text(), "8");
        QCOMPARE(w->field("Parent9")->text(), "Pollux");
        QVERIFY(!editor->cancelButton()->isEnabled());
        trigger(w, "SetFileLinks");
        QVERIFY(editor->isHidden());
        QCOMPARE(link(w, 9)->link(), mate9);

        // Mate 9's file gone: the error; the subject and mate 7 were refreshed, the
        // snapshot was not retaken, so Cancel is on and returns to the links of the opening.
        setText(w, "Parent7", "x");
        setText(w, "EarNumber", "x");
        QFile::remove(mate9);
        trigger(w, "SetFileLinks");
        editor->findChild<QToolButton *>("Parent2RabFileNew")->click();
        link(w, 2)->setLink(mate7);
        QVERIFY(changes(w, [&] { update(Answer::Ok); }));
        m_fx->platform().takeError("mate9.rab");
        QCOMPARE(w->field("Parent7")->text(), "Castor");
        QCOMPARE(w->field("Parent2")->text(), "Castor");
        QCOMPARE(w->field("EarNumber")->text(), "D1");
        QVERIFY(editor->cancelButton()->isEnabled());
        editor->cancelButton()->click();
        QCOMPARE(link(w, 2)->link(), None);
    }
};

QTEST_MAIN(TestBreedingWindow)
#include "test_breeding_window.moc"
