#pragma once

#include <QDialog>

#include <functional>

class QPrinter;
class QPrintPreviewWidget;

// The page as it will print, drawn by the same path the printer is, with zoom and a
// Print button. Print accepts the dialog: the window then asks for the printer and
// prints with the settings the preview showed.
class PrintPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    using Paint = std::function<void(QPrinter &)>;
    PrintPreviewDialog(QPrinter &printer, Paint paint, QWidget *parent = nullptr);

    QPrintPreviewWidget *pages() const { return m_pages; }
    // Why the page could not be drawn; empty when it was.
    const QString &error() const { return m_error; }

private:
    QPrintPreviewWidget *m_pages;
    Paint m_paint;
    QString m_error;
};
