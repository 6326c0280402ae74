#pragma once

#include "herd/Herd.h"

#include <QAbstractTableModel>
#include <QList>

#include <vector>

// The herd table's rows: every row read, and the ones shown (filtered and sorted by
// Herd's own order, so ages and coefficients sort as numbers, dates as dates, and
// unknown values last in either direction).
class HerdModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Which rows are shown: all three must match.
    struct Filter
    {
        QString text;                              // any shown value holds it (any case)
        std::optional<Herd::Sex> sex;              // exactly this sex
        QString breed;                             // exactly this breed (any case); empty: any
        bool accepts(const Herd::Row &row) const;
    };

    // Rows come in list order; each is shown in its sorted place when it passes the filter.
    void append(const QList<Herd::Row> &rows);
    // Birth dates read from each row's born text (as typed) in `order`, ages counted to
    // `today`: the rows shown are filtered and sorted again, and rows appended from now
    // on are read so too, whatever order they were read in. The files are not read.
    void readDatesAs(HerdDate::Order order, const QDate &today);
    void setFilter(const Filter &filter);
    const Herd::Row &shown(int row) const { return m_rows[m_shown[row]]; }
    QList<Herd::Row> shownRows() const;
    // Every breed read, once each (the first spelling), in order of appearance.
    const QStringList &breeds() const { return m_breeds; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Column -1: list order.
    void sort(int column, Qt::SortOrder order) override;

private:
    bool before(size_t a, size_t b) const;
    void reshow();

    QList<Herd::Row> m_rows;
    std::vector<size_t> m_shown; // indexes into m_rows
    QStringList m_breeds;
    struct Dating
    {
        HerdDate::Order order;
        QDate today;
    };
    std::optional<Dating> m_dating;
    Filter m_filter;
    int m_sortColumn = -1;
    bool m_ascending = true;
};
