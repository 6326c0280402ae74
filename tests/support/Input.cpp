#include "Input.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QScrollArea>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

namespace Input {

namespace {

// The window that owns `window`: its parent's window, or the window it is transient for.
const QWidget *ownerOf(const QWidget *window)
{
    if (const QWidget *parent = window->parentWidget())
        return parent->window();
    if (const QWindow *handle = window->windowHandle())
        if (const QWindow *transient = handle->transientParent())
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->windowHandle() == transient)
                    return top;
    return nullptr;
}

// Whether `modal` (shown with its modality) keeps input from `window`, as the
// toolkit decides it: an application-modal widget blocks every window but its own and
// those it owns; a window-modal one blocks the windows of its owner chain.
bool blocks(const QWidget *modal, const QWidget *window)
{
    for (const QWidget *w = window; w; w = ownerOf(w))
        if (w == modal)
            return false;
    if (modal->windowModality() == Qt::ApplicationModal)
        return true;
    for (const QWidget *w = window; w; w = ownerOf(w))
        for (const QWidget *m = ownerOf(modal); m; m = ownerOf(m))
            if (m == w)
                return true;
    return false;
}

} // namespace

bool blockedByModal(const QWidget *widget)
{
    return modalBlocking(widget) != nullptr;
}

QWidget *modalBlocking(const QWidget *widget)
{
    if (!widget)
        return nullptr;
    const QWidget *window = widget->window();
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != window && top->isVisible() && top->windowModality() != Qt::NonModal && blocks(top, window))
            return top;
    return nullptr;
}

bool activate(QWidget *widget)
{
    if (blockedByModal(widget))
        return false;
    QWidget *top = widget->window();
    top->raise();
    top->activateWindow();
    QApplication::setActiveWindow(top);
    if (QMdiSubWindow *sub = subWindowOf(widget))
        if (QMdiArea *area = sub->mdiArea())
            area->setActiveSubWindow(sub);
    return QTest::qWaitForWindowActive(top, 2000);
}

namespace {

QString describe(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("nothing");
    const QString name = widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) +
           (name.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(name));
}

// Where the mouse goes for a click at `at` on `widget`: its top-level window and the
// point there. Empty (after failing the test) when the click would land elsewhere.
struct Spot
{
    QWindow *window = nullptr;
    QPoint point;
};

Spot spotOf(QWidget *widget, QPoint at)
{
    if (at.isNull())
        at = widget->rect().center();
    const QString what = describe(widget);
    if (!widget->isVisible()) {
        QTest::qFail(qPrintable(what + " is not shown"), __FILE__, __LINE__);
        return {};
    }
    if (blockedByModal(widget)) {
        QTest::qFail(qPrintable(what + " is blocked by " + describe(QApplication::activeModalWidget())), __FILE__,
                     __LINE__);
        return {};
    }
    QWidget *top = widget->window();
    if (QWidget *popup = QApplication::activePopupWidget(); popup && popup != top) {
        QTest::qFail(qPrintable(what + ": a pop-up menu is open over it"), __FILE__, __LINE__);
        return {};
    }
    // The window manager makes the clicked window the active one; inside it, the
    // click itself does the rest (a sub-window activates itself).
    if (QApplication::activeWindow() != top && top->windowType() != Qt::Popup) {
        top->activateWindow();
        QApplication::setActiveWindow(top);
        if (!QTest::qWaitForWindowActive(top, 2000)) {
            QTest::qFail(qPrintable(what + ": its window does not become active"), __FILE__, __LINE__);
            return {};
        }
    }
    // The breeder scrolls a sheet wider than its window to what they click.
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget())
        if (auto *scroll = qobject_cast<QScrollArea *>(w))
            scroll->ensureWidgetVisible(widget);
    const QPoint inTop = widget->mapTo(top, at);
    QWidget *under = top->rect().contains(inTop) ? top->childAt(inTop) : nullptr;
    if (!under && top->rect().contains(inTop))
        under = top;
    if (under != widget && !widget->isAncestorOf(under)) {
        QTest::qFail(qPrintable(QStringLiteral("a click on %1 reaches %2").arg(what, describe(under))), __FILE__,
                     __LINE__);
        return {};
    }
    return {top->windowHandle(), inTop};
}

// Clicks an entry of an open menu and waits for the submenu it opens, if any.
bool clickEntry(QMenu *menu, QAction *action)
{
    const QRect rect = menu->actionGeometry(action);
    if (!action->isVisible() || !action->isEnabled() || rect.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("the menu entry %1 is not offered").arg(action->objectName())), __FILE__,
                     __LINE__);
        return false;
    }
    // The entry's command may close the window that owns the menu.
    const QPointer<QMenu> sub = action->menu();
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {}, rect.center());
    if (sub) {
        // A submenu opens after a short delay, as it does under the mouse.
        if (!QTest::qWaitFor([sub] { return sub->isVisible(); })) {
            QTest::qFail(qPrintable(QStringLiteral("the submenu %1 did not open").arg(sub->objectName())), __FILE__,
                         __LINE__);
            return false;
        }
    }
    return true;
}

// An entry is named by its object name (a submenu's entry by the submenu's), or by
// its text without the "&" marks.
bool isNamed(const QAction *action, const QString &name)
{
    return action->objectName() == name || (action->menu() && action->menu()->objectName() == name) ||
           (!action->isSeparator() && QString(action->text()).remove(u'&') == name);
}

// The entries leading to `name` in `menu` and its submenus, the entry itself last.
bool pathTo(QMenu *menu, const QString &name, QList<QAction *> &path)
{
    for (QAction *action : menu->actions()) {
        if (isNamed(action, name) || (action->menu() && pathTo(action->menu(), name, path))) {
            path.prepend(action);
            return true;
        }
    }
    return false;
}

} // namespace

namespace {
// Fails the test when a modal widget would swallow input sent to `target`.
bool reachable(const QWidget *target)
{
    if (const QWidget *modal = modalBlocking(target)) {
        QTest::qFail(qPrintable(QStringLiteral("\"%1\" is blocked by the modal \"%2\"")
                                    .arg(target->window()->windowTitle(), modal->windowTitle())),
                     __FILE__, __LINE__);
        return false;
    }
    return true;
}
} // namespace

void clickItem(QAbstractItemView *view, const QModelIndex &index, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers)
{
    if (!reachable(view))
        return;
    view->scrollTo(index);
    QApplication::processEvents();
    const QRect rect = view->visualRect(index);
    QTest::mouseClick(view->viewport(), button, modifiers, rect.center());
}

void clickRow(QAbstractItemView *view, int row, int column, Qt::MouseButton button)
{
    clickItem(view, view->model()->index(row, column, view->rootIndex()), button);
}

void doubleClickItem(QAbstractItemView *view, const QModelIndex &index)
{
    if (!reachable(view))
        return;
    view->scrollTo(index);
    QApplication::processEvents();
    const QPoint centre = view->visualRect(index).center();
    // A real double-click: press, release, then a double-click event and a release.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
}

void doubleClickRow(QAbstractItemView *view, int row, int column)
{
    doubleClickItem(view, view->model()->index(row, column, view->rootIndex()));
}

void click(QAbstractButton *button)
{
    if (reachable(button))
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void clickLink(QTextBrowser *browser, const QString &href)
{
    QTextDocument *document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            QApplication::processEvents();
            const QRect at = browser->cursorRect(cursor);
            if (reachable(browser))
                QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at.center());
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no link to %1 on the page").arg(href)));
}

void clickText(QLabel *label, const QString &text)
{
    // A label's text starts at its left edge, past the margin and indent.
    const QRect contents = label->contentsRect();
    const QFontMetrics metrics(label->font());
    const int indent = qMax(label->indent(), 0) + label->margin();
    const QPoint at(contents.left() + indent + metrics.horizontalAdvance(text) / 2, contents.center().y());
    if (reachable(label))
        QTest::mouseClick(label, Qt::LeftButton, {}, at);
}

void clickOn(QWidget *widget, Qt::MouseButton button, QPoint at)
{
    if (const Spot spot = spotOf(widget, at); spot.window)
        QTest::mouseClick(spot.window, button, {}, spot.point);
}

void doubleClickOn(QWidget *widget, QPoint at)
{
    if (const Spot spot = spotOf(widget, at); spot.window)
        QTest::mouseDClick(spot.window, Qt::LeftButton, {}, spot.point);
}

void drag(QWidget *widget, QPoint from, QPoint to)
{
    const Spot spot = spotOf(widget, from);
    if (!spot.window)
        return;
    const QPoint end = widget->mapTo(widget->window(), to);
    QTest::mousePress(spot.window, Qt::LeftButton, {}, spot.point);
    QTest::mouseMove(spot.window, spot.point + QPoint(1, 0));
    QTest::mouseMove(spot.window, (spot.point + end) / 2);
    QTest::mouseMove(spot.window, end);
    QTest::mouseRelease(spot.window, Qt::LeftButton, {}, end);
}

void chooseFromPopup(const char *action)
{
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu) {
        QTest::qFail(qPrintable(QStringLiteral("no pop-up menu is open to choose %1 from").arg(action)), __FILE__,
                     __LINE__);
        return;
    }
    // "Sub/Entry" names the steps; a menu filled as it opens is searched once open.
    const QStringList steps = QString::fromLatin1(action).split(u'/');
    for (int step = 0; step < steps.size(); ++step) {
        QList<QAction *> path;
        if (!pathTo(menu, steps.at(step), path)) {
            QTest::qFail(
                qPrintable(QStringLiteral("the menu %1 has no entry %2").arg(menu->objectName(), steps.at(step))),
                __FILE__, __LINE__);
            menu->close();
            return;
        }
        for (int i = 0; i < path.size(); ++i) {
            const bool last = step + 1 == steps.size() && i + 1 == path.size();
            QMenu *next = last ? nullptr : path.at(i)->menu();
            if (!clickEntry(menu, path.at(i))) {
                menu->close();
                return;
            }
            if (!last && !next) {
                QTest::qFail(qPrintable(QStringLiteral("the entry %1 opens no submenu").arg(steps.at(step))), __FILE__,
                             __LINE__);
                return;
            }
            menu = next;
        }
    }
}

void chooseFromMenuBar(QWidget *widget, const char *menu, const char *action)
{
    // The bar shows the menus of the active sub-window: the breeder works in the
    // window first.
    if (subWindowOf(widget) && !activate(widget)) {
        QTest::qFail(qPrintable(describe(widget) + " cannot be made active"), __FILE__, __LINE__);
        return;
    }
    auto *frame = qobject_cast<QMainWindow *>(widget->window());
    QMenuBar *bar = frame ? frame->menuBar() : nullptr;
    QAction *title = nullptr;
    if (bar)
        for (QAction *a : bar->actions()) {
            QList<QAction *> path;
            if (a->menu() && (menu ? a->menu()->objectName() == QLatin1String(menu)
                                   : pathTo(a->menu(), QString::fromLatin1(action).section(u'/', 0, 0), path)))
                title = a;
        }
    if (!title) {
        QTest::qFail(qPrintable(QStringLiteral("the menu bar shows no menu %1").arg(menu ? menu : action)), __FILE__,
                     __LINE__);
        return;
    }
    clickOn(bar, Qt::LeftButton, bar->actionGeometry(title).center());
    if (!QTest::qWaitFor([&] { return QApplication::activePopupWidget() == title->menu(); })) {
        QTest::qFail(qPrintable(QStringLiteral("the menu %1 did not open").arg(title->menu()->objectName())),
                     __FILE__, __LINE__);
        return;
    }
    chooseFromPopup(action);
}

void keyOn(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (blockedByModal(widget)) {
        QTest::qFail(qPrintable(describe(widget) + " is blocked by " + describe(QApplication::activeModalWidget())),
                     __FILE__, __LINE__);
        return;
    }
    focus(widget);
    Input::key(key, modifiers);
}

void focus(QWidget *widget)
{
    activate(widget);
    widget->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
}

QWidget *focused()
{
    return QApplication::focusWidget();
}


// Where the keyboard goes: an open pop-up menu takes it, as it does on screen.
static QWidget *keyTarget()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
}

void key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = keyTarget();
    QVERIFY2(target, "no widget has the keyboard focus");
    if (reachable(target))
        QTest::keyClick(target, key, modifiers);
}

void type(const QString &text)
{
    QWidget *target = keyTarget();
    QVERIFY2(target, "no widget has the keyboard focus");
    if (!reachable(target))
        return;
    // A character beyond ASCII has no key of its own here: it comes as the text of a key,
    // as a keyboard layout or input method gives it.
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(target, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QMdiSubWindow *subWindowOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w))
            return sub;
    return nullptr;
}

bool closeSubWindow(QMdiSubWindow *window)
{
    const bool closed = window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return closed;
}

bool whileModal(const std::function<void()> &open, const std::function<void(QWidget *)> &answer,
                int timeoutMs)
{
    bool answered = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (answered)
            return;
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            answered = true;
            poll.stop();
            QPointer<QWidget> guard(modal);
            answer(modal);
            // A check that failed inside left the dialog up: its exec() would never return.
            if (guard && guard->isVisible() && QTest::currentTestFailed())
                guard->close();
        } else if (clock.elapsed() > timeoutMs) {
            poll.stop();
        }
    });
    poll.start();
    open();
    poll.stop();
    return answered;
}

} // namespace Input
