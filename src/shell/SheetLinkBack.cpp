#include "shell/SheetWindow.h"

#include "shell/SheetWidgets.h"

#include <QVBoxLayout>

// The sheet window's part in linking back: the bar above the sheet, the offer after a
// save, and a line of the record set from another window.

QWidget *SheetWindow::withLinkBackBar(QWidget *content)
{
    auto *frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("SheetFrame"));
    auto *column = new QVBoxLayout(frame);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_linkBackBar = new LinkBackBar(this);
    column->addWidget(m_linkBackBar);
    column->addWidget(content, 1);
    return frame;
}

void SheetWindow::offerLinkBack()
{
    if (const std::optional<LinkBackTarget> target = linkBackTarget())
        m_linkBackBar->offer(*target);
}

void SheetWindow::setLine(int line, const QString &text)
{
    if (ValueLabel *label = m_labels.value(line))
        label->setValue(text);
    else if (!setOwnLine(line, text))
        return;
    recordEdit(QStringLiteral("Link It"));
}
