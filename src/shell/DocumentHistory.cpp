// A document window's undo history: each recorded edit is one step holding what the
// window showed before and after it, so undo and redo put a whole state back (every
// value, picture and font) whichever command made it.

#include "shell/DocumentWindow.h"

#include <QUndoCommand>

class EditStep : public QUndoCommand
{
public:
    EditStep(DocumentWindow *window, std::function<void()> before, std::function<void()> after, const QString &text,
             bool typing)
        : QUndoCommand(text), m_window(window), m_before(std::move(before)), m_after(std::move(after)), m_typing(typing)
    {}

    void undo() override { m_window->applyStep(m_before); }
    void redo() override
    {
        // Pushed after the edit was made: the window shows it already.
        if (m_made) {
            m_made = false;
            return;
        }
        m_window->applyStep(m_after);
    }
    int id() const override { return m_typing ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const EditStep *>(other);
        if (!next->m_typing || next->text() != text())
            return false;
        m_after = next->m_after;
        return true;
    }

private:
    DocumentWindow *m_window;
    std::function<void()> m_before;
    std::function<void()> m_after;
    bool m_typing;
    bool m_made = true;
};

void DocumentWindow::settleEdit()
{
    if (!m_pending)
        return;
    m_pending = false;
    std::function<void()> after = keepState();
    // The stack merges typing and says the flag through syncWithHistory.
    if (m_current)
        m_undo->push(new EditStep(this, m_current, after, m_pendingStep, m_pendingTyping));
    m_current = std::move(after);
    updateUndoCommands();
}

void DocumentWindow::startHistory()
{
    const bool modified = m_modified;
    m_pending = false;
    m_undo->clear();
    if (modified)
        m_undo->resetClean();
    m_modified = modified;
    m_current = keepState();
    updateUndoCommands();
}

void DocumentWindow::applyStep(const std::function<void()> &state)
{
    m_applying = true;
    struct Done
    {
        bool &applying;
        ~Done() { applying = false; }
    } done{m_applying};
    state();
    m_current = state;
    emit recordChanged();
}

void DocumentWindow::syncWithHistory()
{
    if (m_pending)
        return;
    m_modified = !m_undo->isClean();
    keepRecoveryCopy();
    updateUndoCommands();
}

void DocumentWindow::addUndoCommands(QMenu *edit)
{
    QAction *first = edit->actions().value(0);
    m_undoAction = new QAction(QStringLiteral("&Undo"), edit);
    m_undoAction->setObjectName(QStringLiteral("EditUndo"));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoAction = new QAction(QStringLiteral("&Redo"), edit);
    m_redoAction->setObjectName(QStringLiteral("EditRedo"));
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->insertAction(first, m_undoAction);
    edit->insertAction(first, m_redoAction);
    if (first)
        edit->insertSeparator(first);
    connect(m_undoAction, &QAction::triggered, this, [this] {
        runCommand(this, [this] {
            settleEdit();
            m_undo->undo();
        });
    });
    connect(m_redoAction, &QAction::triggered, this, [this] {
        runCommand(this, [this] {
            settleEdit();
            m_undo->redo();
        });
    });
    updateUndoCommands();
}

void DocumentWindow::updateUndoCommands()
{
    if (!m_undoAction)
        return;
    // An edit not yet settled is the step Undo takes back first.
    const QString undoText = m_pending ? m_pendingStep : m_undo->undoText();
    m_undoAction->setEnabled(m_pending || m_undo->canUndo());
    m_undoAction->setText(undoText.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + undoText);
    const QString redoText = m_pending ? QString() : m_undo->redoText();
    m_redoAction->setEnabled(!m_pending && m_undo->canRedo());
    m_redoAction->setText(redoText.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo ") + redoText);
}
