#pragma once

// Real input for window tests: a click lands where the breeder's mouse would, a key
// goes to the widget that has the focus, a sub-window closes the way its close button
// closes it, and a modal dialog runs its own event loop while the test answers it.
// A test that calls a handler directly skips all of that and cannot see a click that
// never arrives; every command gets at least one test through these.

#include <QModelIndex>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <Qt>
#include <functional>

class QAbstractItemView;
class QAbstractButton;
class QAction;
class QLabel;
class QTextBrowser;
class QDialog;
class QMdiSubWindow;
class QWidget;

namespace Input {

// Brings the widget's top-level window to the front and waits until it is active.
// Fails (returns false) when a modal widget other than the window's own would block it.
bool activate(QWidget *widget);

// Whether a shown modal widget keeps input from `widget`'s window, as the toolkit
// decides it: an application-modal one blocks every other window, a window-modal one
// the windows it belongs to. Input sent to `widget` would then be swallowed, as it is
// for a breeder.
bool blockedByModal(const QWidget *widget);
// The modal widget that blocks `widget`, or null.
QWidget *modalBlocking(const QWidget *widget);

// Scrolls the item into view and clicks the centre of its rectangle on the viewport.
void clickItem(QAbstractItemView *view, const QModelIndex &index,
               Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {});
void clickRow(QAbstractItemView *view, int row, int column = 0,
              Qt::MouseButton button = Qt::LeftButton);
void doubleClickItem(QAbstractItemView *view, const QModelIndex &index);
void doubleClickRow(QAbstractItemView *view, int row, int column = 0);

// Clicks a button with the mouse (it must be visible and enabled for that to work).
void click(QAbstractButton *button);
// Clicks the link to `href` on the page the text browser shows; fails the test when
// there is none.
void clickLink(QTextBrowser *browser, const QString &href);
// Clicks the middle of `text`, the start of the label's text (a link it shows).
void clickText(QLabel *label, const QString &text);

// Clicks where `widget` shows, through its top-level window as the mouse does: the
// widget on top at that point gets the click. A scroll area is scrolled to show the
// widget first, as the breeder would. Fails the test, clicking nothing, when another
// widget covers the point, the point lies outside what its window shows, or a pop-up
// menu or a modal dialog would take the click. `at` is in the widget's coordinates,
// its centre when null.
void clickOn(QWidget *widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {});
void doubleClickOn(QWidget *widget, QPoint at = {});
// Presses the left button at `from`, moves to `to` and releases there (widget
// coordinates), through the window, so the widget pressed on follows the mouse.
void drag(QWidget *widget, QPoint from, QPoint to);

// Clicks the entry of the pop-up menu that is open (a right-click opened it) named
// `action` (its object name, or its text without "&"), opening the submenu that
// holds it first; "Sub/Entry" opens the submenu Sub before looking for Entry, for a
// menu filled as it opens. Fails when no menu is open or the entry is not shown and
// enabled there.
void chooseFromPopup(const char *action);
// Makes the sub-window holding `widget` (if any) the active one, opens the menu whose
// object name is `menu` (null: the menu that holds `action`) on the menu bar of its
// window with the mouse and chooses its entry `action` as chooseFromPopup does.
void chooseFromMenuBar(QWidget *widget, const char *menu, const char *action);

// Gives `widget` the focus as a click would and presses the key there, as a
// shortcut is pressed. Fails when a modal widget would swallow the key.
void keyOn(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

// Gives `widget` the keyboard focus as a click would, then the keys go to
// QApplication::focusWidget(): with an editable combo box that is the box, which hands
// the keys on to its line edit itself.
void focus(QWidget *widget);
// Presses the key on the widget that has the focus (an open pop-up menu takes the
// keys first); fails the test when none has it.
void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
// Types the text, a key per character, on the widget that has the focus (any Unicode
// character outside a surrogate pair).
void type(const QString &text);
// The widget that has the focus now (the target of key() and type()).
QWidget *focused();

// Closes the sub-window through QMdiSubWindow::close(), as its title-bar button does,
// and lets the deferred deletes run.
bool closeSubWindow(QMdiSubWindow *window);
// The sub-window that holds `widget` (the widget itself when it is one).
QMdiSubWindow *subWindowOf(QWidget *widget);

// Runs `open` (which is expected to open a modal widget and block in its exec()) and,
// once the modal widget is up, calls `answer` with it from a timer inside that event
// loop. Returns false when no modal widget appeared within the timeout; then the
// `answer` was never called (and `open` has returned on its own).
bool whileModal(const std::function<void()> &open, const std::function<void(QWidget *modal)> &answer,
                int timeoutMs = 5000);

} // namespace Input
