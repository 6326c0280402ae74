#include "shell/CommandGuard.h"

namespace {
CommandScope *innermost = nullptr;
}

CommandScope::CommandScope(QWidget *window) : m_window(window), m_hadWindow(window != nullptr), m_outer(innermost)
{
    innermost = this;
}

CommandScope::~CommandScope()
{
    innermost = m_outer;
}

void CommandScope::checkAfterDialog(bool parentGone)
{
    bool gone = parentGone;
    for (const CommandScope *scope = innermost; scope && !gone; scope = scope->m_outer)
        gone = scope->m_hadWindow && scope->m_window.isNull();
    if (gone)
        throw CommandAbandoned();
}

bool CommandScope::outerWindowGone() const
{
    for (const CommandScope *scope = m_outer; scope; scope = scope->m_outer)
        if (scope->m_hadWindow && scope->m_window.isNull())
            return true;
    return false;
}

void reportStop(const CommandScope &scope, QWidget *window, const QString &message)
{
    try {
        Platform::instance().showError(window, message);
    } catch (const CommandAbandoned &) {
        if (scope.outerWindowGone())
            throw;
    }
}
