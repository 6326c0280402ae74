#include "shell/HiddenPrint.h"

#include "records/RecordError.h"
#include "records/WindowRegistry.h"

#include <QPainter>
#include <QPrinter>

THiddenPrint::THiddenPrint()
{
    setObjectName(QStringLiteral("HiddenPrint"));
    WindowRegistry::setNewest(this);
}

THiddenPrint *THiddenPrint::instance()
{
    if (auto *form = WindowRegistry::newest<THiddenPrint>())
        return form;
    // Created on first use when the program did not make one at start (tests).
    return new THiddenPrint;
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
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setClipRect(QRect(QPoint(0, 0), sheetSize));
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

void THiddenPrint::printSheet(QWidget *sheet, QPrinter &printer)
{
    resize(sheet->size());
    m_hiddenImage = capture(sheet);
    QPainter painter;
    if (!painter.begin(&printer))
        throw RecordError(QStringLiteral("The printer could not be started. Check that a printer is installed "
                                         "and ready, or print to a PDF file."));
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    playScaled(m_hiddenImage, sheet->size(), painter, QRect(QPoint(0, 0), page.size()));
    painter.end();
}
