#include "shell/LinkEditor.h"

#include "records/FileLink.h"
#include "records/LineFile.h"
#include "shell/CommandGuard.h"
#include "shell/SheetWidgets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

LinkField::LinkField(const QString &linkName, const QString &captionName, const FileDialogSpec &dialog, QWidget *parent,
                     Caption placement)
    : QWidget(parent), m_link(FileLink::none()), m_dialog(dialog)
{
    setObjectName(linkName + QStringLiteral("Field"));
    m_path = new QLineEdit(FileLink::none(), this);
    m_path->setObjectName(linkName);
    m_path->setReadOnly(true);
    m_path->setMinimumWidth(120);
    m_path->setToolTip(QStringLiteral("Double-click to open the linked file"));
    m_path->installEventFilter(this);
    m_caption = new QLabel(this);
    m_caption->setObjectName(captionName);
    m_caption->setTextFormat(Qt::PlainText);
    // Only the weight is the caption's own; the face follows the panel.
    QFont captionFont;
    captionFont.setBold(true);
    m_caption->setFont(captionFont);

    const auto button = [this](const QString &name, const QString &hint, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setIcon(style()->standardIcon(icon));
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    m_set = button(linkName + QStringLiteral("Set"), QStringLiteral("Chooses a Link File"), QStyle::SP_DirOpenIcon);
    m_clear = button(linkName + QStringLiteral("New"), QStringLiteral("Clear Link"), QStyle::SP_LineEditClearButton);
    connect(m_set, &QToolButton::clicked, this, [this] { runCommand(this, [this] { SetClick(); }); });
    connect(m_clear, &QToolButton::clicked, this, [this] { runCommand(this, [this] { ClearClick(); }); });

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    if (placement == Caption::Beside) {
        row->addWidget(m_path, 1);
        row->addWidget(m_set);
        row->addWidget(m_clear);
        row->addWidget(m_caption, 1);
        setLayout(row);
        return;
    }
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    m_captionRow = new QHBoxLayout;
    m_captionRow->setSpacing(6);
    m_captionRow->addWidget(m_caption, 1);
    column->addLayout(m_captionRow);
    row->addWidget(m_path, 1);
    row->addWidget(m_set);
    row->addWidget(m_clear);
    column->addLayout(row);
    // The caption keeps its line when empty, so the fields of a column stay aligned,
    // and a long file name does not widen the editor (the path's tooltip has it all).
    m_caption->setMinimumHeight(m_caption->fontMetrics().height());
    m_caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

bool LinkField::isLinked() const
{
    return FileLink::isLink(m_link);
}

void LinkField::setLink(const QString &path)
{
    if (path == m_link)
        return;
    m_link = path;
    m_path->setText(path);
    m_path->setCursorPosition(0);
    m_caption->setText(!FileLink::isLink(path) ? QString() : fileNamePart(path));
    m_caption->setToolTip(!FileLink::isLink(path) ? QString() : path);
    emit changed(this);
}

void LinkField::setRole(const QString &role)
{
    m_path->setToolTip(role + QStringLiteral(" (double-click to open the linked file)"));
    if (!m_captionRow)
        return;
    // Above the path, the role goes before the file name, in grey.
    if (!m_role) {
        m_role = new QLabel(this);
        m_role->setObjectName(objectName() + QStringLiteral("Role"));
        QPalette palette = m_role->palette();
        palette.setColor(QPalette::WindowText, QColor(96, 96, 96));
        m_role->setPalette(palette);
        m_captionRow->insertWidget(0, m_role);
    }
    m_role->setText(role);
}

void LinkField::SetClick()
{
    FileDialogSpec request = m_dialog;
    if (request.title.isEmpty())
        request.title = QStringLiteral("Open");
    const std::optional<QString> path = Platform::instance().openFileName(window(), request);
    if (!path)
        return;
    requireStorableLink(*path);
    setLink(*path);
    emit edited(this);
}

void LinkField::ClearClick()
{
    setLink(FileLink::none());
    emit edited(this);
}

bool LinkField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_path && event->type() == QEvent::MouseButtonDblClick && isEnabled()) {
        emit doubleClicked(this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

LinkEditorPanel::LinkEditorPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("RelatedFileEditor"));
    m_layout = new QVBoxLayout(this);
    m_body = new QWidget(this);
    m_body->setObjectName(QStringLiteral("LinkEditorBody"));
    m_layout->addWidget(m_body, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setObjectName(QStringLiteral("LinkEditorButtons"));
    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("FileEditorOk"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("SetFileCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    m_layout->addLayout(buttons);
    styleFloatingPanel(this, QStringLiteral("Set Related Rabbit Editor Files"));
    connect(m_ok, &QPushButton::clicked, this, &LinkEditorPanel::okClicked);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        cancel();
        emit cancelled();
    });
}

void LinkEditorPanel::addLink(LinkField *field, bool inSnapshot)
{
    m_links.append(field);
    if (!inSnapshot)
        return;
    m_snapshotFields.append(field);
    connect(field, &LinkField::edited, this, [this] { m_cancel->setEnabled(true); });
}

QPushButton *LinkEditorPanel::addButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    auto *row = static_cast<QHBoxLayout *>(m_layout->itemAt(m_layout->count() - 1)->layout());
    // Before the stretch that closes the row.
    row->insertWidget(row->count() - 1, button);
    return button;
}

QStringList LinkEditorPanel::currentLinks() const
{
    QStringList links;
    for (const LinkField *field : m_snapshotFields)
        links.append(field->link());
    return links;
}

void LinkEditorPanel::open()
{
    m_snapshot = currentLinks();
    adjustSize();
    show();
    raise();
    m_ok->setFocus();
}

void LinkEditorPanel::cancel()
{
    // A panel opened without a snapshot (none taken) has nothing to restore.
    if (m_snapshot.size() == m_snapshotFields.size()) {
        for (int i = 0; i < m_snapshotFields.size(); ++i)
            m_snapshotFields[i]->setLink(m_snapshot.at(i));
    }
    m_snapshot.clear();
    hide();
}

void LinkEditorPanel::accept()
{
    m_snapshot.clear();
    m_cancel->setEnabled(true);
    hide();
}

void LinkEditorPanel::retakeSnapshot()
{
    m_snapshot = currentLinks();
    m_cancel->setEnabled(false);
}

void LinkEditorPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_cancel->isEnabled()) {
        m_cancel->click();
        return;
    }
    QFrame::keyPressEvent(event);
}
