#include "rabbit/GeneticsChangePanel.h"

#include "genetics/GeneTables.h"
#include "shell/SheetWidgets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

GeneticsChangePanel::GeneticsChangePanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("GeneticsChangePanel"));
    auto *layout = new QVBoxLayout(this);

    auto *body = new QHBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("GeneSelect"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The long grouped choices wrap instead of scrolling sideways.
    m_list->setWordWrap(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setResizeMode(QListView::Adjust);
    body->addWidget(m_list, 1);

    auto *side = new QVBoxLayout;
    auto *caption = new QLabel(QStringLiteral("Effect:"), this);
    side->addWidget(caption);
    m_effect = new QLabel(Genetics::UnknownEffect, this);
    m_effect->setObjectName(QStringLiteral("ColorEffect"));
    m_effect->setTextFormat(Qt::PlainText);
    m_effect->setWordWrap(true);
    m_effect->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_effect->setFixedWidth(96);
    side->addWidget(m_effect, 1);
    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("GeneOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("GeneCancel"));
    // Enter presses the focused button, and Ok from anywhere else in the panel.
    ok->setAutoDefault(true);
    cancel->setAutoDefault(true);
    side->addWidget(ok);
    side->addWidget(cancel);
    body->addLayout(side);
    layout->addLayout(body, 1);

    styleFloatingPanel(this, QStringLiteral("Set Genetics"));
    // A click elsewhere on the panel gives the keys back to the list.
    setFocusProxy(m_list);
    setFixedSize(337, 281);

    connect(m_list, &QListWidget::currentRowChanged, this, &GeneticsChangePanel::GeneSelectClick);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &GeneticsChangePanel::GeneOKClick);
    connect(ok, &QPushButton::clicked, this, &GeneticsChangePanel::GeneOKClick);
    connect(cancel, &QPushButton::clicked, this, &GeneticsChangePanel::cancelled);
    // The list has the focus while the panel is open; Enter and Esc act from there.
    m_list->installEventFilter(this);
}

void GeneticsChangePanel::open(const QString &labelName)
{
    m_list->clear();
    m_list->addItems(Genetics::choicesForGeneLabel(labelName));
    m_effect->setText(Genetics::UnknownEffect);
    show();
    raise();
    m_list->setCurrentRow(0);
    m_list->setFocus();
}

void GeneticsChangePanel::GeneSelectClick()
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    // A text no table lists leaves the line as it was.
    if (const std::optional<QString> line = Genetics::effectLineFor(item->text()))
        m_effect->setText(*line);
}

void GeneticsChangePanel::GeneOKClick()
{
    if (const QListWidgetItem *item = m_list->currentItem())
        emit accepted(item->text());
}

void GeneticsChangePanel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        emit cancelled();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        GeneOKClick();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

bool GeneticsChangePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            keyPressEvent(static_cast<QKeyEvent *>(event));
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
