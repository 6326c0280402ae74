#include "shell/HiddenPrint.h"

#include "records/RecordError.h"
#include "records/WindowRegistry.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace {
// Most printers cannot print nearer the paper's edge than this; a PDF "printer"
// reports no margin at all.
constexpr double MinimumMarginMillimetres = 10.0;
} // namespace

THiddenPrint::THiddenPrint(QWidget *owner) : QWidget(owner ? owner->window() : nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("HiddenPrint"));
    WindowRegistry::setNewest(this);
}

THiddenPrint *THiddenPrint::instance(QWidget *owner)
{
    if (auto *form = WindowRegistry::newest<THiddenPrint>())
        return form;
    return new THiddenPrint(owner);
}

QPicture THiddenPrint::capture(QWidget *sheet)
{
    QPicture picture;
    QPainter painter(&picture);
    sheet->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return picture;
}

void THiddenPrint::playScaled(const QPicture &picture, QSize sheetSize, QPainter &painter, const QRect &target)
{
    if (sheetSize.isEmpty())
        return;
    const double scale =
        std::min(double(target.width()) / sheetSize.width(), double(target.height()) / sheetSize.height());
    // Centred in the target, so the white of the margins is shared out evenly.
    const QPointF origin(target.x() + (target.width() - sheetSize.width() * scale) / 2,
                         target.y() + (target.height() - sheetSize.height() * scale) / 2);
    painter.save();
    painter.translate(origin);
    painter.scale(scale, scale);
    painter.setClipRect(QRect(QPoint(0, 0), sheetSize));
    painter.drawPicture(0, 0, picture);
    painter.restore();
    // A clip set inside the picture replaces the one above, and a printer may set text
    // wider than the screen did: whatever still lies outside the sheet is painted over,
    // so nothing reaches the margins.
    const QRectF sheet(origin, QSizeF(sheetSize) * scale);
    const QRect around = target.adjusted(-target.width(), -target.height(), target.width(), target.height());
    painter.save();
    painter.setClipRegion(QRegion(around).subtracted(QRegion(sheet.toAlignedRect())));
    painter.fillRect(around, Qt::white);
    painter.restore();
}

void THiddenPrint::printSheet(QWidget *sheet, QPrinter &printer)
{
    resize(sheet->size());
    m_hiddenImage = capture(sheet);
    keepMargins(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw RecordError(QStringLiteral("The printer could not be started. Check that a printer is installed "
                                         "and ready, or print to a PDF file."));
    playScaled(m_hiddenImage, sheet->size(), painter, printableArea(printer));
    painter.end();
}

void THiddenPrint::keepMargins(QPrinter &printer)
{
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF given = layout.margins();
    const QMarginsF least = layout.minimumMargins();
    const auto side = [](double a, double b) { return std::max({a, b, MinimumMarginMillimetres}); };
    const QMarginsF margins(side(given.left(), least.left()), side(given.top(), least.top()),
                            side(given.right(), least.right()), side(given.bottom(), least.bottom()));
    printer.setPageMargins(margins, QPageLayout::Millimeter);
}

QRect THiddenPrint::printableArea(const QPrinter &printer)
{
    const QRect paint = printer.pageLayout().paintRectPixels(printer.resolution());
    // A painter on a printer starts at the printable area's corner unless it covers
    // the full page.
    return printer.fullPage() ? paint : QRect(QPoint(0, 0), paint.size());
}
