#pragma once

#include "shell/Platform.h"

#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>

class ChildWindow;
class DocumentWindow;
class LineFormat;
class LineFile;
class LineRecord;
class QObject;

// One kind of window the program offers: a record kind (rabbit, pedigree, ...) or a
// tool (the colour calculator). Registered once at start-up; the main window, the
// record windows and find in files know the kinds only through here.
struct WindowKind
{
    QString id = {};                   // "rabbit", used by windows that open another kind
    QString toolCaption = {};          // "&Rabbit Editor"
    QString mainToolName = {};         // the Tools entry's name in the main window
    QString documentToolName = {};     // ... and in a document window's Tools menu
    Qt::Key toolKey = Qt::Key_unknown; // with Ctrl; Key_unknown: no shortcut
    bool separatorBefore = false;      // a separator above the Tools entry
    QString startCaption = {};         // "New Rabbit Record", its button on the start panel
    int startRank = 0;                 // the button's place there, 1 first; 0: none
    QString extension = {};            // ".rab"; empty for a tool without files
    QString filterTitle = {};          // "Rabbit Files", the kind's own file dialogs
    QString openFilterTitle = {};      // "Rabbit Editor Files", the main window's Open dialog
    bool namedInOpenTitle = true;      // listed in the title of the Open dialog's first filter
    QString captionSuffix = {};        // " - Rabbit Information"
    QSize defaultSize = {};            // empty: the window sizes itself
    QString helpPage = {};             // "rabbit.html", kept in the kind's folder; F1 shows it
    QString mimeType = {};             // "application/x-hutchlore-rabbit", desktop/hutchlore-mime.xml
    QString findTitle = {};            // "Rabbit Files": Find in Files searches the kind; empty: not
    // The layout of the kind's files; find in files names a matching line's field by
    // its labels. Null for a kind without files.
    const LineFormat *format = nullptr;
    // One window for the whole run: once made, newWindow() shows and activates it
    // again (hidden or not) instead of making another.
    bool oneWindow = false;
    // Makes a new window; empty while the kind is announced but not available yet
    // (its Tools entry shows, disabled). It may return null (the breeder cancelled a
    // question it asked first); nothing is made then.
    std::function<ChildWindow *()> create = {};
    // Runs after the main window's File Open loaded a file into a new window.
    std::function<void(DocumentWindow *)> openedFromMenu = {};
    // Brings a position of the window's record before the breeder (a breeding
    // record's mating row: chosen, scrolled into view, focused); empty for a kind
    // without positions to show.
    std::function<void(DocumentWindow *, int position)> showPosition = {};

    bool isAvailable() const { return bool(create); }
    // "Rabbit Files (*.rab)|*.rab"
    QString dialogFilter() const;
    FileDialogSpec dialog(const QString &title) const;
};

class KindRegistry
{
public:
    // The property that names the kind of every window the registry made.
    static constexpr const char *KindProperty = "kindId";

    static KindRegistry &instance();

    // Adds a kind, or replaces the one with the same id.
    void add(WindowKind kind);
    const QList<WindowKind> &kinds() const { return m_kinds; }
    // Null when no kind has that id, or that exact extension (letters as written).
    const WindowKind *find(const QString &id) const;
    const WindowKind *byExtension(const QString &extension) const;
    // The file dialog of a registered kind, with that title.
    static FileDialogSpec dialogOf(const char *kindId, const QString &title = QString());
    // Every record file at once, then each kind on its own: the main window's Open.
    QString openFilter() const;
    // The kinds Find in Files searches, in the order registered.
    QList<const WindowKind *> searched() const;

    // A new, empty window of the kind in the newest main window (for a oneWindow kind,
    // the one already made, shown again); null when the kind is not available or there
    // is no main window. A new record window starts as the kind starts a blank record
    // (DocumentWindow::startEmpty).
    ChildWindow *newWindow(const QString &id) const;
    template <typename T> T *newWindow() const { return qobject_cast<T *>(newWindow(QString::fromLatin1(T::KindId))); }
    // A window of the kind that another window made (a tool opened on what that window
    // shows), placed in the newest main window as newWindow places the windows it
    // makes. Without a main window, or for a kind not registered, the window is
    // deleted and null comes back.
    ChildWindow *adoptWindow(const QString &id, ChildWindow *window) const;

    // Opens `path` in a new window of the kind. A file that does not load leaves no
    // window behind: the new window closes and the error goes on to the caller.
    DocumentWindow *openFile(const QString &id, const QString &path) const;
    // A record's recovery copy in a new window of the kind, bound to `file` when it
    // had one (not read) and modified. A copy that does not show leaves no window;
    // a kind that has no window here throws RecordError.
    DocumentWindow *restoreRecovered(const QString &id, const LineFile &lines, const QString &file) const;
    // The same, choosing the kind by the path's exact extension; nothing happens (and
    // null comes back) for an extension no kind has.
    DocumentWindow *openByExtension(const QString &path) const;

    // A new record of the kind whose file the breeder names at once (its Save As), for
    // a link to it: the saved path, or empty when the dialog was cancelled. The window
    // stays open. A path no link can hold is refused unwritten (RecordError).
    QString createFile(const QString &id) const;

    // The hand-off: `path` is the file the started record was saved as; `code` is the
    // position it was started for.
    using HandOff = std::function<void(const QString &path, int code)>;
    // Starts an untitled, unmodified record of the kind filled with `seed`, for the
    // position `code` of the window `receiver`. Once saved and closed it calls
    // `handOff`, unless `receiver` is gone by then.
    DocumentWindow *startRecord(const QString &id, const LineRecord &seed, int code, QObject *receiver,
                                HandOff handOff) const;

private:
    // newWindow without the blank start, for a window a file or a seed is put into;
    // `made` says whether it is new.
    ChildWindow *makeWindow(const QString &id, bool &made) const;
    ChildWindow *place(const WindowKind &kind, ChildWindow *window) const;

    QList<WindowKind> m_kinds;
};
