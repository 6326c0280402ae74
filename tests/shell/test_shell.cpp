#include "Input.h"
#include "WindowFixture.h"
#include "rabbit/RabbitSheet.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/KindRegistry.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using Answer = Platform::Answer;

class TestShell : public WindowTest
{
    Q_OBJECT
private slots:
    void init()
    {
        WindowTest::init();
        QVERIFY(QTest::qWaitForWindowExposed(&m_fx->parent()));
    }

    // A Tools entry is enabled when its window is part of the program, in the frame and in a document.
    void toolsOpenNewWindowsWhereAvailable()
    {
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            QCOMPARE(action(qPrintable(kind.mainToolName))->isEnabled(), kind.isAvailable());
        Input::focus(&m_fx->parent());
        Input::key(Qt::Key_R, Qt::ControlModifier);
        auto *first = WindowRegistry::newest<TRabbitSheet>();
        QVERIFY(first);
        // Ctrl+R inside a rabbit window, and File New (Ctrl+N), open further windows; New
        // never clears the window it is given in.
        Input::focus(first);
        Input::key(Qt::Key_R, Qt::ControlModifier);
        first->setModified(true);
        Input::focus(first);
        Input::key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(m_fx->windows(), 3);
        QVERIFY(first->isModified());
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            QCOMPARE(first->findChild<QAction *>(kind.documentToolName)->isEnabled(), kind.isAvailable());
    }
    void openDispatchesByExactExtension()
    {
        const QString rab = m_fx->copyData("rabbit/filled.rab", "Thumper.rab");
        const QString upper = m_fx->copyData("rabbit/filled.rab", "Thumper.RAB");
        // Same letters in another case, another extension, Cancel: nothing opens.
        for (const QString &path : {upper, m_fx->path("notes.txt"), QString()}) {
            m_fx->platform().expectFile(path.isEmpty() ? std::nullopt : std::optional(path));
            Input::chooseFromMenuBar(&m_fx->parent(), "MMFile", "MMOpen");
        }
        QCOMPARE(m_fx->windows(), 0);
        m_fx->platform().expectFile(rab);
        Input::chooseFromMenuBar(&m_fx->parent(), "MMFile", "MMOpen");
        // The frame's own File menu is in the bar only while no document is active.
        m_fx->platform().expectFile(rab);
        action("MMOpen")->trigger();
        QCOMPARE(m_fx->windows(), 2); // the same file twice gives two windows
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->fileName(), rab);
    }
    // The active document's menus stand in the bar until it closes; Help Contents
    // opens from the frame and from a document, and so does the about box, modal to
    // the main window until its Ok.
    void activeDocumentMenusReplaceTheFrames()
    {
        Input::chooseFromMenuBar(&m_fx->parent(), "MMHelp", "MMHutchloreHelp");
        auto *sheet = m_fx->newRabbit();
        QVERIFY(Input::activate(sheet));
        QMenu *file = sheet->findChild<QMenu *>("File");
        QVERIFY(bar()->actions().contains(file->menuAction()));
        QVERIFY(file->actions().contains(sheet->findChild<QAction *>("FileExportPdf")));
        Input::chooseFromMenuBar(sheet, "Help", "HelpContents");
        QCOMPARE(m_fx->platform().helpOpened(), 2);

        QPointer<QWidget> box;
        QVERIFY(Input::whileModal([&] { Input::chooseFromMenuBar(sheet, "Help", "About"); },
                                  [&](QWidget *modal) {
                                      box = modal;
                                      QVERIFY(Input::blockedByModal(sheet));
                                      Input::click(modal->findChild<QPushButton *>("AboutOk"));
                                  }));
        QVERIFY(box && !box->isVisible() && !Input::blockedByModal(sheet));

        QVERIFY(Input::closeSubWindow(sheet));
        QVERIFY(bar()->actions().contains(m_fx->parent().findChild<QMenu *>("MMFile")->menuAction()));
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
    QAction *action(const char *name) const { return m_fx->parent().findChild<QAction *>(name); }
    QMenuBar *bar() const { return m_fx->parent().menuBar(); }

};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
