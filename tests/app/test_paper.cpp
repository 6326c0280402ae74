// Paper: a value too long for its place prints smaller and then wraps, never cut; a
// value cut on screen shows whole in its tooltip; an empty picture box prints empty.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/Kinds.h"
#include "breeding/BreedingRecord.h"
#include "frame/BigBadParent.h"
#include "shell/HiddenPrint.h"
#include "shell/KindRegistry.h"
#include "shell/PrintFit.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

namespace {

// What the breeder sees of a long value: the words a printed page must hold.
QStringList wordsOf(const QString &value)
{
    return value.split(u' ', Qt::SkipEmptyParts);
}

// The area of the image that is not white.
bool hasInk(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 240)
                return true;
    return false;
}

QImage rendered(const QPicture &picture, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPicture(0, 0, picture);
    return image;
}

const QStringList Instructions = {"Right Click to Add a Picture", "pixels)"};

} // namespace

class TestPaper : public WindowTest
{
    Q_OBJECT


    SheetWindow *open(const QString &kind) const
    {
        return qobject_cast<SheetWindow *>(KindRegistry::instance().newWindow(kind));
    }
    // Prints through File > Print into a PDF and returns its text.
    QString print(SheetWindow *window, const QString &name) const
    {
        const QString pdf = m_fx->path(name + ".pdf");
        m_fx->platform().expectPrinter(pdf);
        trigger(window, "FilePrint");
        return TestFiles::pdfText(pdf);
    }

private slots:

    // Fits the text as it is, else in the largest smaller size that keeps it on one
    // line, else in 6 points over several lines, every word kept.
    void fitTextShrinksThenWraps()
    {
        const QImage device(10, 10, QImage::Format_RGB32);
        const QString text = "Best of Breed at the Hazel Hill Spring Open";
        struct Case
        {
            const char *name;
            QFont font;
            double widthShare; // of the text's width in the font
            bool smaller, wrapped;
        };
        QFont pixels(QStringLiteral("Times New Roman"));
        pixels.setPixelSize(15);
        const Case cases[] = {
            {"fits", QFont("Times New Roman", 10), 1.0, false, false},
            {"a little too wide", QFont("Times New Roman", 10), 0.8, true, false},
            {"pixel-sized face", pixels, 0.8, true, false},
            {"too wide at 6 points", QFont("Times New Roman", 10), 0.3, true, true},
        };
        for (const Case &c : cases) {
            const int width = int(QFontMetricsF(c.font, &device).horizontalAdvance(text) * c.widthShare) + 1;
            const FittedText fitted = fitText(text, c.font, width, &device);
            const QFontMetricsF metrics(fitted.font, &device);
            const double points = fitted.font.pointSizeF() > 0 ? fitted.font.pointSizeF()
                                                               : fitted.font.pixelSize() * 72.0 / device.logicalDpiY();
            const double before =
                c.font.pointSizeF() > 0 ? c.font.pointSizeF() : c.font.pixelSize() * 72.0 / device.logicalDpiY();
            QVERIFY2((points < before) == c.smaller && points >= SmallestPrintPoints - 0.01, c.name);
            QVERIFY2((fitted.lines.size() > 1) == c.wrapped, c.name);
            QVERIFY2(fitted.font.family() == c.font.family(), c.name);
            QCOMPARE(fitted.lines.join(u' '), text);
            for (const QString &line : fitted.lines)
                QVERIFY2(metrics.horizontalAdvance(line) <= width, c.name);
            // Not smaller than it must be: half a point (a pixel) more would not fit.
            if (c.smaller && !c.wrapped) {
                QFont larger = fitted.font;
                if (larger.pixelSize() > 0)
                    larger.setPixelSize(larger.pixelSize() + 1);
                else
                    larger.setPointSizeF(larger.pointSizeF() + 0.5);
                QVERIFY2(QFontMetricsF(larger, &device).horizontalAdvance(text) > width, c.name);
            }
        }
        // A word wider than its place is broken inside; nothing is lost.
        const QString word(60, u'W');
        const FittedText broken = fitText(word, QFont("Times New Roman", 10), 40, &device);
        QVERIFY(broken.lines.size() > 1);
        QCOMPARE(broken.lines.join(QString()), word);
    }

    // Columns keep their natural widths when they fit; otherwise the widest give way
    // to one width, never below their headings.
    void fitColumnsGivesWayWidestFirst()
    {
        struct Case
        {
            const char *name;
            QList<int> natural, least;
            int available;
            QList<int> widths;
        };
        const Case cases[] = {
            {"fits", {50, 80, 200}, {20, 20, 20}, 400, {50, 80, 200}},
            {"widest gives way", {50, 80, 400}, {20, 20, 20}, 300, {50, 80, 170}},
            {"two share", {50, 300, 400}, {20, 20, 20}, 300, {50, 125, 125}},
            {"heading holds", {50, 300, 400}, {20, 200, 20}, 300, {50, 200, 50}},
            {"headings alone too wide", {50, 300}, {100, 300}, 200, {100, 300}},
        };
        for (const Case &c : cases)
            QVERIFY2(fitColumns(c.natural, c.least, c.available) == c.widths, c.name);
    }

    // Long values of every kind, printed: each word of each is on the page, and the
    // screen's instructions are not; on screen, a value cut short shows whole in its
    // tooltip, and the sheet is as it was after printing.
    void longValuesPrintWhole_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("fields");
        // The tables of breeding and show records widen the sheet on screen instead.
        QTest::addColumn<bool>("cutOnScreen");
        const QString winnings = "Best of Breed, Best in Show and Best Opposite Sex at the Hazel Hill Spring Open "
                                 "Convention against two hundred and twelve opponents";
        const QString name = "Grand Champion Hazel Hill Smokey Joe the Third of Meadowbrook Farm";
        QTest::newRow("rabbit") << "rabbit" << QStringList{"Winnings",      winnings,
                                                           "RabbitName",    name,
                                                           "DadName",       name,
                                                           "Sibling1Color", "Broken Blue Otter with Chocolate Points"}
                                << true;
        QTest::newRow("pedigree") << "pedigree"
                                  << QStringList{"DadName",        name,
                                                 "DadWinnings",    winnings,
                                                 "SireOneOneName", name,
                                                 "BunnyColor",     "Broken Blue Otter with Chocolate Points"}
                                  << true;
        QTest::newRow("breeding") << "breeding"
                                  << QStringList{"Colors3",
                                                 "three Blue Otter, two Black Otter, one Broken Chocolate, "
                                                 "one Ruby-Eyed White",
                                                 "Parent3", name}
                                  << false;
        QTest::newRow("show") << "show" << QStringList{"Location2", winnings, "RabbitName", name} << false;
    }
    void longValuesPrintWhole()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, fields);
        QFETCH(bool, cutOnScreen);
        SheetWindow *window = open(kind);
        QVERIFY(window);
        QStringList cut;
        for (qsizetype i = 0; i < fields.size(); i += 2) {
            auto *label = window->sheet()->findChild<ValueLabel *>(fields[i]);
            QVERIFY2(label, qPrintable(fields[i]));
            typeInto(window, label, fields[i + 1]);
            if (label->text() != fields[i + 1] || label->geometry().right() >= window->sheet()->width()) {
                cut.append(fields[i]);
                QVERIFY2(label->toolTip().contains(fields[i + 1]), qPrintable(fields[i]));
            }
        }
        QVERIFY2(cut.isEmpty() != cutOnScreen, qPrintable(cut.join(u',')));
        // A value that fits has no tooltip of its own.
        typeInto(window, window->sheet()->findChild<ValueLabel *>(fields[0]), "Hazel");
        QCOMPARE(window->sheet()->findChild<ValueLabel *>(fields[0])->toolTip(), QString());
        typeInto(window, window->sheet()->findChild<ValueLabel *>(fields[0]), fields[1]);

        QStringList before;
        for (const ValueLabel *label : window->sheet()->findChildren<ValueLabel *>())
            before.append(label->text() + QString::number(label->x()) + u',' + QString::number(label->width()));
        const QSize sheetBefore = window->sheet()->size();
        const QString text = print(window, kind);
        QCOMPARE(m_fx->platform().takeErrors(), QStringList());
        // Nothing runs into the sheet's right edge, where the page would cut it off (a
        // PDF keeps cut text as text, so only the drawing shows it).
        const QPicture &page = THiddenPrint::instance()->hiddenImage();
        const QSize printedSize = THiddenPrint::instance()->size();
        QVERIFY(!hasInk(rendered(page, printedSize), QRect(printedSize.width() - 3, 0, 3, printedSize.height())));
        if (!TestFiles::havePdfToText())
            QSKIP("pdftotext is not installed; the page's text was not read");
        for (qsizetype i = 1; i < fields.size(); i += 2)
            for (const QString &word : wordsOf(fields[i]))
                QVERIFY2(text.contains(word), qPrintable(fields[i - 1] + ": " + word + " missing from:\n" + text));
        for (const QString &instruction : Instructions)
            QVERIFY2(!text.contains(instruction), qPrintable(instruction));

        QStringList after;
        for (const ValueLabel *label : window->sheet()->findChildren<ValueLabel *>())
            after.append(label->text() + QString::number(label->x()) + u',' + QString::number(label->width()));
        QCOMPARE(after, before);
        QCOMPARE(window->sheet()->size(), sheetBefore);
        window->setModified(false);
    }

    // The litters' colours widen the table on screen; on paper the table keeps to the
    // sheet's width, so the page is not printed smaller for one long value.
    void wideTableKeepsThePage()
    {
        TBreedingRecord *window = m_fx->newBreeding();
        const int nominal = window->sheet()->width();
        typeInto(window, window->field("Colors7"),
                 "three Blue Otter, two Black Otter, one Broken Chocolate, one Ruby-Eyed White, one Lilac Tort");
        QVERIFY(window->sheet()->width() > nominal);
        print(window, "breeding");
        QCOMPARE(THiddenPrint::instance()->size().width(), nominal);
        window->setModified(false);
    }

    // An empty picture box shows its instructions on screen and prints white.
    void emptyPicturesPrintEmpty()
    {
        for (const auto &[kind, box] : {std::pair{"rabbit", "RabbitPicture"}, {"pedigree", "MiniPicture"}}) {
            SheetWindow *window = open(QString::fromLatin1(kind));
            auto *picture = window->sheet()->findChild<PictureBox *>(box);
            QVERIFY(picture && picture->isBlank());
            const QRect area = picture->geometry().adjusted(1, 1, -1, -1);
            QVERIFY2(hasInk(window->sheet()->grab().toImage(), area), kind);
            const QString text = print(window, QString::fromLatin1(kind));
            const QImage page = rendered(THiddenPrint::instance()->hiddenImage(), window->sheet()->size());
            QVERIFY2(!hasInk(page, picture->geometry()), kind);
            for (const QString &instruction : Instructions)
                QVERIFY2(!text.contains(instruction), qPrintable(instruction));
            // Back on screen the box tells the breeder what to do again.
            QVERIFY2(hasInk(window->sheet()->grab().toImage(), area), kind);
        }
    }
};

QTEST_MAIN(TestPaper)
#include "test_paper.moc"
