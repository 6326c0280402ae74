#pragma once

#include <QList>

class QMenu;

// An MDI child with a menu bar of its own. While such a child is the active window,
// the main window shows its menus in place of its own.
class ChildMenus
{
public:
    virtual ~ChildMenus() = default;
    virtual const QList<QMenu *> &menus() const = 0;
};
