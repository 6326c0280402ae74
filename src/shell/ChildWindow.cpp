#include "shell/ChildWindow.h"

#include "shell/BigBadParent.h"

ChildWindow::ChildWindow(QWidget *parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

void ChildWindow::setMenus(const QList<QMenu *> &own)
{
    m_menus = own;
    if (TBigBadParent *parent = TBigBadParent::instance())
        m_menus += parent->sharedMenus(this);
}
