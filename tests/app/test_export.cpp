// Export: the printed page of every printing window as PDF, and the rabbitry list and
// breeding record as CSV.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/Kinds.h"
#include "breeding/BreedingFormat.h"
#include "breeding/BreedingLinkEditor.h"
#include "breeding/BreedingRecord.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/MyRabbitry.h"
#include "rabbitry/RabbitryFormat.h"
#include "records/Csv.h"
#include "records/LineFile.h"
#include "frame/BigBadParent.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

using Answer = Platform::Answer;
using TestFiles::readBytes;

namespace {

const QString Overwrite = QStringLiteral("That file already exists. Overwrite?");
const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");

QString mediaBox(const QString &pdf)
{
    return QRegularExpression(QStringLiteral(R"(/MediaBox \[[^\]]*\])"))
        .match(QString::fromLatin1(readBytes(pdf)))
        .captured();
}

} // namespace

class TestExport : public WindowTest
{
    Q_OBJECT


private slots:

    void csvQuotesOnlyWhatItMust()
    {
        const Csv::Rows rows{{"plain", "a,b", "say \"hi\"", ""}, {"line\nbreak", "cr\rlf\r\n", "Renée €5", " spaced "}};
        const QByteArray bytes = Csv::toBytes(rows);
        QCOMPARE(bytes, Bom + QByteArray("plain,\"a,b\",\"say \"\"hi\"\"\",\r\n"
                                         "\"line\nbreak\",\"cr\rlf\r\n\",Ren\xC3\xA9"
                                         "e \xE2\x82\xAC"
                                         "5, spaced \r\n"));
        QCOMPARE(Csv::toBytes({}), Bom);
    }

    // A value from a shared record that a spreadsheet would run is kept as text;
    // numbers, signs alone and text that merely holds such a character are not touched.
    void csvKeepsFormulasAsText()
    {
        const Csv::Rows rows{{"=HYPERLINK(\"http://x\")", "+cmd|' /C calc'!A0", "-2+3", "@SUM(A1)", "\t=1"},
                             {"-2", "+1.5", "-", "3-4", "a=b", "2,5", "-0,5"}};
        QCOMPARE(Csv::toBytes(rows),
                 Bom + QByteArray("\"'=HYPERLINK(\"\"http://x\"\")\",'+cmd|' /C calc'!A0,'-2+3,'@SUM(A1),'\t=1\r\n"
                                  "-2,+1.5,-,3-4,a=b,\"2,5\",\"-0,5\"\r\n"));
    }

    // Every window that prints exports the page Print prints, with every value as
    // text, after the overwrite question.
    void pdfHoldsEveryValue_data()
    {
        QTest::addColumn<QString>("id");
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            if (kind.isAvailable() && !kind.extension.isEmpty())
                QTest::newRow(qPrintable(kind.id)) << kind.id;
    }
    void pdfHoldsEveryValue()
    {
        QFETCH(QString, id);
        ScriptedPlatform &platform = m_fx->platform();
        QWidget *opened = m_fx->parent().runTool(id);
        if (!opened->findChild<QAction *>("FileExportPdf"))
            QSKIP("this kind does not print");
        auto *window = qobject_cast<SheetWindow *>(opened);
        QVERIFY(window);
        QStringList values;
        for (ValueLabel *label : window->sheet()->findChildren<ValueLabel *>()) {
            if (!label->isVisibleTo(window->sheet()))
                continue;
            values.append(QStringLiteral("Zq%1").arg(values.size(), 3, 10, QChar(u'0')));
            label->setValue(values.last());
        }
        QVERIFY(values.size() >= 5);
        window->setModified(false);

        const QString printed = m_fx->path("printed.pdf");
        platform.expectPrinter(printed);
        press(window, Qt::CTRL | Qt::Key_P);
        const QString exported = m_fx->path("exported.pdf");
        TestFiles::writeBytes(exported, "old");
        platform.expectFile(exported);
        platform.expectQuestion(Overwrite, Answer::Yes);
        Input::chooseFromMenuBar(window, "File", "FileExportPdf");
        QVERIFY(platform.allAnswered());
        QVERIFY(!window->isModified());

        QVERIFY(!mediaBox(exported).isEmpty());
        QCOMPARE(mediaBox(exported), mediaBox(printed));
        if (!TestFiles::havePdfToText())
            QSKIP("pdftotext is not installed; the PDF's text was not read");
        const QString text = TestFiles::pdfText(exported);
        for (const QString &value : std::as_const(values))
            QVERIFY2(text.contains(value), qPrintable(value + " missing from:\n" + text));
        QCOMPARE(text, TestFiles::pdfText(printed));

        // A folder that is not there: the error is shown and nothing is written.
        platform.expectFile(m_fx->path("gone/out.pdf"));
        Input::chooseFromMenuBar(window, "File", "FileExportPdf");
        QCOMPARE(platform.takeErrors().size(), 1);
        QVERIFY(!QFileInfo::exists(m_fx->path("gone")));
    }

    // Filled rows only, their twelve values and the mate's file, read back from a
    // windows-1252 record.
    void breedingCsvListsFilledRows()
    {
        using namespace BreedingFile;
        LineRecord record = newRecord();
        const QString mate = m_fx->path("Mates, \"best\" é.rab");
        const QStringList first{"Renée, \"Queen\"", "Blue", "E1", "1/2/24", "2/2/24", "8", "1", "0", "4", "4", "6",
                                "€ 3 blue, 3 ch"};
        for (int k = 0; k < RowSize; ++k)
            record.setValue(rowLine(1, RowField(k)), first.at(k));
        record.setValue(mateRabFile(1), mate);
        // Row 2 untouched, row 3 emptied (spaces, as the sheet keeps an emptied value):
        // neither is filled. Row 4 has its Kept only, and a mate link.
        record.setValue(rowLine(3, RowField::Parent), QString(27, u' '));
        record.setValue(mateRabFile(2), mate);
        record.setValue(rowLine(4, RowField::Kept), "5");
        const QString file = m_fx->path("doe.brd");
        BreedingFile::write(record, file);

        TBreedingRecord *window = m_fx->newBreeding();
        window->loadFile(file);
        const QString csv = m_fx->path("doe.csv");
        m_fx->platform().expectFile(csv);
        Input::chooseFromMenuBar(window, "File", "FileExportCsv");
        QCOMPARE(m_fx->platform().dialogTitles(), QStringList{"Export as CSV"});

        // The quoting itself is checked above, so the file is compared as rows.
        QStringList fourth(RowSize + 1);
        fourth[int(RowField::Kept)] = "5";
        QCOMPARE(readBytes(csv), Csv::toBytes({{"Sire/Dam", "Color", "Ear #", "Date Bred", "Date Kindled", "Born",
                                                "Died", "Fostered", "Bucks", "Does", "Kept", "Colors", "Mate's File"},
                                               first + QStringList{mate},
                                               fourth}));
    }

    // One row per listed rabbit in the list's order; unreadable files keep their row
    // and are named once, after the file was written.
    void rabbitryCsvListsEveryRabbit()
    {
        using namespace RabbitFile;
        const QString full = TestFiles::writeRabbit(m_fx->path("b-renee.rab"), {{RabbitName, "Renée, \"Queen\""},
                                                                                {EarNumber, "E,1"},
                                                                                {RegNumber, "R€9"},
                                                                                {Sex, "Doe"},
                                                                                {Color, "Blue"},
                                                                                {Breed, "Rex"}});
        const QString blank = TestFiles::writeRabbit(m_fx->path("a-blank.rab"), {});
        const QString shortFile = TestFiles::writeRabbit(m_fx->path("c-short.rab"), {{RabbitName, "Cut"}}, 10);
        const QString missing = m_fx->path("d-missing.rab");
        const QString list = m_fx->path("herd.rbty");
        Rabbitry::write(list, {missing, full, shortFile, blank}, {});

        auto *window = qobject_cast<TMyRabbitry *>(m_fx->parent().runTool(Rabbitry::KindId));
        QVERIFY(window);
        window->loadFile(list);
        const QString csv = m_fx->path("herd.csv");
        ScriptedPlatform &platform = m_fx->platform();
        platform.expectFile(csv);
        const QString message = "These rabbit files could not be read; their rows hold only the file:\n" +
                                shownPath(shortFile) + "\n" + shownPath(missing);
        platform.expectQuestion(message, Answer::Ok);
        Input::chooseFromMenuBar(window, "File", "FileExportCsv");
        QVERIFY(platform.allAnswered());

        const QStringList none(6);
        QCOMPARE(readBytes(csv),
                 Csv::toBytes({{"Name", "Ear Number", "Registration Number", "Sex", "Color", "Breed", "File"},
                               none + QStringList{blank},
                               {"Renée, \"Queen\"", "E,1", "R€9", "Doe", "Blue", "Rex", full},
                               none + QStringList{shortFile},
                               none + QStringList{missing}}));
    }
};

QTEST_MAIN(TestExport)
#include "test_export.moc"
