#include "Metafiles.h"
#include "Input.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/CommandLine.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitSheet.h"
#include "records/Metafile.h"
#include "records/Picture.h"
#include "records/RecordError.h"
#include "frame/BigBadParent.h"
#include "frame/HelpWindow.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QDirIterator>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>

using TestFiles::messageOf;

namespace {

QString pageText(const QString &page)
{
    QFile file(QStringLiteral(":/help/") + page);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Share of the pixels of an image that are mostly blue (the test metafiles' fill).
double blueShare(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    qint64 blue = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QColor c = QColor::fromRgba(rgb.pixel(x, y));
            blue += c.alpha() > 200 && c.blue() > 200 && c.red() < 60 && c.green() < 60;
        }
    return rgb.isNull() ? 0 : double(blue) / (qint64(rgb.width()) * rgb.height());
}

// The smallest rectangle holding every pixel darker than `lightest` grey.
QRect inkBounds(const QImage &image, int lightest)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < lightest)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 to %3,%4").arg(r.left()).arg(r.top()).arg(r.right()).arg(r.bottom());
}

} // namespace

class TestDesktop : public WindowTest
{
    Q_OBJECT
private slots:
    // Every kind with files names its type, and the desktop knows that type by the
    // kind's extension and opens it with the program.
    void recordKindsHaveMimeTypes()
    {
        const QString desktop = QStringLiteral(HUTCHLORE_TEST_DATA "/../../desktop/");
        const QString types = fileText(desktop + "hutchlore-mime.xml");
        const QString entry = fileText(desktop + "hutchlore.desktop");
        QVERIFY(!types.isEmpty() && !entry.isEmpty());
        const QRegularExpression block("<mime-type type=\"([^\"]+)\">(.*?)</mime-type>",
                                       QRegularExpression::DotMatchesEverythingOption);
        QMap<QString, QString> globs;
        for (const QRegularExpressionMatch &m : block.globalMatch(types))
            globs.insert(m.captured(1), m.captured(2));
        QStringList wrong;
        for (const WindowKind &kind : KindRegistry::instance().kinds()) {
            if (kind.extension.isEmpty())
                continue;
            if (kind.mimeType.isEmpty() || !globs.value(kind.mimeType).contains("<glob pattern=\"*" + kind.extension + "\"/>") ||
                !entry.contains(kind.mimeType + u';'))
                wrong.append(kind.id);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
    }

    // Every window kind and Tools entry has its page in the contents; every link of
    // every page resolves inside the help and every page leads back to the contents.
    void helpPagesAndLinks()
    {
        const QString contents = pageText("RABBITHELP.html");
        QVERIFY(contents.contains("href=\"main.html\""));
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            QVERIFY2(!pageText(kind.helpPage).isEmpty() && contents.contains("href=\"" + kind.helpPage + "\"") &&
                         contents.contains("Tools &gt; " + QString(kind.toolCaption).remove(u'&')),
                     qPrintable(kind.id));

        // Broken pages and links are listed by page, then target.
        const QRegularExpression link("href=\"([^\"#]*)(#[^\"]*)?\"");
        QStringList broken;
        int links = 0;
        for (QDirIterator it(":/help"); it.hasNext();) {
            const QString text = pageText(QFileInfo(it.next()).fileName());
            if (!text.contains("<title>") ||
                (it.fileName() != u"RABBITHELP.html" && !text.contains("href=\"RABBITHELP.html\"")))
                broken.append(it.fileName());
            for (const QRegularExpressionMatch &m : link.globalMatch(text)) {
                ++links; // nothing off the program, nothing missing
                if (m.captured(1).contains(u':') || !QFile::exists(":/help/" + m.captured(1)))
                    broken.append(it.fileName() + u' ' + m.captured(1));
            }
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(", ")));
        QVERIFY(links > 20);

        // F1 opens the page of the active window, the main window's when none is; a
        // link clicked in the help window shows that page.
        Input::focus(&m_fx->parent());
        Input::key(Qt::Key_F1);
        QVERIFY(helpText() && helpText()->isVisible());
        QCOMPARE(helpText()->source().fileName(), "main.html");
        TRabbitSheet *rabbit = m_fx->newRabbit();
        Input::focus(rabbit);
        Input::key(Qt::Key_F1);
        QCOMPARE(helpText()->source().fileName(), "rabbit.html");
        Input::clickLink(helpText(), "RABBITHELP.html");
        QCOMPARE(helpText()->source().fileName(), "RABBITHELP.html");
        Input::clickLink(helpText(), "genetics.html");
        QCOMPARE(helpText()->source().fileName(), "genetics.html");
        QVERIFY(helpText()->toPlainText().contains(QStringLiteral("Calculate Possible Colors")));
    }
    // A metafile named by a rabbit record shows in the sheet; a damaged one is refused
    // with the decoder's reason, named by the loader, and the record still loads.
    void metafilesInARabbitSheet_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // empty: shown
        const QByteArray wmf = Metafiles::wmfRectangle();
        const QByteArray emf = Metafiles::emfRectangle();
        QTest::newRow("wmf") << "clip.wmf" << wmf << "";
        QTest::newRow("emf") << "CLIP.EMF" << emf << "";
        QTest::newRow("wmf cut short") << "cut.wmf" << wmf.left(wmf.size() - 8) << "ends before its last record";
        QTest::newRow("emf cut short") << "cut.emf" << emf.left(emf.size() - 12) << "ends before its last record";
        QTest::newRow("wmf of text") << "text.wmf" << QByteArray("not a metafile at all, just words") << "header";
        QByteArray zeroRecord = emf;
        qToLittleEndian<quint32>(0, zeroRecord.data() + 88 + 4); // a record of size 0 would loop for ever
        QTest::newRow("emf record of size 0") << "zero.emf" << zeroRecord << "impossible size";
        QByteArray shortWmfRecord = wmf;
        qToLittleEndian<quint32>(1, shortWmfRecord.data() + 18);
        QTest::newRow("wmf record of one word") << "short.wmf" << shortWmfRecord << "shorter than its own header";
    }
    void metafilesInARabbitSheet()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString picture = m_fx->path(name);
        TestFiles::writeBytes(picture, bytes);
        const QString rab = TestFiles::writeRabbit(m_fx->path("clip.rab"), {{RabbitFile::RabbitPicture, picture}});
        TRabbitSheet *rabbit = m_fx->newRabbit();
        rabbit->loadFile(rab);
        QCOMPARE(rabbit->fileName(), rab);
        auto *box = rabbit->findChild<PictureBox *>(QStringLiteral("RabbitPicture"));
        const QStringList errors = m_fx->platform().takeErrors();
        if (message.isEmpty()) {
            QCOMPARE(errors, QStringList());
            // The drawing is the blue rectangle (libwmf crops to it, libemf2svg keeps the frame).
            const double share = blueShare(box->image());
            QVERIFY2(share > 0.4, qPrintable(QString::number(share)));
            return;
        }
        const QString refused = messageOf<PictureError>([&] { decodePicture(bytes, name.right(4)); });
        QVERIFY2(refused.contains(message), qPrintable(refused));
        QVERIFY2(errors.size() == 1 && errors[0].contains(name) && errors[0].contains(message),
                 qPrintable(errors.join('|')));
        QVERIFY(box->isBlank());
    }
    void hugeMetafileDrawingsAreDrawnSmaller()
    {
        // A drawing claiming a million pixels a side is drawn within the bound, not refused
        // and not allocated at full size.
        const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000000\" height=\"500000\">"
                               "<rect x=\"0\" y=\"0\" width=\"1000000\" height=\"500000\" fill=\"blue\"/></svg>";
        const QImage image = renderSvg(svg);
        QCOMPARE(image.size(), QSize(MaxMetafileSide, MaxMetafileSide / 2));
        QVERIFY(qint64(image.sizeInBytes()) <= pictureMemoryLimit());
        QVERIFY(messageOf<PictureError>([] { renderSvg("<html>"); }).contains(QStringLiteral("could not be read")));
        // A file beyond the metafile bound is refused before any conversion.
        QVERIFY(messageOf<PictureError>([] {
                    metafileToSvg(QByteArray(MaxMetafileBytes + 1, '\0'), QStringLiteral(".wmf"));
                }).contains(QStringLiteral("larger than")));
    }
    void commandLineOpensEachPathInItsKind()
    {
        QCOMPARE(commandLinePaths({"hutchlore", "a.rab", "-style", "--", "-odd.ped"}),
                 QStringList({"a.rab", "-odd.ped"}));

        const QString rab =
            TestFiles::writeRabbit(m_fx->path("Thumper.rab"), {{RabbitFile::RabbitName, QStringLiteral("Thumper")}});
        const QString ped = m_fx->copyData(QStringLiteral("pedigree/new.ped"), QStringLiteral("chart.ped"));
        TestFiles::writeBytes(m_fx->path("notes.txt"), "hello");
        openCommandLine(&m_fx->parent(), {rab, m_fx->path("missing.rab"), m_fx->path("notes.txt"), ped});

        const QList<QMdiSubWindow *> windows = m_fx->parent().mdiArea()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(windows.size(), 2);
        QCOMPARE(qobject_cast<TRabbitSheet *>(windows[0])->fileName(), rab);
        const QStringList errors = m_fx->platform().takeErrors();
        QVERIFY2(errors.size() == 2 && errors[0].contains(QStringLiteral("missing.rab")) &&
                     errors[1].contains(QStringLiteral("notes.txt")) && errors[1].contains(QStringLiteral(".rbty")),
                 qPrintable(errors.join(" | ")));
    }
    void everyKindPrintsInsideTheMargins()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is needed to look at the printed page");
        int printed = 0;
        for (const WindowKind &kind : KindRegistry::instance().kinds()) {
            auto *sheet =
                kind.isAvailable() ? qobject_cast<SheetWindow *>(KindRegistry::instance().newWindow(kind.id)) : nullptr;
            if (!sheet || !sheet->findChild<QAction *>("FilePrint"))
                continue;
            const QString prefix = m_fx->path(kind.id);
            m_fx->platform().expectPrinter(prefix + ".pdf");
            trigger(sheet, "FilePrint");
            QCOMPARE(m_fx->platform().takeErrors(), QStringList());
            // 72 dots per inch: a 10 mm margin is 28 dots, less one for rounding.
            QCOMPARE(
                QProcess::execute(pdftoppm, {"-r", "72", "-f", "1", "-l", "1", "-singlefile", prefix + ".pdf", prefix}),
                0);
            const QImage page(prefix + ".ppm");
            const QRect ink = inkBounds(page, 250);
            QVERIFY2(!ink.isEmpty() && page.rect().marginsRemoved(QMargins(27, 27, 27, 27)).contains(ink),
                     qPrintable(kind.id + ": ink at " + describe(ink)));
            sheet->setModified(false);
            sheet->close();
            ++printed;
        }
        QVERIFY(printed >= 2); // rabbit and pedigree at least
    }

private:
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
