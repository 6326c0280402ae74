#include "shell/BigBadParent.h"

#include "records/LineFile.h"
#include "records/WindowRegistry.h"
#include "shell/AboutPopUp.h"
#include "shell/ChildMenus.h"
#include "shell/CommandGuard.h"
#include "shell/DocumentKinds.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

struct ToolEntry
{
    TBigBadParent::Tool tool;
    const char *mainName;     // entry name in the main window
    const char *documentName; // entry name in a document window
    const char *caption;
    Qt::Key key;
};

constexpr ToolEntry toolEntries[] = {
    {TBigBadParent::Tool::Pedigree, "MMPedigree", "RunHutchlore", "&Hutchlore", Qt::Key_E},
    {TBigBadParent::Tool::RabbitEditor, "MMRabbitEditor", "RabbitEditor", "&Rabbit Editor", Qt::Key_R},
    {TBigBadParent::Tool::Breeding, "MMBreeding", "BreedingRecord1", "&Breeding Records", Qt::Key_B},
    {TBigBadParent::Tool::ShowRecord, "MMShowRecord", "ShowRecords1", "&Show Records", Qt::Key_H},
    {TBigBadParent::Tool::Genetics, "MMGenetics", "ColorGenetics1", "&Color Genetics", Qt::Key_G},
    {TBigBadParent::Tool::FindFiles, "FindFiles", "FindInFiles", "&Find in Files", Qt::Key_F},
    {TBigBadParent::Tool::MyRabbitry, "MMMyRabbitry", "MyRabbitry1", "&My Rabbitry", Qt::Key_M},
};

} // namespace

TBigBadParent::TBigBadParent()
{
    setObjectName(QStringLiteral("BigBadParent"));
    setWindowTitle(QStringLiteral("Rabbit Hutchlore"));
    resize(1032, 748);
    WindowRegistry::setNewest(this);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("ClientArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setBackground(QColor(128, 128, 128));
    setCentralWidget(m_mdi);
    menuBar()->setObjectName(QStringLiteral("ParentMenu"));

    auto *file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("MMFile"));
    QAction *open = file->addAction(QStringLiteral("&Open"));
    open->setObjectName(QStringLiteral("MMOpen"));
    connectCommand(open, &QAction::triggered, this, &TBigBadParent::MMOpenClick);
    file->addSeparator();
    QAction *exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("MMExit"));
    connectCommand(exit, &QAction::triggered, this, &TBigBadParent::MMExitClick);

    m_ownMenus = {file};
    m_ownMenus += sharedMenus(this);
    showMenusOf(nullptr);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, &TBigBadParent::showMenusOf);
    registerDocumentKinds(*this);
}

TBigBadParent::~TBigBadParent()
{
    // The frame's children go before QWidget's destructor is done; no menu swaps then.
    disconnect(m_mdi, nullptr, this, nullptr);
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
    for (const ToolEntry &entry : toolEntries) {
        if (entry.tool == Tool::FindFiles)
            tools->addSeparator();
        QAction *action = tools->addAction(QString::fromLatin1(entry.caption));
        action->setObjectName(QString::fromLatin1(inMain ? entry.mainName : entry.documentName));
        action->setShortcut(QKeySequence(Qt::CTRL | entry.key));
        action->setEnabled(m_tools.contains(entry.tool));
        const Tool tool = entry.tool;
        connect(action, &QAction::triggered, this, [this, tool] { runCommand(this, [&] { runTool(tool); }); });
        QList<QPointer<QAction>> &known = m_toolActions[tool];
        known.removeIf([](const QPointer<QAction> &a) { return a.isNull(); });
        known.append(action);
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

void TBigBadParent::registerTool(Tool tool, Creator creator)
{
    m_tools.insert(tool, std::move(creator));
    refreshToolStates();
}

void TBigBadParent::registerExtension(const QString &extension, Opener opener)
{
    m_openers.insert(extension, std::move(opener));
}

void TBigBadParent::refreshToolStates()
{
    for (auto it = m_toolActions.begin(); it != m_toolActions.end(); ++it) {
        // Entries of closed windows' menus are gone; drop them as we go.
        it->removeIf([](const QPointer<QAction> &a) { return a.isNull(); });
        for (const QPointer<QAction> &action : *it)
            action->setEnabled(m_tools.contains(it.key()));
    }
}

QWidget *TBigBadParent::runTool(Tool tool)
{
    const auto it = m_tools.constFind(tool);
    if (it == m_tools.constEnd())
        return nullptr;
    return (*it)();
}

void TBigBadParent::adopt(QMdiSubWindow *window)
{
    m_mdi->addSubWindow(window);
    WindowRegistry::setNewest(QString::fromLatin1(window->metaObject()->className()), window);
    window->show();
    m_mdi->setActiveSubWindow(window);
}

void TBigBadParent::showMenusOf(QMdiSubWindow *window)
{
    // Record windows and tool windows alike bring their own menus.
    const auto *child = dynamic_cast<const ChildMenus *>(window);
    const QList<QMenu *> &menus = child && !child->menus().isEmpty() ? child->menus() : m_ownMenus;
    QMenuBar *bar = menuBar();
    bar->clear();
    for (QMenu *menu : menus)
        bar->addMenu(menu);
}

void TBigBadParent::MMOpenClick()
{
    FileDialogSpec request;
    request.filter = QStringLiteral(
        "Rabbit Hutchlore Files (*.ped, *.rab, *.brd, *.shw)|*.ped; *.rab; *.brd; *.shw; *.rbty;|"
        "Pedigree Files (*.ped)|*.ped|Rabbit Editor Files (*.rab)|*.rab|Breeding Record Files (*.brd)|*.brd|"
        "Show Record Files (*.shw)|*.shw|Rabbitry Files (*.rbty)|*.rbty");
    request.title = QStringLiteral("Open");
    const std::optional<QString> path = Platform::instance().openFileName(this, request);
    if (path)
        openByExtension(*path);
}

void TBigBadParent::openByExtension(const QString &path)
{
    const auto it = m_openers.constFind(extensionOf(path));
    if (it != m_openers.constEnd())
        (*it)(path);
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

void TBigBadParent::MMAboutClick()
{
    TAboutPopUp::instance()->exec();
}
