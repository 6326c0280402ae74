#include "shell/Platform.h"

#include "shell/HelpWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QImageReader>
#include <QMessageBox>
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

std::optional<QString> QtPlatform::openFileName(QWidget *parent, const FileDialogSpec &request)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, request.title.isEmpty() ? QStringLiteral("Open") : request.title,
                                     QDir::currentPath(), qtFilterFrom(request.filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtPlatform::saveFileName(QWidget *parent, const FileDialogSpec &request)
{
    QFileDialog dialog(parent, request.title, QDir::currentPath(), qtFilterFrom(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return withDefaultExtension(dialog.selectedFiles().constFirst(), request);
}

std::optional<QString> QtPlatform::pictureFileName(QWidget *parent)
{
    const QString filter =
        QStringLiteral("All pictures (*.jpg *.jpeg *.bmp *.png *.gif *.ico);;JPEG Image File (*.jpg *.jpeg);;"
                       "Bitmaps (*.bmp);;PNG (*.png);;GIF (*.gif);;Icons (*.ico)");
    const QString path =
        QFileDialog::getOpenFileName(parent, QStringLiteral("Open Picture"), QDir::currentPath(), filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtPlatform::folderName(QWidget *parent, const QString &title, const QString &start)
{
    const QString path = QFileDialog::getExistingDirectory(parent, title, start);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

Platform::Answer QtPlatform::ask(QWidget *parent, const QString &message, Buttons buttons)
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

void QtPlatform::showError(QWidget *parent, const QString &message)
{
    QMessageBox::critical(parent, QStringLiteral("Hutchlore"), message);
}

bool QtPlatform::choosePrinter(QWidget *parent, QPrinter &printer)
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
    showHelpContents(parent);
}

QString QtPlatform::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void QtPlatform::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}
