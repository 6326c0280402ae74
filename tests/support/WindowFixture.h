#pragma once

#include "Input.h"
#include "ScriptedPlatform.h"

#include <QAction>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class QListWidget;
class TBigBadParent;
class TBreedingRecord;
class TMainScreen;
class TRabbitSheet;

// What a window test starts from: a shown main window, a scripted platform and a
// scratch folder, all fresh for each test function.
class WindowFixture
{
public:
    WindowFixture();
    ~WindowFixture();

    TBigBadParent &parent() const { return *m_parent; }
    ScriptedPlatform &platform() const { return *m_platform; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Copies tests/data/<relative> into the scratch folder; returns the copy's path.
    QString copyData(const QString &relative, const QString &name) const;
    // A new rabbit record with `values` in the scratch folder (see TestFiles::writeRabbit).
    QString rabbit(const QString &name, const QMap<int, QString> &values, int keep = -1) const;
    // How many windows the main window holds.
    int windows() const;
    // A new window from the main window's menu.
    TRabbitSheet *newRabbit() const;
    TMainScreen *newChart() const;
    TBreedingRecord *newBreeding() const;

    // Closed windows are deleted now, as when control returns to the event loop.
    static void deleteClosed();

    // Closes every window without questions and returns the errors shown meanwhile.
    QStringList finish();

private:
    QTemporaryDir m_dir;
    ScriptedPlatform::Installed m_platform;
    std::unique_ptr<TBigBadParent> m_parent;
};

// The start and clean-up every window test class shares: before each test function
// a fresh fixture (m_fx) with its main window shown; after it every window closed
// without questions, and the test fails on any error shown meanwhile. A class that
// starts more (a window, a settings file) declares its own init() or cleanup() and
// calls these from it.
class WindowTest : public QObject
{
    Q_OBJECT
protected:
    std::unique_ptr<WindowFixture> m_fx;

protected slots:
    // Protected, so Qt Test runs them as the special functions, never as tests.
    void initTestCase();
    void init();
    void cleanup();
};

// Triggers the window's action of that object name, without any input: for edge
// cases only, as it cannot see an entry or a key that never reaches the window.
inline void trigger(QObject *window, const char *action)
{
    window->findChild<QAction *>(action)->trigger();
}
// Clicks the label, types `text` over what the text panel shows (which must have
// the keyboard focus) and presses Enter.
void typeInto(QWidget *window, QWidget *label, const QString &text);
// Right-clicks the label and clicks the entry `action` of the menu that pops up.
void fromMenu(QObject *window, QWidget *label, const char *action);
// Presses a shortcut in the window with the focus where a click on its content puts
// it (for a sheet, its scroll area).
void press(QWidget *window, QKeyCombination key);
// The texts of a list's items, top to bottom.
QStringList itemTexts(const QListWidget *list);
// The window's sheet shows whole: neither scroll bar is visible.
bool showsWithoutScrollBars(QWidget *window);
// Whether `run` sets the window's unsaved-changes flag, cleared first.
template <typename Window, typename F> bool changes(Window *window, F run)
{
    window->setModified(false);
    run();
    return window->isModified();
}
