#pragma once

#include "records/LinkContext.h"
#include "shell/ChildWindow.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUndoStack>

#include <functional>
#include <optional>

class LineFile;
class LineRecord;
class QMenu;

// What every record window shares: the document's file name and modified flag, its
// caption, the File menu with Open / Save / Save As and their questions, the close
// question, the one way a file is loaded, the one place an edit is recorded, and the
// position a record was started for with its hand-off back to the window that
// started it. A kind adds how its record is shown (see SheetWindow).
class DocumentWindow : public ChildWindow
{
    Q_OBJECT
public:
    DocumentWindow(const char *kindId, QWidget *parent = nullptr);
    ~DocumentWindow() override;

    // The frame's record windows bound to `path`, however it is spelled: the same file
    // where it exists (links, "..", symbolic links), the same absolute path where not.
    // A window closed but not yet freed is among them, hidden.
    static QList<DocumentWindow *> showing(const QString &path);

    const WindowKind &kind() const { return *m_kind; }
    const QString &fileName() const { return m_fileName; }
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    // Every command that changes the record says so here, before or just after it
    // changes the window: the edit becomes one undo step named `step` ("Update from
    // Links"), however many values it changes before control returns to the event
    // loop. Steps of `typing` with the same name in a row are one step.
    void recordEdit(const QString &step = QString(), bool typing = false);
    QUndoStack *undoStack() const { return m_undo; }
    // What the window shows now is where undoing stops: a load, a started record.
    void startHistory();

    // Reads and checks the whole file, then shows it. Any failure leaves the window
    // exactly as it was: values, file name, caption and flag.
    void loadFile(const QString &path);
    // Shows a record without binding the window to a file (a record started from
    // another window). The flag is left as it is.
    virtual void fillFrom(const LineRecord &record) = 0;
    // Shows a record's recovery copy: bound to its file when it had one (the file is
    // not read), modified, so Save writes it and closing asks. Fails like loadFile.
    void restoreRecovered(const LineFile &lines, const QString &file);
    // Writes the record to `path`; on success the window is bound to it and clean.
    void saveFile(const QString &path);
    // Runs once when a new window starts a blank record (a Tools entry, File New, a new
    // linked file), never for one a file is loaded into or a record started from
    // another window. Whatever it fills in leaves the window unmodified.
    virtual void startEmpty() {}

    // The position of another window's record this one was started for; 0 for none.
    int positionCode() const { return m_positionCode; }
    void setPositionCode(int code) { m_positionCode = code; }
    // Called when this record, started for a position, closes with a file name.
    // Nothing is called once `receiver` is gone.
    void setHandOff(QObject *receiver, KindRegistry::HandOff handOff);

    // The context this record's links are followed in: its own folder, none while
    // untitled.
    LinkContext linkContext() const { return LinkContext(m_fileName); }
    // Says on the main window's status bar which linked files were found beside this
    // record rather than at their stored paths; nothing when all were in place.
    void reportLinks(const LinkContext &context) const;
    // Opens the file a stored link leads to in a window of the kind, and reports
    // where it was found. Throws like KindRegistry::openFile.
    DocumentWindow *openLink(const QString &kindId, const QString &stored);

    // Commands of the File menu.
    void FileOpenClick();
    bool FileSaveClick();   // false when nothing was written (Save As cancelled)
    bool FileSaveAsClick(); // false when cancelled
    // Save As of a new record that another record links to once it has a file: a path
    // a record file cannot store as a link is refused (RecordError) before anything is
    // written, and the window stays untitled. False when cancelled.
    bool saveAsLinkTarget();
    void FileQuitClick() { close(); }

signals:
    // An edit was recorded or a file was loaded: what the window showed of the record
    // before may no longer hold.
    void recordChanged();
    // The window was loaded from, or saved as, `path` (the frame keeps recent files).
    void fileUsed(const QString &path);

protected:
    // A load in two steps: prepareLoad reads and checks everything it needs (the file,
    // pictures) and changes nothing; the step it returns shows the result without
    // reading anything. Problems are reported once the load has been shown.
    struct PreparedLoad
    {
        std::function<void()> show;
        QStringList problems;
    };
    virtual PreparedLoad prepareLoad(const LineFile &file, const QString &path) = 0;
    // A step that brings the window back to how it stands now.
    virtual std::function<void()> keepState() = 0;
    // The lines of the file as the record stands now.
    virtual LineFile recordLines() const = 0;
    // The lines to write to `path`; a kind may adjust what depends on where the file
    // goes. saved() runs once they were written.
    virtual LineFile linesToSave(const QString &path) const;
    virtual void saved() {}
    // What a message calls a line of the file.
    virtual QString lineName(int line) const;
    // File menu entries of the kind, placed before Close (Print).
    virtual void addFileCommands(QMenu *file) { Q_UNUSED(file); }
    // Runs after the close question let the window go.
    virtual void formClose() {}
    // Runs just before a loaded file is shown.
    virtual void aboutToShowLoad() {}

    void buildMenus(const QString &saveAsCaption, const QList<QMenu *> &ownMenus);
    // A menu entry named `name` that runs `method` of this window through the guard.
    template <typename Window>
    QAction *addCommand(QMenu *menu, const char *name, const char *caption, void (Window::*method)(),
                        const QKeySequence &shortcut = {})
    {
        QAction *action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connectCommand(action, &QAction::triggered, static_cast<Window *>(this), method);
        return action;
    }
    // "Load Saved Rabbit": `method` fills the record's rabbit from a rabbit file.
    template <typename Window>
    QAction *addLoadSavedRabbit(QMenu *menu, void (Window::*method)())
    {
        return addCommand(menu, "LoadSavedRabbit", "&Load Saved Rabbit", method);
    }
    // The open dialog of another kind's files ("Load Saved Rabbit"), for a file to link
    // to; nothing when cancelled. A path a record file cannot store as a link is
    // refused here (RecordError), before the command changes anything.
    std::optional<QString> chooseFileOf(const char *kindId);
    // "This will overwrite existing values. Continue?"; true on Ok.
    bool confirmOverwrite();
    void bindTo(const QString &path);
    // A path to write to from the save dialog, asking before an existing file is
    // overwritten (No chooses again); nothing when cancelled.
    std::optional<QString> chooseSavePath(const FileDialogSpec &request);
    void reportPictureProblems(const QStringList &problems);
    void closeEvent(QCloseEvent *event) override;

    // A link command: `command` changes a copy of the record, `show` puts the copy on
    // the window. A command that stops on an error still shows what it did before
    // the error; the edit is recorded either way and the error goes on.
    template <typename Command, typename Show> void editThrough(const QString &step, Command &&command, Show &&show)
    {
        recordEdit(step);
        try {
            command();
        } catch (...) {
            show();
            throw;
        }
        show();
    }

private:
    bool saveAs(bool asLinkTarget);
    // The recovery copy follows the flag: kept soon after an edit while modified,
    // removed once the record is saved, clean or closed.
    void keepRecoveryCopy();
    // The edits recorded since control last came back become one undo step.
    void settleEdit();
    void applyStep(const std::function<void()> &state);
    void syncWithHistory();
    void addUndoCommands(QMenu *edit);
    void updateUndoCommands();
    friend class EditStep;
    void writeRecoveryCopy();
    void dropRecoveryCopy();

    const WindowKind *m_kind;
    QString m_fileName;
    bool m_modified = false;
    int m_positionCode = 0;
    QPointer<QObject> m_handOffReceiver;
    KindRegistry::HandOff m_handOff;
    QUndoStack *m_undo;
    // Brings back what the window showed after the last step.
    std::function<void()> m_current;
    bool m_pending = false;
    bool m_applying = false;
    QString m_pendingStep;
    bool m_pendingTyping = false;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QTimer *m_recoveryTimer = nullptr;
    QString m_recoveryName;
};
