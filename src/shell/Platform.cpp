#include "shell/Platform.h"

#include "shell/CommandGuard.h"
#include "shell/Frame.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QImageReader>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

namespace {
std::unique_ptr<Platform> &current()
{
    static std::unique_ptr<Platform> platform = std::make_unique<QtPlatform>();
    return platform;
}

QString withDefaultExtension(QString path, const FileDialogSpec &request)
{
    if (request.defaultExtension.isEmpty() || path.isEmpty())
        return path;
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (!name.contains(u'.'))
        path += u'.' + request.defaultExtension;
    return path;
}
} // namespace

Platform &Platform::instance()
{
    return *current();
}

std::unique_ptr<Platform> Platform::install(std::unique_ptr<Platform> platform)
{
    std::swap(current(), platform);
    return platform;
}

QString qtFilterFrom(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        const QString description = parts.at(i);
        // Qt reads patterns from the parentheses of the description, so show the
        // description the breeder knows and give Qt the real patterns.
        const qsizetype paren = description.indexOf(u'(');
        const QString head = paren < 0 ? description : description.left(paren).trimmed();
        filters.append(QStringLiteral("%1 (%2)").arg(head, patterns.simplified()));
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

// Runs a dialog, then ends the command if a window it works for closed meanwhile.
template <typename Dialog> auto watched(QWidget *parent, Dialog &&dialog)
{
    const QPointer<QWidget> alive(parent);
    auto result = dialog();
    CommandScope::checkAfterDialog(parent != nullptr && alive.isNull());
    return result;
}

} // namespace

std::optional<QString> Platform::openFileName(QWidget *parent, const FileDialogSpec &request)
{
    return watched(parent, [&] { return runOpenDialog(parent, request); });
}

QStringList Platform::openFileNames(QWidget *parent, const FileDialogSpec &request)
{
    return watched(parent, [&] { return runOpenFilesDialog(parent, request); });
}

std::optional<QString> Platform::saveFileName(QWidget *parent, const FileDialogSpec &request)
{
    return watched(parent, [&] { return runSaveDialog(parent, request); });
}

std::optional<QString> Platform::pictureFileName(QWidget *parent)
{
    return watched(parent, [&] { return runPictureDialog(parent); });
}

std::optional<QString> Platform::folderName(QWidget *parent, const QString &title, const QString &start)
{
    return watched(parent, [&] { return runFolderDialog(parent, title, start); });
}

Platform::Answer Platform::ask(QWidget *parent, const QString &message, Buttons buttons)
{
    return watched(parent, [&] { return runQuestion(parent, message, buttons); });
}

void Platform::showError(QWidget *parent, const QString &message)
{
    watched(parent, [&] {
        runErrorDisplay(parent, message);
        return 0;
    });
}

bool Platform::choosePrinter(QWidget *parent, QPrinter &printer)
{
    return watched(parent, [&] { return runPrinterDialog(parent, printer); });
}

std::optional<QString> QtPlatform::runOpenDialog(QWidget *parent, const FileDialogSpec &request)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, request.title.isEmpty() ? QStringLiteral("Open") : request.title,
                                     request.start.isEmpty() ? QDir::currentPath() : request.start,
                                     qtFilterFrom(request.filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QStringList QtPlatform::runOpenFilesDialog(QWidget *parent, const FileDialogSpec &request)
{
    return QFileDialog::getOpenFileNames(parent, request.title.isEmpty() ? QStringLiteral("Open") : request.title,
                                         QDir::currentPath(), qtFilterFrom(request.filter));
}

std::optional<QString> QtPlatform::runSaveDialog(QWidget *parent, const FileDialogSpec &request)
{
    QFileDialog dialog(parent, request.title, QDir::currentPath(), qtFilterFrom(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return withDefaultExtension(dialog.selectedFiles().constFirst(), request);
}

std::optional<QString> QtPlatform::runPictureDialog(QWidget *parent)
{
    const QString filter = QStringLiteral(
        "All pictures (*.jpg *.jpeg *.bmp *.png *.gif *.ico *.wmf *.emf);;JPEG Image File (*.jpg *.jpeg);;"
        "Bitmaps (*.bmp);;PNG (*.png);;GIF (*.gif);;Icons (*.ico);;"
        "Metafiles (*.wmf *.emf);;Enhanced Metafiles (*.emf)");
    const QString path =
        QFileDialog::getOpenFileName(parent, QStringLiteral("Open Picture"), QDir::currentPath(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtPlatform::runFolderDialog(QWidget *parent, const QString &title, const QString &start)
{
    const QString path = QFileDialog::getExistingDirectory(parent, title, start);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

Platform::Answer QtPlatform::runQuestion(QWidget *parent, const QString &message, Buttons buttons)
{
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case Buttons::Ok:
        set = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(MessageCaption), message, set, parent);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtPlatform::runErrorDisplay(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, QStringLiteral("Hutchlore"), message);
}

bool QtPlatform::runPrinterDialog(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

QStringList QtPlatform::fontFaces()
{
    return QFontDatabase::families();
}

void QtPlatform::openHelpContents(QWidget *parent)
{
    if (Frame *frame = Frame::instance())
        frame->showHelpContents(parent);
}

QString QtPlatform::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void QtPlatform::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}
