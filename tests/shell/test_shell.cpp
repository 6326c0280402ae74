#include "WindowFixture.h"
#include "rabbit/RabbitSheet.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"
#include "shell/KindRegistry.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using Answer = Platform::Answer;

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_fx = std::make_unique<WindowFixture>();
        QVERIFY(QTest::qWaitForWindowExposed(&m_fx->parent()));
    }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    void startsWithMenusAndNoDocuments()
    {
        TBigBadParent &parent = m_fx->parent();
        QCOMPARE(parent.windowTitle(), QStringLiteral("Rabbit Hutchlore"));
        QCOMPARE(m_fx->windows(), 0);
        QCOMPARE(captions(parent.menuBar()), QStringList({"&File", "&Tools", "&Window", "&Help"}));
        QCOMPARE(captions(parent.findChild<QMenu *>("MMFile")), QStringList({"&Open", "&Recent Files", "-", "&Exit"}));
        QCOMPARE(captions(parent.findChild<QMenu *>("MMTools")),
                 QStringList({"&Hutchlore Ctrl+E", "&Rabbit Editor Ctrl+R", "&Breeding Records Ctrl+B",
                              "&Show Records Ctrl+H", "&Color Genetics Ctrl+G", "-", "&Find in Files Ctrl+F",
                              "&My Rabbitry Ctrl+M"}));
        QCOMPARE(captions(parent.findChild<QMenu *>("Window1")), QStringList({"&Cascade"}));
        QCOMPARE(captions(parent.findChild<QMenu *>("MMHelp")), QStringList({"&Hutchlore Help", "&About"}));
        // A Tools entry is enabled when its window is part of the program.
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            QCOMPARE(action(qPrintable(kind.mainToolName))->isEnabled(), kind.isAvailable());
        QVERIFY(action("MMRabbitEditor")->isEnabled());
    }
    void openDispatchesByExactExtension()
    {
        const QString rab = m_fx->copyData("rabbit/filled.rab", "Thumper.rab");
        const QString upper = m_fx->copyData("rabbit/filled.rab", "Thumper.RAB");
        // Same letters in another case, another extension, Cancel: nothing opens.
        for (const QString &path : {upper, m_fx->path("notes.txt"), QString()}) {
            m_fx->platform().expectFile(path.isEmpty() ? std::nullopt : std::optional(path));
            action("MMOpen")->trigger();
        }
        QCOMPARE(m_fx->windows(), 0);
        for (int i = 0; i < 2; ++i) {
            m_fx->platform().expectFile(rab);
            action("MMOpen")->trigger();
        }
        QCOMPARE(m_fx->windows(), 2); // the same file twice gives two windows
        auto *sheet = WindowRegistry::newest<TRabbitSheet>();
        QCOMPARE(sheet->windowTitle(), QStringLiteral("Blue Moon of Hazel Hill - Rabbit Information")); // line 0
        // The first save puts the file name in the caption.
        sheet->findChild<QAction *>("FileSave")->trigger();
        QCOMPARE(sheet->windowTitle(), QStringLiteral("Thumper.rab - Rabbit Information"));
    }
    void toolsFromEveryWindowOpenNewWindows()
    {
        QTest::keyClick(&m_fx->parent(), Qt::Key_R, Qt::ControlModifier);
        auto *first = WindowRegistry::newest<TRabbitSheet>();
        QVERIFY(first);
        // Ctrl+R inside a rabbit window, and File New, open further untitled windows;
        // New never clears the window it is given in.
        QTest::keyClick(&m_fx->parent(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(m_fx->windows(), 2);
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(),
                 QStringLiteral("Untitled - Rabbit Information"));
        first->setModified(true);
        first->findChild<QAction *>("FileNew")->trigger();
        QCOMPARE(m_fx->windows(), 3);
        QVERIFY(first->isModified());
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            QCOMPARE(first->findChild<QAction *>(kind.documentToolName)->isEnabled(), kind.isAvailable());
    }
    // The active document's menus stand in the bar until it closes; Help Contents
    // opens from the frame and from a document.
    void activeDocumentMenusReplaceTheFrames()
    {
        action("MMHutchloreHelp")->trigger();
        auto *sheet = m_fx->newRabbit();
        m_fx->parent().mdiArea()->setActiveSubWindow(sheet);
        QCOMPARE(captions(m_fx->parent().menuBar()), QStringList({"&File", "&Edit", "&Tools", "&Window", "Help"}));
        QMenu *file = sheet->findChild<QMenu *>("File");
        QCOMPARE(captions(file),
                 QStringList({"&New Ctrl+N", "&Open Ctrl+O", "&Recent Files", "-", "&Save Ctrl+S", "Save &As", "-",
                              "&Print Ctrl+P", "Export as &PDF...", "-", "&Close Ctrl+W"}));
        QVERIFY(m_fx->parent().menuBar()->actions().contains(file->menuAction()));
        sheet->findChild<QAction *>("HelpContents")->trigger();
        QCOMPARE(m_fx->platform().helpOpened(), 2);

        sheet->close();
        WindowFixture::deleteClosed();
        QVERIFY(
            m_fx->parent().menuBar()->actions().contains(m_fx->parent().findChild<QMenu *>("MMFile")->menuAction()));
    }
    void exitAndFrameCloseAskForEachChange()
    {
        const QString question = QStringLiteral("Unsaved work will be lost. Save changes?");
        m_fx->newRabbit()->setModified(true);
        m_fx->newRabbit()->setModified(true);
        m_fx->newRabbit(); // clean: asks nothing

        // Cancel on the second question keeps the program and that window.
        m_fx->platform().expectQuestion(question, Answer::No);
        m_fx->platform().expectQuestion(question, Answer::Cancel);
        action("MMExit")->trigger();
        QVERIFY(m_fx->parent().isVisible());
        WindowFixture::deleteClosed();
        QCOMPARE(m_fx->windows(), 2); // closing stopped at the refusal

        m_fx->platform().expectQuestion(question, Answer::No);
        QVERIFY(m_fx->parent().close());
        QVERIFY(!m_fx->parent().isVisible());
    }

private:
    // Captions of a menu or the menu bar, each with its shortcut; "-" for a separator.
    static QStringList captions(QWidget *menu)
    {
        QStringList result;
        for (QAction *action : menu->actions())
            result.append(action->isSeparator()          ? QStringLiteral("-")
                          : action->shortcut().isEmpty() ? action->text()
                                                         : action->text() + u' ' + action->shortcut().toString());
        return result;
    }
    QAction *action(const char *name) const { return m_fx->parent().findChild<QAction *>(name); }

    std::unique_ptr<WindowFixture> m_fx;
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
