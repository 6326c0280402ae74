#include "shell/PrintFit.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// The lines of `text` broken to `width` at spaces, or anywhere in a word that is
// wider than a line.
QStringList wrapped(const QString &text, const QFont &font, int width, const QPaintDevice *device)
{
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString part = text.mid(line.textStart(), line.textLength());
        // The spaces a line breaks at are not drawn.
        while (part.endsWith(u' '))
            part.chop(1);
        lines.append(part);
    }
    layout.endLayout();
    return lines;
}

} // namespace

FittedText fitText(const QString &text, const QFont &font, int width, const QPaintDevice *device)
{
    const auto fits = [&](const QFont &f) { return QFontMetricsF(f, device).horizontalAdvance(text) <= width; };
    if (fits(font))
        return {font, {text}};
    QFont smaller = font;
    const double dpi = device ? device->logicalDpiY() : 96.0;
    // A face sized in pixels (the pedigree chart's) steps down a pixel at a time, one
    // in points half a point at a time.
    if (font.pixelSize() > 0) {
        const int least = int(std::ceil(SmallestPrintPoints * dpi / 72.0));
        for (int pixels = font.pixelSize() - 1; pixels >= least; --pixels) {
            smaller.setPixelSize(pixels);
            if (fits(smaller))
                return {smaller, {text}};
        }
        smaller.setPixelSize(std::min(least, font.pixelSize()));
    } else {
        const double points = font.pointSizeF();
        for (double size = points - 0.5; size >= SmallestPrintPoints; size -= 0.5) {
            smaller.setPointSizeF(size);
            if (fits(smaller))
                return {smaller, {text}};
        }
        smaller.setPointSizeF(std::min(SmallestPrintPoints, points));
    }
    return {smaller, wrapped(text, smaller, std::max(width, 1), device)};
}

QList<int> fitColumns(const QList<int> &natural, const QList<int> &least, int available)
{
    Q_ASSERT(natural.size() == least.size());
    const auto widthsAt = [&](int cap) {
        QList<int> widths;
        int total = 0;
        for (qsizetype i = 0; i < natural.size(); ++i) {
            widths.append(std::max(least.at(i), std::min(natural.at(i), cap)));
            total += widths.last();
        }
        return std::pair{widths, total};
    };
    const int widest = natural.isEmpty() ? 0 : *std::max_element(natural.begin(), natural.end());
    // The total grows with the cap: the largest cap that fits is found by halving.
    int low = 0, high = widest;
    while (low < high) {
        const int cap = low + (high - low + 1) / 2;
        if (widthsAt(cap).second <= available)
            low = cap;
        else
            high = cap - 1;
    }
    return widthsAt(low).first;
}
