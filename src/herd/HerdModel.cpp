#include "herd/HerdModel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

namespace {

void redate(Herd::Row &row, HerdDate::Order order, const QDate &today)
{
    row.bornDate = HerdDate::read(row.born, order, today);
    row.age = HerdDate::ageOf(row.bornDate, today);
}

} // namespace

bool HerdModel::Filter::accepts(const Herd::Row &row) const
{
    if (sex && row.sex != *sex)
        return false;
    if (!breed.isEmpty() && row.breed.compare(breed, Qt::CaseInsensitive) != 0)
        return false;
    return Herd::matches(row, text);
}

void HerdModel::append(const QList<Herd::Row> &rows)
{
    for (const Herd::Row &row : rows) {
        const size_t index = size_t(m_rows.size());
        m_rows.append(row);
        if (m_dating)
            redate(m_rows.last(), m_dating->order, m_dating->today);
        if (!row.breed.isEmpty() &&
            std::none_of(m_breeds.cbegin(), m_breeds.cend(),
                         [&](const QString &known) { return known.compare(row.breed, Qt::CaseInsensitive) == 0; }))
            m_breeds.append(row.breed);
        if (!m_filter.accepts(m_rows.last()))
            continue;
        // After every row it does not come before: rows that compare equal keep list order.
        const auto at = std::upper_bound(m_shown.begin(), m_shown.end(), index,
                                         [this](size_t a, size_t b) { return before(a, b); });
        const int place = int(at - m_shown.begin());
        beginInsertRows({}, place, place);
        m_shown.insert(at, index);
        endInsertRows();
    }
}

void HerdModel::readDatesAs(HerdDate::Order order, const QDate &today)
{
    m_dating = Dating{order, today};
    for (Herd::Row &row : m_rows)
        redate(row, order, today);
    reshow();
}

void HerdModel::setFilter(const Filter &filter)
{
    m_filter = filter;
    reshow();
}

QList<Herd::Row> HerdModel::shownRows() const
{
    QList<Herd::Row> rows;
    rows.reserve(qsizetype(m_shown.size()));
    for (const size_t index : m_shown)
        rows.append(m_rows[qsizetype(index)]);
    return rows;
}

bool HerdModel::before(size_t a, size_t b) const
{
    if (m_sortColumn < 0)
        return a < b;
    return Herd::lessThan(m_rows[qsizetype(a)], m_rows[qsizetype(b)], Herd::Column(m_sortColumn), m_ascending);
}

void HerdModel::reshow()
{
    beginResetModel();
    m_shown.clear();
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        if (m_filter.accepts(m_rows[i]))
            m_shown.push_back(size_t(i));
    std::stable_sort(m_shown.begin(), m_shown.end(), [this](size_t a, size_t b) { return before(a, b); });
    endResetModel();
}

void HerdModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column >= 0 && column < Herd::ColumnCount ? column : -1;
    m_ascending = order == Qt::AscendingOrder;
    // The same rows in another order: the selection and the current row follow their
    // rabbits, as they would not through a reset.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList kept = persistentIndexList();
    std::vector<size_t> rabbits;
    rabbits.reserve(std::size_t(kept.size()));
    for (const QModelIndex &index : kept)
        rabbits.push_back(m_shown[std::size_t(index.row())]);
    std::stable_sort(m_shown.begin(), m_shown.end(), [this](size_t a, size_t b) { return before(a, b); });
    std::vector<int> placeOf(std::size_t(m_rows.size()), -1);
    for (std::size_t place = 0; place < m_shown.size(); ++place)
        placeOf[m_shown[place]] = int(place);
    QModelIndexList moved;
    moved.reserve(kept.size());
    for (qsizetype i = 0; i < kept.size(); ++i)
        moved.append(index(placeOf[rabbits[std::size_t(i)]], kept[i].column()));
    changePersistentIndexList(kept, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int HerdModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int HerdModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Herd::ColumnCount;
}

QVariant HerdModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Herd::Row &row = shown(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return row.text(Herd::Column(index.column()));
    case Qt::ToolTipRole: {
        const QString problem = row.problem();
        return problem.isEmpty() ? row.path : row.path + u'\n' + problem;
    }
    case Qt::BackgroundRole:
        // A row without its values, or with a linked record missing, stands out.
        if (row.failed())
            return QBrush(QColor(255, 214, 214));
        if (!row.notes.isEmpty())
            return QBrush(QColor(255, 243, 205));
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == Herd::Coi || index.column() == Herd::Age)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant HerdModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < Herd::ColumnCount)
        return Herd::headings().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
