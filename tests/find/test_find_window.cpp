// The find window over folders the tests write.

#include "Input.h"
#include "TestFiles.h"
#include "Input.h"
#include "WindowFixture.h"
#include "find/Find.h"
#include "pedigree/MainScreen.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

class TestFindWindow : public WindowTest
{
    Q_OBJECT


    // Ctrl+F in the main window, as the breeder shows the find window.
    TFind *find() const
    {
        Input::focus(&m_fx->parent());
        Input::key(Qt::Key_F, Qt::ControlModifier);
        auto *window = WindowRegistry::newest<TFind>();
        return window && window->isVisible() ? window : nullptr;
    }
    QString folder(const QString &name) const
    {
        const QString path = m_fx->path(name);
        QDir().mkpath(path);
        return path;
    }
    static QString write(const QString &folder, const QString &name, const QStringList &lines)
    {
        return TestFiles::writeLines(QDir(folder).filePath(name), lines);
    }
    // Replaces the text of a line of the window by typing.
    static void typeInto(TFind *window, const char *line, const QString &text)
    {
        Input::focus(window->findChild<QLineEdit *>(line));
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::type(text);
    }
    // Types the text and clicks Search (or presses Enter); waits for the last result.
    static void search(TFind *window, const QString &text, bool byEnter = false)
    {
        typeInto(window, "FindName", text);
        QSignalSpy finished(window, &TFind::searchFinished);
        if (byEnter)
            Input::key(Qt::Key_Return);
        else
            Input::click(window->findChild<QPushButton *>("Search"));
        QVERIFY(finished.wait(20000));
        QVERIFY(!window->isSearching());
    }
    // Chooses a file kind with the keys in the drop-down list.
    static void chooseKind(TFind *window, Qt::Key key)
    {
        Input::focus(window->findChild<QComboBox *>("Extensions"));
        Input::key(key);
    }
    static QTreeWidget *found(TFind *window) { return window->findChild<QTreeWidget *>("FoundBox"); }
    // The results' first column: the files' names.
    static QStringList foundNames(TFind *window)
    {
        QStringList names;
        for (int i = 0; i < found(window)->topLevelItemCount(); ++i)
            names.append(found(window)->topLevelItem(i)->text(0));
        return names;
    }
    // Clicks a result as the breeder would, then clicks Open.
    static void openResult(TFind *window, int row)
    {
        Input::clickRow(found(window), row);
        Input::click(window->findChild<QPushButton *>("Open"));
    }
    // What the window shows: every control of its form, with the folder, kind, text
    // and results.
    static QString shown(TFind *window)
    {
        const QStringList controls{"FindName", "DirectoryBox", "Extensions", "FileBox", "FoundBox", "Search"};
        for (const QString &name : controls)
            if (!window->findChild<QWidget *>(name)->isVisible())
                return name + " is not shown";
        return QStringList{window->folder(), window->findChild<QComboBox *>("Extensions")->currentText(),
                           window->findChild<QLineEdit *>("FindName")->text(), foundNames(window).join(u',')}
            .join(u'|');
    }

private slots:

    // One entry per matching line, in list order; case folding on windows-1252 letters;
    // only the chosen kind of file is listed and searched.
    void searchAFolder()
    {
        const QString dir = folder("herd");
        write(dir, "b.rab", {"Thumper", "Ann SMITH", "x", "Smithfield Fair"});
        write(dir, "a.ped", {"smith"});
        write(dir, "c.brd", {"nothing here"});
        write(dir, "d.shw", {QString::fromUtf8("ÉLODIE at the smithy")});
        write(dir, "OLDDOE.RAB", {"Smith"});
        write(dir, "notes.txt", {"smith"});
        TFind *window = find();
        QVERIFY(window);
        QCOMPARE(window->folder(), QDir::currentPath()); // starts in the process's folder
        // The kinds the registry marks as searched, "All" first.
        const auto *kinds = window->findChild<QComboBox *>("Extensions");
        QStringList items;
        for (int i = 0; i < kinds->count(); ++i)
            items.append(kinds->itemText(i));
        QCOMPARE(items, QStringList({"All (*.ped, *.rab, *.brd, *.shw)", "Pedigree Files (*.ped)", "Rabbit Files (*.rab)",
                                     "Breeding Records (*.brd)", "Show Records (*.shw)"}));
        typeInto(window, "DirectoryBox", QDir::toNativeSeparators(dir));
        QCOMPARE(window->listedFiles(), QStringList({"a.ped", "b.rab", "c.brd", "d.shw", "OLDDOE.RAB"}));
        search(window, "smith", true);
        QCOMPARE(foundNames(window), QStringList({"a.ped", "b.rab", "b.rab", "d.shw", "OLDDOE.RAB"}));
        QCOMPARE(window->resultPaths().at(1), QDir(dir).filePath("b.rab"));

        // Show Records only: other kinds are neither listed nor read.
        chooseKind(window, Qt::Key_End);
        QCOMPARE(window->findChild<QComboBox *>("Extensions")->currentIndex(), 4);
        QCOMPARE(window->listedFiles(), QStringList({"d.shw"}));
        search(window, QString::fromUtf8("élodie"));
        QCOMPARE(foundNames(window), QStringList({"d.shw"}));
        chooseKind(window, Qt::Key_Home);

        // Search reads the folder as it is now, though FileBox was listed before.
        write(dir, "e.rab", {"smith"});
        search(window, "smith");
        QCOMPARE(foundNames(window), QStringList({"a.ped", "b.rab", "b.rab", "d.shw", "e.rab", "OLDDOE.RAB"}));
    }

    // Each result names the field of its line where the file's kind has a name for it,
    // so a blue colour tells from a rabbit named Blue; a double-click opens the file.
    void resultsNameTheirFields()
    {
        const QString dir = folder("fields");
        TestFiles::writeRabbit(QDir(dir).filePath("blue.rab"), {{RabbitFile::RabbitName, "Blue"},
                                                                {RabbitFile::Color, "Blue Otter"},
                                                                {RabbitFile::DadName, "Bluebell"},
                                                                {RabbitFile::siblingColor(3), "blue"}});
        TestFiles::writeLines(QDir(dir).filePath("chart.ped"),
                              LineFile::read(TestFiles::dataPath("pedigree/new.ped")).lines(),
                              {{12, "Bluebell"}, {33, "Blue"}});
        QStringList breeding = LineFile::read(TestFiles::dataPath("breeding/new.brd")).lines();
        breeding[5 + 12 * 2 + 11] = "2 Blue, 1 Black";
        TestFiles::writeLines(QDir(dir).filePath("litters.brd"), breeding);
        // Lines past a kind's layout, and files of no kind, have no field to name.
        TestFiles::writeRabbit(QDir(dir).filePath("OLDDOE.RAB"), {{RabbitFile::Color, "Blue"}});
        QStringList extra = LineFile::read(TestFiles::dataPath("rabbit/new.rab")).lines();
        extra.append("a blue note");
        TestFiles::writeLines(QDir(dir).filePath("zz.rab"), extra);

        TFind *window = find();
        window->setFolder(dir);
        search(window, "blue");
        QCOMPARE(foundNames(window), QStringList({"blue.rab", "blue.rab", "blue.rab", "blue.rab", "chart.ped",
                                                  "chart.ped", "litters.brd", "OLDDOE.RAB", "zz.rab"}));
        QCOMPARE(window->resultLines(),
                 QStringList({"Name: Blue", "Color: Blue Otter", "Sire's name: Bluebell", "Sibling 3's color: blue",
                              "Sire's name: Bluebell", "Sire's dam's weight: Blue", "Litter 3 colors: 2 Blue, 1 Black",
                              "Color: Blue", "a blue note"}));

        Input::doubleClickRow(found(window), 2);
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->fileName(), QDir(dir).filePath("blue.rab"));
    }

    // Each result opens in the window of its kind, from the path it was found in.
    void openingResults()
    {
        const QString dir = folder("first");
        const QString other = folder("second");
        TestFiles::writeRabbit(QDir(dir).filePath("a.rab"), {{RabbitFile::RabbitName, "Smith's Hazel"}});
        TestFiles::writeRabbit(QDir(other).filePath("a.rab"), {{RabbitFile::RabbitName, "Smith's Other"}});
        TestFiles::writeLines(QDir(dir).filePath("b.ped"),
                              LineFile::read(TestFiles::dataPath("pedigree/new.ped")).lines(), {{7, "Smith"}});
        write(dir, "OLDDOE.RAB", {"smith"});
        TFind *window = find();
        window->setFolder(dir);
        search(window, "smith");
        QCOMPARE(foundNames(window), QStringList({"a.rab", "b.ped", "OLDDOE.RAB"}));

        // Open starts disabled and a click on a result enables it; Open with nothing
        // selected does nothing.
        QVERIFY(!window->findChild<QPushButton *>("Open")->isEnabled());
        window->findChild<QPushButton *>("Open")->setEnabled(true);
        const int before = m_fx->windows();
        window->OpenClick();
        QCOMPARE(m_fx->windows(), before);

        // The folder changed since the search: the hit still opens the file searched.
        window->setFolder(other);
        openResult(window, 0);
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->record().value(RabbitFile::RabbitName), "Smith's Hazel");
        openResult(window, 1);
        QCOMPARE(WindowRegistry::newest<TMainScreen>()->fileName(), QDir(dir).filePath("b.ped"));
        // An extension not written exactly as a kind's opens nothing.
        const int opened = m_fx->windows();
        openResult(window, 2);
        QCOMPARE(m_fx->windows(), opened);
        QCOMPARE(foundNames(window).size(), 3); // results stay for further opening
        // A double click opens a result too.
        Input::doubleClickRow(found(window), 1);
        QCOMPARE(m_fx->windows(), opened + 1);
        QCOMPARE(WindowRegistry::newest<TMainScreen>()->fileName(), QDir(dir).filePath("b.ped"));
    }

    // The one window: its close button hides it, and Ctrl+F brings it back whole with
    // its folder, kind, text and results. Cancel and Esc empty the text and results and
    // hide it; Ctrl+F shows it again in the same folder. The folder dialog sets the
    // folder and FileBox follows.
    void oneWindowCloseCancelAndBrowse()
    {
        const QString dir = folder("one");
        write(dir, "a.rab", {"smith"});
        write(dir, "b.shw", {"smith"});
        TFind *window = find();
        window->setFolder(dir);
        chooseKind(window, Qt::Key_End);
        search(window, "smith");
        const QString before = shown(window);
        QCOMPARE(before, dir + "|Show Records (*.shw)|smith|b.shw");

        QPointer<TFind> kept(window);
        QVERIFY(Input::closeSubWindow(window));
        QVERIFY(kept && window->isHidden()); // hidden, not destroyed
        QCOMPARE(find(), window);
        QCOMPARE(shown(window), before);

        const QString emptied = dir + "|Show Records (*.shw)||";
        const auto cancelBy = [&](const char *how, const std::function<void()> &cancel) {
            search(window, "smith");
            cancel();
            QVERIFY2(window->isHidden(), how);
            QVERIFY2(find() == window, how);
            QCOMPARE(shown(window), emptied);
        };
        cancelBy("Cancel", [&] { Input::click(window->findChild<QPushButton *>("FindCancel")); });
        for (const char *focus : {"FoundBox", "FindName"})
            cancelBy(focus, [&] {
                Input::focus(window->findChild<QWidget *>(focus));
                Input::key(Qt::Key_Escape);
            });

        const QString other = folder("other");
        write(other, "z.shw", {});
        auto *browse = window->findChild<QToolButton *>("DirectoryBrowse");
        m_fx->platform().expectFile(std::nullopt);
        Input::click(browse);
        QCOMPARE(window->folder(), dir);
        m_fx->platform().expectFile(other);
        Input::click(browse);
        QCOMPARE(window->folder(), other);
        QCOMPARE(window->listedFiles(), QStringList({"z.shw"}));
    }

    // A long search can be stopped, and what it found stays in list order.
    void longSearchesStopAndShowProgress()
    {
        const QString dir = folder("many");
        QStringList lines(400, QStringLiteral("a line of a record with nothing in it"));
        lines.append("smith");
        const QByteArray bytes = TestFiles::crlf(lines);
        for (int i = 0; i < 3000; ++i)
            TestFiles::writeBytes(QDir(dir).filePath(QStringLiteral("r%1.rab").arg(i, 5, 10, QLatin1Char('0'))), bytes);
        const FindEngine::Outcome all =
            FindEngine::search(FindEngine::listFolder(dir, QStringLiteral("*.rab")), QStringLiteral("smith"));
        QStringList expected;
        for (const FindEngine::Hit &hit : all.hits)
            expected.append(hit.path);

        TFind *window = find();
        window->setFolder(dir);
        search(window, "smith");
        QCOMPARE(window->resultPaths(), expected);

        // The Stop button shows after a moment; its click keeps a prefix of the results.
        auto *search = window->findChild<QPushButton *>("Search");
        auto *stop = window->findChild<QPushButton *>("SearchStop");
        QVERIFY(!stop->isVisible());
        // However fast this machine searches, Stop shows before the search is done.
        window->setStopDelay(0);
        Input::click(search);
        QVERIFY(QTest::qWaitFor([&] { return stop->isVisible() || !window->isSearching(); }, 20000));
        QVERIFY2(stop->isVisible(), "the search ended before Stop showed");
        Input::click(stop);
        QVERIFY(!window->isSearching() && !stop->isVisible() && search->isEnabled());
        QCOMPARE(window->resultPaths(), expected.mid(0, window->resultPaths().size()));

        // Stopped at once: a prefix of the full results, and the window is ready again.
        QSignalSpy finished(window, &TFind::searchFinished);
        window->findChild<QPushButton *>("Search")->click();
        window->StopClick();
        QVERIFY(!window->isSearching());
        QCOMPARE(finished.size(), 1);
        const QStringList partial = window->resultPaths();
        QCOMPARE(partial, expected.mid(0, partial.size()));
        QVERIFY(partial.size() < expected.size());
        QVERIFY(window->findChild<QPushButton *>("Search")->isEnabled());
        // Cancel in the middle of a search stops it too.
        Input::click(search);
        Input::click(window->findChild<QPushButton *>("FindCancel"));
        QVERIFY(!window->isSearching());
        // Left running: the program closing stops it and frees everything.
        QCOMPARE(find(), window);
        typeInto(window, "FindName", "smith");
        Input::click(search);
        QVERIFY(window->isSearching());
    }
};

QTEST_MAIN(TestFindWindow)
#include "test_find_window.moc"
