#pragma once

#include <QPicture>
#include <QWidget>

class QPrinter;

// The off-screen print form. It takes a picture of a sheet exactly as drawn (values,
// pictures and any open panel) and prints it centred in the printable area of the
// page, scaled with its proportions kept.
// The picture is recorded as drawing commands, so text stays text and prints crisp.
class THiddenPrint : public QWidget
{
    Q_OBJECT
public:
    // An owner (a window of the program) takes the form with it when it goes.
    explicit THiddenPrint(QWidget *owner = nullptr);
    // The program's form; made on first use, owned by `owner`'s window, when the
    // program made none at start (tests).
    static THiddenPrint *instance(QWidget *owner = nullptr);

    // Throws RecordError when the printer cannot be started.
    void printSheet(QWidget *sheet, QPrinter &printer);
    // The last sheet captured, as it went to the printer.
    const QPicture &hiddenImage() const { return m_hiddenImage; }

    static QPicture capture(QWidget *sheet);
    // Widens the printer's margins to at least what it can print and 10 mm, so a
    // sheet never runs to the paper's edge.
    static void keepMargins(QPrinter &printer);
    // The printable area in the coordinates a painter on the printer starts with.
    static QRect printableArea(const QPrinter &printer);
    // Plays a captured sheet onto a device, scaled into `target` with proportions kept
    // and centred in it.
    static void playScaled(const QPicture &picture, QSize sheetSize, QPainter &painter, const QRect &target);

private:
    QPicture m_hiddenImage;
};
