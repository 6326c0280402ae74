#include "shell/SheetWindow.h"

#include "records/LineFile.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"
#include "shell/HiddenPrint.h"
#include "shell/SheetWidgets.h"

#include <QFile>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>

// Printing a sheet: the page as paper shows it, to a printer or a PDF file.

void SheetWindow::addFileCommands(QMenu *file)
{
    if (!m_features.print)
        return;
    addCommand(file, "FilePrint", "&Print", &SheetWindow::FilePrintClick, QKeySequence(Qt::CTRL | Qt::Key_P));
    addCommand(file, "FileExportPdf", "Export as &PDF...", &SheetWindow::FileExportPdfClick);
}

void SheetWindow::FilePrintClick()
{
    QPrinter printer(QPrinter::ScreenResolution);
    setUpPrinter(printer);
    if (!Platform::instance().choosePrinter(this, printer))
        return;
    printOn(printer);
}

void SheetWindow::printOn(QPrinter &printer)
{
    setPrinting(true);
    struct Restore
    {
        SheetWindow *window;
        ~Restore() { window->setPrinting(false); }
    } restore{this};
    THiddenPrint::instance(this)->printSheet(m_sheet, printer);
}

void SheetWindow::setPrinting(bool on)
{
    m_printing = on;
    // On paper every value shows whole and no picture box shows its instructions.
    for (ValueLabel *label : m_sheet->findChildren<ValueLabel *>())
        label->setPrinting(on);
    for (PictureBox *box : m_sheet->findChildren<PictureBox *>())
        box->setPrinting(on);
    layOutSheet();
}

void SheetWindow::FileExportPdfClick()
{
    const std::optional<QString> path = chooseSavePath(
        {QStringLiteral("PDF Files (*.pdf)|*.pdf"), QStringLiteral("pdf"), QStringLiteral("Export as PDF")});
    if (path)
        exportPdf(*path);
}

void SheetWindow::exportPdf(const QString &path)
{
    // The printer writes straight to its file: it writes a scratch copy, which then
    // replaces the chosen file in one step, as a record's save does.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw FileError(
            QStringLiteral("Cannot create a temporary folder for the PDF file. %1").arg(scratch.errorString()));
    const QString draft = scratch.filePath(QStringLiteral("export.pdf"));
    {
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        setUpPrinter(printer);
        printOn(printer);
    }
    QFile written(draft);
    if (!written.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot write file \"%1\". %2").arg(shownPath(path), written.errorString()));
    writeFileBytes(path, written.readAll());
}
