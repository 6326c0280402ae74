#pragma once

#include "records/RecordError.h"
#include "shell/Platform.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <utility>

// A command ends quietly when a window it works for was closed while one of its
// dialogs was open: nothing more is done to a window that is gone.
class CommandAbandoned
{
};

// The windows of the commands under way, outermost first. Platform checks them after
// every dialog, so a command never goes on with a window that closed meanwhile.
class CommandScope
{
public:
    explicit CommandScope(QWidget *window);
    ~CommandScope();
    CommandScope(const CommandScope &) = delete;
    CommandScope &operator=(const CommandScope &) = delete;

    // Throws CommandAbandoned when a command's window is gone, or `parentGone`.
    static void checkAfterDialog(bool parentGone);
    // Whether a command outside this one has lost its window too.
    bool outerWindowGone() const;

private:
    QPointer<QWidget> m_window;
    bool m_hadWindow;
    CommandScope *m_outer;
};

// Shows the message of a command that stopped. Throws CommandAbandoned only when a
// command outside `scope` has lost its window.
void reportStop(const CommandScope &scope, QWidget *window, const QString &message);

// Every command runs through here: an error stops the command, the breeder reads
// the message, and the program goes on. No exception reaches the event loop.
template <typename F> void runCommand(QWidget *window, F &&command)
{
    CommandScope scope(window);
    const QPointer<QWidget> alive(window);
    try {
        std::forward<F>(command)();
    } catch (const CommandAbandoned &) {
        // The command that lost its window ends here; one outside it ends too.
        if (scope.outerWindowGone())
            throw;
    } catch (const RecordError &e) {
        reportStop(scope, alive, e.message());
    } catch (const std::exception &e) {
        reportStop(scope, alive, QString::fromLocal8Bit(e.what()));
    }
}

// Connects a signal to a member command of `window`, guarded.
template <typename Sender, typename Signal, typename Window, typename Method>
QMetaObject::Connection connectCommand(Sender *sender, Signal signal, Window *window, Method method)
{
    return QObject::connect(sender, signal, window,
                            [window, method] { runCommand(window, [&] { (window->*method)(); }); });
}
