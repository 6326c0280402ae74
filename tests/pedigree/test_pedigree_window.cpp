#include "TestFiles.h"
#include "WindowFixture.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
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
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

using Answer = Platform::Answer;
using namespace PedigreeFile;

namespace {
const QString Unsaved = QStringLiteral("Unsaved work will be lost. Save changes?");
const QString None = QStringLiteral("None");
} // namespace

class TestPedigreeWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    static void trigger(QObject *window, const char *action) { window->findChild<QAction *>(action)->trigger(); }

    TMainScreen *newChart()
    {
        m_fx->parent().MMPedigreeClick();
        return WindowRegistry::newest<TMainScreen>();
    }

    void setText(TMainScreen *chart, const QString &field, const QString &text)
    {
        QTest::mouseClick(chart->field(field), Qt::LeftButton);
        chart->findChild<QLineEdit *>("TextEdit")->setText(text);
        chart->findChild<QPushButton *>("TextOk")->click();
    }

    void onField(TMainScreen *chart, const QString &field, const char *action)
    {
        QTest::mouseClick(chart->field(field), Qt::RightButton);
        // The menu popped up; choosing an entry closes it.
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
        chart->findChild<QAction *>(action)->trigger();
    }

    void dragTitle(TMainScreen *chart, QPoint to)
    {
        // Sent straight to the title: press, two moves over the chart, release.
        ValueLabel *title = chart->titleLabel();
        const auto send = [&](QEvent::Type type, QPoint sheetPos, Qt::MouseButtons buttons) {
            const QPoint global = chart->sheet()->mapToGlobal(sheetPos);
            QMouseEvent event(type, title->mapFromGlobal(global), global, Qt::LeftButton, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(title, &event);
        };
        const QPoint from = title->pos() + QPoint(10, 5);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from + QPoint(1, 0), Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    LinkField *link(TMainScreen *chart, int code)
    {
        return chart->linkEditor()->positionLink(positionByCode(code)->index());
    }

    QString writeRabbit(const QString &name, const QMap<int, QString> &values)
    {
        LineRecord rabbit = RabbitFile::newRecord();
        for (auto it = values.begin(); it != values.end(); ++it)
            rabbit.setValue(it.key(), it.value());
        rabbit.toLines().write(m_fx->path(name));
        return m_fx->path(name);
    }

    // Saves the chart to a scratch file and returns one line of it.
    QString saved(TMainScreen *chart, int line)
    {
        chart->saveFile(m_fx->path("saved.ped"));
        return LineFile::read(m_fx->path("saved.ped")).at(line);
    }
    // A line of the file the last `saved` wrote.
    QString lastSaved(int line) { return LineFile::read(m_fx->path("saved.ped")).at(line); }

    // Exactly one error was shown since the last look, and it names `part`.
    void expectError(const QString &part)
    {
        const QStringList errors = m_fx->platform().takeErrors();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(part), qPrintable(errors.first()));
    }

private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    void newChartItsFileAndPictures()
    {
        QVERIFY(QTest::qWaitForWindowExposed(&m_fx->parent()));
        QTest::keyClick(&m_fx->parent(), Qt::Key_E, Qt::ControlModifier);
        auto *chart = WindowRegistry::newest<TMainScreen>();
        QVERIFY(chart);
        QCOMPARE(chart->size(), QSize(960, 720));
        // The certificate fits its window: no scroll bars.
        auto *scroll = chart->findChild<QScrollArea *>("SheetScroll");
        QApplication::processEvents(); // the scroll area settles after the resize
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(!scroll->verticalScrollBar()->isVisible());
        QCOMPARE(chart->connectorBars().size(), 38);

        // Untitled, Save runs Save As and writes a new record ("None" for each picture).
        const QString path = m_fx->path("new.ped");
        m_fx->platform().expectFile(path);
        trigger(chart, "FileSave");
        QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(TestFiles::dataPath("pedigree/new.ped")));
        QCOMPARE(chart->windowTitle(), "new.ped - Rabbit Pedigree");
        QVERIFY(!chart->isModified());

        // The background's stretch is saved; the check mark follows the picture under the menu.
        const QString png = m_fx->path("rabbit.png");
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(png));
        auto *stretch = chart->findChild<QAction *>("StretchPicture");
        QTest::mouseClick(chart->backImage(), Qt::RightButton, {}, QPoint(900, 680));
        m_fx->platform().expectFile(png);
        trigger(chart, "ChangePicture");
        QVERIFY(stretch->isChecked());
        stretch->trigger();
        QTest::mouseClick(chart->miniPicture(), Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(stretch->isChecked());
        QTest::mouseClick(chart->backImage(), Qt::RightButton, {}, QPoint(900, 680));
        QVERIFY(!stretch->isChecked());
        QCOMPARE(saved(chart, BackStretch), "false");
        QCOMPARE(lastSaved(BackPicture), png);
        // A cleared picture saves an empty line; one never set saves "None".
        chart->setModified(false);
        trigger(chart, "ClearPicture"); // still the background
        QVERIFY(chart->isModified());
        QVERIFY(chart->backImage()->isBlank());
        QCOMPARE(saved(chart, BackPicture), QString());
        QCOMPARE(lastSaved(MiniPicture), None);

        // View Picture and View Gridlines: each a change, each saved.
        for (const char *view : {"ViewPicture", "ViewGridlines"}) {
            chart->setModified(false);
            trigger(chart, view);
            QVERIFY(chart->isModified());
        }
        QVERIFY(chart->miniPicture()->isHidden());
        for (QWidget *bar : chart->connectorBars())
            QVERIFY(bar->isHidden());
        QCOMPARE(saved(chart, MiniFrameShown), "false");
        QCOMPARE(lastSaved(Gridlines), "GridlinesOff");
    }

    void filledFileBadFileAndPrint()
    {
        const QString source = m_fx->copyData("pedigree/chart.ped", "chart.ped");
        m_fx->parent().openByExtension(source);
        auto *chart = WindowRegistry::newest<TMainScreen>();
        expectError("blaze.jpg"); // the mini picture's folder is not on this machine; the path is kept
        QVERIFY(!chart->isModified());
        // Saving gives the same bytes: every value reached the window (record() reads
        // the widgets). What the file shows besides:
        chart->saveFile(m_fx->path("copy.ped"));
        QCOMPARE(TestFiles::readBytes(m_fx->path("copy.ped")), TestFiles::readBytes(source));
        QCOMPARE(chart->field("BunnySex")->text(), "Doe"); // sex before colour
        QCOMPARE(chart->field("DamOneFourWinnings")->text(), QStringLiteral("BOB \u00a313"));
        QVERIFY(chart->findChild<QAction *>("Bold")->isChecked());
        QVERIFY(chart->miniPicture()->isHidden());
        QVERIFY(chart->connectorBars().first()->isHidden());
        QCOMPARE(link(chart, 48)->caption()->text(), "r14.rab");

        // A file that fails to load leaves the window as it was, unsaved edits included.
        QStringList lines = LineFile::read(source).lines();
        lines[TitleTop] = "top";
        LineFile(lines).write(m_fx->path("bad.ped"));
        setText(chart, "DadName", "Hazel Hill Smokey");
        link(chart, 21)->setLink(m_fx->path("smokey.rab"));
        const LineRecord before = chart->record();
        QVERIFY_THROWS_EXCEPTION(ConversionError, chart->loadFile(m_fx->path("bad.ped")));
        QCOMPARE(chart->record().values(), before.values());
        QCOMPARE(chart->fileName(), m_fx->path("copy.ped"));
        QVERIFY(chart->isModified());

        // Printed on one page, across (the certificate is wider than high), as text:
        // the names of all fifteen positions can be read back.
        const QString pdf = m_fx->path("chart.pdf");
        m_fx->platform().expectPrinter(pdf);
        trigger(chart, "FilePrint");
        const QString bytes = QString::fromLatin1(TestFiles::readBytes(pdf));
        QCOMPARE(bytes.count(QRegularExpression(QStringLiteral(R"(/Type\s*/Page\b)"))), 1);
        const QRegularExpressionMatch box =
            QRegularExpression(QStringLiteral(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])")).match(bytes);
        QVERIFY(box.captured(1).toDouble() > box.captured(2).toDouble());
        if (!TestFiles::havePdfToText())
            QSKIP("pdftotext is not installed; the PDF's text was not read");
        const QString text = TestFiles::pdfText(pdf);
        for (const Position &p : positions())
            QVERIFY2(text.contains(before.value(p.line(ChartField::Name))), qPrintable(text));
        QVERIFY(text.contains("Meadow Rabbitry"));
        QVERIFY(text.contains("Printed by Rabbit Hutchlore"));
    }

    void titleTextAndFonts()
    {
        TMainScreen *chart = newChart();
        dragTitle(chart, {120, 40});
        QVERIFY(chart->isModified());
        // The drag was its only change, yet Open goes to a new window.
        m_fx->platform().expectFile(m_fx->copyData("pedigree/new.ped", "plain.ped"));
        trigger(chart, "FileOpen");
        QVERIFY(WindowRegistry::newest<TMainScreen>() != chart);
        // Dragged past the edge, the title stays on the certificate.
        dragTitle(chart, {5000, 5000});
        QVERIFY(chart->sheet()->rect().contains(chart->titleLabel()->geometry()));
        dragTitle(chart, {300, 25});
        QCOMPARE(saved(chart, TitleLeft), "300");
        QCOMPARE(lastSaved(TitleTop), "25");

        // Ok with the text as it was still counts as a change.
        chart->setModified(false);
        auto *edit = chart->findChild<QLineEdit *>("TextEdit");
        QTest::mouseClick(chart->field("SireOneThreeReg"), Qt::LeftButton);
        QCOMPARE(edit->text(), RecordText::underscores(10));
        chart->findChild<QPushButton *>("TextOk")->click();
        QVERIFY(chart->isModified());
        // An empty entry is stored as 27 blanks, which the file keeps, and stays clickable.
        setText(chart, "MomWinnings", QString());
        QVERIFY(chart->field("MomWinnings")->width() > 50);
        QCOMPARE(saved(chart, positionByCode(22)->line(ChartField::Winnings)), QString(27, u' '));
        // The title opens on a double click.
        QTest::mouseDClick(chart->titleLabel(), Qt::LeftButton);
        QCOMPARE(edit->text(), "Rabbit Pedigree");
        chart->findChild<QPushButton *>("TextCancel")->click();

        // The title's own font: face and size saved, always bold; the chart keeps its font.
        chart->setModified(false);
        QTest::mouseClick(chart->titleLabel(), Qt::RightButton);
        trigger(chart, "TitleChangeFont");
        auto *faces = chart->findChild<QComboBox *>("FontType");
        auto *size = chart->findChild<QComboBox *>("FontSize");
        QCOMPARE(size->currentText(), "14");
        faces->setCurrentIndex(faces->findText("Liberation Serif"));
        size->setEditText("22");
        chart->findChild<QPushButton *>("FontOk")->click();
        QVERIFY(chart->isModified());
        QVERIFY(chart->titleLabel()->font().bold());
        QCOMPARE(saved(chart, TitleFontFace), "Liberation Serif");
        QCOMPARE(lastSaved(TitleFontSize), "22");
        QCOMPARE(lastSaved(ChartFontFace), "Times New Roman");

        // Bold: the chart's captions and the footer (grown with its text, not clipped),
        // not the chart fields. Twice is normal again, and still a change.
        auto *footer = chart->findChild<QLabel *>("FooterPrinted");
        const int plainWidth = footer->width();
        trigger(chart, "Bold");
        QVERIFY(footer->width() > plainWidth);
        QVERIFY(!chart->field("DadName")->font().bold());
        QCOMPARE(saved(chart, ChartFontWeight), "Bold");
        chart->setModified(false);
        trigger(chart, "Bold");
        QVERIFY(chart->isModified());
        QCOMPARE(saved(chart, ChartFontWeight), "Normal");
    }

    void fileLinks()
    {
        // Four generations of real rabbit files, each naming its parents' files. The
        // dam's mother is unknown: her link is "None".
        using RabbitFile::FatherRabFile, RabbitFile::MotherRabFile, RabbitFile::RabbitName;
        const QString ggs1 = m_fx->path("ggs1.rab"), ggd1 = m_fx->path("ggd1.rab"), ggs2 = m_fx->path("ggs2.rab");
        const QString gss =
            writeRabbit("gss.rab", {{RabbitName, "Slate"}, {FatherRabFile, ggs1}, {MotherRabFile, ggd1}});
        const QString gsd = writeRabbit("gsd.rab", {{FatherRabFile, ggs2}});
        const QString gds = writeRabbit("gds.rab", {});
        const QString sire =
            writeRabbit("sire.rab", {{RabbitName, "Smokey"}, {FatherRabFile, gss}, {MotherRabFile, gsd}});
        const QString dam = writeRabbit("dam.rab", {{FatherRabFile, gds}});
        const QString bunny = writeRabbit("bunny.rab", {{FatherRabFile, sire}, {MotherRabFile, dam}});

        TMainScreen *chart = newChart();
        PedigreeLinkEditor *editor = chart->linkEditor();
        QAction *setLinks = chart->findChild<QAction *>("SetFileLinks");
        QCOMPARE(setLinks->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        const auto answer = [&](Answer answer, QPushButton *button) {
            m_fx->platform().expectQuestion("This will overwrite existing values. Continue?", answer);
            button->click();
        };

        // With every link "None", Update from Links changes nothing but the flag, and Cancel is off.
        setLinks->trigger();
        QVERIFY(editor->isVisible());
        answer(Answer::Ok, editor->updateButton());
        QVERIFY(chart->isModified());
        QVERIFY(!editor->cancelButton()->isEnabled());
        QCOMPARE(chart->record().values().mid(0, Title), newRecord().values().mid(0, Title));
        // A link set from the dialog is a change and turns Cancel on; a cancelled dialog changes nothing.
        chart->setModified(false);
        m_fx->platform().expectFile(std::nullopt);
        editor->findChild<QToolButton *>("MotherRabFileSet")->click();
        QCOMPARE(link(chart, 22)->link(), None);
        m_fx->platform().expectFile(bunny);
        editor->findChild<QToolButton *>("MainRabFileSet")->click();
        QCOMPARE(link(chart, 1)->caption()->text(), "bunny.rab");
        QVERIFY(chart->isModified());
        QVERIFY(editor->cancelButton()->isEnabled());

        // Auto-fill asks first, then follows the files three generations deep; only links change.
        link(chart, 34)->setLink(m_fx->path("old-guess.rab")); // overwritten by the dam's "None"
        answer(Answer::Cancel, editor->autoFillButton());
        QCOMPARE(link(chart, 21)->link(), None);
        answer(Answer::Ok, editor->autoFillButton());
        const PedigreeLinks::PositionLinks links = editor->positionLinks();
        QCOMPARE(QStringList(links.begin(), links.end()),
                 QStringList({bunny, sire, dam, gss, gsd, gds, None, ggs1, ggd1, ggs2, None, None, None, None, None}));
        QCOMPARE(link(chart, 41)->caption()->text(), "ggs1.rab");
        QCOMPARE(chart->field("DadName")->text(), RecordText::underscores(27));
        // Cancel, and Ctrl+L while the editor is open, go back to the links it opened with.
        editor->cancelButton()->click();
        QVERIFY(editor->isHidden());
        QCOMPARE(link(chart, 1)->link(), None);
        setLinks->trigger();
        link(chart, 1)->setLink(bunny);
        setLinks->trigger();
        QVERIFY(editor->isHidden());
        QCOMPARE(link(chart, 1)->link(), None);

        // A rabbit file that is gone stops auto-fill and Update; what each did before it stays.
        QFile::remove(dam);
        setLinks->trigger();
        link(chart, 1)->setLink(bunny);
        answer(Answer::Ok, editor->autoFillButton());
        expectError("dam.rab");
        QCOMPARE(link(chart, 31)->link(), gss);
        QCOMPARE(link(chart, 33)->link(), None);
        setText(chart, "DadColor", "Blue");
        chart->setModified(false);
        answer(Answer::Ok, editor->updateButton());
        expectError("dam.rab");
        QVERIFY(chart->isModified());
        QCOMPARE(chart->field("DadName")->text(), "Smokey");
        QCOMPARE(chart->field("DadColor")->text(), "Blue"); // placeholder in the file: kept
        QCOMPARE(chart->field("SireTwoOneName")->text(), RecordText::underscores(27));
        QVERIFY(editor->cancelButton()->isEnabled()); // the run did not finish
        editor->findChild<QToolButton *>("MotherRabFileNew")->click();
        answer(Answer::Ok, editor->updateButton());
        QCOMPARE(chart->field("SireTwoOneName")->text(), "Slate");
        // The snapshot was retaken: Ctrl+L keeps the links as they are now, and the file has them.
        setLinks->trigger();
        QCOMPARE(link(chart, 22)->link(), None);
        QCOMPARE(saved(chart, positionByCode(31)->linkLine), gss);

        // A double click on an empty link names a new rabbit's file at once (cancelled:
        // no link, the new window stays open); on a set link it opens the file.
        setLinks->trigger();
        QLineEdit *mother = link(chart, 22)->pathEdit();
        m_fx->platform().expectFile(std::nullopt);
        QTest::mouseDClick(mother, Qt::LeftButton);
        auto *untitled = WindowRegistry::newest<TRabbitSheet>();
        QVERIFY(untitled && untitled->fileName().isEmpty());
        QCOMPARE(link(chart, 22)->link(), None);
        m_fx->platform().expectFile(m_fx->path("NewDam.rab"));
        QTest::mouseDClick(mother, Qt::LeftButton);
        QCOMPARE(link(chart, 22)->link(), m_fx->path("NewDam.rab"));
        QTest::mouseDClick(link(chart, 21)->pathEdit(), Qt::LeftButton);
        QCOMPARE(WindowRegistry::newest<TRabbitSheet>()->windowTitle(), "sire.rab - Rabbit Information");
        editor->okButton()->click();
        QVERIFY(editor->isHidden());

        // A file loaded while the editor is open closes it: Cancel cannot undo the load.
        setLinks->trigger();
        chart->loadFile(m_fx->copyData("pedigree/new.ped", "plain.ped"));
        QVERIFY(editor->isHidden());
        setLinks->trigger();
        editor->cancelButton()->click();
        QCOMPARE(link(chart, 21)->link(), None);
    }

    void rabbitRecordsAndTheChart()
    {
        TMainScreen *a = newChart();
        TMainScreen *b = newChart(); // the newest pedigree
        setText(a, "DadName", "Hazel Hill Smokey");
        setText(a, "DadWeight", "3 lb 10 oz");
        a->setModified(false);

        // Open Rabbit File on an unlinked position starts a rabbit record from the chart;
        // the chart's placeholders leave the rabbit's own.
        onField(a, "DadReg", "OpenRabbitFile");
        auto *rabbit = WindowRegistry::newest<TRabbitSheet>();
        QCOMPARE(rabbit->size(), QSize(596, 589));
        QCOMPARE(rabbit->positionCode(), "21");
        QVERIFY(!rabbit->isModified());
        QCOMPARE(rabbit->record().value(RabbitFile::RabbitName), "Hazel Hill Smokey");
        QCOMPARE(rabbit->record().value(RabbitFile::Color), RecordText::underscores(17));
        QVERIFY(!a->isModified());

        // Saved and closed while B is the newer pedigree: it lands in A.
        rabbit->field("Color")->setValue("Blue");
        const QString path = m_fx->path("Smokey.rab");
        m_fx->platform().expectQuestion(Unsaved, Answer::Yes);
        m_fx->platform().expectFile(path);
        rabbit->setModified(true);
        QVERIFY(rabbit->close());
        QVERIFY(a->isModified());
        QCOMPARE(link(a, 21)->link(), path);
        QCOMPARE(a->field("DadColor")->text(), "Blue");
        QCOMPARE(link(b, 21)->link(), None);

        // Closed without saving: nothing comes back.
        a->setModified(false);
        onField(a, "MomName", "OpenRabbitFile");
        rabbit = WindowRegistry::newest<TRabbitSheet>();
        rabbit->setModified(true);
        m_fx->platform().expectQuestion(Unsaved, Answer::No);
        QVERIFY(rabbit->close());
        QVERIFY(!a->isModified());
        QCOMPARE(link(a, 22)->link(), None);

        // A linked position opens its file, whose rabbit goes back to nobody, saved or not.
        onField(a, "DadWeight", "OpenRabbitFile");
        rabbit = WindowRegistry::newest<TRabbitSheet>();
        QCOMPARE(rabbit->windowTitle(), "Smokey.rab - Rabbit Information");
        rabbit->field("Weight")->setValue("4 lb");
        trigger(rabbit, "FileSave");
        QVERIFY(rabbit->close());
        QVERIFY(!a->isModified());
        QCOMPARE(a->field("DadWeight")->text(), "3 lb 10 oz");

        // The starting chart closed first: the record is saved, nothing is handed
        // back, nothing fails, and B is not touched.
        onField(a, "BunnyName", "OpenRabbitFile");
        rabbit = WindowRegistry::newest<TRabbitSheet>();
        m_fx->platform().expectFile(m_fx->path("bunny.rab"));
        trigger(rabbit, "FileSaveAs");
        QPointer<TMainScreen> gone(a);
        QVERIFY(a->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(gone.isNull());
        QVERIFY(rabbit->close());
        QVERIFY(!b->isModified());
        QCOMPARE(link(b, 1)->link(), None);

        // A link to a file that is gone reports it and leaves no empty window behind.
        link(b, 22)->setLink(m_fx->path("gone.rab"));
        const qsizetype windows = m_fx->parent().mdiArea()->subWindowList().size();
        onField(b, "MomName", "OpenRabbitFile");
        expectError("gone.rab");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_fx->parent().mdiArea()->subWindowList().size(), windows);

        // Load Saved Rabbit (a cancelled dialog changes nothing) links and copies the
        // rabbit; a file too short for an ancestor keeps the link and the fields before the gap.
        b->setModified(false);
        m_fx->platform().expectFile(std::nullopt);
        onField(b, "MomEar", "LoadSavedRabbit");
        QVERIFY(!b->isModified());
        m_fx->platform().expectFile(path);
        onField(b, "MomEar", "LoadSavedRabbit");
        QVERIFY(b->isModified());
        QCOMPARE(b->field("MomName")->text(), "Hazel Hill Smokey");
        QCOMPARE(link(b, 22)->link(), path);
        const QString shortFile = m_fx->path("short.rab");
        LineFile(LineFile::read(path).lines().mid(0, 40)).write(shortFile);
        m_fx->platform().expectFile(shortFile);
        onField(b, "SireOneTwoName", "LoadSavedRabbit");
        QCOMPARE(m_fx->platform().takeErrors().size(), 1);
        QCOMPARE(link(b, 43)->link(), shortFile);
        QCOMPARE(b->field("SireOneTwoColor")->text(), "Blue");
    }
};

QTEST_MAIN(TestPedigreeWindow)
#include "test_pedigree_window.moc"
