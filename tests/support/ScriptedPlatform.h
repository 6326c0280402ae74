#pragma once

#include "shell/Platform.h"

#include <QQueue>
#include <QStringList>
#include <functional>
#include <variant>

// A platform for tests: every dialog and question is answered from a queue that
// the test fills in advance. A question the test did not expect fails the test.
class ScriptedPlatform : public Platform
{
public:
    struct Question
    {
        QString message;
        Answer answer;
    };
    struct FileChoice
    {
        std::optional<QString> path; // nothing = Cancel
    };
    struct PrinterChoice
    {
        QString pdfPath; // empty = Cancel
    };
    struct FilesChoice
    {
        QStringList paths; // empty = Cancel
    };
    using Step = std::variant<Question, FileChoice, FilesChoice, PrinterChoice>;

    // Installs a fresh scripted platform for the lifetime of the guard.
    class Installed
    {
    public:
        Installed();
        ~Installed();
        ScriptedPlatform &operator*() const { return *m_platform; }
        ScriptedPlatform *operator->() const { return m_platform; }

    private:
        ScriptedPlatform *m_platform;
        std::unique_ptr<Platform> m_previous;
    };

    void expectQuestion(const QString &message, Answer answer) { m_steps.enqueue(Question{message, answer}); }
    void expectFile(const std::optional<QString> &path) { m_steps.enqueue(FileChoice{path}); }
    // Several files chosen in one open dialog that allows it; an expectFile answers
    // such a dialog with its one file (or Cancel).
    void expectFiles(const QStringList &paths) { m_steps.enqueue(FilesChoice{paths}); }
    void expectPrinter(const QString &pdfPath) { m_steps.enqueue(PrinterChoice{pdfPath}); }
    // Runs `action` while the next file dialog or question is open.
    void whileNextDialogIsOpen(std::function<void()> action) { m_whileOpen = std::move(action); }

    // Errors shown so far; taking them empties the list.
    QStringList takeErrors();
    // Takes them and fails the test unless there was exactly one and it contains `part`.
    void takeError(const QString &part);
    bool allAnswered() const { return m_steps.isEmpty(); }
    // The titles the file dialogs were opened with.
    const QStringList &dialogTitles() const { return m_titles; }
    // The filters the open and save dialogs were opened with ("Rabbit Files (*.rab)|*.rab").
    const QStringList &dialogFilters() const { return m_filters; }
    // The files the open dialogs offered first (FileDialogSpec::start), one per dialog.
    const QStringList &dialogStarts() const { return m_starts; }
    int helpOpened() const { return m_helpOpened; }

    std::optional<QString> runOpenDialog(QWidget *parent, const FileDialogSpec &request) override;
    QStringList runOpenFilesDialog(QWidget *parent, const FileDialogSpec &request) override;
    std::optional<QString> runSaveDialog(QWidget *parent, const FileDialogSpec &request) override;
    std::optional<QString> runPictureDialog(QWidget *parent) override;
    Answer runQuestion(QWidget *parent, const QString &message, Buttons buttons) override;
    void runErrorDisplay(QWidget *parent, const QString &message) override;
    bool runPrinterDialog(QWidget *parent, QPrinter &printer) override;
    // Answered from the same queue as the file dialogs (expectFile).
    std::optional<QString> runFolderDialog(QWidget *parent, const QString &title, const QString &start) override;
    QStringList fontFaces() override;
    void openHelpContents(QWidget *parent) override
    {
        Q_UNUSED(parent);
        ++m_helpOpened;
    }
    QString clipboardText() override { return m_clipboard; }
    void setClipboardText(const QString &text) override { m_clipboard = text; }

private:
    std::optional<QString> nextFile(const char *what);
    void whileOpen();

    QQueue<Step> m_steps;
    QStringList m_errors;
    QStringList m_titles;
    QStringList m_filters;
    QStringList m_starts;
    QString m_clipboard;
    int m_helpOpened = 0;
    std::function<void()> m_whileOpen;
};
