#pragma once

#include <QList>
#include <QMdiSubWindow>

class QMenu;

// A window inside the main window's frame: the frame's title bar buttons, freed when
// closed, and a menu bar of its own that the main window shows while it is active.
// Record windows and tool windows (the colour calculator) alike.
class ChildWindow : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit ChildWindow(QWidget *parent = nullptr);

    const QList<QMenu *> &menus() const { return m_menus; }

protected:
    // The window's own menus; the shared Tools, Window and Help menus follow them.
    void setMenus(const QList<QMenu *> &own);

private:
    QList<QMenu *> m_menus;
};
