#include "TestFiles.h"
#include "WindowFixture.h"
#include "pedigree/MainScreen.h"
#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/BigBadParent.h"

#include <QAction>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using Answer = Platform::Answer;
using namespace PedigreeFile;

namespace {
const QString None = QStringLiteral("None");
} // namespace

class TestPedigreeWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

    // Chooses the action from the field's menu; returns the newest rabbit window.
    TRabbitSheet *onField(TMainScreen *chart, const QString &field, const char *action)
    {
        fromMenu(chart, chart->field(field), action);
        return WindowRegistry::newest<TRabbitSheet>();
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

    // Saves the chart to a scratch file and returns one line of it.
    QString saved(TMainScreen *chart, int line)
    {
        chart->saveFile(m_fx->path("saved.ped"));
        return lastSaved(line);
    }
    // A line of the file the last `saved` wrote.
    QString lastSaved(int line) { return LineFile::read(m_fx->path("saved.ped")).at(line); }

private slots:
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    void newChartItsFileAndPictures()
    {
        TMainScreen *chart = m_fx->newChart();
        QCOMPARE(chart->size(), QSize(960, 720));
        QVERIFY(showsWithoutScrollBars(chart));
        QCOMPARE(chart->connectorBars().size(), 38);

        // Untitled, Save runs Save As and writes a new record ("None" for each picture).
        const QString path = m_fx->path("new.ped");
        m_fx->platform().expectFile(path);
        trigger(chart, "FileSave");
        QCOMPARE(TestFiles::readBytes(path), TestFiles::readBytes(TestFiles::dataPath("pedigree/new.ped")));

        // The background's picture and stretch are saved; a cleared picture saves an
        // empty line, where a new chart saved "None".
        const QString png = m_fx->path("rabbit.png");
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(png));
        QTest::mouseClick(chart->backImage(), Qt::RightButton, {}, QPoint(900, 680));
        m_fx->platform().expectFile(png);
        trigger(chart, "ChangePicture");
        trigger(chart, "StretchPicture");
        QCOMPARE(saved(chart, BackStretch), "false");
        QCOMPARE(lastSaved(BackPicture), png);
        trigger(chart, "ClearPicture"); // still the background
        QCOMPARE(saved(chart, BackPicture), QString());

        // View Picture and View Gridlines are saved.
        trigger(chart, "ViewPicture");
        trigger(chart, "ViewGridlines");
        QVERIFY(chart->miniPicture()->isHidden() && chart->connectorBars().last()->isHidden());
        QCOMPARE(saved(chart, MiniFrameShown), "false");
        QCOMPARE(lastSaved(Gridlines), "GridlinesOff");
    }

    void filledFileAndPrint()
    {
        const QString source = m_fx->copyData("pedigree/chart.ped", "chart.ped");
        m_fx->parent().openByExtension(source);
        auto *chart = WindowRegistry::newest<TMainScreen>();
        m_fx->platform().takeError("blaze.jpg"); // the mini picture's folder is not here; the path is kept
        // Saving gives the same bytes: every value reached the window (record() reads
        // the widgets). What the file shows besides:
        chart->saveFile(m_fx->path("copy.ped"));
        QCOMPARE(TestFiles::readBytes(m_fx->path("copy.ped")), TestFiles::readBytes(source));
        QCOMPARE(chart->field("BunnySex")->text(), "Doe"); // sex before colour

        // Printed on one page, across: the certificate is wider than high.
        const QString pdf = m_fx->path("chart.pdf");
        m_fx->platform().expectPrinter(pdf);
        trigger(chart, "FilePrint");
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

        // An empty entry is stored as 27 blanks, which the file keeps.
        typeInto(chart, chart->field("MomWinnings"), QString());
        QCOMPARE(saved(chart, positionByCode(22)->line(ChartField::Winnings)), QString(27, u' '));
        // Bold: the chart's captions and the footer (grown with its text, not clipped),
        // not the chart fields.
        auto *footer = chart->findChild<QLabel *>("FooterPrinted");
        const int plainWidth = footer->width();
        trigger(chart, "Bold");
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
            button->click();
        };

        // A link set from the dialog turns Cancel on.
        trigger(chart, "SetFileLinks");
        m_fx->platform().expectFile(bunny);
        editor->findChild<QToolButton *>("MainRabFileSet")->click();
        QCOMPARE(link(chart, 1)->caption()->text(), "bunny.rab");
        QVERIFY(editor->cancelButton()->isEnabled());

        // Auto-fill asks first and changes only links; Cancel goes back to none.
        answer(Answer::Ok, editor->autoFillButton());
        QCOMPARE(link(chart, 31)->caption()->text(), "gss.rab");
        QCOMPARE(chart->field("DadName")->text(), RecordText::underscores(27));
        editor->cancelButton()->click();
        QVERIFY(editor->isHidden());
        QCOMPARE(editor->positionLinks(), noLinks);

        // A rabbit file that is gone stops auto-fill and Update; what each did before it
        // stays, and as the run did not finish, Cancel stays on.
        QFile::remove(dam);
        trigger(chart, "SetFileLinks");
        link(chart, 1)->setLink(bunny);
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
    }

    void rabbitRecordsAndTheChart()
    {
        TMainScreen *a = m_fx->newChart();
        TMainScreen *b = m_fx->newChart(); // the newest pedigree
        typeInto(a, a->field("DadName"), "Hazel Hill Smokey");

        // Open Rabbit File on an unlinked position starts a rabbit record from the chart.
        TRabbitSheet *rabbit = onField(a, "DadReg", "OpenRabbitFile");
        QCOMPARE(rabbit->record().value(RabbitFile::RabbitName), "Hazel Hill Smokey");

        // Saved and closed while B is the newer pedigree: it lands in A.
        rabbit->field("Color")->setValue("Blue");
        const QString path = m_fx->path("Smokey.rab");
        m_fx->platform().expectFile(path);
        trigger(rabbit, "FileSaveAs");
        QVERIFY(changes(a, [&] { QVERIFY(rabbit->close()); }));
        QCOMPARE(link(a, 21)->link(), path);
        QCOMPARE(a->field("DadColor")->text(), "Blue");
        QCOMPARE(link(b, 21)->link(), None);

        // A linked position opens its file, whose rabbit goes back to nobody.
        const QStringList before = a->record().values();
        rabbit = onField(a, "DadWeight", "OpenRabbitFile");
        rabbit->field("Weight")->setValue("4 lb");
        trigger(rabbit, "FileSave");
        QVERIFY(!changes(a, [&] { QVERIFY(rabbit->close()); }));
        QCOMPARE(a->record().values(), before);

        // The starting chart closed first: the record is saved, nothing is handed
        // back, nothing fails, and B is not touched.
        rabbit = onField(a, "BunnyName", "OpenRabbitFile");
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
        const int windows = m_fx->windows();
        onField(b, "MomName", "OpenRabbitFile");
        m_fx->platform().takeError("gone.rab");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(m_fx->windows(), windows);
    }
};

QTEST_MAIN(TestPedigreeWindow)
#include "test_pedigree_window.moc"
