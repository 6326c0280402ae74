#include "pedigree/ChartTint.h"

#include <QEvent>
#include <QPainter>

const QColor ChartTint::Fill(255, 200, 0, 90);

ChartTint::ChartTint(QWidget *sheet) : QWidget(sheet->parentWidget()), m_sheet(sheet)
{
    setObjectName(QStringLiteral("ChartTint"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    // The sheet moves under a scroll area; the layer moves with it.
    sheet->installEventFilter(this);
    followSheet();
    hide();
}

void ChartTint::mark(const QMap<int, QList<QWidget *>> &places)
{
    clear();
    for (auto it = places.cbegin(); it != places.cend(); ++it) {
        QList<QPointer<QWidget>> &kept = m_places[it.key()];
        for (QWidget *widget : it.value())
            kept.append(widget);
    }
    if (m_places.isEmpty())
        return;
    followSheet();
    raise();
    show();
    update();
}

void ChartTint::clear()
{
    m_places.clear();
    hide();
}

void ChartTint::followSheet()
{
    if (m_sheet)
        setGeometry(m_sheet->geometry());
}

bool ChartTint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_sheet && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        followSheet();
    return QWidget::eventFilter(watched, event);
}

void ChartTint::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (!m_sheet)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(220, 140, 0), 1.5));
    painter.setBrush(Fill);
    for (const QList<QPointer<QWidget>> &group : std::as_const(m_places)) {
        QRect area;
        for (const QPointer<QWidget> &widget : group)
            if (widget && widget->isVisible())
                area |= QRect(widget->mapTo(m_sheet, QPoint(0, 0)), widget->size());
        if (!area.isEmpty())
            painter.drawRoundedRect(QRectF(area.adjusted(-3, -2, 3, 2)), 4, 4);
    }
}
