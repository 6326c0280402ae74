#include "TestFiles.h"
#include "WindowFixture.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "frame/BigBadParent.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using Answer = Platform::Answer;
using namespace PedigreeFile;

namespace {
const QString None = QStringLiteral("None");
} // namespace

class TestPedigreeWindow : public WindowTest
{
    Q_OBJECT


    // Chooses the action from the field's menu; returns the newest rabbit window.
    TRabbitSheet *onField(TMainScreen *chart, const QString &field, const char *action)
    {
        fromMenu(chart, chart->field(field), action);
        return WindowRegistry::newest<TRabbitSheet>();
    }

    // Drags the title by a point near its top left until the pointer is at `to` on the sheet.
    static void dragTitle(TMainScreen *chart, QPoint to)
    {
        ValueLabel *title = chart->titleLabel();
        Input::drag(title, QPoint(10, 5), to - title->pos());
    }
    // Right-clicks the background where nothing covers it and chooses `action`.
    static void onBackground(TMainScreen *chart, const char *action)
    {
        QPoint free;
        for (int y = chart->sheet()->height() - 5; free.isNull() && y > 0; y -= 20)
            for (int x = chart->sheet()->width() - 5; free.isNull() && x > 0; x -= 20)
                if (chart->sheet()->childAt(x, y) == chart->backImage())
                    free = QPoint(x, y);
        Input::clickOn(chart->backImage(), Qt::RightButton, free);
        Input::chooseFromPopup(action);
    }

    LinkField *link(TMainScreen *chart, int code)
    {
        return chart->linkEditor()->positionLink(positionByCode(code)->index());
    }

    // Saves the chart to a scratch file and returns one line of it.
    QString saved(TMainScreen *chart, int line)
    {
        chart->saveFile(m_fx->path("saved.ped"));
        return lastSaved(line);
    }
    // A line of the file the last `saved` wrote.
    QString lastSaved(int line) { return LineFile::read(m_fx->path("saved.ped")).at(line); }

private slots:

    void newChartItsFileAndPictures()
    {
        TMainScreen *chart = m_fx->newChart();
        QCOMPARE(chart->size(), QSize(960, 720));
        QVERIFY(showsWithoutScrollBars(chart));
        QCOMPARE(chart->connectorBars().size(), 38);

        // Untitled, Save runs Save As and writes a new record ("None" for each picture).
        const QString path = m_fx->path("new.ped");
        m_fx->platform().expectFile(path);
        press(chart, Qt::CTRL | Qt::Key_S);
        QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(TestFiles::dataPath("pedigree/new.ped")));

        // The background's picture and stretch are saved; a cleared picture saves an
        // empty line, where a new chart saved "None".
        const QString png = m_fx->path("rabbit.png");
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(png));
        m_fx->platform().expectFile(png);
        onBackground(chart, "ChangePicture");
        onBackground(chart, "StretchPicture");
        QCOMPARE(saved(chart, BackStretch), "false");
        QCOMPARE(lastSaved(BackPicture), png);
        // The check mark follows the picture under the menu.
        Input::clickOn(chart->miniPicture(), Qt::RightButton);
        QVERIFY(chart->findChild<QAction *>("StretchPicture")->isChecked());
        Input::key(Qt::Key_Escape);
        onBackground(chart, "ClearPicture");
        QCOMPARE(saved(chart, BackPicture), QString());

        // View Picture and View Gridlines are saved.
        Input::chooseFromMenuBar(chart, "View1", "ViewPicture");
        Input::chooseFromMenuBar(chart, "View1", "ViewGridlines");
        QVERIFY(chart->miniPicture()->isHidden() && chart->connectorBars().last()->isHidden());
        QCOMPARE(saved(chart, MiniFrameShown), "false");
        QCOMPARE(lastSaved(Gridlines), "GridlinesOff");
    }

    void filledFileAndPrint()
    {
        const QString source = m_fx->copyData("pedigree/chart.ped", "chart.ped");
        m_fx->platform().expectFile(source);
        Input::chooseFromMenuBar(&m_fx->parent(), "MMFile", "MMOpen");
        auto *chart = WindowRegistry::newest<TMainScreen>();
        QVERIFY(chart);
        m_fx->platform().takeError("blaze.jpg"); // the mini picture's folder is not here; the path is kept
        // Saving gives the same bytes: every value reached the window (record() reads
        // the widgets). What the file shows besides:
        chart->saveFile(m_fx->path("copy.ped"));
        QCOMPARE(TestFiles::readBytes(m_fx->path("copy.ped")), TestFiles::readBytes(source));
        QCOMPARE(chart->field("BunnySex")->text(), "Doe"); // sex before colour

        // Printed on one page, across: the certificate is wider than high.
        const QString pdf = m_fx->path("chart.pdf");
        m_fx->platform().expectPrinter(pdf);
        press(chart, Qt::CTRL | Qt::Key_P);
        QVERIFY(TestFiles::onePageAcross(pdf));
    }

    void titleEmptyEntryAndBold()
    {
        TMainScreen *chart = m_fx->newChart();
        // A title drag is saved; dragged past the edge, the title stays on the certificate.
        dragTitle(chart, {300, 25});
        QCOMPARE(saved(chart, TitleLeft), "300");
        QCOMPARE(lastSaved(TitleTop), "25");
        dragTitle(chart, {5000, 5000});
        QVERIFY(chart->sheet()->rect().contains(chart->titleLabel()->geometry()));

        // A double-click on the title, or Change Text in its menu, edits it.
        Input::doubleClickOn(chart->titleLabel());
        QCOMPARE(Input::focused(), chart->findChild<QLineEdit *>("TextEdit"));
        Input::type("Pedigree of Smokey");
        Input::key(Qt::Key_Return);
        QCOMPARE(saved(chart, Title), "Pedigree of Smokey");
        fromMenu(chart, chart->titleLabel(), "TitleChangeText");
        QCOMPARE(chart->findChild<QLineEdit *>("TextEdit")->text(), "Pedigree of Smokey");
        // A click on the panel's heading leaves the keys with the panel: Esc cancels.
        auto *textPanel = chart->findChild<QWidget *>("TextChangePanel");
        Input::clickOn(textPanel->findChild<QLabel *>("PanelTitle"));
        Input::key(Qt::Key_Escape);
        QVERIFY(!textPanel->isVisible());

        // An empty entry is stored as 27 blanks, which the file keeps.
        typeInto(chart, chart->field("MomWinnings"), QString());
        QCOMPARE(saved(chart, positionByCode(22)->line(ChartField::Winnings)), QString(27, u' '));
        // Bold: the chart's captions and the footer (grown with its text, not clipped),
        // not the chart fields.
        auto *footer = chart->findChild<QLabel *>("FooterPrinted");
        const int plainWidth = footer->width();
        onBackground(chart, "Bold");
        QVERIFY(footer->width() > plainWidth && !chart->field("DadName")->font().bold());
        QCOMPARE(saved(chart, ChartFontWeight), "Bold");
    }

    // The window's side of the links: results reach the link fields and the chart,
    // Cancel goes back to the links the editor opened with. Where each link leads is
    // the core test's.
    void fileLinks()
    {
        using RabbitFile::FatherRabFile, RabbitFile::MotherRabFile, RabbitFile::RabbitName;
        const QString gss = m_fx->rabbit("gss.rab", {{RabbitName, "Slate"}});
        const QString sire = m_fx->rabbit("sire.rab", {{RabbitName, "Smokey"}, {FatherRabFile, gss}});
        const QString dam = m_fx->rabbit("dam.rab", {});
        const QString bunny = m_fx->rabbit("bunny.rab", {{FatherRabFile, sire}, {MotherRabFile, dam}});
        const PedigreeLinks::PositionLinks noLinks = PedigreeLinks::linksOf(newRecord());

        TMainScreen *chart = m_fx->newChart();
        PedigreeLinkEditor *editor = chart->linkEditor();
        const auto answer = [&](Answer answer, QPushButton *button) {
            m_fx->platform().expectQuestion("This will overwrite existing values. Continue?", answer);
            Input::clickOn(button);
        };

        // A link set from the dialog turns Cancel on.
        press(chart, Qt::CTRL | Qt::Key_L);
        m_fx->platform().expectFile(bunny);
        Input::clickOn(editor->findChild<QToolButton *>("MainRabFileSet"));
        QCOMPARE(link(chart, 1)->caption()->text(), "bunny.rab");
        QVERIFY(editor->cancelButton()->isEnabled());

        // Auto-fill asks first and changes only links; Cancel goes back to none.
        answer(Answer::Ok, editor->autoFillButton());
        QCOMPARE(link(chart, 31)->caption()->text(), "gss.rab");
        QCOMPARE(chart->field("DadName")->text(), RecordText::underscores(27));
        Input::clickOn(editor->cancelButton());
        QVERIFY(editor->isHidden());
        QCOMPARE(editor->positionLinks(), noLinks);

        // A rabbit file that is gone stops auto-fill and Update; what each did before it
        // stays, and as the run did not finish, Cancel stays on.
        QFile::remove(dam);
        press(chart, Qt::CTRL | Qt::Key_L);
        m_fx->platform().expectFile(bunny);
        Input::clickOn(editor->findChild<QToolButton *>("MainRabFileSet"));
        answer(Answer::Ok, editor->autoFillButton());
        m_fx->platform().takeError("dam.rab");
        QCOMPARE(link(chart, 31)->link(), gss);
        QVERIFY(changes(chart, [&] { answer(Answer::Ok, editor->updateButton()); }));
        m_fx->platform().takeError("dam.rab");
        QCOMPARE(chart->field("DadName")->text(), "Smokey");
        QVERIFY(editor->cancelButton()->isEnabled());

        // A file loaded while the editor is open closes it (Cancel cannot undo the load)
        // and sets its links.
        chart->loadFile(m_fx->copyData("pedigree/new.ped", "plain.ped"));
        QVERIFY(editor->isHidden());
        QCOMPARE(editor->positionLinks(), noLinks);

        // Load Saved Rabbit links the position and copies the file; Change Text in the
        // same menu edits a value.
        m_fx->platform().expectFile(sire);
        QVERIFY(changes(chart, [&] { onField(chart, "DadEar", "LoadSavedRabbit"); }));
        QCOMPARE(link(chart, 21)->link(), sire);
        QCOMPARE(chart->field("DadName")->text(), "Smokey");
        fromMenu(chart, chart->field("DadColor"), "ChartChangeText");
        Input::type("Blue");
        Input::key(Qt::Key_Return);
        QCOMPARE(chart->field("DadColor")->text(), "Blue");
    }

    void rabbitRecordsAndTheChart()
    {
        TMainScreen *a = m_fx->newChart();
        TMainScreen *b = m_fx->newChart(); // the newest pedigree, in front
        QVERIFY(Input::activate(a));
        typeInto(a, a->field("DadName"), "Hazel Hill Smokey");

        // Open Rabbit File on an unlinked position starts a rabbit record from the chart.
        TRabbitSheet *rabbit = onField(a, "DadReg", "OpenRabbitFile");
        QCOMPARE(rabbit->record().value(RabbitFile::RabbitName), "Hazel Hill Smokey");

        // Saved and closed while B is the newer pedigree: it lands in A.
        typeInto(rabbit, rabbit->field("Color"), "Blue");
        const QString path = m_fx->path("Smokey.rab");
        m_fx->platform().expectFile(path);
        Input::chooseFromMenuBar(rabbit, "File", "FileSaveAs");
        QVERIFY(changes(a, [&] { QVERIFY(Input::closeSubWindow(rabbit)); }));
        QCOMPARE(link(a, 21)->link(), path);
        QCOMPARE(a->field("DadColor")->text(), "Blue");
        QCOMPARE(link(b, 21)->link(), None);

        // A linked position opens its file, whose rabbit goes back to nobody.
        const QStringList before = a->record().values();
        QVERIFY(Input::activate(a));
        rabbit = onField(a, "DadWeight", "OpenRabbitFile");
        typeInto(rabbit, rabbit->field("Weight"), "4 lb");
        press(rabbit, Qt::CTRL | Qt::Key_S);
        QVERIFY(!changes(a, [&] { QVERIFY(Input::closeSubWindow(rabbit)); }));
        QCOMPARE(a->record().values(), before);

        // The starting chart closed first: the record is saved, nothing is handed
        // back, nothing fails, and B is not touched.
        QVERIFY(Input::activate(a));
        rabbit = onField(a, "BunnyName", "OpenRabbitFile");
        m_fx->platform().expectFile(m_fx->path("bunny.rab"));
        Input::chooseFromMenuBar(rabbit, "File", "FileSaveAs");
        QPointer<TMainScreen> gone(a);
        QVERIFY(Input::closeSubWindow(a));
        QVERIFY(gone.isNull());
        QVERIFY(Input::closeSubWindow(rabbit));
        QVERIFY(!b->isModified());
        QCOMPARE(link(b, 1)->link(), None);

        // A link to a file that is gone reports it and leaves no empty window behind.
        press(b, Qt::CTRL | Qt::Key_L);
        m_fx->platform().expectFile(m_fx->path("gone.rab"));
        Input::clickOn(b->linkEditor()->findChild<QToolButton *>("MotherRabFileSet"));
        Input::clickOn(b->linkEditor()->okButton());
        const int windows = m_fx->windows();
        onField(b, "MomName", "OpenRabbitFile");
        m_fx->platform().takeError("gone.rab");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_fx->windows(), windows);
    }
};

QTEST_MAIN(TestPedigreeWindow)
#include "test_pedigree_window.moc"
