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

    // Full path chosen, or nothing when cancelled.
    virtual std::optional<QString> openFileName(QWidget *parent, const FileDialogSpec &request) = 0;
    // Never asks about overwriting: the windows ask their own question.
    virtual std::optional<QString> saveFileName(QWidget *parent, const FileDialogSpec &request) = 0;
    virtual std::optional<QString> pictureFileName(QWidget *parent) = 0;
    // A folder chosen, starting at `start`, or nothing when cancelled.
    virtual std::optional<QString> folderName(QWidget *parent, const QString &title, const QString &start) = 0;

    // A message box captioned "Hutchlore Message".
    virtual Answer ask(QWidget *parent, const QString &message, Buttons buttons) = 0;
    // The error display for a command that stopped.
    virtual void showError(QWidget *parent, const QString &message) = 0;

    // Lets the breeder choose a printer (or a PDF file) and sets `printer` up for it.
    // False when cancelled.
    virtual bool choosePrinter(QWidget *parent, QPrinter &printer) = 0;

    virtual QStringList fontFaces() = 0;
    virtual void openHelpContents(QWidget *parent) = 0;
    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;

    static constexpr const char *MessageCaption = "Hutchlore Message";

    static Platform &instance();
    // Replaces the platform; returns the previous one (tests restore it).
    static std::unique_ptr<Platform> install(std::unique_ptr<Platform> platform);
};

// The program's platform: Qt's dialogs, message boxes and clipboard.
class QtPlatform : public Platform
{
public:
    std::optional<QString> openFileName(QWidget *parent, const FileDialogSpec &request) override;
    std::optional<QString> saveFileName(QWidget *parent, const FileDialogSpec &request) override;
    std::optional<QString> pictureFileName(QWidget *parent) override;
    std::optional<QString> folderName(QWidget *parent, const QString &title, const QString &start) override;
    Answer ask(QWidget *parent, const QString &message, Buttons buttons) override;
    void showError(QWidget *parent, const QString &message) override;
    bool choosePrinter(QWidget *parent, QPrinter &printer) override;
    QStringList fontFaces() override;
    void openHelpContents(QWidget *parent) override;
    QString clipboardText() override;
    void setClipboardText(const QString &text) override;
};

// Turns "Rabbit Files (*.rab)|*.rab|..." into Qt's ";;"-separated filter.
QString qtFilterFrom(const QString &pipeFilter);
