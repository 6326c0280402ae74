// What every kind of record window shares, run over each kind the program registers,
// and the table of each window's editing commands.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/Kinds.h"
#include "genetics/ColorCombiner.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "frame/BigBadParent.h"
#include "shell/KindRegistry.h"
#include "frame/RecentFiles.h"
#include "shell/SheetWidgets.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using Answer = Platform::Answer;
using TestFiles::readBytes;

namespace {

const QString Unsaved = QStringLiteral("Unsaved work will be lost. Save changes?");
const QString Overwrite = QStringLiteral("That file already exists. Overwrite?");

// Runs `run` with writes of more than `bytes` failing, as on a full disk.
template <typename F> void withFileSizeLimit(rlim_t bytes, F run)
{
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit low = before;
    low.rlim_cur = bytes;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &low);
    run();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
}

} // namespace

// A record kind of three lines whose window fails while showing a loaded file whose
// last line reads "fail": as if memory ran out half-way.
class TProbeSheet : public SheetWindow
{
    Q_OBJECT
public:
    static constexpr const char *KindId = "probe";
    static const LineFormat &probeFormat()
    {
        static const LineFormat format({{0, "First", "_"}, {1, "Second", "_"}, {2, "Trigger", "-"}}, {});
        return format;
    }
    TProbeSheet() : SheetWindow(KindId, probeFormat(), {})
    {
        QWidget *sheet = setSheet(QSize(200, 100), QFont(), QSize(200, 100));
        for (int line : {0, 1}) {
            auto *label = new ValueLabel(probeFormat().field(line).name, "_", sheet);
            label->move(10, 10 + 20 * line);
            bindLabel(line, label);
        }
        buildMenus("Save &As", {});
    }

protected:
    void writeOwnLines(LineRecord &record) const override { record.setValue(2, m_trigger); }
    void applyOwnLines(const LineRecord &state) override
    {
        if (state.value(2) == "fail")
            throw std::bad_alloc();
        m_trigger = state.value(2);
    }

private:
    QString m_trigger = "-";
};

class TestApp : public WindowTest
{
    Q_OBJECT
private slots:

    void newWindowsAndTheCloseQuestion_data() { kindRows(); }
    void newWindowsAndTheCloseQuestion();
    void saveAsAsksBeforeOverwriting_data() { kindRows(); }
    void saveAsAsksBeforeOverwriting();
    void failedLoadsAndSavesChangeNothing_data() { kindRows(); }
    void failedLoadsAndSavesChangeNothing();
    void menusEveryWindowShares_data() { kindRows(); }
    void menusEveryWindowShares();
    void editingCommandsSetTheFlag();
    void windowsClosedDuringADialog();
    void aLoadThatFailsWhileShownIsUndone();

private:
    // One row per record kind with a file: every kind gets these cases by registering.
    static void kindRows()
    {
        QTest::addColumn<QString>("id");
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            if (kind.isAvailable() && !kind.extension.isEmpty())
                QTest::newRow(qPrintable(kind.id)) << kind.id;
    }
    // A new window by the kind's Tools shortcut, pressed in the main window.
    DocumentWindow *open(const QString &id) const
    {
        Input::keyOn(m_fx->parent().mdiArea(), KindRegistry::instance().find(id)->toolKey, Qt::ControlModifier);
        auto *window = qobject_cast<DocumentWindow *>(m_fx->parent().mdiArea()->activeSubWindow());
        return window && window->kind().id == id ? window : nullptr;
    }
    // Changes the record as the breeder does: types into its first value.
    static void edit(DocumentWindow *window)
    {
        for (ValueLabel *label : window->findChildren<ValueLabel *>())
            if (label->isVisible())
                return typeInto(window, label, "edited");
        for (QLineEdit *line : window->findChildren<QLineEdit *>()) {
            if (line->isVisible() && line->isEnabled() && !line->isReadOnly()) {
                Input::clickOn(line);
                return Input::type("edited");
            }
        }
        QFAIL("the window shows nothing to type into");
    }
    QString pathFor(const QString &id, const QString &stem) const
    {
        return m_fx->path(stem + KindRegistry::instance().find(id)->extension);
    }

};

// Closed by its close button, by Ctrl+W and by File > Close.
void TestApp::newWindowsAndTheCloseQuestion()
{
    QFETCH(QString, id);
    const WindowKind &kind = *KindRegistry::instance().find(id);
    ScriptedPlatform &platform = m_fx->platform();
    DocumentWindow *window = open(id);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), "Untitled" + kind.captionSuffix);
    QVERIFY(!window->isModified() && window->fileName().isEmpty());
    QVERIFY(Input::closeSubWindow(window)); // a clean window closes without a word
    QCOMPARE(m_fx->windows(), 0);

    window = open(id);
    edit(window);
    QVERIFY(window->isModified());
    platform.expectQuestion(Unsaved, Answer::Cancel);
    QVERIFY(!Input::closeSubWindow(window));
    // Yes runs Save As; cancelling it keeps the window and its edits.
    platform.expectQuestion(Unsaved, Answer::Yes);
    platform.expectFile(std::nullopt);
    press(window, Qt::CTRL | Qt::Key_W);
    QVERIFY(platform.allAnswered());
    WindowFixture::deleteClosed();
    QCOMPARE(m_fx->windows(), 1);
    QVERIFY(window->isModified());
    // Yes with a name saves, then closes.
    const QString path = pathFor(id, "saved");
    platform.expectQuestion(Unsaved, Answer::Yes);
    platform.expectFile(path);
    Input::chooseFromMenuBar(window, "File", "FileQuit");
    WindowFixture::deleteClosed();
    QCOMPARE(m_fx->windows(), 0);
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(platform.dialogTitles(), QStringList(2, "Save As"));

    // No closes without saving.
    window = open(id);
    edit(window);
    platform.expectQuestion(Unsaved, Answer::No);
    press(window, Qt::CTRL | Qt::Key_W);
    QVERIFY(platform.allAnswered());
    WindowFixture::deleteClosed();
    QCOMPARE(m_fx->windows(), 0);
}

void TestApp::saveAsAsksBeforeOverwriting()
{
    QFETCH(QString, id);
    ScriptedPlatform &platform = m_fx->platform();
    const QString existing = pathFor(id, "existing");
    TestFiles::writeBytes(existing, "old\r\n");
    const QString fresh = pathFor(id, "fresh");
    DocumentWindow *window = open(id);
    QVERIFY(window);
    edit(window);
    const auto saveAs = [&] { Input::chooseFromMenuBar(window, "File", "FileSaveAs"); };

    // No asks for another name; Cancel then writes nothing.
    platform.expectFile(existing);
    platform.expectQuestion(Overwrite, Answer::No);
    platform.expectFile(existing);
    platform.expectQuestion(Overwrite, Answer::Cancel);
    saveAs();
    QVERIFY(platform.allAnswered());
    QCOMPARE(readBytes(existing), QByteArray("old\r\n"));
    QVERIFY(window->isModified() && window->fileName().isEmpty());

    // A name that is free is written at once; Yes overwrites.
    platform.expectFile(fresh);
    saveAs();
    QCOMPARE(window->fileName(), fresh);
    QVERIFY(!window->isModified());
    platform.expectFile(existing);
    platform.expectQuestion(Overwrite, Answer::Yes);
    saveAs();
    QCOMPARE(readBytes(existing), readBytes(fresh));
    QCOMPARE(window->windowTitle(), "existing" + window->kind().extension + window->kind().captionSuffix);
}

// A load that fails (no file, a folder, a file cut short) leaves the window's record,
// file, caption and flag as they were; a save that fails leaves the old file as it
// was and the flag set.
void TestApp::failedLoadsAndSavesChangeNothing()
{
    QFETCH(QString, id);
    ScriptedPlatform &platform = m_fx->platform();
    DocumentWindow *window = open(id);
    QVERIFY(window);
    const QString good = pathFor(id, "good");
    window->saveFile(good);
    const QByteArray saved = readBytes(good);
    const QStringList lines = LineFile::read(good).lines();
    const QString cut = TestFiles::writeLines(pathFor(id, "cut"), lines, {}, int(lines.size()) / 2);
    QDir().mkpath(pathFor(id, "folder"));
    window->recordEdit();
    const QString title = window->windowTitle();

    for (const QString &bad : {pathFor(id, "missing"), pathFor(id, "folder"), cut}) {
        platform.expectFile(bad);
        press(window, Qt::CTRL | Qt::Key_O);
        QVERIFY(platform.allAnswered());
        QCOMPARE(platform.takeErrors().size(), 1);
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(window->fileName(), good);
        QVERIFY(window->isModified());
        WindowFixture::deleteClosed();
        QCOMPARE(m_fx->windows(), 1); // no window is left behind for a file that did not open
        const QString check = pathFor(id, "check");
        window->saveFile(check);
        QCOMPARE(readBytes(check), saved);
        window->saveFile(good);
        window->recordEdit();
    }

    withFileSizeLimit(8, [&] { press(window, Qt::CTRL | Qt::Key_S); });
    QCOMPARE(platform.takeErrors().size(), 1);
    QCOMPARE(readBytes(good), saved);
    QVERIFY(window->isModified());
    QCOMPARE(window->windowTitle(), title);
}

// File > New and Recent Files, a Tools entry, Window > Cascade and the Help menu, from
// the menu bar of a window of each kind.
void TestApp::menusEveryWindowShares()
{
    QFETCH(QString, id);
    ScriptedPlatform &platform = m_fx->platform();
    RecentFiles::useSettingsFile(m_fx->path("recent.ini"));
    const auto active = [&] { return qobject_cast<ChildWindow *>(m_fx->parent().mdiArea()->activeSubWindow()); };

    DocumentWindow *window = open(id);
    QVERIFY(window);
    const QString path = pathFor(id, "recent");
    platform.expectFile(path);
    press(window, Qt::CTRL | Qt::Key_S);
    press(window, Qt::CTRL | Qt::Key_N);
    auto *second = qobject_cast<DocumentWindow *>(active());
    QVERIFY(second && second != window);
    QCOMPARE(second->kind().id, id);

    Input::chooseFromMenuBar(second, "File", "RecentFiles/RecentFile1");
    auto *reopened = qobject_cast<DocumentWindow *>(active());
    QVERIFY(reopened && reopened != window && reopened != second);
    QCOMPARE(reopened->fileName(), path);

    Input::chooseFromMenuBar(reopened, "Tools", "ColorGenetics1");
    QVERIFY(qobject_cast<TColorCombiner *>(active()));
    Input::chooseFromMenuBar(second, "Window1", "WindowCascade");
    QSet<QPoint> corners;
    for (QMdiSubWindow *sub : m_fx->parent().mdiArea()->subWindowList())
        corners.insert(sub->pos());
    QCOMPARE(corners.size(), 4);

    Input::chooseFromMenuBar(second, "Help", "HelpContents");
    QCOMPARE(platform.helpOpened(), 1);
    QVERIFY(Input::whileModal([&] { Input::chooseFromMenuBar(second, "Help", "About"); },
                              [&](QWidget *modal) {
                                  QCOMPARE(modal->objectName(), "AboutPopUp");
                                  QVERIFY(Input::blockedByModal(second));
                                  modal->close();
                              }));
    QVERIFY(!Input::blockedByModal(second));
    RecentFiles::stopKeeping();
}

// Every command that changes a record sets the flag (so closing asks).
void TestApp::editingCommandsSetTheFlag()
{
    ScriptedPlatform &platform = m_fx->platform();
    const QString png = m_fx->path("photo.png");
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    image.save(png);

    const auto changeFont = [](SheetWindow *window, QWidget *label, const char *action) {
        fromMenu(window, label, action);
        Input::clickOn(window->findChild<QComboBox *>("FontSize"));
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::type("23");
        Input::clickOn(window->findChild<QPushButton *>("FontOk"));
    };

    struct Command
    {
        const char *kind;
        const char *name;
        std::function<void(SheetWindow *)> run;
    };
    const auto rabbit = [](SheetWindow *w) { return static_cast<TRabbitSheet *>(w); };
    const auto chart = [](SheetWindow *w) { return static_cast<TMainScreen *>(w); };
    const char *const r = TRabbitSheet::KindId, *const c = TMainScreen::KindId;
    const Command table[] = {
        {r, "text panel", [&](SheetWindow *w) { typeInto(w, rabbit(w)->field("Breed"), "typed"); }},
        {r, "font panel", [&](SheetWindow *w) { changeFont(w, rabbit(w)->backImage(), "ChangeFontFace"); }},
        {r, "change picture",
         [&](SheetWindow *w) {
             platform.expectFile(png);
             fromMenu(w, rabbit(w)->rabbitPicture(), "ChangePicture");
         }},
        {r, "Set Genetics",
         [&](SheetWindow *w) {
             Input::clickOn(rabbit(w)->field("CSeries"));
             Input::clickRow(w->findChild<QListWidget *>("GeneSelect"), 1);
             Input::clickOn(w->findChild<QPushButton *>("GeneOK"));
         }},
        {c, "clear picture", [&](SheetWindow *w) { fromMenu(w, chart(w)->miniPicture(), "ClearPicture"); }},
        {c, "View Picture", [&](SheetWindow *w) { Input::chooseFromMenuBar(w, "View1", "ViewPicture"); }},
        {c, "title font", [&](SheetWindow *w) { changeFont(w, chart(w)->titleLabel(), "TitleChangeFont"); }},
        {c, "link Ok",
         [&](SheetWindow *w) {
             press(w, Qt::CTRL | Qt::Key_L);
             Input::clickOn(chart(w)->linkEditor()->okButton());
         }},
    };
    // The windows stay open: cleanup closes them and fails on any error shown.
    for (const Command &command : table) {
        auto *window = qobject_cast<SheetWindow *>(open(QString::fromLatin1(command.kind)));
        QVERIFY2(changes(window, [&] { command.run(window); }), command.name);
        QVERIFY2(!QTest::currentTestFailed(), command.name);
    }
}

// A rabbit record started by double-clicking an empty link names its file at once.
// Either window may close while that dialog is open; the command then ends without
// touching a closed window (AddressSanitizer would see it) or the link.
void TestApp::windowsClosedDuringADialog()
{
    ScriptedPlatform &platform = m_fx->platform();
    for (const bool closeChart : {false, true}) {
        TMainScreen *chart = m_fx->newChart();
        LinkField *link = chart->linkEditor()->positionLink(0);
        QPointer<TMainScreen> chartAlive(chart);
        QPointer<QMdiSubWindow> rabbit;
        platform.whileNextDialogIsOpen([&] {
            rabbit = m_fx->parent().mdiArea()->activeSubWindow();
            QVERIFY(qobject_cast<TRabbitSheet *>(rabbit));
            QVERIFY(Input::closeSubWindow(closeChart ? chart : rabbit.data()));
        });
        platform.expectFile(m_fx->path("named.rab"));
        press(chart, Qt::CTRL | Qt::Key_L);
        Input::doubleClickOn(link->pathEdit());
        QVERIFY(platform.allAnswered());
        QVERIFY(platform.takeErrors().isEmpty());
        QCOMPARE(chartAlive.isNull(), closeChart);
        QCOMPARE(rabbit.isNull(), !closeChart);
        QVERIFY(!QFileInfo::exists(m_fx->path("named.rab")));
        if (chartAlive) {
            QCOMPARE(link->link(), QStringLiteral("None"));
            chart->close();
        } else {
            rabbit->close();
        }
        WindowFixture::deleteClosed();
    }
}

// Whatever stops a load after the file was read and checked (here: memory running
// out while the window shows it), the window is left as it was, so the next Save
// cannot write a half-loaded record over the good file.
void TestApp::aLoadThatFailsWhileShownIsUndone()
{
    KindRegistry::instance().add({.id = TProbeSheet::KindId,
                                  .toolCaption = "&Probe",
                                  .mainToolName = "MMProbe",
                                  .documentToolName = "Probe",
                                  .extension = ".probe",
                                  .filterTitle = "Probes",
                                  .openFilterTitle = "Probe Files",
                                  .captionSuffix = " - Probe",
                                  .create = [] { return new TProbeSheet; }});
    const QString good = m_fx->path("good.probe");
    LineFile({"one", "two", "ok"}).write(good);
    const QString bad = m_fx->path("bad.probe");
    LineFile({"uno", "dos", "fail"}).write(bad);

    auto *window = qobject_cast<SheetWindow *>(KindRegistry::instance().openFile(TProbeSheet::KindId, good));
    QVERIFY(window);
    window->recordEdit();
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, window->loadFile(bad));
    QCOMPARE(window->record().values(), QStringList({"one", "two", "ok"}));
    QCOMPARE(window->fileName(), good);
    QCOMPARE(window->windowTitle(), "good.probe - Probe");
    QVERIFY(window->isModified());
    window->setModified(false);
}

QTEST_MAIN(TestApp)
#include "test_app.moc"
