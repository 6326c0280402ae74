#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The main window: a multi-document frame that holds the record windows. Its menu
// handlers are the program's shared commands; document windows call them from their
// own Tools, Window and Help menus.
class TBigBadParent : public QMainWindow
{
    Q_OBJECT
public:
    enum class Tool { Pedigree, RabbitEditor, Breeding, ShowRecord, Genetics, FindFiles, MyRabbitry };
    using Creator = std::function<QWidget *()>;
    using Opener = std::function<void(const QString &path)>;

    TBigBadParent();
    ~TBigBadParent() override;

    // The newest main window, or null.
    static TBigBadParent *instance();
    // A new window from a tool of the newest main window; null when there is none.
    template <typename T> static T *newWindow(Tool tool)
    {
        TBigBadParent *frame = instance();
        return frame ? qobject_cast<T *>(frame->runTool(tool)) : nullptr;
    }

    QMdiArea *mdiArea() const { return m_mdi; }
    // Makes a window a document of this frame, shows it and registers it as the
    // newest of its class.
    void adopt(QMdiSubWindow *window);

    // Each tool and each file extension is served by the window kind that owns it.
    void registerTool(Tool tool, Creator creator);
    void registerExtension(const QString &extension, Opener opener);
    QWidget *runTool(Tool tool);

    // The Tools, Window and Help menus for a document window's menu bar.
    QList<QMenu *> sharedMenus(QWidget *owner);

    // Shared commands.
    void MMOpenClick();
    void MMExitClick();
    void MMPedigreeClick() { runTool(Tool::Pedigree); }
    void MMRabbitEditorClick() { runTool(Tool::RabbitEditor); }
    void MMBreedingClick() { runTool(Tool::Breeding); }
    void MMShowRecordClick() { runTool(Tool::ShowRecord); }
    void MMGeneticsClick() { runTool(Tool::Genetics); }
    void FindFilesClick() { runTool(Tool::FindFiles); }
    void MMMyRabbitryClick() { runTool(Tool::MyRabbitry); }
    void MMCascadeClick();
    void MMHutchloreHelpClick();
    void MMAboutClick();

    // Opens a record file by its extension; any other extension does nothing.
    void openByExtension(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showMenusOf(QMdiSubWindow *window);
    void refreshToolStates();

    QMdiArea *m_mdi;
    QList<QMenu *> m_ownMenus;
    QHash<Tool, Creator> m_tools;
    QHash<QString, Opener> m_openers;
    QHash<Tool, QList<QPointer<QAction>>> m_toolActions;
};
