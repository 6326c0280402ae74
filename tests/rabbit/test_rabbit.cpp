#include "TestFiles.h"
#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using Answer = Platform::Answer;
const QString Unsaved = QStringLiteral("Unsaved work will be lost. Save changes?");
const QString Overwrite = QStringLiteral("That file already exists. Overwrite?");

class TestRabbit : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup();

    void newRecordSaveAsAndClose();
    void filesLoadAndSaveBack_data();
    void filesLoadAndSaveBack();
    void badFileLeavesWindowAsItWas_data();
    void badFileLeavesWindowAsItWas();
    void weightAndPictureLinesReadExactly();
    void openReusesOnlyAFreshUntitledWindow();
    void textChangePanel();
    void fontPanelAndBold();
    void pictureCommands();
    void printsSheetWithOpenPanel();

private:
    TRabbitSheet *newSheet()
    {
        m_fx->parent().MMRabbitEditorClick();
        return WindowRegistry::newest<TRabbitSheet>();
    }
    QString copyData(const QString &name) { return m_fx->copyData("rabbit/" + name, name); }
    // tests/data/rabbit/filled.rab with some lines replaced, cut after `keep` lines.
    QString filledWith(const QString &name, const QMap<int, QString> &changes, int keep = RabbitFile::LineCount)
    {
        QStringList lines = LineFile::read(TestFiles::dataPath("rabbit/filled.rab")).lines();
        for (auto it = changes.begin(); it != changes.end(); ++it)
            lines[it.key()] = it.value();
        LineFile(lines.mid(0, keep)).write(m_fx->path(name));
        return m_fx->path(name);
    }
    static void trigger(QObject *window, const char *action) { window->findChild<QAction *>(action)->trigger(); }
    static void clickPicture(TRabbitSheet *sheet, PictureBox *box, const char *action)
    {
        QTest::mouseClick(box, Qt::RightButton, {}, QPoint(5, 5));
        trigger(sheet, action);
    }

    std::unique_ptr<WindowFixture> m_fx;
};

void TestRabbit::cleanup()
{
    QCOMPARE(m_fx->finish(), QStringList());
    m_fx.reset();
}

// A new record from first question to last: closing asks; Yes runs Save As, whose
// No on an existing file asks for another name and whose Cancel writes nothing and
// keeps the window open. Save on the untitled record runs Save As as well and
// writes the 72-line new record; Yes overwrites; a failed save keeps the file, the
// name and the flag; Yes on closing then saves and closes, No just closes.
void TestRabbit::newRecordSaveAsAndClose()
{
    const QString existing = copyData("filled.rab");
    const QByteArray original = TestFiles::readBytes(existing);
    const QByteArray golden = TestFiles::readBytes(TestFiles::dataPath("rabbit/new.rab"));
    const QString path = m_fx->path("new.rab");
    ScriptedPlatform &platform = m_fx->platform();
    QVERIFY(newSheet()->close()); // clean windows close without a word, even never saved
    TRabbitSheet *sheet = newSheet();
    QPointer<TRabbitSheet> guard(sheet);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    QCOMPARE(sheet->positionCode(), QStringLiteral("0"));
    QCOMPARE(sheet->size(), QSize(596, 589));
    auto *scroll = sheet->findChild<QScrollArea *>("SheetScroll");
    QApplication::processEvents(); // the scroll area settles after the resize
    QVERIFY(!scroll->horizontalScrollBar()->isVisible() && !scroll->verticalScrollBar()->isVisible());

    sheet->setModified(true);
    platform.expectQuestion(Unsaved, Answer::Cancel);
    QVERIFY(!sheet->close());
    platform.expectQuestion(Unsaved, Answer::Yes);
    platform.expectFile(existing);
    platform.expectQuestion(Overwrite, Answer::No);
    platform.expectFile(existing);
    platform.expectQuestion(Overwrite, Answer::Cancel);
    QVERIFY(!sheet->close());
    QVERIFY(sheet->isModified());
    QVERIFY(sheet->fileName().isEmpty());
    QCOMPARE(TestFiles::readBytes(existing), original);

    platform.expectFile(existing);
    platform.expectQuestion(Overwrite, Answer::No);
    platform.expectFile(path);
    trigger(sheet, "FileSave");
    QCOMPARE(platform.dialogTitles(), QStringList({"Save As", "Save As", "Save As", "Save As"}));
    QCOMPARE(TestFiles::readBytes(path), golden);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("new.rab - Rabbit Information"));
    QVERIFY(!sheet->isModified());

    platform.expectFile(existing);
    platform.expectQuestion(Overwrite, Answer::Yes);
    trigger(sheet, "FileSaveAs");
    QCOMPARE(TestFiles::readBytes(existing), golden);

    // A folder cannot be replaced by a file.
    sheet->setModified(true);
    QDir().mkpath(m_fx->path("taken.rab"));
    platform.expectFile(m_fx->path("taken.rab"));
    trigger(sheet, "FileSaveAs");
    QCOMPARE(platform.takeErrors().size(), 1);
    QVERIFY(sheet->isModified());
    QCOMPARE(sheet->windowTitle(), QStringLiteral("filled.rab - Rabbit Information"));

    QFile::remove(existing);
    platform.expectQuestion(Unsaved, Answer::Yes);
    QVERIFY(sheet->close());
    QCOMPARE(TestFiles::readBytes(existing), golden);
    TRabbitSheet *other = newSheet();
    other->setModified(true);
    platform.expectQuestion(Unsaved, Answer::No);
    QVERIFY(other->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull()); // closed windows are freed
}

// The 72-line file saves back byte for byte; older files of 57, 69 and 71 lines
// load (the lines they lack read "None") and save with all 72.
void TestRabbit::filesLoadAndSaveBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fatherLink");
    QTest::addColumn<QString>("pedigreeLink");
    QTest::newRow("72 lines") << "filled.rab"
                              << "C:\\Rabbits\\Smokey.rab"
                              << "C:\\Rabbits\\Moon.ped";
    QTest::newRow("57 lines") << "old57.rab"
                              << "None"
                              << "None";
    QTest::newRow("69 lines") << "old69.rab"
                              << "C:\\Rabbits\\Smokey.rab"
                              << "None";
    QTest::newRow("71 lines") << "old71.rab"
                              << "C:\\Rabbits\\Smokey.rab"
                              << "C:\\Rabbits\\Moon.ped";
}

void TestRabbit::filesLoadAndSaveBack()
{
    QFETCH(QString, name);
    QFETCH(QString, fatherLink);
    QFETCH(QString, pedigreeLink);
    const QString source = copyData(name);
    TRabbitSheet *sheet = newSheet();
    sheet->loadFile(source);
    QCOMPARE(sheet->field("RabbitName")->text(), QStringLiteral("Blue Moon of Hazel Hill"));
    QCOMPARE(sheet->field("VSeries")->text(), QStringLiteral("VV")); // V before W
    QCOMPARE(sheet->field("WSeries")->text(), QStringLiteral("WW"));
    QCOMPARE(sheet->sheet()->font().family(), QStringLiteral("Arial"));
    QCOMPARE(sheet->sheet()->font().pointSize(), 11);
    QVERIFY(sheet->sheet()->font().bold());
    QVERIFY(sheet->findChild<QAction *>("Bold")->isChecked());
    QVERIFY(!sheet->isModified());
    const LineRecord record = sheet->record();
    QCOMPARE(record.value(RabbitFile::Winnings), QStringLiteral("Best of Breed, Spring Classic \u00e9t\u00e9 \u20ac5"));
    QCOMPARE(record.value(RabbitFile::FatherRabFile), fatherLink);
    QCOMPARE(record.value(RabbitFile::PedigreeLink), pedigreeLink);
    QCOMPARE(record.value(RabbitFile::ShowLink), QStringLiteral("None"));

    sheet->saveFile(m_fx->path("saved.rab"));
    const QByteArray saved = TestFiles::readBytes(m_fx->path("saved.rab"));
    QVERIFY(saved.startsWith(TestFiles::readBytes(source)));
    QCOMPARE(saved.count("\r\n"), 72);
}

void TestRabbit::badFileLeavesWindowAsItWas_data()
{
    QTest::addColumn<int>("keep");     // lines of filled.rab kept
    QTest::addColumn<QString>("size"); // font size line
    QTest::addColumn<QString>("error");
    QTest::newRow("short file") << 40 << "11"
                                << "(40)";
    QTest::newRow("ends inside links") << 58 << "11"
                                       << "(58)";
    QTest::newRow("ends between 69 and 70") << 70 << "11"
                                            << "(70)";
    QTest::newRow("bad font size") << 72 << "big"
                                   << "'big'";
}

void TestRabbit::badFileLeavesWindowAsItWas()
{
    QFETCH(int, keep);
    QFETCH(QString, size);
    QFETCH(QString, error);
    const QString bad = filledWith("bad.rab", {{RabbitFile::FontSize, size}}, keep);

    // A window bound to a file, with an unsaved change: Open makes a new window,
    // which stays open, untitled and clean; nothing of the file gets in.
    TRabbitSheet *sheet = newSheet();
    const QString good = copyData("new.rab");
    sheet->loadFile(good);
    sheet->setModified(true);
    m_fx->platform().expectFile(bad);
    trigger(sheet, "FileOpen");
    TRabbitSheet *fresh = WindowRegistry::newest<TRabbitSheet>();
    QVERIFY(fresh != sheet);
    const QStringList errors = m_fx->platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
    QCOMPARE(fresh->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    QVERIFY(!fresh->isModified());
    QCOMPARE(fresh->record().values(), RabbitFile::newRecord().values());

    // Loading straight into the bound window changes nothing there either.
    QVERIFY_THROWS_EXCEPTION(RecordError, sheet->loadFile(bad));
    QCOMPARE(sheet->record().values(), RabbitFile::newRecord().values());
    QCOMPARE(sheet->fileName(), good);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("new.rab - Rabbit Information"));
    QVERIFY(sheet->isModified());
}

// Lines read exactly: "bold" is not "Bold", and "None" is no picture (filled.rab's
// empty picture lines are covered by the round trip). A picture that cannot be
// found is reported and does not stop the load; saving writes its path back.
void TestRabbit::weightAndPictureLinesReadExactly()
{
    const QString photo = m_fx->path("moved-away.jpg");
    const QString path = filledWith(
        "odd.rab",
        {{RabbitFile::FontWeight, "bold"}, {RabbitFile::RabbitPicture, photo}, {RabbitFile::BackPicture, "None"}});
    TRabbitSheet *sheet = newSheet();
    sheet->loadFile(path);
    const QStringList errors = m_fx->platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains("moved-away.jpg"));
    QCOMPARE(sheet->fileName(), path);
    QCOMPARE(sheet->record().value(RabbitFile::PedigreeLink), QStringLiteral("C:\\Rabbits\\Moon.ped"));
    QVERIFY(!sheet->sheet()->font().bold());
    QVERIFY(sheet->rabbitPicture()->isBlank());
    QVERIFY(sheet->backImage()->isBlank());

    trigger(sheet, "FileSave");
    const LineFile saved = LineFile::read(path);
    QCOMPARE(saved.at(RabbitFile::FontWeight), QStringLiteral("Normal"));
    QCOMPARE(saved.at(RabbitFile::RabbitPicture), photo);
    QCOMPARE(saved.at(RabbitFile::BackPicture), QString()); // "None" is never written
}

// Open loads into the window only while it is captioned "Untitled" and unchanged.
void TestRabbit::openReusesOnlyAFreshUntitledWindow()
{
    const QString source = copyData("filled.rab");
    TRabbitSheet *sheet = newSheet();
    m_fx->platform().expectFile(source);
    trigger(sheet, "FileOpen");
    QCOMPARE(sheet->windowTitle(), QStringLiteral("filled.rab - Rabbit Information"));
    QCOMPARE(m_fx->parent().mdiArea()->subWindowList().size(), 1);

    m_fx->platform().expectFile(source);
    trigger(sheet, "FileOpen");
    QCOMPARE(m_fx->parent().mdiArea()->subWindowList().size(), 2);

    // A rabbit named "Untitled" opened from the main window reuses its window, as
    // the test is on the caption.
    m_fx->parent().openByExtension(filledWith("untitled.rab", {{RabbitFile::RabbitName, "Untitled"}}));
    TRabbitSheet *named = WindowRegistry::newest<TRabbitSheet>();
    QCOMPARE(named->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    m_fx->platform().expectFile(source);
    trigger(named, "FileOpen");
    QCOMPARE(WindowRegistry::newest<TRabbitSheet>(), named);
    QCOMPARE(named->windowTitle(), QStringLiteral("filled.rab - Rabbit Information"));
}

void TestRabbit::textChangePanel()
{
    TRabbitSheet *sheet = newSheet();
    auto *panel = sheet->findChild<QWidget *>("TextChangePanel");
    auto *edit = sheet->findChild<QLineEdit *>("TextEdit");
    ValueLabel *owner = sheet->field("OwnerName");
    QTest::mouseClick(owner, Qt::LeftButton);
    QVERIFY(panel->isVisible());
    QCOMPARE(edit->text(), owner->text());

    // Clicking another value while the panel is open moves the panel to it.
    edit->setText("dropped");
    QTest::mouseClick(sheet->field("Sibling3Color"), Qt::LeftButton);
    QCOMPARE(edit->text(), RecordText::underscores(17));
    sheet->findChild<QPushButton *>("TextCancel")->click();
    QVERIFY(!panel->isVisible());
    QVERIFY(!sheet->isModified());
    QCOMPARE(sheet->currentLabel(), nullptr);

    // Ok with the text unchanged still counts as a change.
    QTest::mouseClick(owner, Qt::LeftButton);
    sheet->findChild<QPushButton *>("TextOk")->click();
    QVERIFY(sheet->isModified());

    // An emptied value stays empty on file and can still be clicked.
    QTest::mouseClick(sheet->field("Weight"), Qt::LeftButton);
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(sheet->record().value(RabbitFile::Weight), QString());
    QVERIFY(sheet->field("Weight")->width() >= 10);
    QTest::mouseClick(sheet->field("Weight"), Qt::LeftButton);
    QVERIFY(panel->isVisible());
}

void TestRabbit::fontPanelAndBold()
{
    TRabbitSheet *sheet = newSheet();
    clickPicture(sheet, sheet->backImage(), "ChangeFontFace");
    auto *panel = sheet->findChild<QWidget *>("FontPanel");
    auto *faces = sheet->findChild<QComboBox *>("FontType");
    auto *size = sheet->findChild<QComboBox *>("FontSize");
    QVERIFY(panel->isVisible());
    QCOMPARE(size->currentText(), QStringLiteral("10"));
    const int other = std::max(0, faces->findText("DejaVu Sans"));
    faces->setCurrentIndex(other);

    size->setEditText("thirteen");
    sheet->findChild<QPushButton *>("FontOk")->click();
    QCOMPARE(m_fx->platform().takeErrors().size(), 1);
    QVERIFY(panel->isVisible()); // stays open; the face is already applied
    QCOMPARE(sheet->sheet()->font().family(), faces->itemText(other));
    QCOMPARE(sheet->sheet()->font().pointSize(), 10);

    size->setEditText("13"); // not one of the offered sizes
    sheet->findChild<QPushButton *>("FontOk")->click();
    QVERIFY(!panel->isVisible());
    QCOMPARE(sheet->field("Breed")->font().pointSize(), 13);      // values follow the sheet
    QCOMPARE(sheet->field("RabbitName")->font().pointSize(), 12); // the name keeps its own
    QVERIFY(sheet->isModified());

    sheet->setModified(false);
    trigger(sheet, "Bold");
    QVERIFY(sheet->sheet()->font().bold());
    trigger(sheet, "Bold");
    QVERIFY(!sheet->sheet()->font().bold());
    QVERIFY(sheet->isModified());
    QCOMPARE(sheet->record().value(RabbitFile::FontSize), QStringLiteral("13"));
    QCOMPARE(sheet->record().value(RabbitFile::FontWeight), QStringLiteral("Normal"));
}

void TestRabbit::pictureCommands()
{
    const QString png = m_fx->path("photo.png");
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    image.save(png);
    const QString broken = m_fx->path("broken.jpg");
    TestFiles::writeBytes(broken, "\xff\xd8\xff\xe0 not a photo");

    TRabbitSheet *sheet = newSheet();
    PictureBox *photo = sheet->rabbitPicture();
    m_fx->platform().expectFile(png);
    clickPicture(sheet, photo, "ChangePicture");
    QCOMPARE(sheet->findChild<QAction *>("ChangePicture")->text(), QStringLiteral("&Change Picture"));
    QCOMPARE(photo->image().size(), QSize(40, 30));

    m_fx->platform().expectFile(broken);
    clickPicture(sheet, photo, "ChangePicture");
    const QStringList errors = m_fx->platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains("JPEG"));
    QCOMPARE(photo->path(), png); // the old picture stays
    QVERIFY(!photo->isBlank());

    clickPicture(sheet, sheet->backImage(), "StretchPicture");
    QCOMPARE(sheet->findChild<QAction *>("ChangePicture")->text(), QStringLiteral("&Change Background"));
    QVERIFY(!sheet->backImage()->stretch());
    QTest::mouseClick(photo, Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(sheet->findChild<QAction *>("StretchPicture")->isChecked()); // follows the picture

    const QString path = m_fx->path("pictures.rab");
    sheet->saveFile(path);
    QCOMPARE(LineFile::read(path).at(RabbitFile::RabbitPicture), png);
    TRabbitSheet *again = newSheet();
    again->loadFile(path);
    QVERIFY(again->backImage()->stretch()); // stretch is not stored

    clickPicture(sheet, photo, "ClearPicture");
    QVERIFY(photo->isBlank());
    sheet->saveFile(path);
    QCOMPARE(LineFile::read(path).at(RabbitFile::RabbitPicture), QString());
}

void TestRabbit::printsSheetWithOpenPanel()
{
    TRabbitSheet *sheet = newSheet();
    sheet->loadFile(copyData("filled.rab"));
    QTest::mouseClick(sheet->field("Breed"), Qt::LeftButton);
    const QString pdf = m_fx->path("sheet.pdf");
    m_fx->platform().expectPrinter(QString()); // Cancel prints nothing
    trigger(sheet, "FilePrint");
    QVERIFY(!QFile::exists(pdf));
    m_fx->platform().expectPrinter(pdf);
    trigger(sheet, "FilePrint");
    QVERIFY(QFileInfo(pdf).size() > 1000);

    if (!TestFiles::havePdfToText())
        QSKIP("pdftotext is not installed; the PDF's text was not read");
    const QString text = TestFiles::pdfText(pdf);
    QVERIFY2(text.contains("Blue Moon of Hazel Hill"), qPrintable(text));
    QVERIFY(text.contains("Holland Lop"));
    QVERIFY(text.contains("Change Text Entry")); // the open panel prints too
}

QTEST_MAIN(TestRabbit)
#include "test_rabbit.moc"
