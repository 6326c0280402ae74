#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

// A file dialog's settings. The filter is written "Description|pattern|..." as the
// record windows state it; the platform turns it into its own form.
struct FileDialogSpec
{
    QString filter;
    QString defaultExtension; // without dot, e.g. "rab"; empty for none
    QString title;
    // The file offered first (its folder opened, it selected); empty: the current folder.
    QString start = {};
};

// Everything the windows ask of the desktop: dialogs, questions, the error display,
// the printer, the installed fonts, help and the clipboard. The program uses
// QtPlatform; tests install a scripted one that answers from a queue.
class Platform
{
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Platform() = default;

    // Every call that shows a dialog or a message runs it, then makes sure the
    // windows of the commands under way (and the dialog's parent) still exist: one
    // closed meanwhile ends the command quietly (CommandAbandoned, see CommandGuard.h).

    // Full path chosen, or nothing when cancelled.
    std::optional<QString> openFileName(QWidget *parent, const FileDialogSpec &request);
    // Full paths of the files chosen together; empty when cancelled.
    QStringList openFileNames(QWidget *parent, const FileDialogSpec &request);
    // Never asks about overwriting: the windows ask their own question.
    std::optional<QString> saveFileName(QWidget *parent, const FileDialogSpec &request);
    std::optional<QString> pictureFileName(QWidget *parent);
    // A folder chosen, starting at `start`, or nothing when cancelled.
    std::optional<QString> folderName(QWidget *parent, const QString &title, const QString &start);

    // A message box captioned "Hutchlore Message".
    Answer ask(QWidget *parent, const QString &message, Buttons buttons);
    // The error display for a command that stopped.
    void showError(QWidget *parent, const QString &message);

    // Lets the breeder choose a printer (or a PDF file) and sets `printer` up for it.
    // False when cancelled.
    bool choosePrinter(QWidget *parent, QPrinter &printer);

    virtual QStringList fontFaces() = 0;
    virtual void openHelpContents(QWidget *parent) = 0;
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;

    static constexpr const char *MessageCaption = "Hutchlore Message";

    static Platform &instance();
    // Replaces the platform; returns the previous one (tests restore it).
    static std::unique_ptr<Platform> install(std::unique_ptr<Platform> platform);

    // The dialogs themselves.
    virtual std::optional<QString> runOpenDialog(QWidget *parent, const FileDialogSpec &request) = 0;
    virtual QStringList runOpenFilesDialog(QWidget *parent, const FileDialogSpec &request) = 0;
    virtual std::optional<QString> runSaveDialog(QWidget *parent, const FileDialogSpec &request) = 0;
    virtual std::optional<QString> runPictureDialog(QWidget *parent) = 0;
    virtual std::optional<QString> runFolderDialog(QWidget *parent, const QString &title, const QString &start) = 0;
    virtual Answer runQuestion(QWidget *parent, const QString &message, Buttons buttons) = 0;
    virtual void runErrorDisplay(QWidget *parent, const QString &message) = 0;
    virtual bool runPrinterDialog(QWidget *parent, QPrinter &printer) = 0;
};

// The program's platform: Qt's dialogs, message boxes and clipboard.
class QtPlatform : public Platform
{
public:
    std::optional<QString> runOpenDialog(QWidget *parent, const FileDialogSpec &request) override;
    QStringList runOpenFilesDialog(QWidget *parent, const FileDialogSpec &request) override;
    std::optional<QString> runSaveDialog(QWidget *parent, const FileDialogSpec &request) override;
    std::optional<QString> runPictureDialog(QWidget *parent) override;
    Answer runQuestion(QWidget *parent, const QString &message, Buttons buttons) override;
    void runErrorDisplay(QWidget *parent, const QString &message) override;
    bool runPrinterDialog(QWidget *parent, QPrinter &printer) override;
    std::optional<QString> runFolderDialog(QWidget *parent, const QString &title, const QString &start) override;
    QStringList fontFaces() override;
    void openHelpContents(QWidget *parent) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
};

// Turns "Rabbit Files (*.rab)|*.rab|..." into Qt's ";;"-separated filter.
QString qtFilterFrom(const QString &pipeFilter);
