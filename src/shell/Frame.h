#pragma once

#include <QList>
#include <QString>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QObject;
class QWidget;

// What the record windows need of the window that holds them: a place to live, the
// shared menus, a status line and the help. The program's main window provides it;
// the windows know it only through here, so they can be built and tested without it
// knowing them back.
class Frame
{
public:
    // The newest frame, or null (none made yet, or it is being torn down).
    static Frame *instance();

    // The area the record windows live in.
    virtual QMdiArea *mdiArea() const = 0;
    // Makes a window a document of this frame, shows and activates it. A document
    // window's fileUsed signal is followed from then on (the recent files).
    virtual void adopt(QMdiSubWindow *window) = 0;
    // The Tools, Window and Help menus for a window's menu bar, owned by `owner`.
    virtual QList<QMenu *> sharedMenus(QWidget *owner) = 0;
    // File > Recent Files for a window's own File menu.
    virtual QMenu *recentFilesMenu(const QString &objectName, QWidget *owner) = 0;
    // A message on the status line, for `ms` milliseconds.
    virtual void showStatus(const QString &message, int ms) = 0;
    // The help's contents page.
    virtual void showHelpContents(QWidget *parent) = 0;

protected:
    Frame() = default;
    virtual ~Frame() = default;
    // The frame `window` (which is this frame) becomes the newest.
    static void setNewest(QObject *window);
};
