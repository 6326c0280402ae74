// The find window over folders the tests write.

#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "find/Find.h"
#include "pedigree/MainScreen.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

class TestFindWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    TFind *find() const { return qobject_cast<TFind *>(m_fx->parent().runTool(QString::fromLatin1(TFind::KindId))); }
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
    // Types the text and presses Search; waits for the last result.
    static void search(TFind *window, const QString &text)
    {
        window->findChild<QLineEdit *>("FindName")->setText(text);
        QSignalSpy finished(window, &TFind::searchFinished);
        window->findChild<QPushButton *>("Search")->click();
        QVERIFY(finished.wait(20000));
        QVERIFY(!window->isSearching());
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
    // Clicks a result as the breeder would, then presses Open.
    static void openResult(TFind *window, int row)
    {
        Input::clickRow(found(window), row);
        window->findChild<QPushButton *>("Open")->click();
    }

private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

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
        QCOMPARE(window->folder(), QDir::currentPath()); // starts in the process's folder
        window->setFolder(dir);
        QCOMPARE(window->listedFiles(), QStringList({"a.ped", "b.rab", "c.brd", "d.shw", "OLDDOE.RAB"}));
        search(window, "smith");
        QCOMPARE(foundNames(window), QStringList({"a.ped", "b.rab", "b.rab", "d.shw", "OLDDOE.RAB"}));
        QCOMPARE(window->resultPaths().at(1), QDir(dir).filePath("b.rab"));

        // Show Records only: other kinds are neither listed nor read.
        auto *kinds = window->findChild<QComboBox *>("Extensions");
        kinds->setCurrentIndex(4);
        QCOMPARE(window->listedFiles(), QStringList({"d.shw"}));
        search(window, QString::fromUtf8("élodie"));
        QCOMPARE(foundNames(window), QStringList({"d.shw"}));
        kinds->setCurrentIndex(0);

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

        // Open with nothing selected does nothing; a click enables it.
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
    }

    // The one window: Cancel empties and hides it, Ctrl+F shows it again in the same folder;
    // the folder dialog sets the folder and FileBox follows.
    void oneWindowCancelAndBrowse()
    {
        const QString dir = folder("one");
        write(dir, "a.rab", {"smith"});
        TFind *window = find();
        window->setFolder(dir);
        search(window, "smith");
        QPointer<TFind> kept(window);
        window->findChild<QPushButton *>("FindCancel")->click();
        QVERIFY(window->isHidden());
        WindowFixture::deleteClosed();
        QVERIFY(kept); // hidden, not destroyed
        QCOMPARE(find(), window);
        QVERIFY(window->isVisible() && foundNames(window).isEmpty());
        QCOMPARE(window->folder(), dir);

        const QString other = folder("other");
        write(other, "z.shw", {});
        m_fx->platform().expectFile(std::nullopt);
        window->findChild<QToolButton *>("DirectoryBrowse")->click();
        QCOMPARE(window->folder(), dir);
        m_fx->platform().expectFile(other);
        window->findChild<QToolButton *>("DirectoryBrowse")->click();
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
            FindEngine::search(FindEngine::listFolder(dir, FindEngine::initialMask()), QStringLiteral("smith"));
        QStringList expected;
        for (const FindEngine::Hit &hit : all.hits)
            expected.append(hit.path);

        TFind *window = find();
        window->setFolder(dir);
        search(window, "smith");
        QCOMPARE(window->resultPaths(), expected);

        // Stopped at once: a prefix of the full results, and the window is ready again.
        window->findChild<QLineEdit *>("FindName")->setText("smith");
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
        window->findChild<QPushButton *>("Search")->click();
        window->findChild<QPushButton *>("FindCancel")->click();
        QVERIFY(!window->isSearching());
        // Left running: the program closing stops it and frees everything.
        window->findChild<QLineEdit *>("FindName")->setText("smith");
        window->findChild<QPushButton *>("Search")->click();
        QVERIFY(window->isSearching());
    }
};

QTEST_MAIN(TestFindWindow)
#include "test_find_window.moc"
