#pragma once

#include "records/RecordError.h"
#include "shell/Platform.h"

#include <QObject>
#include <exception>
#include <utility>

class QWidget;

// Every command runs through here: an error stops the command, the breeder reads
// the message, and the program goes on. No exception reaches the event loop.
template <typename F> void runCommand(QWidget *window, F &&command)
{
    try {
        std::forward<F>(command)();
    } catch (const RecordError &e) {
        Platform::instance().showError(window, e.message());
    } catch (const std::exception &e) {
        Platform::instance().showError(window, QString::fromLocal8Bit(e.what()));
    }
}

// Connects a signal to a member command of `window`, guarded.
template <typename Sender, typename Signal, typename Window, typename Method>
QMetaObject::Connection connectCommand(Sender *sender, Signal signal, Window *window, Method method)
{
    return QObject::connect(sender, signal, window,
                            [window, method] { runCommand(window, [&] { (window->*method)(); }); });
}
