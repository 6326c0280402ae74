#include "shell/ChildWindow.h"

#include "shell/Frame.h"

#include <QMenu>

namespace {

void collectKeys(const QMenu *menu, QList<QKeySequence> &keys)
{
    for (const QAction *action : menu->actions()) {
        keys += action->shortcuts();
        if (action->menu())
            collectKeys(action->menu(), keys);
    }
}

} // namespace

ChildWindow::ChildWindow(QWidget *parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

void ChildWindow::setMenus(const QList<QMenu *> &own)
{
    m_menus = own;
    if (Frame *frame = Frame::instance())
        m_menus += frame->sharedMenus(this);

    // The frame's system menu binds Ctrl+W (besides Ctrl+F4) to its Close. A key bound
    // there and in the window's own menus is ambiguous, and Qt then runs neither: the
    // window's own entries keep their keys.
    QList<QKeySequence> taken;
    for (const QMenu *menu : std::as_const(m_menus))
        collectKeys(menu, taken);
    if (QMenu *system = systemMenu()) {
        for (QAction *action : system->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeIf([&](const QKeySequence &key) { return taken.contains(key); }) > 0)
                action->setShortcuts(keys);
        }
    }
}
