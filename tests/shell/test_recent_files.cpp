#include "TestFiles.h"
#include "Input.h"
#include "WindowFixture.h"
#include "pedigree/MainScreen.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"
#include "shell/DocumentWindow.h"
#include "frame/RecentFiles.h"
#include "frame/RecentFilesMenu.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using Answer = Platform::Answer;

namespace {

QStringList numbered(const QString &folder, int first, int last)
{
    QStringList paths;
    for (int i = first; i <= last; ++i)
        paths.append(QDir(folder).filePath(QStringLiteral("r%1.rab").arg(i)));
    return paths;
}

QStringList entries(RecentFilesMenu *menu)
{
    menu->refresh();
    QStringList paths;
    for (QAction *action : menu->actions())
        paths.append(action->data().toString());
    return paths;
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    QString m_settings;

private slots:
    void init()
    {
        // Never the user's own settings.
        m_settings = m_settingsDir.filePath(QStringLiteral("recent-%1.ini").arg(QTest::currentTestFunction()));
        RecentFiles::useSettingsFile(m_settings);
    }
    void cleanup() { RecentFiles::stopKeeping(); }

    void listOrderLimitAndRepeats()
    {
        const QStringList twelve = numbered(QStringLiteral("/herd"), 1, 12);
        QStringList list;
        for (const QString &path : twelve)
            list = RecentFiles::withAdded(list, path);
        // Most recent first, ten at most: the two oldest fell off.
        QStringList expected = twelve.mid(2);
        std::reverse(expected.begin(), expected.end());
        QCOMPARE(list, expected);
        // Opened again, a listed file moves to the top and is listed once.
        list = RecentFiles::withAdded(list, QStringLiteral("/herd/r5.rab"));
        expected.move(expected.indexOf("/herd/r5.rab"), 0);
        QCOMPARE(list, expected);
        // Two spellings of one path are one entry; a relative path is made absolute.
        list = RecentFiles::withAdded(list, QStringLiteral("/herd/x/../r12.rab"));
        QCOMPARE(list.mid(0, 2), (QStringList{"/herd/r12.rab", "/herd/r5.rab"}));
        QCOMPARE(list.count(QStringLiteral("/herd/r12.rab")), 1);
        QCOMPARE(RecentFiles::withAdded({}, QStringLiteral("a.ped")), QStringList{QDir::current().filePath("a.ped")});

        // Menu texts: "&" is no accelerator, a line break no second line, a long path is cut in the middle.
        QCOMPARE(RecentFilesMenu::entryText(1, "/herd/Salt & Pepper.rab"),
                 QStringLiteral("&1 /herd/Salt && Pepper.rab"));
        QCOMPARE(RecentFilesMenu::entryText(10, "/a\nb.ped"), QStringLiteral("1&0 /a b.ped"));
        const QString text = RecentFilesMenu::entryText(2, "/herd/" + QString(200, u'f') + "/Blaze.ped");
        QVERIFY(text.size() <= 75 && text.startsWith("&2 /herd/f") && text.endsWith("f/Blaze.ped"));
    }

    void storedListSurvivesAndIsCleaned()
    {
        for (const QString &path : numbered(QStringLiteral("/herd"), 1, 3))
            RecentFiles::add(path);
        QCOMPARE(RecentFiles::list(), (QStringList{"/herd/r3.rab", "/herd/r2.rab", "/herd/r1.rab"}));

        // A settings file edited by hand: empty entries, repeats, far too many, not a list.
        const auto stored = [&](const QVariant &value) {
            QSettings(m_settings, QSettings::IniFormat).setValue("RecentFiles", value);
            return RecentFiles::list();
        };
        const QStringList list = stored(QStringList{"", "/a.ped", "/a.ped"} + numbered(QStringLiteral("/b"), 1, 30));
        QCOMPARE(list.size(), RecentFiles::Limit);
        QCOMPARE(list.mid(0, 2), (QStringList{"/a.ped", "/b/r1.rab"}));
        QCOMPARE(stored(42), QStringList());
        QCOMPARE(stored("/one.ped"), QStringList{"/one.ped"});
    }

    // Opening and saving fill the list; every window's File menu offers it and opens
    // each record in a window of its kind; a file that is gone leaves the list.
    void windowsRecordAndOpen()
    {
        WindowFixture fx;
        TBigBadParent &parent = fx.parent();
        auto *mainMenu = parent.findChild<RecentFilesMenu *>("MMRecentFiles");
        QCOMPARE(entries(mainMenu), QStringList{QString()}); // the disabled "(none)"
        QVERIFY(!mainMenu->actions().first()->isEnabled());

        const QString rabbit = fx.copyData("rabbit/filled.rab", "Blue Moon.rab");
        const QString chartPath = fx.copyData("pedigree/new.ped", "Chart & Co.ped");
        TMainScreen *chart = fx.newChart();
        chart->loadFile(chartPath);
        TRabbitSheet *sheet = fx.newRabbit();
        sheet->saveFile(fx.path("saved.rab"));
        // A load that fails is not a record opened.
        LineFile({"too", "short"}).write(fx.path("short.ped"));
        QVERIFY(!TestFiles::messageOf<RecordError>([&] { chart->loadFile(fx.path("short.ped")); }).isEmpty());
        sheet->loadFile(rabbit);
        const QStringList expected{rabbit, fx.path("saved.rab"), chartPath};
        QCOMPARE(RecentFiles::list(), expected);
        auto *documentMenu = chart->findChild<RecentFilesMenu *>("RecentFiles");
        QCOMPARE(entries(documentMenu), expected);

        // From a document window's menu, the pedigree opens in a new pedigree window.
        const int before = fx.windows();
        // The list's entry `index`, chosen with the mouse from the File menu in the bar
        // (what each entry opens is checked by the windows it opens).
        const auto fromRecent = [&](int index) {
            QMdiSubWindow *active = parent.mdiArea()->activeSubWindow();
            const QByteArray entry =
                (active ? "RecentFiles/RecentFile" : "MMRecentFiles/RecentFile") + QByteArray::number(index);
            Input::chooseFromMenuBar(active ? static_cast<QWidget *>(active) : &parent, nullptr, entry.constData());
            return !QTest::currentTestFailed();
        };
        QVERIFY(Input::activate(chart));
        QVERIFY(fromRecent(3));
        QCOMPARE(fx.windows(), before + 1);
        auto *opened = WindowRegistry::newest<TMainScreen>();
        QVERIFY(opened != chart && opened->fileName() == chartPath);

        // From the main window's menu once no document is left open; a file that is
        // gone is taken off the list, with a message, and opens nothing.
        for (QMdiSubWindow *window : parent.mdiArea()->subWindowList()) {
            qobject_cast<DocumentWindow *>(window)->setModified(false);
            QVERIFY(Input::closeSubWindow(window));
        }
        QVERIFY(QFile::remove(rabbit));
        fx.platform().expectQuestion(QStringLiteral("\"%1\" could not be found. It has been removed from the "
                                                    "Recent Files list.")
                                         .arg(rabbit),
                                     Answer::Ok);
        QVERIFY(fromRecent(2));
        QVERIFY(fx.platform().allAnswered());
        QCOMPARE(fx.windows(), 0);
        QCOMPARE(RecentFiles::list(), (QStringList{chartPath, fx.path("saved.rab")}));
        QVERIFY(fromRecent(2));
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->fileName(), fx.path("saved.rab"));
        QCOMPARE(fx.finish(), QStringList());
    }
};

QTEST_MAIN(TestRecentFiles)
#include "test_recent_files.moc"
