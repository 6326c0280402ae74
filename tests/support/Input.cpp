#include "Input.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace Input {

bool blockedByModal(const QWidget *widget)
{
    const QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !widget)
        return false;
    // The modal widget itself and what lies inside it take input.
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (w == modal)
            return false;
    return true;
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

void clickItem(QAbstractItemView *view, const QModelIndex &index, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers)
{
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
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
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

void key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "no widget has the keyboard focus");
    QTest::keyClick(target, key, modifiers);
}

void type(const QString &text)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY2(target, "no widget has the keyboard focus");
    QTest::keyClicks(target, text);
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
            answer(modal);
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
