#include "frame/StartPanel.h"

#include "frame/BigBadParent.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "frame/RecentFiles.h"
#include "frame/RecentFilesMenu.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString withKey(const QString &caption, const QKeySequence &key)
{
    return QStringLiteral("%1 (%2)").arg(caption, key.toString(QKeySequence::NativeText));
}

QLabel *heading(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    label->setFont(font);
    return label;
}

} // namespace

StartPanel::StartPanel(TBigBadParent *frame, QWidget *parent) : QFrame(parent), m_frame(frame)
{
    setObjectName(QStringLiteral("StartPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(250, 250, 247));
    setPalette(colours);

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(20, 16, 20, 16);
    columns->setSpacing(24);
    auto *start = new QVBoxLayout;
    start->setSpacing(6); // not the columns' wide spacing, which a nested layout takes on
    columns->addLayout(start);
    start->addWidget(heading(QStringLiteral("Start"), QStringLiteral("StartHeading"), this));

    QList<const WindowKind *> kinds;
    for (const WindowKind &kind : KindRegistry::instance().kinds())
        if (kind.startRank > 0 && !kind.startCaption.isEmpty())
            kinds.append(&kind);
    std::stable_sort(kinds.begin(), kinds.end(),
                     [](const WindowKind *a, const WindowKind *b) { return a->startRank < b->startRank; });
    for (const WindowKind *kind : std::as_const(kinds)) {
        QString name = kind->id;
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        QPushButton *button = addButton(start, QStringLiteral("Start") + name,
                                        withKey(kind->startCaption, QKeySequence(Qt::CTRL | kind->toolKey)));
        button->setEnabled(kind->isAvailable());
        const QString id = kind->id;
        connect(button, &QPushButton::clicked, this, [this, id] { run([this, id] { m_frame->runTool(id); }); });
    }
    QPushButton *open =
        addButton(start, QStringLiteral("StartOpen"), withKey(QStringLiteral("Open..."), QKeySequence(Qt::CTRL | Qt::Key_O)));
    connect(open, &QPushButton::clicked, this, [this] { run([this] { m_frame->MMOpenClick(); }); });
    start->addStretch(1);

    m_recent = new QWidget(this);
    m_recent->setObjectName(QStringLiteral("StartRecent"));
    m_recentColumn = new QVBoxLayout(m_recent);
    m_recentColumn->setContentsMargins(0, 0, 0, 0);
    m_recentColumn->setSpacing(6);
    m_recentColumn->addWidget(heading(QStringLiteral("Recent Files"), QStringLiteral("StartRecentHeading"), m_recent));
    m_noRecent = new QLabel(QStringLiteral("(none)"), m_recent);
    m_noRecent->setObjectName(QStringLiteral("StartRecentEmpty"));
    m_recentColumn->addWidget(m_noRecent);
    m_recentColumn->addStretch(1);
    columns->addWidget(m_recent);
    refresh();
}

QPushButton *StartPanel::addButton(QVBoxLayout *column, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, column->parentWidget() ? column->parentWidget() : this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    column->insertWidget(column->count() - (column == m_recentColumn ? 1 : 0), button);
    return button;
}

template <typename F> void StartPanel::run(F command)
{
    const QPointer<StartPanel> self(this);
    runCommand(m_frame, command);
    if (self && isVisible())
        refresh();
}

QList<QPushButton *> StartPanel::recentButtons() const
{
    QList<QPushButton *> buttons;
    for (int i = 0; i < m_recentColumn->count(); ++i)
        if (auto *button = qobject_cast<QPushButton *>(m_recentColumn->itemAt(i)->widget()))
            buttons.append(button);
    return buttons;
}

void StartPanel::refresh()
{
    // A button may be the one whose click is being handled: it goes once that is done.
    for (QPushButton *button : recentButtons()) {
        m_recentColumn->removeWidget(button);
        button->hide();
        button->deleteLater();
    }
    const QStringList paths = RecentFiles::list();
    m_noRecent->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QPushButton *button =
            addButton(m_recentColumn, QStringLiteral("StartRecent%1").arg(i + 1), RecentFilesMenu::entryText(i + 1, path));
        button->setToolTip(path);
        connect(button, &QPushButton::clicked, this, [this, path] {
            run([this, path] { openRecentFile(m_frame, path); });
        });
    }
    adjustSize();
}
