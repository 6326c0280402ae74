#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QWidget>

// Marks places on a sheet for the breeder to see, without being part of the sheet: a
// see-through layer laid over it as a sibling, not a child, so a print of the sheet
// (which records the sheet and its children) never shows it. Clicks go through.
class ChartTint : public QWidget
{
    Q_OBJECT
public:
    explicit ChartTint(QWidget *sheet);

    // One tinted area round each group of widgets of the sheet, by a key of the
    // caller's (a position code); replaces what was marked before.
    void mark(const QMap<int, QList<QWidget *>> &places);
    // Keys of the places marked now.
    QList<int> marked() const { return m_places.keys(); }
    void clear();

    static const QColor Fill;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followSheet();

    QPointer<QWidget> m_sheet;
    QMap<int, QList<QPointer<QWidget>>> m_places;
};
