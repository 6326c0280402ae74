// The rabbitry window, and the pedigree's rabbitry link with its hand-off.

#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "pedigree/PedigreeLinks.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "rabbitry/MyRabbitry.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"
#include "shell/SheetWidgets.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using Answer = Platform::Answer;
using namespace RabbitFile;

namespace {
const QString Unsaved = QStringLiteral("Unsaved work will be lost. Save changes?");
const QString RemoveQuestion = QStringLiteral("Remove Rabbit from Rabbitry? (File will not be deleted)");
const QString AlreadyListed = QStringLiteral("That rabbit is already in the rabbitry");
} // namespace

class TestRabbitryWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    TMyRabbitry *newRabbitry() const
    {
        return qobject_cast<TMyRabbitry *>(m_fx->parent().runTool(QString::fromLatin1(TMyRabbitry::KindId)));
    }
    // A rabbit file in a sub-folder of the scratch folder.
    QString rabbit(const QString &relative, const QMap<int, QString> &values, int keep = -1) const
    {
        const QString path = m_fx->path(relative);
        QDir().mkpath(QFileInfo(path).path());
        return TestFiles::writeRabbit(path, values, keep);
    }
    void add(TMyRabbitry *window, const QString &path)
    {
        m_fx->platform().expectFile(path);
        window->findChild<QPushButton *>("Add")->click();
    }
    void press(TMyRabbitry *window, const char *button) { window->findChild<QPushButton *>(button)->click(); }
    static QStringList shownNames(TMyRabbitry *window) { return itemTexts(window->rabbitList()); }
    // The preview's texts: name, ear, registration, sex, colour, owner.
    static QStringList preview(TMyRabbitry *window)
    {
        QStringList texts;
        for (const char *name : {"Name", "Ear", "Reg", "Sex", "Color", "RabbitOwner"})
            texts.append(window->previewValue(name)->text());
        return texts;
    }
    static bool previewBlank(TMyRabbitry *window)
    {
        return preview(window) == QStringList(6, QString()) && window->picture()->isBlank();
    }
    // Chooses an entry of the chart's header menu.
    void onHeader(TMainScreen *chart, const char *action)
    {
        QTest::mouseClick(chart->field("BreederLabel"), Qt::RightButton);
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
        trigger(chart, action);
    }
    void setText(TMainScreen *chart, const QString &field, const QString &text)
    {
        QTest::mouseClick(chart->field(field), Qt::LeftButton);
        chart->findChild<QLineEdit *>("TextEdit")->setText(text);
        chart->findChild<QPushButton *>("TextOk")->click();
    }

private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    // Add, the sorted list, Remove, the details and what Save writes.
    void listDetailsAndSave()
    {
        ScriptedPlatform &platform = m_fx->platform();
        const QString b = rabbit("does/b.rab", {{RabbitName, "Bramble"}});
        const QString a = rabbit("bucks/a.rab", {{RabbitName, "Acorn"}, {EarNumber, "A1"}});
        const QString z = rabbit("adir/Zz.rab", {});
        TMyRabbitry *window = newRabbitry();
        QVERIFY(!window->findChild<QPushButton *>("OpenPedigree")->isEnabled());

        // Shown by file name whatever the folder; each entry keeps its path.
        for (const QString &path : {b, z})
            add(window, path);
        QVERIFY(changes(window, [&] { add(window, a); }));
        QCOMPARE(shownNames(window), QStringList({"a.rab", "b.rab", "Zz.rab"}));
        QCOMPARE(window->rabbits(), QStringList({a, b, z}));

        // The same path again is refused, yet the flag is set; a path the file cannot
        // store is refused, not saved as "?".
        platform.expectFile(b);
        platform.expectQuestion(AlreadyListed, Answer::Ok);
        QVERIFY(changes(window, [&] { press(window, "Add"); }));
        QVERIFY(platform.allAnswered());
        add(window, m_fx->path(QString::fromUtf8("\u5154.rab")));
        platform.takeError("cannot store");
        QCOMPARE(window->rabbits().size(), 3);

        // Remove asks first, and No changes nothing.
        QVERIFY(window->selectRabbit(a));
        QVERIFY(window->findChild<QPushButton *>("OpenPedigree")->isEnabled());
        platform.expectQuestion(RemoveQuestion, Answer::No);
        QVERIFY(!changes(window, [&] { press(window, "Remove"); }));
        platform.expectQuestion(RemoveQuestion, Answer::Yes);
        QVERIFY(changes(window, [&] { press(window, "Remove"); }));
        QCOMPARE(window->rabbits(), QStringList({b, z}));
        QVERIFY(previewBlank(window));
        QVERIFY(QFileInfo::exists(a)); // the rabbit file itself stays

        // Typing in a detail field is an edit; Save writes paths by full path, the marker, the details.
        QVERIFY(changes(window, [&] { QTest::keyClicks(window->detailField("RabbitryName"), "Hazel Hill"); }));
        QTest::keyClicks(window->detailField("RabbitryPhone"), "555-0100");
        const QString saved = m_fx->path("mine.rbty");
        platform.expectFile(saved);
        trigger(window, "FileSave");
        QCOMPARE(LineFile::read(saved).lines(),
                 QStringList({z, b, "-RabbitryInfo-", "Hazel Hill", "", "", "555-0100"}));

        // Typed characters a file cannot hold stop the save; the file and the flag stay.
        window->detailField("RabbitryAddress")->setText(QString::fromUtf8("\u2603 Lane"));
        window->recordEdit();
        trigger(window, "FileSave");
        platform.takeError("Address:");
        QVERIFY(window->isModified());
        QCOMPARE(LineFile::read(saved).at(4), "");
    }

    // The selected rabbit is previewed; a file that cannot be read leaves nothing of the
    // previous rabbit behind. The reading itself is tested with readPreview.
    void previewOfTheSelectedRabbit()
    {
        const QString png = m_fx->path("photo.png");
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::darkRed);
        image.save(png);
        const QString full = rabbit("full.rab", {{RabbitName, "Hazel"},
                                                 {OwnerName, "Ann"},
                                                 {EarNumber, "H7"},
                                                 {RegNumber, "R12"},
                                                 {Sex, "Doe"},
                                                 {Color, "Blue"},
                                                 {RabbitPicture, png}});
        TMyRabbitry *window = newRabbitry();
        for (const QString &path : {full, m_fx->path("gone.rab")})
            add(window, path);
        window->setModified(false);
        QVERIFY(window->selectRabbit(full));
        QCOMPARE(preview(window), QStringList({"Hazel", "H7", "R12", "Doe", "Blue", "Ann"}));
        QVERIFY(!window->picture()->isBlank());
        QVERIFY(window->selectRabbit(m_fx->path("gone.rab")));
        m_fx->platform().takeError("gone.rab");
        QVERIFY(previewBlank(window));
        QVERIFY(!window->isModified()); // previews are not edits
    }

    // The four Open buttons read the selected rabbit's file when pressed.
    void openCommands()
    {
        ScriptedPlatform &platform = m_fx->platform();
        const QString pedigree = m_fx->copyData("pedigree/new.ped", "line.ped");
        const QString old69 = m_fx->copyData("rabbit/old69.rab", "old69.rab");
        const QString old71 = m_fx->copyData("rabbit/old71.rab", "old71.rab");
        TestFiles::writeLines(old71, LineFile::read(old71).lines(), {{PedigreeLink, pedigree}});
        // Two a.rab in different folders: the selected one opens.
        const QString a1 = rabbit("one/a.rab", {{RabbitName, "First"}});
        const QString a2 = rabbit("two/a.rab", {{RabbitName, "Second"}});
        TMyRabbitry *window = newRabbitry();
        for (const QString &path : {old69, old71, a1, a2})
            add(window, path);

        QVERIFY(window->selectRabbit(a2));
        press(window, "OpenRabbitFile");
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->record().value(RabbitName), "Second");

        const auto noLink = [&](const char *button, Rabbitry::RabbitLink link) {
            platform.expectQuestion(Rabbitry::noLinkMessage(link), Answer::Ok);
            press(window, button);
            QVERIFY2(platform.allAnswered(), button);
        };
        QVERIFY(window->selectRabbit(old69));
        noLink("OpenBreeding", Rabbitry::RabbitLink::Breeding);

        QVERIFY(window->selectRabbit(old71));
        const int before = m_fx->windows();
        press(window, "OpenPedigree");
        QCOMPARE(m_fx->windows(), before + 1);
        QCOMPARE(WindowRegistry::newest<TMainScreen>()->fileName(), pedigree);

        // The link is read from the file as it is now, not as it was previewed.
        TestFiles::writeLines(old71, LineFile::read(old71).lines(), {{PedigreeLink, "None"}});
        noLink("OpenPedigree", Rabbitry::RabbitLink::Pedigree);
        // A link to a file that is gone is reported and leaves no window behind.
        TestFiles::writeLines(old71, LineFile::read(old71).lines(), {{PedigreeLink, m_fx->path("gone.ped")}});
        press(window, "OpenPedigree");
        platform.takeError("gone.ped");
        WindowFixture::deleteClosed();
        QCOMPARE(m_fx->windows(), before + 1);
    }

    // A record started from the header hands its file back to that pedigree only.
    void rabbitryStartedFromAPedigree()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TMainScreen *a = m_fx->newChart();
        TMainScreen *b = m_fx->newChart(); // the newest pedigree
        setText(a, "BreederLabel", "Hazel Hill Rabbitry");
        setText(a, "AddressLabel", "12 Warren Lane, Springfield");

        onHeader(a, "OpenRabbitry");
        auto *started = WindowRegistry::newest<TMyRabbitry>();
        QVERIFY(!started->isModified());
        QCOMPARE(started->positionCode(), PedigreeFile::HeaderCode);
        QCOMPARE(started->details(), Rabbitry::Details({"Hazel Hill Rabbitry", "12 Warren Lane, Springfield",
                                                        "12 Warren Lane, Springfield", ""}));

        // The breeder shortens the abbreviated address, saves and closes: A takes it.
        started->detailField("RabbitryAbrev")->setText("Springfield");
        const QString path = m_fx->path("hazel.rbty");
        platform.expectFile(path);
        trigger(started, "FileSaveAs");
        a->setModified(false);
        QVERIFY(started->close());
        QVERIFY(a->isModified());
        QCOMPARE(a->linkEditor()->rabbitryLink()->link(), path);
        QCOMPARE(a->field("AddressLabel")->text(), "Springfield");
        QVERIFY(!b->isModified());

        // Linked now: Open Rabbitry opens the file, and that window hands nothing back.
        onHeader(a, "OpenRabbitry");
        auto *opened = WindowRegistry::newest<TMyRabbitry>();
        QVERIFY(opened->fileName() == path && opened->positionCode() == 0);
        QVERIFY(opened->close());

        // A placeholder breeder line starts a record with an empty name; unsaved, nothing comes back.
        onHeader(b, "OpenRabbitry");
        started = WindowRegistry::newest<TMyRabbitry>();
        QCOMPARE(started->details(), Rabbitry::Details());
        started->recordEdit();
        platform.expectQuestion(Unsaved, Answer::No);
        QVERIFY(!changes(b, [&] { QVERIFY(started->close()); }));
        QCOMPARE(b->linkEditor()->rabbitryLink()->link(), "None");

        // The starting pedigree closed first: saved, nothing handed back, nothing fails.
        onHeader(b, "OpenRabbitry");
        started = WindowRegistry::newest<TMyRabbitry>();
        platform.expectFile(m_fx->path("orphan.rbty"));
        trigger(started, "FileSaveAs");
        QPointer<TMainScreen> gone(b);
        a->setModified(false);
        QVERIFY(b->close());
        WindowFixture::deleteClosed();
        QVERIFY(gone.isNull());
        QVERIFY(started->close());
        QVERIFY(!a->isModified());
        QCOMPARE(a->linkEditor()->rabbitryLink()->link(), path);
    }

    // Load Saved Rabbitry, and the sixteenth row of the related-file editor.
    void loadSavedRabbitryAndTheLinkRow()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TMainScreen *chart = m_fx->newChart();
        setText(chart, "BreederLabel", "Old Breeder");
        setText(chart, "AddressLabel", "Old Address");

        // A file saved without details empties both lines (no placeholder).
        const QString blank = m_fx->path("blank.rbty");
        Rabbitry::write(blank, {}, {});
        platform.expectFile(blank);
        QVERIFY(changes(chart, [&] { onHeader(chart, "LoadSavedRabbitry"); }));
        QCOMPARE(chart->field("BreederLabel")->text(), "");
        QCOMPARE(chart->linkEditor()->rabbitryLink()->link(), blank);

        // An older list without details, even one shorter than five lines: linked, nothing else, no error.
        setText(chart, "BreederLabel", "Kept");
        const QString older = TestFiles::writeLines(m_fx->path("older.rbty"), {"C:\\a.rab"});
        platform.expectFile(older);
        onHeader(chart, "LoadSavedRabbitry");
        QCOMPARE(chart->linkEditor()->rabbitryLink()->link(), older);
        QCOMPARE(chart->field("BreederLabel")->text(), "Kept");
        // A file that cannot be read changes nothing.
        platform.expectFile(m_fx->path("missing.rbty"));
        onHeader(chart, "LoadSavedRabbitry");
        platform.takeError("missing.rbty");
        QCOMPARE(chart->linkEditor()->rabbitryLink()->link(), older);

        // The link row: set and clear turn Cancel on, and Cancel does not undo them.
        PedigreeLinkEditor *editor = chart->linkEditor();
        LinkField *link = editor->rabbitryLink();
        trigger(chart, "SetFileLinks");
        QVERIFY(link->isEnabled());
        m_fx->platform().expectQuestion("This will overwrite existing values. Continue?", Answer::Ok);
        editor->updateButton()->click(); // turns Cancel off
        QVERIFY(!editor->cancelButton()->isEnabled());
        platform.expectFile(blank);
        QVERIFY(changes(chart, [&] { editor->findChild<QToolButton *>("RabbitryFileSet")->click(); }));
        QVERIFY(link->link() == blank && editor->cancelButton()->isEnabled());
        editor->findChild<QToolButton *>("RabbitryFileNew")->click();
        QCOMPARE(link->link(), "None");
        editor->cancelButton()->click();
        QCOMPARE(link->link(), "None");

        // A double click on no link names a new rabbitry's file at once.
        trigger(chart, "SetFileLinks");
        const QString made = m_fx->path("made.rbty");
        platform.expectFile(made);
        QTest::mouseDClick(link->pathEdit(), Qt::LeftButton);
        QCOMPARE(link->link(), made);
        QVERIFY(QFileInfo::exists(made));
    }

    // Blank lines after the phone line, as an editor leaves them: File > Open takes
    // the file, Save writes it without them, and the pedigree takes its details.
    void blankLinesAfterTheTrailer()
    {
        ScriptedPlatform &platform = m_fx->platform();
        const QString a = rabbit("a.rab", {{RabbitName, "Acorn"}});
        const QString path = m_fx->path("edited.rbty");
        const QStringList saved = {a, "-RabbitryInfo-", "Oak Hutch", "1 Road, Elm", "Elm", "555"};
        TestFiles::writeBytes(path, TestFiles::crlf(saved) + "\r\n  \r\n\r\n");
        TMyRabbitry *window = newRabbitry();
        Input::focus(window->rabbitList());
        platform.expectFile(path);
        Input::key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(platform.takeErrors(), QStringList());
        QCOMPARE(window->rabbits(), QStringList{a});
        QCOMPARE(window->details(), (Rabbitry::Details{"Oak Hutch", "1 Road, Elm", "Elm", "555"}));
        QCOMPARE(window->windowTitle(), "edited.rbty - Rabbitry");
        Input::key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(TestFiles::readBytes(path), TestFiles::crlf(saved));

        TestFiles::writeBytes(path, TestFiles::crlf(saved) + "\r\n");
        TMainScreen *chart = m_fx->newChart();
        platform.expectFile(path);
        fromMenu(chart, chart->field("BreederLabel"), "LoadSavedRabbitry");
        QCOMPARE(platform.takeErrors(), QStringList());
        QCOMPARE(chart->field("BreederLabel")->value(), "Oak Hutch");
        QCOMPARE(chart->field("AddressLabel")->value(), "Elm");
    }

    // Every dialog that asks for a rabbitry file says the same: the kind's own filter.
    void rabbitryDialogsShareTheirFilter()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TMainScreen *chart = m_fx->newChart();
        trigger(chart, "SetFileLinks");
        platform.expectFile(std::nullopt);
        Input::click(chart->findChild<QToolButton *>("RabbitryFileSet"));
        platform.expectFile(std::nullopt);
        fromMenu(chart, chart->field("BreederLabel"), "LoadSavedRabbitry");
        TMyRabbitry *window = newRabbitry();
        Input::focus(window->rabbitList());
        platform.expectFile(std::nullopt);
        Input::key(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(platform.allAnswered());
        QCOMPARE(platform.dialogFilters(), QStringList(3, QStringLiteral("Rabbitries (*.rbty)|*.rbty")));
    }
};

QTEST_MAIN(TestRabbitryWindow)
#include "test_rabbitry_window.moc"
