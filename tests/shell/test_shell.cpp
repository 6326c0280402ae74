#include "WindowFixture.h"
#include "TestFiles.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

using Answer = Platform::Answer;

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithMenusAndNoDocuments();
    void openDispatchesByExactExtension();
    void toolsFromEveryWindowOpenNewWindows();
    void activeDocumentMenusReplaceTheFrames();
    void exitAndFrameCloseAskForEachChange();
    void helpOpensContents();

private:
    QStringList captions(QMenu *menu) const;
    int documents() const { return int(m_fx->parent().mdiArea()->subWindowList().size()); }

    std::unique_ptr<WindowFixture> m_fx;
};

void TestShell::init()
{
    m_fx = std::make_unique<WindowFixture>();
    QVERIFY(QTest::qWaitForWindowExposed(&m_fx->parent()));
}

void TestShell::cleanup()
{
    QCOMPARE(m_fx->finish(), QStringList());
    m_fx.reset();
}

QStringList TestShell::captions(QMenu *menu) const
{
    QStringList result;
    for (QAction *action : menu->actions())
        result.append(action->isSeparator() ? QStringLiteral("-")
                                            : action->text() + (action->shortcut().isEmpty()
                                                                    ? QString()
                                                                    : u' ' + action->shortcut().toString()));
    return result;
}

void TestShell::startsWithMenusAndNoDocuments()
{
    QCOMPARE(m_fx->parent().windowTitle(), QStringLiteral("Rabbit Hutchlore"));
    QCOMPARE(m_fx->parent().size(), QSize(1032, 748));
    QCOMPARE(documents(), 0);
    QCOMPARE(WindowRegistry::newest<TBigBadParent>(), &m_fx->parent());
    QCOMPARE(m_fx->parent().menuBar()->objectName(), QStringLiteral("ParentMenu"));
    QStringList bar;
    for (QAction *action : m_fx->parent().menuBar()->actions())
        bar.append(action->text());
    QCOMPARE(bar, QStringList({"&File", "&Tools", "&Window", "&Help"}));
    QCOMPARE(captions(m_fx->parent().findChild<QMenu *>("MMFile")), QStringList({"&Open", "-", "&Exit"}));
    QCOMPARE(captions(m_fx->parent().findChild<QMenu *>("MMTools")),
             QStringList({"&Hutchlore Ctrl+E", "&Rabbit Editor Ctrl+R", "&Breeding Records Ctrl+B",
                          "&Show Records Ctrl+H", "&Color Genetics Ctrl+G", "-", "&Find in Files Ctrl+F",
                          "&My Rabbitry Ctrl+M"}));
    QCOMPARE(captions(m_fx->parent().findChild<QMenu *>("Window1")), QStringList({"&Cascade"}));
    QCOMPARE(captions(m_fx->parent().findChild<QMenu *>("MMHelp")), QStringList({"&Hutchlore Help", "&About"}));
    QVERIFY(m_fx->parent().findChild<QAction *>("MMRabbitEditor")->isEnabled());
    // Tools whose windows are not part of the program yet are shown but disabled.
    QVERIFY(!m_fx->parent().findChild<QAction *>("MMBreeding")->isEnabled());
}

void TestShell::openDispatchesByExactExtension()
{
    const QString rab = m_fx->path("Thumper.rab");
    TestFiles::writeBytes(rab, TestFiles::readBytes(TestFiles::dataPath("rabbit/filled.rab")));
    const QString upper = m_fx->path("Thumper.RAB");
    QFile::copy(rab, upper);

    m_fx->platform().expectFile(upper); // same letters in another case: nothing happens
    m_fx->platform().expectFile(m_fx->path("notes.txt"));
    m_fx->platform().expectFile(std::nullopt);
    QAction *open = m_fx->parent().findChild<QAction *>("MMOpen");
    open->trigger();
    open->trigger();
    open->trigger();
    QCOMPARE(documents(), 0);

    m_fx->platform().expectFile(rab);
    open->trigger();
    m_fx->platform().expectFile(rab);
    open->trigger();
    QCOMPARE(documents(), 2); // the same file twice gives two windows
    auto *sheet = WindowRegistry::newest<TRabbitSheet>();
    QCOMPARE(sheet->windowTitle(), QStringLiteral("Blue Moon of Hazel Hill - Rabbit Information"));
    QCOMPARE(sheet->fileName(), rab);
    QVERIFY(!sheet->isModified());
    // The first save puts the file name in the caption.
    sheet->findChild<QAction *>("FileSave")->trigger();
    QCOMPARE(sheet->windowTitle(), QStringLiteral("Thumper.rab - Rabbit Information"));

    // A file that fails to load leaves its new window untitled and clean.
    LineFile({"too", "short"}).write(m_fx->path("short.rab"));
    m_fx->platform().expectFile(m_fx->path("short.rab"));
    open->trigger();
    QCOMPARE(m_fx->platform().takeErrors().size(), 1);
    auto *failed = WindowRegistry::newest<TRabbitSheet>();
    QCOMPARE(failed->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    QVERIFY(!failed->isModified());
}

void TestShell::toolsFromEveryWindowOpenNewWindows()
{
    QTest::keyClick(&m_fx->parent(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(documents(), 1);
    auto *first = WindowRegistry::newest<TRabbitSheet>();
    QVERIFY(first);
    first->setModified(true);
    // Ctrl+R inside a rabbit window, and File New, open further untitled windows.
    QTest::keyClick(&m_fx->parent(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(documents(), 2);
    auto *second = WindowRegistry::newest<TRabbitSheet>();
    QVERIFY(second != first);
    QCOMPARE(second->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    second->findChild<QAction *>("FileNew")->trigger();
    QCOMPARE(documents(), 3);
    QVERIFY(first->isModified()); // New never clears the current window
    QVERIFY(second->findChild<QAction *>("RabbitEditor")->isEnabled());
    QVERIFY(!second->findChild<QAction *>("BreedingRecord1")->isEnabled());

    // Closing the newest leaves no way to reach it through the registry.
    QPointer<TRabbitSheet> newest = WindowRegistry::newest<TRabbitSheet>();
    newest->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(newest.isNull());
    QCOMPARE(WindowRegistry::newest<TRabbitSheet>(), nullptr);
    first->setModified(false);
}

void TestShell::activeDocumentMenusReplaceTheFrames()
{
    m_fx->parent().MMRabbitEditorClick();
    auto *sheet = WindowRegistry::newest<TRabbitSheet>();
    m_fx->parent().mdiArea()->setActiveSubWindow(sheet);
    QStringList bar;
    for (QAction *action : m_fx->parent().menuBar()->actions())
        bar.append(action->text());
    QCOMPARE(bar, QStringList({"&File", "&Edit", "&Tools", "&Window", "Help"}));
    QMenu *file = sheet->findChild<QMenu *>("File");
    QCOMPARE(captions(file), QStringList({"&New Ctrl+N", "&Open Ctrl+O", "-", "&Save Ctrl+S", "Save &As", "-",
                                          "&Print Ctrl+P", "-", "&Close Ctrl+W"}));
    QVERIFY(m_fx->parent().menuBar()->actions().contains(file->menuAction()));

    sheet->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_fx->parent().findChild<QMenu *>("MMFile"));
    QVERIFY(m_fx->parent().menuBar()->actions().contains(m_fx->parent().findChild<QMenu *>("MMFile")->menuAction()));
}

void TestShell::exitAndFrameCloseAskForEachChange()
{
    const QString question = QStringLiteral("Unsaved work will be lost. Save changes?");
    m_fx->parent().MMRabbitEditorClick();
    WindowRegistry::newest<TRabbitSheet>()->setModified(true);
    m_fx->parent().MMRabbitEditorClick();
    WindowRegistry::newest<TRabbitSheet>()->setModified(true);
    m_fx->parent().MMRabbitEditorClick(); // clean: asks nothing

    // Cancel on the second question keeps the program and that window.
    m_fx->platform().expectQuestion(question, Answer::No);
    m_fx->platform().expectQuestion(question, Answer::Cancel);
    m_fx->parent().findChild<QAction *>("MMExit")->trigger();
    QVERIFY(m_fx->parent().isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(documents(), 2); // closing stopped at the refusal

    m_fx->platform().expectQuestion(question, Answer::No);
    QVERIFY(m_fx->parent().close());
    QVERIFY(!m_fx->parent().isVisible());
}

void TestShell::helpOpensContents()
{
    m_fx->parent().findChild<QAction *>("MMHutchloreHelp")->trigger();
    m_fx->parent().MMRabbitEditorClick();
    WindowRegistry::newest<TRabbitSheet>()->findChild<QAction *>("HelpContents")->trigger();
    QCOMPARE(m_fx->platform().helpOpened(), 2);
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
