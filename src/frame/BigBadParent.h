#pragma once

#include "shell/Frame.h"

#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class StartPanel;

// The main window: a multi-document frame that holds the record windows. Its menu
// handlers are the program's shared commands; document windows call them from their
// own Tools, Window and Help menus.
class TBigBadParent : public QMainWindow, public Frame
{
    Q_OBJECT
public:
    TBigBadParent();
    ~TBigBadParent() override;

    // The newest main window, or null.
    static TBigBadParent *instance();
    QMdiArea *mdiArea() const override { return m_mdi; }
    // Also registers the window as the newest of its class.
    void adopt(QMdiSubWindow *window) override;

    // A new window of a registered kind; null when it is not available.
    QWidget *runTool(const QString &kindId);

    QList<QMenu *> sharedMenus(QWidget *owner) override;
    QMenu *recentFilesMenu(const QString &objectName, QWidget *owner) override;
    void showStatus(const QString &message, int ms) override;
    void showHelpContents(QWidget *parent) override;

    // Shared commands.
    void MMOpenClick();
    void MMExitClick();
    void MMCascadeClick();
    void MMHutchloreHelpClick();
    void MMAboutClick();
    // File > Preferences: "My rabbitry file".
    void MMPreferencesClick();

    // Shown while no window is open.
    StartPanel *startPanel() const { return m_start; }

    // Opens a record file by its extension; any other extension does nothing.
    void openByExtension(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMenusOf(QMdiSubWindow *window);
    // Shows the start panel, centred, while no window is open; hides it otherwise.
    void updateStartPanel();

    QMdiArea *m_mdi;
    QList<QMenu *> m_ownMenus;
    StartPanel *m_start = nullptr;
};
