#include "WindowFixture.h"
#include "TestFiles.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"
#include "shell/HiddenPrint.h"

#include <QAction>
#include <QComboBox>
#include <QImageWriter>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using Answer = Platform::Answer;
const QString Unsaved = QStringLiteral("Unsaved work will be lost. Save changes?");
const QString Overwrite = QStringLiteral("That file already exists. Overwrite?");

class TestRabbit : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void newRecordSavesSeventyTwoLines();
    void filledRecordRoundTripsByteForByte();
    void olderShorterFilesLoad_data();
    void olderShorterFilesLoad();
    void weightAndPictureLinesReadExactly();
    void badFileLeavesWindowAsItWas_data();
    void badFileLeavesWindowAsItWas();
    void missingPictureDoesNotStopLoad();
    void openReusesOnlyAFreshUntitledWindow();
    void saveAsOnExistingFile();
    void failedSaveKeepsOldFileAndFlag();
    void closeQuestion();
    void textChangePanel();
    void fontPanelAndBold();
    void pictureCommands();
    void printsSheetWithOpenPanel();

private:
    TRabbitSheet *newSheet();
    QString copyData(const QString &name);
    void clickPicture(TRabbitSheet *sheet, PictureBox *box, const char *action);

    std::unique_ptr<WindowFixture> m_fx;
};

void TestRabbit::init()
{
    m_fx = std::make_unique<WindowFixture>();
}

void TestRabbit::cleanup()
{
    QCOMPARE(m_fx->finish(), QStringList());
    m_fx.reset();
}

TRabbitSheet *TestRabbit::newSheet()
{
    m_fx->parent().MMRabbitEditorClick();
    return WindowRegistry::newest<TRabbitSheet>();
}

QString TestRabbit::copyData(const QString &name) { return m_fx->copyData("rabbit/" + name, name); }

void TestRabbit::clickPicture(TRabbitSheet *sheet, PictureBox *box, const char *action)
{
    QTest::mouseClick(box, Qt::RightButton, {}, QPoint(5, 5));
    sheet->findChild<QAction *>(action)->trigger();
}

void TestRabbit::newRecordSavesSeventyTwoLines()
{
    TRabbitSheet *sheet = newSheet();
    QCOMPARE(sheet->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    QCOMPARE(sheet->size(), QSize(596, 589));
    QCOMPARE(sheet->positionCode(), QStringLiteral("0"));
    const QString path = m_fx->path("new.rab");
    m_fx->platform().expectFile(path);
    sheet->findChild<QAction *>("FileSave")->trigger(); // untitled: Save runs Save As
    QCOMPARE(m_fx->platform().dialogTitles(), QStringList{"Save As"});
    QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(TestFiles::dataPath("rabbit/new.rab")));
    QCOMPARE(sheet->windowTitle(), QStringLiteral("new.rab - Rabbit Information"));
    QCOMPARE(sheet->fileName(), path);
    QVERIFY(!sheet->isModified());
}

void TestRabbit::filledRecordRoundTripsByteForByte()
{
    const QString source = copyData("filled.rab");
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
    sheet->saveFile(m_fx->path("copy.rab"));
    QCOMPARE(TestFiles::readBytes(m_fx->path("copy.rab")), TestFiles::readBytes(source));
}

void TestRabbit::olderShorterFilesLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fatherLink");
    QTest::addColumn<QString>("pedigreeLink");
    QTest::newRow("57 lines") << "old57.rab" << "None" << "None";
    QTest::newRow("69 lines") << "old69.rab" << "C:\\Rabbits\\Smokey.rab" << "None";
    QTest::newRow("71 lines") << "old71.rab" << "C:\\Rabbits\\Smokey.rab" << "C:\\Rabbits\\Moon.ped";
}

void TestRabbit::olderShorterFilesLoad()
{
    QFETCH(QString, name);
    QFETCH(QString, fatherLink);
    QFETCH(QString, pedigreeLink);
    const QString source = copyData(name);
    TRabbitSheet *sheet = newSheet();
    sheet->loadFile(source);
    const LineRecord record = sheet->record();
    QCOMPARE(record.value(RabbitFile::Winnings), QStringLiteral("Best of Breed, Spring Classic \u00e9t\u00e9 \u20ac5"));
    QCOMPARE(record.value(RabbitFile::FatherRabFile), fatherLink);
    QCOMPARE(record.value(RabbitFile::PedigreeLink), pedigreeLink);
    QCOMPARE(record.value(RabbitFile::ShowLink), QStringLiteral("None"));
    sheet->saveFile(m_fx->path("saved.rab"));
    const LineFile saved = LineFile::read(m_fx->path("saved.rab"));
    const LineFile original = LineFile::read(source);
    QCOMPARE(saved.count(), 72);
    QCOMPARE(saved.lines().mid(0, original.count()), original.lines());
}

void TestRabbit::weightAndPictureLinesReadExactly()
{
    QStringList lines = LineFile::read(TestFiles::dataPath("rabbit/filled.rab")).lines();
    lines[RabbitFile::FontWeight] = "bold";
    lines[RabbitFile::RabbitPicture] = "None";
    lines[RabbitFile::BackPicture] = "";
    const QString path = m_fx->path("odd.rab");
    LineFile(lines).write(path);

    TRabbitSheet *sheet = newSheet();
    sheet->loadFile(path);
    QVERIFY(!sheet->sheet()->font().bold()); // "bold" is not "Bold": weight unchanged
    QVERIFY(sheet->rabbitPicture()->isBlank());
    QVERIFY(sheet->backImage()->isBlank());
    sheet->saveFile(path);
    const LineFile saved = LineFile::read(path);
    QCOMPARE(saved.at(RabbitFile::FontWeight), QStringLiteral("Normal"));
    QCOMPARE(saved.at(RabbitFile::RabbitPicture), QString()); // "None" is never written
}

void TestRabbit::badFileLeavesWindowAsItWas_data()
{
    QTest::addColumn<int>("keep");     // lines of filled.rab kept
    QTest::addColumn<QString>("size"); // font size line
    QTest::addColumn<QString>("error");
    QTest::newRow("short file") << 40 << "11" << "(40)";
    QTest::newRow("ends inside links") << 58 << "11" << "(58)";
    QTest::newRow("ends between 69 and 70") << 70 << "11" << "(70)";
    QTest::newRow("bad font size") << 72 << "big" << "'big'";
}

void TestRabbit::badFileLeavesWindowAsItWas()
{
    QFETCH(int, keep);
    QFETCH(QString, size);
    QFETCH(QString, error);
    QStringList lines = LineFile::read(TestFiles::dataPath("rabbit/filled.rab")).lines().mid(0, keep);
    if (keep > RabbitFile::FontSize)
        lines[RabbitFile::FontSize] = size;
    const QString bad = m_fx->path("bad.rab");
    LineFile(lines).write(bad);

    // A window bound to a file, with an unsaved change.
    TRabbitSheet *sheet = newSheet();
    const QString good = copyData("new.rab");
    sheet->loadFile(good);
    QTest::mouseClick(sheet->field("Breed"), Qt::LeftButton);
    sheet->findChild<QLineEdit *>("TextEdit")->setText("Rex");
    sheet->findChild<QPushButton *>("TextOk")->click();
    const LineRecord before = sheet->record();

    m_fx->platform().expectFile(bad);
    sheet->findChild<QAction *>("FileOpen")->trigger(); // modified: opens a new window
    TRabbitSheet *fresh = WindowRegistry::newest<TRabbitSheet>();
    QVERIFY(fresh != sheet);
    const QStringList errors = m_fx->platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
    // The new window stays open, untitled and clean; nothing of the file got in.
    QCOMPARE(fresh->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    QVERIFY(fresh->fileName().isEmpty());
    QVERIFY(!fresh->isModified());
    QCOMPARE(fresh->record().values(), RabbitFile::newRecord().values());

    // Loading straight into the bound window changes nothing there either.
    try {
        sheet->loadFile(bad);
        QFAIL("bad file loaded");
    } catch (const RecordError &) {
    }
    QCOMPARE(sheet->record().values(), before.values());
    QCOMPARE(sheet->fileName(), good);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("new.rab - Rabbit Information"));
    QVERIFY(sheet->isModified());
}

void TestRabbit::missingPictureDoesNotStopLoad()
{
    QStringList lines = LineFile::read(TestFiles::dataPath("rabbit/filled.rab")).lines();
    const QString photo = m_fx->path("moved-away.jpg");
    lines[RabbitFile::RabbitPicture] = photo;
    const QString path = m_fx->path("photo.rab");
    LineFile(lines).write(path);

    TRabbitSheet *sheet = newSheet();
    sheet->loadFile(path);
    const QStringList errors = m_fx->platform().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains("moved-away.jpg"));
    QCOMPARE(sheet->fileName(), path);
    QCOMPARE(sheet->record().value(RabbitFile::ShowLink), QStringLiteral("None"));
    QCOMPARE(sheet->record().value(RabbitFile::FatherRabFile), QStringLiteral("C:\\Rabbits\\Smokey.rab"));
    QVERIFY(sheet->rabbitPicture()->isBlank());
    // Saving writes the path back as the file had it.
    sheet->findChild<QAction *>("FileSave")->trigger();
    QCOMPARE(LineFile::read(path).at(RabbitFile::RabbitPicture), photo);
    m_fx->platform().takeErrors();
}

void TestRabbit::openReusesOnlyAFreshUntitledWindow()
{
    const QString source = copyData("filled.rab");
    TRabbitSheet *sheet = newSheet();
    m_fx->platform().expectFile(source);
    sheet->findChild<QAction *>("FileOpen")->trigger();
    QCOMPARE(WindowRegistry::newest<TRabbitSheet>(), sheet);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("filled.rab - Rabbit Information"));
    QCOMPARE(m_fx->parent().mdiArea()->subWindowList().size(), 1);

    // Titled: a second window, this one unchanged.
    m_fx->platform().expectFile(source);
    sheet->findChild<QAction *>("FileOpen")->trigger();
    QCOMPARE(m_fx->parent().mdiArea()->subWindowList().size(), 2);
    QVERIFY(WindowRegistry::newest<TRabbitSheet>() != sheet);

    // A rabbit named "Untitled" opened from the main window reuses its window, as
    // the test is on the caption.
    QStringList lines = LineFile::read(source).lines();
    lines[0] = "Untitled";
    LineFile(lines).write(m_fx->path("untitled.rab"));
    m_fx->parent().openByExtension(m_fx->path("untitled.rab"));
    TRabbitSheet *named = WindowRegistry::newest<TRabbitSheet>();
    QCOMPARE(named->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    m_fx->platform().expectFile(source);
    named->findChild<QAction *>("FileOpen")->trigger();
    QCOMPARE(WindowRegistry::newest<TRabbitSheet>(), named);
    QCOMPARE(named->windowTitle(), QStringLiteral("filled.rab - Rabbit Information"));
}

void TestRabbit::saveAsOnExistingFile()
{
    const QString existing = copyData("filled.rab");
    const QByteArray original = TestFiles::readBytes(existing);
    const QString other = m_fx->path("other.rab");
    TRabbitSheet *sheet = newSheet();
    QAction *saveAs = sheet->findChild<QAction *>("FileSaveAs");

    // No asks for another name; Cancel writes nothing.
    m_fx->platform().expectFile(existing);
    m_fx->platform().expectQuestion(Overwrite, Answer::No);
    m_fx->platform().expectFile(existing);
    m_fx->platform().expectQuestion(Overwrite, Answer::Cancel);
    saveAs->trigger();
    QCOMPARE(TestFiles::readBytes(existing), original);
    QVERIFY(sheet->fileName().isEmpty());

    m_fx->platform().expectFile(existing);
    m_fx->platform().expectQuestion(Overwrite, Answer::No);
    m_fx->platform().expectFile(other);
    saveAs->trigger();
    QCOMPARE(sheet->fileName(), other);
    QCOMPARE(TestFiles::readBytes(existing), original);

    m_fx->platform().expectFile(existing);
    m_fx->platform().expectQuestion(Overwrite, Answer::Yes);
    saveAs->trigger();
    QCOMPARE(TestFiles::readBytes(existing), TestFiles::readBytes(TestFiles::dataPath("rabbit/new.rab")));
}

void TestRabbit::failedSaveKeepsOldFileAndFlag()
{
    const QString path = copyData("filled.rab");
    TRabbitSheet *sheet = newSheet();
    sheet->loadFile(path);
    sheet->setModified(true);
    // A folder with the file's name cannot be replaced by a file.
    QDir().mkpath(m_fx->path("taken.rab"));
    m_fx->platform().expectFile(m_fx->path("taken.rab"));
    sheet->findChild<QAction *>("FileSaveAs")->trigger();
    QCOMPARE(m_fx->platform().takeErrors().size(), 1);
    QVERIFY(sheet->isModified());
    QCOMPARE(sheet->fileName(), path);
    QCOMPARE(sheet->windowTitle(), QStringLiteral("filled.rab - Rabbit Information"));
}

void TestRabbit::closeQuestion()
{
    // Clean windows close without a word, even never saved.
    TRabbitSheet *clean = newSheet();
    QVERIFY(clean->close());

    TRabbitSheet *sheet = newSheet();
    QPointer<TRabbitSheet> guard(sheet);
    sheet->setModified(true);
    m_fx->platform().expectQuestion(Unsaved, Answer::Cancel);
    QVERIFY(!sheet->close());
    // Yes on an untitled record whose Save As is cancelled keeps it open.
    m_fx->platform().expectQuestion(Unsaved, Answer::Yes);
    m_fx->platform().expectFile(std::nullopt);
    QVERIFY(!sheet->close());
    QVERIFY(sheet->isModified());
    // Yes with a name saves, then closes.
    const QString path = m_fx->path("closed.rab");
    m_fx->platform().expectQuestion(Unsaved, Answer::Yes);
    m_fx->platform().expectFile(path);
    QVERIFY(sheet->close());
    QVERIFY(QFile::exists(path));

    TRabbitSheet *other = newSheet();
    other->setModified(true);
    m_fx->platform().expectQuestion(Unsaved, Answer::No);
    QVERIFY(other->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull()); // closed windows are freed
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
    QCOMPARE(sheet->currentLabel(), owner);

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
    QCOMPARE(sheet->field("Weight")->text(), QString());
    QVERIFY(sheet->field("Weight")->width() >= 10);
    QTest::mouseClick(sheet->field("Weight"), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    QCOMPARE(sheet->record().value(RabbitFile::Weight), QString());
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
    const int other = faces->findText("DejaVu Sans") >= 0 ? faces->findText("DejaVu Sans") : 0;
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
    QCOMPARE(sheet->sheet()->font().pointSize(), 13);
    QCOMPARE(sheet->field("Breed")->font().pointSize(), 13);   // values follow the sheet
    QCOMPARE(sheet->field("RabbitName")->font().pointSize(), 12); // the name keeps its own
    QVERIFY(sheet->isModified());

    sheet->setModified(false);
    QAction *bold = sheet->findChild<QAction *>("Bold");
    bold->trigger();
    QVERIFY(sheet->sheet()->font().bold());
    bold->trigger();
    QVERIFY(!sheet->sheet()->font().bold());
    QVERIFY(sheet->isModified());
    const LineRecord saved = sheet->record();
    QCOMPARE(saved.value(RabbitFile::FontSize), QStringLiteral("13"));
    QCOMPARE(saved.value(RabbitFile::FontWeight), QStringLiteral("Normal"));
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
    QCOMPARE(photo->path(), png);

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
    sheet->findChild<QAction *>("FilePrint")->trigger();
    QVERIFY(!QFile::exists(pdf));
    m_fx->platform().expectPrinter(pdf);
    sheet->findChild<QAction *>("FilePrint")->trigger();
    QVERIFY(QFileInfo(pdf).size() > 1000);

    // The sheet scaled into an image shows ink where the name is.
    const QPicture &picture = THiddenPrint::instance()->hiddenImage();
    QImage image(296, 287, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    THiddenPrint::playScaled(picture, sheet->sheet()->size(), painter, image.rect());
    painter.end();
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 116; x < 290; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    QVERIFY2(dark > 20, "no text where the name line is");

    if (!TestFiles::havePdfToText())
        QSKIP("pdftotext is not installed; the PDF's text was not read");
    const QString text = TestFiles::pdfText(pdf);
    QVERIFY2(text.contains("Blue Moon of Hazel Hill"), qPrintable(text));
    QVERIFY(text.contains("Holland Lop"));
    QVERIFY(text.contains("Change Text Entry")); // the open panel prints too
}

QTEST_MAIN(TestRabbit)
#include "test_rabbit.moc"
