#include "frame/BigBadParent.h"

#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "frame/AboutPopUp.h"
#include "shell/ChildWindow.h"
#include "shell/CommandGuard.h"
#include "shell/DocumentWindow.h"
#include "frame/HelpWindow.h"
#include "shell/KindRegistry.h"
#include "frame/PreferencesDialog.h"
#include "frame/RecentFiles.h"
#include "frame/RecentFilesMenu.h"
#include "frame/StartPanel.h"

#include <QChildEvent>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <algorithm>

TBigBadParent::TBigBadParent()
{
    setObjectName(QStringLiteral("BigBadParent"));
    setWindowTitle(QStringLiteral("Rabbit Hutchlore"));
    resize(1032, 748);
    WindowRegistry::setNewest(this);
    Frame::setNewest(this);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setBackground(QColor(128, 128, 128));
    setCentralWidget(m_mdi);
    installHelpKey(this);
    menuBar()->setObjectName(QStringLiteral("ParentMenu"));

    auto *file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("MMFile"));
    QAction *open = file->addAction(QStringLiteral("&Open"));
    open->setObjectName(QStringLiteral("MMOpen"));
    // The start panel names the key; a document window's own Open has it too.
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connectCommand(open, &QAction::triggered, this, &TBigBadParent::MMOpenClick);
    file->addMenu(new RecentFilesMenu(QStringLiteral("MMRecentFiles"), this));
    QAction *preferences = file->addAction(QStringLiteral("&Preferences..."));
    preferences->setObjectName(QStringLiteral("MMPreferences"));
    connectCommand(preferences, &QAction::triggered, this, &TBigBadParent::MMPreferencesClick);
    file->addSeparator();
    QAction *exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("MMExit"));
    connectCommand(exit, &QAction::triggered, this, &TBigBadParent::MMExitClick);

    m_ownMenus = {file};
    m_ownMenus += sharedMenus(this);
    showMenusOf(nullptr);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, &TBigBadParent::showMenusOf);

    // The start panel lies on the empty area; the frame follows the windows that come
    // and go there to know when it is empty.
    m_start = new StartPanel(this, m_mdi->viewport());
    m_mdi->viewport()->installEventFilter(this);
    updateStartPanel();
}

TBigBadParent::~TBigBadParent()
{
    // The frame's children go before QWidget's destructor is done; no menu swaps then,
    // and no start panel to show.
    disconnect(m_mdi, nullptr, this, nullptr);
    m_mdi->viewport()->removeEventFilter(this);
    for (QMdiSubWindow *window : m_mdi->subWindowList())
        window->removeEventFilter(this);
    m_start = nullptr;
}

TBigBadParent *TBigBadParent::instance()
{
    return WindowRegistry::newest<TBigBadParent>();
}

QList<QMenu *> TBigBadParent::sharedMenus(QWidget *owner)
{
    const bool inMain = owner == this;
    auto *tools = new QMenu(QStringLiteral("&Tools"), owner);
    tools->setObjectName(inMain ? QStringLiteral("MMTools") : QStringLiteral("Tools"));
    for (const WindowKind &kind : KindRegistry::instance().kinds()) {
        if (kind.separatorBefore)
            tools->addSeparator();
        QAction *action = tools->addAction(kind.toolCaption);
        action->setObjectName(inMain ? kind.mainToolName : kind.documentToolName);
        if (kind.toolKey != Qt::Key_unknown)
            action->setShortcut(QKeySequence(Qt::CTRL | kind.toolKey));
        action->setEnabled(kind.isAvailable());
        const QString id = kind.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(this, [&] { runTool(id); }); });
    }
    if (!inMain) {
        // A window's own menus stand in for the frame's File menu while it is active:
        // the preferences stay one click away.
        tools->addSeparator();
        QAction *preferences = tools->addAction(QStringLiteral("&Preferences..."));
        preferences->setObjectName(QStringLiteral("ToolsPreferences"));
        connectCommand(preferences, &QAction::triggered, this, &TBigBadParent::MMPreferencesClick);
    }

    auto *window = new QMenu(QStringLiteral("&Window"), owner);
    window->setObjectName(QStringLiteral("Window1"));
    QAction *cascade = window->addAction(QStringLiteral("&Cascade"));
    cascade->setObjectName(QStringLiteral("WindowCascade"));
    connectCommand(cascade, &QAction::triggered, this, &TBigBadParent::MMCascadeClick);

    auto *help = new QMenu(inMain ? QStringLiteral("&Help") : QStringLiteral("Help"), owner);
    help->setObjectName(inMain ? QStringLiteral("MMHelp") : QStringLiteral("Help"));
    QAction *contents = help->addAction(QStringLiteral("&Hutchlore Help"));
    contents->setObjectName(inMain ? QStringLiteral("MMHutchloreHelp") : QStringLiteral("HelpContents"));
    connectCommand(contents, &QAction::triggered, this, &TBigBadParent::MMHutchloreHelpClick);
    QAction *about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(inMain ? QStringLiteral("MMAbout") : QStringLiteral("About"));
    connectCommand(about, &QAction::triggered, this, &TBigBadParent::MMAboutClick);
    return {tools, window, help};
}

QWidget *TBigBadParent::runTool(const QString &kindId)
{
    return KindRegistry::instance().newWindow(kindId);
}

void TBigBadParent::adopt(QMdiSubWindow *window)
{
    if (auto *document = qobject_cast<DocumentWindow *>(window))
        connect(document, &DocumentWindow::fileUsed, this, [](const QString &path) { RecentFiles::add(path); });
    m_mdi->addSubWindow(window);
    WindowRegistry::setNewest(QString::fromLatin1(window->metaObject()->className()), window);
    window->show();
    m_mdi->setActiveSubWindow(window);
}

QMenu *TBigBadParent::recentFilesMenu(const QString &objectName, QWidget *owner)
{
    return new RecentFilesMenu(objectName, owner);
}

void TBigBadParent::showStatus(const QString &message, int ms)
{
    statusBar()->showMessage(message, ms);
}

void TBigBadParent::showHelpContents(QWidget *parent)
{
    ::showHelpContents(parent);
}

bool TBigBadParent::eventFilter(QObject *watched, QEvent *event)
{
    if (m_start && watched == m_mdi->viewport()) {
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (auto *window = qobject_cast<QMdiSubWindow *>(static_cast<QChildEvent *>(event)->child()))
                window->installEventFilter(this);
            updateStartPanel();
            break;
        case QEvent::ChildRemoved:
        case QEvent::Resize:
            updateStartPanel();
            break;
        default:
            break;
        }
    } else if (m_start && (event->type() == QEvent::Show || event->type() == QEvent::Hide) &&
               qobject_cast<QMdiSubWindow *>(watched)) {
        updateStartPanel();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TBigBadParent::updateStartPanel()
{
    const QList<QMdiSubWindow *> windows = m_mdi->subWindowList();
    const bool anyOpen =
        std::any_of(windows.cbegin(), windows.cend(), [](const QMdiSubWindow *window) { return !window->isHidden(); });
    if (anyOpen) {
        m_start->hide();
        return;
    }
    if (m_start->isHidden()) {
        // Files opened or saved since it last showed.
        m_start->refresh();
        m_start->show();
    }
    const QSize room = m_mdi->viewport()->size();
    const QSize size = m_start->sizeHint();
    m_start->resize(size);
    m_start->move(std::max(0, (room.width() - size.width()) / 2), std::max(0, (room.height() - size.height()) / 3));
}

void TBigBadParent::showMenusOf(QMdiSubWindow *window)
{
    // Record windows and tool windows alike bring their own menus.
    const auto *child = qobject_cast<const ChildWindow *>(window);
    const QList<QMenu *> &menus = child && !child->menus().isEmpty() ? child->menus() : m_ownMenus;
    QMenuBar *bar = menuBar();
    bar->clear();
    for (QMenu *menu : menus)
        bar->addMenu(menu);
}

void TBigBadParent::MMOpenClick()
{
    FileDialogSpec request;
    request.filter = KindRegistry::instance().openFilter();
    request.title = QStringLiteral("Open");
    const std::optional<QString> path = Platform::instance().openFileName(this, request);
    if (path)
        openByExtension(*path);
}

void TBigBadParent::openByExtension(const QString &path)
{
    DocumentWindow *window = KindRegistry::instance().openByExtension(path);
    if (window && window->kind().openedFromMenu)
        window->kind().openedFromMenu(window);
}

void TBigBadParent::MMExitClick()
{
    // Exit asks about unsaved work, as closing the frame does.
    close();
}

void TBigBadParent::closeEvent(QCloseEvent *event)
{
    for (QMdiSubWindow *window : m_mdi->subWindowList(QMdiArea::StackingOrder)) {
        if (!window->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void TBigBadParent::MMCascadeClick()
{
    m_mdi->cascadeSubWindows();
}

void TBigBadParent::MMHutchloreHelpClick()
{
    Platform::instance().openHelpContents(this);
}

void TBigBadParent::MMPreferencesClick()
{
    // The rabbitry kind's own dialog, when the program has that kind.
    const WindowKind *rabbitry = KindRegistry::instance().byExtension(QStringLiteral(".rbty"));
    const FileDialogSpec request = rabbitry ? rabbitry->dialog(QStringLiteral("My Rabbitry File"))
                                            : FileDialogSpec{QStringLiteral("Rabbitries (*.rbty)|*.rbty"),
                                                             QStringLiteral("rbty"), QStringLiteral("My Rabbitry File")};
    PreferencesDialog dialog(request, this);
    dialog.exec();
}

void TBigBadParent::MMAboutClick()
{
    TAboutPopUp::instance()->exec();
}
