#include "shell/DocumentWindow.h"

#include "records/LineFile.h"
#include "records/RecoveryStore.h"
#include "shell/CommandGuard.h"
#include "shell/Frame.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>

namespace {

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    const QString ca = fa.canonicalFilePath();
    const QString cb = fb.canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

} // namespace

QList<DocumentWindow *> DocumentWindow::showing(const QString &path)
{
    QList<DocumentWindow *> windows;
    const Frame *frame = Frame::instance();
    if (!frame)
        return windows;
    for (QMdiSubWindow *open : frame->mdiArea()->subWindowList())
        if (auto *window = qobject_cast<DocumentWindow *>(open); window && sameFile(window->fileName(), path))
            windows.append(window);
    return windows;
}

DocumentWindow::DocumentWindow(const char *kindId, QWidget *parent)
    : ChildWindow(parent), m_kind(KindRegistry::instance().find(QString::fromLatin1(kindId))),
      m_undo(new QUndoStack(this))
{
    Q_ASSERT_X(m_kind, "DocumentWindow", kindId);
    setWindowTitle(QStringLiteral("Untitled") + m_kind->captionSuffix);
    connect(m_undo, &QUndoStack::indexChanged, this, &DocumentWindow::syncWithHistory);
    connect(m_undo, &QUndoStack::cleanChanged, this, &DocumentWindow::syncWithHistory);
}

DocumentWindow::~DocumentWindow()
{
    // The stack goes with the window's children, after this part of it: it must not
    // call back then.
    m_undo->disconnect(this);
}

void DocumentWindow::setModified(bool modified)
{
    settleEdit();
    m_modified = modified;
    // The flag and the history agree: undoing back to a clean record clears it, and a
    // record that is modified from the start has no clean state to go back to.
    if (modified)
        m_undo->resetClean();
    else
        m_undo->setClean();
    keepRecoveryCopy();
}

void DocumentWindow::recordEdit(const QString &step, bool typing)
{
    // Values put back by undo or a load are no edit of their own.
    if (m_applying)
        return;
    m_modified = true;
    if (!m_pending) {
        m_pending = true;
        m_pendingStep = step;
        m_pendingTyping = typing;
        // Settled once the command is done, so all it changes is one step.
        QTimer::singleShot(0, this, &DocumentWindow::settleEdit);
        updateUndoCommands();
    }
    keepRecoveryCopy();
    emit recordChanged();
}

void DocumentWindow::keepRecoveryCopy()
{
    if (!m_modified) {
        dropRecoveryCopy();
        return;
    }
    if (!RecoveryStore::active())
        return;
    if (!m_recoveryTimer) {
        m_recoveryTimer = new QTimer(this);
        m_recoveryTimer->setSingleShot(true);
        connect(m_recoveryTimer, &QTimer::timeout, this, &DocumentWindow::writeRecoveryCopy);
    }
    // Not restarted by every key: a breeder typing on and on still has a copy at most
    // this long after any edit.
    constexpr int CopyDelayMs = 1000;
    if (!m_recoveryTimer->isActive())
        m_recoveryTimer->start(CopyDelayMs);
}

void DocumentWindow::writeRecoveryCopy()
{
    RecoveryStore *store = RecoveryStore::active();
    if (!store || !m_modified)
        return;
    try {
        const LineFile lines = recordLines();
        if (m_recoveryName.isEmpty())
            m_recoveryName = store->newName();
        store->save(m_recoveryName, m_kind->id, m_fileName, lines);
    } catch (const RecordError &) {
        // A value no file can store yet (Save would say so): the last copy stays.
    }
}

void DocumentWindow::dropRecoveryCopy()
{
    if (m_recoveryTimer)
        m_recoveryTimer->stop();
    if (m_recoveryName.isEmpty())
        return;
    if (RecoveryStore *store = RecoveryStore::active())
        store->remove(m_recoveryName);
    m_recoveryName.clear();
}

void DocumentWindow::buildMenus(const QString &saveAsCaption, const QList<QMenu *> &ownMenus)
{
    auto *file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("File"));
    const auto command = [&](const char *name, const QString &caption, const QKeySequence &shortcut, auto method) {
        QAction *action = file->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, method] { runCommand(this, [&] { (this->*method)(); }); });
        return action;
    };
    const QString id = m_kind->id;
    QAction *fileNew = file->addAction(QStringLiteral("&New"));
    fileNew->setObjectName(QStringLiteral("FileNew"));
    fileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(fileNew, &QAction::triggered, this,
            [this, id] { runCommand(this, [&] { KindRegistry::instance().newWindow(id); }); });
    command("FileOpen", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &DocumentWindow::FileOpenClick);
    if (Frame *frame = Frame::instance())
        file->addMenu(frame->recentFilesMenu(QStringLiteral("RecentFiles"), this));
    file->addSeparator();
    command("FileSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &DocumentWindow::FileSaveClick);
    command("FileSaveAs", saveAsCaption, {}, &DocumentWindow::FileSaveAsClick);
    file->addSeparator();
    const int before = int(file->actions().size());
    addFileCommands(file);
    if (file->actions().size() > before)
        file->addSeparator();
    command("FileQuit", QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_W), &DocumentWindow::FileQuitClick);
    // Undo and Redo head the window's Edit menu; a window without one gets one.
    QList<QMenu *> menus = ownMenus;
    QMenu *edit = nullptr;
    for (QMenu *menu : menus)
        if (!edit && menu->objectName().startsWith(QStringLiteral("Edit")))
            edit = menu;
    if (!edit) {
        edit = new QMenu(QStringLiteral("&Edit"), this);
        edit->setObjectName(QStringLiteral("Edit1"));
        menus.prepend(edit);
    }
    addUndoCommands(edit);
    setMenus(QList<QMenu *>{file} + menus);
}

std::optional<QString> DocumentWindow::chooseFileOf(const char *kindId)
{
    std::optional<QString> path =
        Platform::instance().openFileName(this, KindRegistry::dialogOf(kindId, QStringLiteral("Open")));
    if (path)
        requireStorableLink(*path);
    return path;
}

bool DocumentWindow::confirmOverwrite()
{
    return Platform::instance().ask(this, QStringLiteral("This will overwrite existing values. Continue?"),
                                    Platform::Buttons::OkCancel) == Platform::Answer::Ok;
}

void DocumentWindow::setHandOff(QObject *receiver, KindRegistry::HandOff handOff)
{
    m_handOffReceiver = receiver;
    m_handOff = std::move(handOff);
}

void DocumentWindow::bindTo(const QString &path)
{
    m_fileName = path;
    setWindowTitle(fileNamePart(path) + m_kind->captionSuffix);
}

void DocumentWindow::loadFile(const QString &path)
{
    // Everything that can fail for a reason in the file happens here, before the
    // window changes.
    PreparedLoad load = prepareLoad(LineFile::read(path), path);

    const QString oldName = m_fileName;
    const QString oldTitle = windowTitle();
    const bool oldModified = m_modified;
    const std::function<void()> restore = keepState();
    try {
        aboutToShowLoad();
        bindTo(path);
        m_applying = true;
        load.show();
        m_applying = false;
        m_modified = false;
    } catch (...) {
        // Whatever stopped the showing (memory, a picture), a half-loaded window must
        // not be saved over the good file: put everything back as it was.
        try {
            restore();
        } catch (...) {
        }
        m_applying = false;
        m_fileName = oldName;
        setWindowTitle(oldTitle);
        m_modified = oldModified;
        throw;
    }
    dropRecoveryCopy();
    // A load starts a new history: undo never goes back into another file.
    startHistory();
    emit recordChanged();
    emit fileUsed(path);
    reportPictureProblems(load.problems);
}

void DocumentWindow::restoreRecovered(const LineFile &lines, const QString &file)
{
    PreparedLoad load = prepareLoad(lines, file);
    aboutToShowLoad();
    if (!file.isEmpty())
        bindTo(file);
    {
        m_applying = true;
        struct Done
        {
            bool &applying;
            ~Done() { applying = false; }
        } done{m_applying};
        load.show();
    }
    startHistory();
    setModified(true);
    emit recordChanged();
    reportPictureProblems(load.problems);
}

void DocumentWindow::saveFile(const QString &path)
{
    const LineFile lines = linesToSave(path);
    lines.write(path);
    bindTo(path);
    setModified(false);
    saved();
    emit fileUsed(path);
    // Typed text is checked as it is entered; a path or a font name chosen elsewhere
    // may still hold a character the file cannot store. It was written as "?".
    const QList<int> replaced = lines.unencodableLines();
    if (replaced.isEmpty())
        return;
    QStringList names;
    for (int line : replaced)
        names.append(lineName(line));
    Platform::instance().ask(this,
                             QStringLiteral("The record was saved, but some characters cannot be stored in a record "
                                            "file and were written as \"?\" in: %1.")
                                 .arg(excerpt(names.join(QStringLiteral(", ")), 400)),
                             Platform::Buttons::Ok);
}

LineFile DocumentWindow::linesToSave(const QString &path) const
{
    Q_UNUSED(path);
    return recordLines();
}

QString DocumentWindow::lineName(int line) const
{
    return QStringLiteral("line %1").arg(line + 1);
}

void DocumentWindow::FileOpenClick()
{
    const std::optional<QString> path = Platform::instance().openFileName(this, m_kind->dialog(QStringLiteral("Open")));
    if (!path)
        return;
    // A window captioned "Untitled" with nothing typed in it takes the file itself.
    if (windowTitle() == QStringLiteral("Untitled") + m_kind->captionSuffix && !m_modified)
        loadFile(*path);
    else
        KindRegistry::instance().openFile(m_kind->id, *path);
}

bool DocumentWindow::FileSaveClick()
{
    if (m_fileName.isEmpty())
        return FileSaveAsClick();
    saveFile(m_fileName);
    return true;
}

bool DocumentWindow::FileSaveAsClick()
{
    return saveAs(false);
}

bool DocumentWindow::saveAsLinkTarget()
{
    return saveAs(true);
}

bool DocumentWindow::saveAs(bool asLinkTarget)
{
    const std::optional<QString> path = chooseSavePath(m_kind->dialog(QStringLiteral("Save As")));
    if (!path)
        return false;
    // Refused before it is written: a file nothing can link to would only be in the way.
    if (asLinkTarget)
        requireStorableLink(*path);
    saveFile(*path);
    return true;
}

std::optional<QString> DocumentWindow::chooseSavePath(const FileDialogSpec &request)
{
    for (;;) {
        const std::optional<QString> path = Platform::instance().saveFileName(this, request);
        if (!path)
            return std::nullopt;
        if (fileExists(*path)) {
            switch (Platform::instance().ask(this, QStringLiteral("That file already exists. Overwrite?"),
                                             Platform::Buttons::YesNoCancel)) {
            case Platform::Answer::Yes:
                break;
            case Platform::Answer::No:
                continue;
            default:
                return std::nullopt;
            }
        }
        return path;
    }
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    if (m_modified) {
        const auto answer = Platform::instance().ask(this, QStringLiteral("Unsaved work will be lost. Save changes?"),
                                                     Platform::Buttons::YesNoCancel);
        if (answer == Platform::Answer::Cancel) {
            event->ignore();
            return;
        }
        if (answer == Platform::Answer::Yes) {
            // A save that was cancelled or failed keeps the window and its changes.
            bool saved = false;
            runCommand(this, [&] { saved = FileSaveClick(); });
            if (!saved) {
                event->ignore();
                return;
            }
        }
    }
    dropRecoveryCopy();
    runCommand(this, [this] {
        formClose();
        // An unsaved record, or one not started for a position, has nothing to hand back.
        if (m_handOffReceiver && m_handOff && m_positionCode != 0 && !m_fileName.isEmpty())
            m_handOff(m_fileName, m_positionCode);
    });
    ChildWindow::closeEvent(event);
}

void DocumentWindow::reportPictureProblems(const QStringList &problems)
{
    if (problems.isEmpty())
        return;
    Platform::instance().showError(this,
                                   QStringLiteral("The record was loaded, but a picture could not be shown:\n\n%1\n\n"
                                                  "Its file path is kept and will be saved unchanged.")
                                       .arg(problems.join(u'\n')));
}

void DocumentWindow::reportLinks(const LinkContext &context) const
{
    const QString message = context.message();
    Frame *frame = Frame::instance();
    if (message.isEmpty() || !frame)
        return;
    // Long enough to read; it is about this command only.
    constexpr int ShownMs = 30000;
    frame->showStatus(message, ShownMs);
}

DocumentWindow *DocumentWindow::openLink(const QString &kindId, const QString &stored)
{
    LinkContext context = linkContext();
    DocumentWindow *opened = KindRegistry::instance().openFile(kindId, context.pathOf(stored));
    reportLinks(context);
    return opened;
}
