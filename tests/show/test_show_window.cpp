// The show record window: its new file, the chosen row, the link panel and the
// commands that follow the rabbit's own file.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/LinkEditor.h"
#include "show/ShowFormat.h"
#include "show/ShowRecord.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTest>

using namespace ShowFile;
using Answer = Platform::Answer;
using TestFiles::readBytes;

namespace {
const QString Overwrite = QStringLiteral("This will overwrite existing values. Continue?");
const QString None = QStringLiteral("None");
} // namespace

class TestShowWindow : public WindowTest
{
    Q_OBJECT


    TShowRecord *newShow() const
    {
        return qobject_cast<TShowRecord *>(m_fx->parent().runTool(QString::fromLatin1(TShowRecord::KindId)));
    }
    static QString value(TShowRecord *show, const char *name)
    {
        return show->field(QString::fromLatin1(name))->value();
    }
    static void onField(TShowRecord *show, const char *name, const char *action)
    {
        fromMenu(show, show->field(QString::fromLatin1(name)), action);
    }

private slots:

    // Show Records (Ctrl+H) in a rabbit window gives a new record that saves as the
    // 68 lines of a new show file; a load shows the chosen row and link.
    void newRecordLoadAndSave()
    {
        TRabbitSheet *rabbit = m_fx->newRabbit();
        press(rabbit, Qt::CTRL | Qt::Key_H);
        TShowRecord *show = WindowRegistry::newest<TShowRecord>();
        QVERIFY(show);
        QVERIFY(show->backImage()->stretch());
        QVERIFY(showsWithoutScrollBars(show));
        const QString path = m_fx->path("new.shw");
        m_fx->platform().expectFile(path);
        press(show, Qt::CTRL | Qt::Key_S);
        QCOMPARE(readBytes(path), readBytes(TestFiles::dataPath("show/new.shw")));
        // The heading lets a right-click through to the background's menu.
        Input::clickOn(show->backImage(), Qt::RightButton, show->findChild<QLabel *>("Heading")->geometry().center());
        QVERIFY(changes(show, [&] { Input::chooseFromPopup("StretchPicture"); }));
        QVERIFY(!show->backImage()->stretch());

        // Open in an untitled, unchanged window loads there.
        const QString full = m_fx->copyData("show/full.shw", "full.shw");
        show = newShow();
        m_fx->platform().expectFile(full);
        press(show, Qt::CTRL | Qt::Key_O);
        QCOMPARE(show->fileName(), full);
        QCOMPARE(show->winningsNum()->currentText(), LineFile::read(full).lines().at(WinningsNum));
        QCOMPARE(show->rabbitLink()->link(), LineFile::read(full).lines().at(MainRabFile));
    }

    // Choosing another row is an edit: Cancel in the link panel keeps it (only the
    // link goes back). A row's value changes through its menu.
    void chosenRowIsAnEdit()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        const QString rabbit = m_fx->rabbit("r.rab", {{RabbitFile::RabbitName, "Dancer"}});
        press(show, Qt::CTRL | Qt::Key_L);
        // Typed on the focused list, as on any drop-down list.
        QVERIFY(changes(show, [&] { Input::keyOn(show->winningsNum(), Qt::Key_4); }));
        QCOMPARE(show->winningsNum()->currentText(), "4");
        platform.expectFile(rabbit);
        Input::clickOn(show->rabbitLink()->setButton());
        Input::clickOn(show->linkEditor()->cancelButton());
        QVERIFY(show->linkEditor()->isHidden());
        QCOMPARE(show->rabbitLink()->link(), None);
        QCOMPARE(show->winningsNum()->currentText(), "4");

        fromMenu(show, show->field(4, RowField::Award), "ChangeTextClick");
        Input::type("Best in Show");
        Input::key(Qt::Key_Return);
        platform.expectFile(m_fx->path("row.shw"));
        press(show, Qt::CTRL | Qt::Key_S);
        const LineFile saved = LineFile::read(m_fx->path("row.shw"));
        QCOMPARE(saved.at(WinningsNum), "4");
        QCOMPARE(saved.at(rowLine(4, RowField::Award)), "Best in Show");
    }

    // Update from Links copies the rabbit's identity and retakes the snapshot, so
    // Cancel then keeps the link.
    void updateFromLinks()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();

        Input::chooseFromMenuBar(show, "Edit1", "RSRabbitFileSet");
        const QString rabbit = m_fx->rabbit("dancer.rab", {{RabbitFile::RabbitName, "Dancer"}});
        platform.expectFile(rabbit);
        Input::clickOn(show->rabbitLink()->setButton());
        platform.expectQuestion(Overwrite, Answer::Ok);
        Input::clickOn(show->updateButton());
        QCOMPARE(value(show, "RabbitName"), "Dancer");
        QVERIFY(!show->linkEditor()->cancelButton()->isEnabled());
        press(show, Qt::CTRL | Qt::Key_L); // Cancel: the snapshot was retaken
        QCOMPARE(show->rabbitLink()->link(), rabbit);

        // A double-click on the link opens the rabbit's file.
        press(show, Qt::CTRL | Qt::Key_L);
        Input::doubleClickOn(show->rabbitLink()->pathEdit());
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "dancer.rab - Rabbit Information");
    }

    // Load Saved Rabbit links the file; Open Rabbit File opens
    // the linked file, or a new record carrying the sheet's identity.
    void rabbitCommands()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        typeInto(show, show->field("RabbitName"), "Dancer");
        onField(show, "RabbitName", "OpenRabbitFile");
        TRabbitSheet *fresh = WindowRegistry::newest<TRabbitSheet>();
        QCOMPARE(fresh->windowTitle(), "Untitled - Rabbit Information");
        QVERIFY(!fresh->isModified());
        QCOMPARE(fresh->field("RabbitName")->value(), "Dancer");

        const QString rabbit = m_fx->rabbit("r.rab", {{RabbitFile::RegNumber, "R-1"}});
        platform.expectFile(rabbit);
        QVERIFY(Input::activate(show));
        QVERIFY(changes(show, [&] { onField(show, "EarNumber", "LoadSavedRabbit"); }));
        QCOMPARE(show->rabbitLink()->link(), rabbit);
        QCOMPARE(value(show, "RegNumber"), "R-1");
        QCOMPARE(value(show, "RabbitName"), "Dancer");
        onField(show, "Color", "OpenRabbitFile");
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "r.rab - Rabbit Information");
    }
};

QTEST_MAIN(TestShowWindow)
#include "test_show_window.moc"
