// Print preview: the page shown is the page that prints, and its Print button prints
// it through the printer dialog; closing the preview prints nothing.

#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/Kinds.h"
#include "shell/HiddenPrint.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QTest>

namespace {

QImage rendered(const QPicture &picture, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawPicture(0, 0, picture);
    return image;
}

int darkPixels(const QImage &image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fx;

private slots:
    void initTestCase() { registerKinds(); }
    void init() { m_fx = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(m_fx->finish(), QStringList());
        m_fx.reset();
    }

    void previewShowsWhatPrints_data()
    {
        QTest::addColumn<QString>("id");
        for (const WindowKind &kind : KindRegistry::instance().kinds())
            if (kind.isAvailable() && !kind.extension.isEmpty())
                QTest::newRow(qPrintable(kind.id)) << kind.id;
    }
    void previewShowsWhatPrints();
};

void TestPreview::previewShowsWhatPrints()
{
    QFETCH(QString, id);
    auto *window = qobject_cast<SheetWindow *>(KindRegistry::instance().newWindow(id));
    if (!window || !window->findChild<QAction *>("FilePrint")) {
        if (window)
            window->close();
        QSKIP("this kind does not print");
    }
    ValueLabel *label = nullptr;
    for (ValueLabel *candidate : window->sheet()->findChildren<ValueLabel *>())
        if (candidate->isVisible() && !label)
            label = candidate;
    QVERIFY(label);
    typeInto(window, label, "Previewed");

    ScriptedPlatform &platform = m_fx->platform();
    QImage previewed;
    const auto preview = [&](const char *button) {
        return Input::whileModal([&] { Input::chooseFromMenuBar(window, "File", "FilePrintPreview"); },
                                 [&](QWidget *modal) {
                                     QCOMPARE(modal->objectName(), "PrintPreview");
                                     auto *pages = modal->findChild<QPrintPreviewWidget *>("PreviewPages");
                                     QVERIFY(pages);
                                     QVERIFY(QTest::qWaitFor([&] { return pages->pageCount() == 1; }));
                                     // The page shown carries the sheet: a blank page has no ink.
                                     QVERIFY(QTest::qWaitFor([&] { return darkPixels(pages->grab().toImage()) > 50; }));
                                     previewed =
                                         rendered(THiddenPrint::instance()->hiddenImage(), window->sheet()->size());
                                     Input::click(modal->findChild<QAbstractButton *>(button));
                                 });
    };

    // Close prints nothing (the scripted printer dialog would fail an unexpected ask).
    QVERIFY(preview("PreviewClose"));
    QVERIFY(!previewed.isNull());
    QVERIFY(!Input::blockedByModal(window));

    // Print goes on to the printer dialog and prints the very page that was shown.
    const QString pdf = m_fx->path(id + ".pdf");
    platform.expectPrinter(pdf);
    QVERIFY(preview("PreviewPrint"));
    QVERIFY(platform.allAnswered());
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(rendered(THiddenPrint::instance()->hiddenImage(), window->sheet()->size()), previewed);
    if (TestFiles::havePdfToText())
        QVERIFY(TestFiles::pdfText(pdf).contains("Previewed"));

    window->setModified(false);
}

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
