// The show record window: its sheet and file, the chosen row, the link panel and the
// commands that follow the rabbit's own file.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"
#include "shell/LinkEditor.h"
#include "show/ShowFormat.h"
#include "show/ShowRecord.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace ShowFile;
using Answer = Platform::Answer;
using TestFiles::readBytes;

namespace {
const QString Unsaved = QStringLiteral("Unsaved work will be lost. Save changes?");
const QString Overwrite = QStringLiteral("This will overwrite existing values. Continue?");
const QString None = QStringLiteral("None");
const QString U9(9, '_'), U17(17, '_'), U22(22, '_'), U34(34, '_');
} // namespace

class TestShowWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    TShowRecord *newShow() const
    {
        return qobject_cast<TShowRecord *>(m_fx->parent().runTool(QString::fromLatin1(TShowRecord::KindId)));
    }
    int windows() const { return int(m_fx->parent().mdiArea()->subWindowList().size()); }
    static QString value(TShowRecord *show, const char *name)
    {
        return show->field(QString::fromLatin1(name))->value();
    }
    static void setText(TShowRecord *show, ValueLabel *label, const QString &text)
    {
        QTest::mouseClick(label, Qt::LeftButton);
        show->findChild<QLineEdit *>("TextEdit")->setText(text);
        show->findChild<QPushButton *>("TextOk")->click();
    }
    // Chooses the action from the label's menu.
    static void onField(TShowRecord *show, const char *field, const char *action)
    {
        QTest::mouseClick(show->field(QString::fromLatin1(field)), Qt::RightButton);
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
        trigger(show, action);
    }
    // A show file from the new record with `values`; line 65 as given.
    QString writeShow(const QString &name, const QMap<int, QString> &values, const QString &chosen = None) const
    {
        QStringList lines = ShowFile::newRecord().toLines().lines();
        for (auto it = values.begin(); it != values.end(); ++it)
            lines[it.key()] = it.value();
        lines[WinningsNum] = chosen;
        return TestFiles::writeLines(m_fx->path(name), lines);
    }
    QString writeRabbit(const QString &name, const QMap<int, QString> &values, int keep = -1) const
    {
        return TestFiles::writeRabbit(m_fx->path(name), values, keep);
    }

private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    // Ctrl+H from the main window and from another kind's window gives a new,
    // untitled record that saves as the 68 lines of a new show file.
    void newRecordFromEveryWindow()
    {
        trigger(&m_fx->parent(), "MMShowRecord");
        auto *fromMain = WindowRegistry::newest<TShowRecord>();
        QVERIFY(fromMain);
        QCOMPARE(fromMain->windowTitle(), "Untitled - Show Record");
        TRabbitSheet *rabbit = m_fx->newRabbit();
        QCOMPARE(rabbit->findChild<QAction *>("ShowRecords1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        trigger(rabbit, "ShowRecords1");
        TShowRecord *show = WindowRegistry::newest<TShowRecord>();
        QVERIFY(show != fromMain);
        trigger(show, "FileNew");
        QVERIFY(WindowRegistry::newest<TShowRecord>() != show);
        QCOMPARE(windows(), 4);

        QCOMPARE(value(show, "RabbitName"), U34);
        QCOMPARE(value(show, "Award15"), QString(25, '_'));
        QCOMPARE(show->rabbitLink()->link(), None);
        QCOMPARE(show->winningsNum()->currentText(), None);
        QVERIFY(!show->isModified());
        QVERIFY(show->backImage()->stretch());
        const QString path = m_fx->path("new.shw");
        show->saveFile(path);
        QCOMPARE(readBytes(path), readBytes(TestFiles::dataPath("show/new.shw")));
        QCOMPARE(show->windowTitle(), "new.shw - Show Record");
        QVERIFY(showsWithoutScrollBars(show));
    }

    // A full file round trips byte for byte; a 66-line file keeps the sex and colour
    // the window shows and saves all 68 lines.
    void loadAndSave()
    {
        TShowRecord *show = newShow();
        const QString full = m_fx->copyData("show/full.shw", "full.shw");
        m_fx->platform().expectFile(full);
        trigger(show, "FileOpen");
        QCOMPARE(WindowRegistry::newest<TShowRecord>(), show); // the untouched window took it
        QCOMPARE(show->windowTitle(), "full.shw - Show Record");
        QCOMPARE(show->winningsNum()->currentText(), LineFile::read(full).lines().at(WinningsNum));
        QCOMPARE(show->rabbitLink()->link(), LineFile::read(full).lines().at(MainRabFile));
        const QString copy = m_fx->path("copy.shw");
        show->saveFile(copy);
        QCOMPARE(readBytes(copy), readBytes(full));

        TShowRecord *older = newShow();
        setText(older, older->field("Sex"), "Doe");
        older->setModified(false);
        older->loadFile(m_fx->copyData("show/old66.shw", "old66.shw"));
        QCOMPARE(value(older, "Sex"), "Doe");
        QCOMPARE(value(older, "Color"), U22);
        QCOMPARE(value(older, "RabbitName"), "Clover Hollow Dancer");
        older->saveFile(m_fx->path("older.shw"));
        const QStringList lines = LineFile::read(m_fx->path("older.shw")).lines();
        QCOMPARE(lines.size(), LineCount);
        QCOMPARE(lines.mid(0, 66), LineFile::read(m_fx->path("old66.shw")).lines());
        QCOMPARE(lines.at(Sex), "Doe");
    }

    // Line 65 as the window reads it and writes it back; text that is no number
    // leaves the window as it was.
    void chosenRowOnLoad_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown"); // empty: the load fails
        QTest::newRow("None") << "None"
                              << "None";
        QTest::newRow("7") << "7"
                           << "7";
        QTest::newRow("15") << "15"
                            << "15";
        QTest::newRow("0") << "0"
                           << "None";
        QTest::newRow("16") << "16"
                            << "None";
        QTest::newRow("huge") << "99999999999"
                              << "";
        QTest::newRow("seven") << "seven"
                               << "";
        QTest::newRow("none") << "none"
                              << "";
    }
    void chosenRowOnLoad()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        TShowRecord *show = newShow();
        show->loadFile(writeShow("before.shw", {{RabbitName, "Before"}}, "3"));
        const QString path = writeShow("row.shw", {{RabbitName, "After"}}, stored);
        m_fx->platform().expectFile(path);
        trigger(show, "FileOpen");
        if (shown.isEmpty()) {
            QCOMPARE(m_fx->platform().takeErrors().size(), 1);
            // No window is left for the file that did not open.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(windows(), 1);
            QCOMPARE(value(show, "RabbitName"), "Before");
            QCOMPARE(show->winningsNum()->currentText(), "3");
            QCOMPARE(show->windowTitle(), "before.shw - Show Record");
            return;
        }
        TShowRecord *loaded = WindowRegistry::newest<TShowRecord>();
        QVERIFY(loaded != show); // the titled window stays as it is
        QCOMPARE(loaded->winningsNum()->currentText(), shown);
        QVERIFY(!loaded->isModified());
        loaded->saveFile(m_fx->path("again.shw"));
        QCOMPARE(LineFile::read(m_fx->path("again.shw")).lines().at(WinningsNum), shown);
    }

    // Choosing another row is an edit: Cancel in the link panel keeps it (only the
    // link goes back) and closing asks.
    void chosenRowIsAnEdit()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        const QString rabbit = writeRabbit("r.rab", {{RabbitFile::RabbitName, "Dancer"}});
        trigger(show, "RSRabbitFileSet");
        QVERIFY(show->linkEditor()->isVisible());
        show->winningsNum()->setCurrentIndex(4);
        QVERIFY(show->isModified());
        platform.expectFile(rabbit);
        show->rabbitLink()->setButton()->click();
        QCOMPARE(show->findChild<QLabel *>("RabbitFile")->text(), "r.rab");
        show->linkEditor()->cancelButton()->click();
        QVERIFY(show->linkEditor()->isHidden());
        QCOMPARE(show->rabbitLink()->link(), None);
        QCOMPARE(show->findChild<QLabel *>("RabbitFile")->text(), QString());
        QCOMPARE(show->winningsNum()->currentText(), "4");

        // Ctrl+L on an open panel is its Cancel; Ok is an edit.
        trigger(show, "RSRabbitFileSet");
        platform.expectFile(rabbit);
        show->rabbitLink()->setButton()->click();
        trigger(show, "RSRabbitFileSet");
        QVERIFY(show->linkEditor()->isHidden());
        QCOMPARE(show->rabbitLink()->link(), None);
        trigger(show, "RSRabbitFileSet");
        QVERIFY(changes(show, [&] { show->linkEditor()->okButton()->click(); }));
        QVERIFY(show->linkEditor()->isHidden());

        show->saveFile(m_fx->path("row.shw"));
        QCOMPARE(LineFile::read(m_fx->path("row.shw")).lines().at(WinningsNum), "4");
        QVERIFY(changes(show, [&] { show->winningsNum()->setCurrentIndex(0); }));
        platform.expectQuestion(Unsaved, Answer::No);
        QVERIFY(show->close());
        QVERIFY(platform.allAnswered());
    }

    // Update from Links copies the rabbit's identity verbatim, blanks included; it
    // retakes the snapshot, so Cancel then keeps the link.
    void updateFromLinks()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        setText(show, show->field("Legs"), "3");
        setText(show, show->field("Color"), "Old colour");

        // No link: no field changes, but the edit is recorded and Cancel is disabled.
        const LineRecord before = show->record();
        trigger(show, "RSRabbitFileSet");
        platform.expectQuestion(Overwrite, Answer::Ok);
        QVERIFY(changes(show, [&] { show->updateButton()->click(); }));
        QCOMPARE(show->record().values(), before.values());
        QVERIFY(!show->linkEditor()->cancelButton()->isEnabled());

        const QString rabbit =
            writeRabbit("dancer.rab",
                        {{RabbitFile::RabbitName, "Dancer"}, {RabbitFile::EarNumber, "E7"}, {RabbitFile::Color, U17}});
        platform.expectFile(rabbit);
        show->rabbitLink()->setButton()->click();
        QVERIFY(show->linkEditor()->cancelButton()->isEnabled());
        platform.expectQuestion(Overwrite, Answer::Cancel);
        QVERIFY(!changes(show, [&] { show->updateButton()->click(); }));
        QCOMPARE(value(show, "RabbitName"), U34);

        platform.expectQuestion(Overwrite, Answer::Ok);
        show->updateButton()->click();
        QCOMPARE(value(show, "RabbitName"), "Dancer");
        QCOMPARE(value(show, "EarNumber"), "E7");
        QCOMPARE(value(show, "Color"), U17); // verbatim: the rabbit's blank
        QCOMPARE(value(show, "Sex"), RabbitFile::format().field(RabbitFile::Sex).placeholder);
        QCOMPARE(value(show, "Legs"), "3");
        trigger(show, "RSRabbitFileSet"); // Cancel: the snapshot was retaken
        QCOMPARE(show->rabbitLink()->link(), rabbit);

        // A rabbit file too short stops with the error and changes nothing.
        writeRabbit("dancer.rab", {{RabbitFile::RabbitName, "Cut"}}, 7);
        trigger(show, "RSRabbitFileSet");
        platform.expectQuestion(Overwrite, Answer::Ok);
        show->updateButton()->click();
        platform.takeError("out of bounds");
        QCOMPARE(value(show, "RabbitName"), "Dancer");
        QVERIFY(!show->linkEditor()->cancelButton()->isEnabled());
        show->linkEditor()->okButton()->click();
    }

    // Load Saved Rabbit skips only the 34- and 17-underscore blanks, links the file
    // and is all or nothing.
    void loadSavedRabbit()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        setText(show, show->field("Color"), "Kept colour");
        const QString rabbit = writeRabbit("r.rab", {{RabbitFile::RabbitName, U34},
                                                     {RabbitFile::EarNumber, U9},
                                                     {RabbitFile::RegNumber, "R-1"},
                                                     {RabbitFile::Sex, "Doe"},
                                                     {RabbitFile::Color, U17}});
        platform.expectFile(rabbit);
        QVERIFY(changes(show, [&] { onField(show, "EarNumber", "LoadSavedRabbit"); }));
        QCOMPARE(show->rabbitLink()->link(), rabbit);
        QCOMPARE(value(show, "RabbitName"), U34);
        QCOMPARE(value(show, "EarNumber"), U9);
        QCOMPARE(value(show, "RegNumber"), "R-1");
        QCOMPARE(value(show, "Sex"), "Doe");
        QCOMPARE(value(show, "Color"), "Kept colour");
        QCOMPARE(show->currentLabel(), nullptr);

        const QString cut = writeRabbit("cut.rab", {{RabbitFile::RabbitName, "Cut"}}, 5);
        platform.expectFile(cut);
        const LineRecord before = show->record();
        onField(show, "RabbitName", "LoadSavedRabbit");
        platform.takeError("out of bounds");
        QCOMPARE(show->record().values(), before.values());

        platform.expectFile(std::nullopt);
        QVERIFY(!changes(show, [&] { onField(show, "Sex", "LoadSavedRabbit"); }));
        // The placings have only Change Text.
        QCOMPARE(show->findChild<QMenu *>("ValuePopUp")->actions().size(), 1);
    }

    // Open Rabbit File: the linked file in a new rabbit window, or a new record
    // carrying the sheet's identity; a missing file leaves no window.
    void openRabbitFile()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        setText(show, show->field("RabbitName"), "Dancer");
        setText(show, show->field("RegNumber"), "R-9");
        onField(show, "RabbitName", "OpenRabbitFile");
        TRabbitSheet *fresh = WindowRegistry::newest<TRabbitSheet>();
        QVERIFY(fresh);
        QCOMPARE(fresh->windowTitle(), "Untitled - Rabbit Information");
        QVERIFY(!fresh->isModified());
        QCOMPARE(fresh->field("RabbitName")->value(), "Dancer");
        QCOMPARE(fresh->field("RegNumber")->value(), "R-9");
        QCOMPARE(fresh->field("Color")->value(), RabbitFile::format().field(RabbitFile::Color).placeholder);

        const QString rabbit = writeRabbit("dancer.rab", {{RabbitFile::RabbitName, "From file"}});
        platform.expectFile(rabbit);
        onField(show, "Color", "LoadSavedRabbit");
        onField(show, "Color", "OpenRabbitFile");
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "dancer.rab - Rabbit Information");

        QFile::remove(rabbit);
        const int before = windows();
        onField(show, "Sex", "OpenRabbitFile");
        QCOMPARE(platform.takeErrors().size(), 1);
        QCOMPARE(windows(), before);
    }

    // Double-clicking an empty link starts a rabbit record and links the file it is
    // saved as; cancelling its Save As leaves the link and the new window.
    void doubleClickOnTheLink()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        trigger(show, "RSRabbitFileSet");
        QLineEdit *path = show->rabbitLink()->pathEdit();
        platform.expectFile(std::nullopt);
        QTest::mouseDClick(path, Qt::LeftButton);
        QCOMPARE(show->rabbitLink()->link(), None);
        QCOMPARE(windows(), 2);

        const QString saved = m_fx->path("made.rab");
        platform.expectFile(saved);
        QTest::mouseDClick(path, Qt::LeftButton);
        QCOMPARE(show->rabbitLink()->link(), saved);
        QVERIFY(QFileInfo(saved).isFile());
        QTest::mouseDClick(path, Qt::LeftButton);
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "made.rab - Rabbit Information");
        QCOMPARE(windows(), 4);
        QVERIFY(platform.allAnswered());
    }

    // An emptied value is stored wide enough to click; the background is the
    // window's own and never reaches the file; the sheet prints.
    void sheetCommands()
    {
        ScriptedPlatform &platform = m_fx->platform();
        TShowRecord *show = newShow();
        setText(show, show->field(2, RowField::Location), QString());
        QCOMPARE(show->field(2, RowField::Location)->value(), QString(27, ' '));
        setText(show, show->field(2, RowField::Location), "County Fair");

        const QString png = m_fx->path("back.png");
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(png);
        const auto pictureCommand = [&](const char *action) {
            return changes(show, [&] {
                QTest::mouseClick(show->backImage(), Qt::RightButton, {}, QPoint(400, 480));
                if (QWidget *menu = QApplication::activePopupWidget())
                    menu->close();
                trigger(show, action);
            });
        };
        platform.expectFile(png);
        QVERIFY(pictureCommand("ChangePicture"));
        QVERIFY(!show->backImage()->isBlank());
        QCOMPARE(show->findChild<QAction *>("ChangePicture")->text(), "&Change Background");
        QCOMPARE(show->findChild<QAction *>("Bold"), nullptr);
        QVERIFY(pictureCommand("StretchPicture"));
        QVERIFY(!show->backImage()->stretch());

        const QString path = m_fx->path("placed.shw");
        show->saveFile(path);
        QVERIFY(!readBytes(path).contains("back.png"));
        // A load keeps the window's background.
        show->loadFile(path);
        QVERIFY(!show->backImage()->isBlank());
        QCOMPARE(show->field(2, RowField::Location)->value(), "County Fair");
        QVERIFY(pictureCommand("ClearPicture"));
        QVERIFY(show->backImage()->isBlank());

        if (!TestFiles::havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString pdf = m_fx->path("show.pdf");
        platform.expectPrinter(pdf);
        trigger(show, "FilePrint");
        const QString text = TestFiles::pdfText(pdf);
        QVERIFY2(text.contains("Show Record") && text.contains("County Fair") && text.contains("Competitors"),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestShowWindow)
#include "test_show_window.moc"
