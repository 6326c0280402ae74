#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

class QPaintDevice;

// How values are fitted into their places on paper.

// The smallest size a value prints in, in points.
constexpr double SmallestPrintPoints = 6.0;

// A text fitted into a width: the font it is drawn in and its lines.
struct FittedText
{
    QFont font;
    QStringList lines;
};

// Fits `text` into `width` pixels of `device`: in `font` when it fits there, else in
// the largest smaller size of the same face that fits on one line, down to
// SmallestPrintPoints; else in that size, broken into lines at spaces (and inside a
// word too long for a line). Never drops a character but the spaces at a break.
FittedText fitText(const QString &text, const QFont &font, int width, const QPaintDevice *device);

// The widths of a table's columns on paper, so that together they take at most
// `available`: a column keeps its natural width when it can, the widest give way
// first, all of them to the same width, and none goes below its least (its heading).
// When even the least widths do not fit, those are the answer.
QList<int> fitColumns(const QList<int> &natural, const QList<int> &least, int available);
