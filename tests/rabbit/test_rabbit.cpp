#include "TestFiles.h"
#include "WindowFixture.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

using Answer = Platform::Answer;

class TestRabbit : public WindowTest
{
    Q_OBJECT
private slots:

    void newRecordSheet();
    void filesLoadAndSaveBack_data();
    void filesLoadAndSaveBack();
    void badFileLeavesWindowAsItWas();
    void weightAndPictureLinesReadExactly();
    void openReusesOnlyAFreshUntitledWindow();
    void badEntriesInThePanels();
    void hugeAndUnstorableValues();
    void picturesBesideTheRecordFollowASaveAs();

private:
    QString copyData(const QString &name) { return m_fx->copyData("rabbit/" + name, name); }
    // tests/data/rabbit/filled.rab with some lines replaced, cut after `keep` lines.
    QString filledWith(const QString &name, const QMap<int, QString> &changes, int keep = -1)
    {
        return TestFiles::writeLines(m_fx->path(name), LineFile::read(TestFiles::dataPath("rabbit/filled.rab")).lines(),
                                     changes, keep);
    }
    static void clickPicture(PictureBox *box, const char *action)
    {
        Input::clickOn(box, Qt::RightButton, QPoint(5, 5));
        Input::chooseFromPopup(action);
    }
    // Types into the font panel's size box and presses its Ok.
    static void typeFontSize(TRabbitSheet *sheet, const QString &size)
    {
        Input::clickOn(sheet->findChild<QComboBox *>("FontSize"));
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::type(size);
        Input::clickOn(sheet->findChild<QPushButton *>("FontOk"));
    }

};

// Save on the untitled record runs Save As and writes the 72-line new record.
void TestRabbit::newRecordSheet()
{
    TRabbitSheet *sheet = m_fx->newRabbit();
    QCOMPARE(sheet->size(), QSize(596, 589));
    QVERIFY(showsWithoutScrollBars(sheet));
    const QString path = m_fx->path("new.rab");
    m_fx->platform().expectFile(path);
    press(sheet, Qt::CTRL | Qt::Key_S);
    QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(TestFiles::dataPath("rabbit/new.rab")));
}

// The 72-line file saves back byte for byte; older files of 57, 69 and 71 lines
// load and save with all 72, the lines they lack reading "None". The values reach
// the window, as saving reads them from its widgets.
void TestRabbit::filesLoadAndSaveBack_data()
{
    QTest::addColumn<int>("lines");
    for (const int lines : {72, 57, 69, 71})
        QTest::addRow("%d lines", lines) << lines;
}

void TestRabbit::filesLoadAndSaveBack()
{
    QFETCH(int, lines);
    const QString source = copyData(lines == 72 ? "filled.rab" : QStringLiteral("old%1.rab").arg(lines));
    TRabbitSheet *sheet = m_fx->newRabbit();
    sheet->loadFile(source);
    QVERIFY(sheet->findChild<QAction *>("Bold")->isChecked());
    QVERIFY(!sheet->isModified());

    sheet->saveFile(m_fx->path("saved.rab"));
    QCOMPARE(TestFiles::readBytes(m_fx->path("saved.rab")),
             TestFiles::readBytes(source) + QByteArray("None\r\n").repeated(72 - lines));
}

// Cut short (inside the head, inside the links, between 69 and 70) or with a font
// size that is no number: the load changes nothing in the window.
void TestRabbit::badFileLeavesWindowAsItWas()
{
    TRabbitSheet *sheet = m_fx->newRabbit();
    const QString good = copyData("new.rab");
    sheet->loadFile(good);
    sheet->setModified(true);
    for (const int keep : {40, 58, 70, 72}) {
        const QString bad = filledWith("bad.rab", {{RabbitFile::FontSize, keep < 72 ? "11" : "big"}}, keep);
        QVERIFY_THROWS_EXCEPTION(RecordError, sheet->loadFile(bad));
        QCOMPARE(sheet->record().values(), RabbitFile::newRecord().values());
        QCOMPARE(sheet->fileName(), good);
        QVERIFY(sheet->isModified());
    }
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
    TRabbitSheet *sheet = m_fx->newRabbit();
    sheet->loadFile(path);
    m_fx->platform().takeError("moved-away.jpg");
    QCOMPARE(sheet->record().value(RabbitFile::PedigreeLink), QStringLiteral("C:\\Rabbits\\Moon.ped"));

    press(sheet, Qt::CTRL | Qt::Key_S);
    const LineFile saved = LineFile::read(path);
    QCOMPARE(saved.at(RabbitFile::FontWeight), QStringLiteral("Normal"));
    QCOMPARE(saved.at(RabbitFile::RabbitPicture), photo);
    QCOMPARE(saved.at(RabbitFile::BackPicture), QString()); // "None" is never written
}

// Open loads into the window only while it is captioned "Untitled" and unchanged:
// a rabbit named "Untitled" leaves its window open to the next Open.
void TestRabbit::openReusesOnlyAFreshUntitledWindow()
{
    const QString source = copyData("filled.rab");
    // Opened from the main window's File menu, a rabbit is captioned with its name.
    m_fx->platform().expectFile(filledWith("untitled.rab", {{RabbitFile::RabbitName, "Untitled"}}));
    Input::chooseFromMenuBar(&m_fx->parent(), "MMFile", "MMOpen");
    TRabbitSheet *named = WindowRegistry::newest<TRabbitSheet>();
    QVERIFY(named);
    QCOMPARE(named->windowTitle(), QStringLiteral("Untitled - Rabbit Information"));
    m_fx->platform().expectFile(source);
    press(named, Qt::CTRL | Qt::Key_O);
    QCOMPARE(WindowRegistry::newest<TRabbitSheet>(), named);
    QCOMPARE(named->windowTitle(), QStringLiteral("filled.rab - Rabbit Information"));
    m_fx->platform().expectFile(source);
    press(named, Qt::CTRL | Qt::Key_O);
    QCOMPARE(m_fx->windows(), 2);
}

// Hostile or odd entries: an emptied value, a font size that is no number, a
// picture that is no picture.
void TestRabbit::badEntriesInThePanels()
{
    TRabbitSheet *sheet = m_fx->newRabbit();
    // An emptied value (Change Text in its menu) stays empty on file and keeps a width
    // to be clicked on.
    fromMenu(sheet, sheet->field("Weight"), "Change Text");
    Input::key(Qt::Key_Delete); // the panel opens with the text selected
    Input::key(Qt::Key_Return);
    QCOMPARE(sheet->record().value(RabbitFile::Weight), QString());
    QVERIFY(sheet->field("Weight")->width() >= 10);

    // Close and Esc leave the font as it was.
    auto *fontPanel = sheet->findChild<QWidget *>("FontPanel");
    clickPicture(sheet->backImage(), "ChangeFontFace");
    Input::clickOn(sheet->findChild<QPushButton *>("FontClose"));
    clickPicture(sheet->backImage(), "ChangeFontFace");
    Input::key(Qt::Key_Escape);
    QVERIFY(!fontPanel->isVisible());
    QCOMPARE(sheet->field("Breed")->font().pointSize(), 10);

    clickPicture(sheet->backImage(), "ChangeFontFace");
    typeFontSize(sheet, "thirteen");
    QCOMPARE(m_fx->platform().takeErrors().size(), 1);
    QVERIFY(fontPanel->isVisible());                              // stays open
    typeFontSize(sheet, "13");                                    // not one of the offered sizes
    QCOMPARE(sheet->field("Breed")->font().pointSize(), 13);      // values follow the sheet
    QCOMPARE(sheet->field("RabbitName")->font().pointSize(), 12); // the name keeps its own
    QCOMPARE(sheet->record().value(RabbitFile::FontSize), QStringLiteral("13"));

    const QString png = m_fx->path("photo.png");
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    image.save(png);
    const QString broken = m_fx->path("broken.jpg");
    TestFiles::writeBytes(broken, "\xff\xd8\xff\xe0 not a photo");
    PictureBox *photo = sheet->rabbitPicture();
    m_fx->platform().expectFile(png);
    clickPicture(photo, "ChangePicture");
    QCOMPARE(photo->image().size(), QSize(40, 30));
    m_fx->platform().expectFile(broken);
    clickPicture(photo, "ChangePicture");
    m_fx->platform().takeError("JPEG");
    QCOMPARE(photo->path(), png); // the old picture stays
}

// A megabyte pasted into a value shows cut short on the sheet but is kept whole; a
// character the file cannot store (here in a picture's file name) is written as "?"
// and the save says where.
void TestRabbit::hugeAndUnstorableValues()
{
    const QString huge(1 << 20, u'x');
    const QString path = filledWith("huge.rab", {{RabbitFile::Breed, huge}});
    TRabbitSheet *sheet = m_fx->newRabbit();
    sheet->loadFile(path);
    ValueLabel *breed = sheet->field("Breed");
    QVERIFY(breed->text().size() < 1000 && breed->text().endsWith(u'\u2026'));
    QCOMPARE(breed->value(), huge);
    sheet->saveFile(path);
    QCOMPARE(LineFile::read(path).at(RabbitFile::Breed), huge);

    const QString png = m_fx->path(QStringLiteral("\u03a9mega.png"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QVERIFY(image.save(png));
    m_fx->platform().expectFile(png);
    clickPicture(sheet->rabbitPicture(), "ChangePicture");
    m_fx->platform().expectQuestion("The record was saved, but some characters cannot be stored in a record file and "
                                    "were written as \"?\" in: RabbitPicturePath.",
                                    Answer::Ok);
    press(sheet, Qt::CTRL | Qt::Key_S);
    const QByteArray bytes = TestFiles::readBytes(path);
    QVERIFY(bytes.contains("?mega.png") && !bytes.contains('\x1a'));
}

// A picture named without a folder is found beside its record; Save As into another
// folder names it in full, so the copy still shows it.
void TestRabbit::picturesBesideTheRecordFollowASaveAs()
{
    QImage image(6, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(m_fx->path("photo.png")));
    const QString original = filledWith("bare.rab", {{RabbitFile::RabbitPicture, "photo.png"}});
    QDir().mkpath(m_fx->path("elsewhere"));
    const QString copy = m_fx->path("elsewhere/copy.rab");

    TRabbitSheet *sheet = m_fx->newRabbit();
    sheet->loadFile(original);
    QCOMPARE(sheet->rabbitPicture()->image().size(), QSize(6, 5));
    sheet->saveFile(original); // the same folder: the name stays bare
    QCOMPARE(LineFile::read(original).at(RabbitFile::RabbitPicture), "photo.png");
    m_fx->platform().expectFile(copy);
    Input::chooseFromMenuBar(sheet, "File", "FileSaveAs");
    QCOMPARE(LineFile::read(copy).at(RabbitFile::RabbitPicture), m_fx->path("photo.png"));

    TRabbitSheet *reopened = m_fx->newRabbit();
    reopened->loadFile(copy);
    QCOMPARE(reopened->rabbitPicture()->image().size(), QSize(6, 5));
}

QTEST_MAIN(TestRabbit)
#include "test_rabbit.moc"
