#include "herd/HerdTable.h"

#include "herd/HerdCsv.h"
#include "herd/HerdModel.h"
#include "herd/TestMatingWindow.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "shell/Preferences.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// The sex choices, in the box's order.
const std::optional<Herd::Sex> SexChoices[] = {std::nullopt, Herd::Sex::Buck, Herd::Sex::Doe};
} // namespace

THerdTable::THerdTable(const HerdSource &herd, QWidget *parent)
    : ChildWindow(parent), m_herd(herd), m_order(HerdWindows::dateOrder())
{
    setObjectName(QStringLiteral("HerdTableWindow"));
    setWindowTitle(herd.name + QStringLiteral(" - Herd"));
    auto *form = new QWidget(this);
    auto *column = new QVBoxLayout(form);

    auto *filters = new QHBoxLayout;
    auto *filterCaption = new QLabel(QStringLiteral("&Filter:"), form);
    m_filter = new QLineEdit(form);
    m_filter->setObjectName(QStringLiteral("HerdFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Any text of a row"));
    m_filter->setClearButtonEnabled(true);
    filterCaption->setBuddy(m_filter);
    m_sex = new QComboBox(form);
    m_sex->setObjectName(QStringLiteral("HerdSex"));
    m_sex->addItems({QStringLiteral("Bucks and does"), QStringLiteral("Bucks"), QStringLiteral("Does")});
    m_breed = new QComboBox(form);
    m_breed->setObjectName(QStringLiteral("HerdBreed"));
    m_breed->addItem(QStringLiteral("All breeds"));
    m_breed->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    filters->addWidget(filterCaption);
    filters->addWidget(m_filter, 1);
    filters->addWidget(m_sex);
    filters->addWidget(m_breed);
    column->addLayout(filters);

    m_model = new HerdModel(this);
    m_grid = new QTableView(form);
    m_grid->setObjectName(QStringLiteral("HerdGrid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // In list order until the breeder clicks a heading.
    m_grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_grid->setSortingEnabled(true);
    column->addWidget(m_grid, 1);

    m_reading = new HerdReading(herd, HerdWindows::options(), form);
    column->addWidget(m_reading);
    setWidget(form);

    connect(m_filter, &QLineEdit::textChanged, this, &THerdTable::applyFilter);
    connect(m_sex, &QComboBox::currentIndexChanged, this, &THerdTable::applyFilter);
    connect(m_breed, &QComboBox::currentIndexChanged, this, &THerdTable::applyFilter);
    connect(m_grid, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { runCommand(this, [&] { OpenRowClick(index.row()); }); });
    connect(m_reading, &HerdReading::rowsArrived, this, &THerdTable::addRows);
    // Whichever window changes the date order, this one follows.
    connect(Preferences::notifier(), &Preferences::Notifier::dateOrderChanged, this, &THerdTable::followDateOrder);
    buildMenus();
    resize(DefaultSize);
    m_reading->start();
}

void THerdTable::buildMenus()
{
    auto *csv = new QAction(QStringLiteral("Export as &CSV..."), this);
    csv->setObjectName(QStringLiteral("FileExportCsv"));
    connectCommand(csv, &QAction::triggered, this, &THerdTable::FileExportCsvClick);

    auto *view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("HerdView"));
    auto *orders = new QActionGroup(this);
    m_monthFirst = orders->addAction(QStringLiteral("&Month before Day"));
    m_monthFirst->setObjectName(QStringLiteral("DateOrderMonthFirst"));
    m_dayFirst = orders->addAction(QStringLiteral("&Day before Month"));
    m_dayFirst->setObjectName(QStringLiteral("DateOrderDayFirst"));
    for (QAction *order : orders->actions()) {
        order->setCheckable(true);
        view->addAction(order);
    }
    m_monthFirst->setChecked(m_order == HerdDate::Order::MonthFirst);
    m_dayFirst->setChecked(m_order == HerdDate::Order::DayFirst);
    const auto chooses = [this](QAction *entry, Preferences::DateOrder order) {
        connect(entry, &QAction::triggered, this, [this, order] { runCommand(this, [&] { DateOrderClick(order); }); });
    };
    chooses(m_monthFirst, Preferences::DateOrder::MonthFirst);
    chooses(m_dayFirst, Preferences::DateOrder::DayFirst);

    auto *rabbit = new QMenu(QStringLiteral("&Rabbit"), this);
    rabbit->setObjectName(QStringLiteral("HerdRabbit"));
    QAction *mating = rabbit->addAction(QStringLiteral("&Test Mating..."));
    mating->setObjectName(QStringLiteral("HerdTestMating"));
    connectCommand(mating, &QAction::triggered, this, &THerdTable::HerdTestMatingClick);
    m_rowMenu = new QMenu(this);
    m_rowMenu->setObjectName(QStringLiteral("HerdRowPopUp"));
    m_rowMenu->addAction(mating);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableView::customContextMenuRequested, this, &THerdTable::openRowMenu);

    setMenus({HerdWindows::fileMenu(this, {csv}), view, rabbit});
}

void THerdTable::openRowMenu(const QPoint &at)
{
    // The menu acts on the row it was opened on.
    const QModelIndex index = m_grid->indexAt(at);
    if (index.isValid())
        m_grid->selectRow(index.row());
    m_rowMenu->popup(m_grid->viewport()->mapToGlobal(at));
}

QList<Herd::Row> THerdTable::shownRows() const
{
    return m_model->shownRows();
}

void THerdTable::addRows(const QList<Herd::Row> &rows)
{
    const int breeds = int(m_model->breeds().size());
    m_model->append(rows);
    for (int i = breeds; i < m_model->breeds().size(); ++i)
        m_breed->addItem(m_model->breeds().at(i));
    if (breeds == 0 && !rows.isEmpty()) {
        m_grid->resizeColumnsToContents();
        fitColumns();
    }
}

void THerdTable::applyFilter()
{
    m_model->setFilter({.text = m_filter->text(),
                        .sex = SexChoices[std::clamp(m_sex->currentIndex(), 0, 2)],
                        .breed = m_breed->currentIndex() > 0 ? m_breed->currentText() : QString()});
}

void THerdTable::OpenRowClick(int shownRow)
{
    if (shownRow < 0 || shownRow >= m_model->rowCount())
        return;
    HerdWindows::openRecord(m_model->shown(shownRow).path);
}

void THerdTable::DateOrderClick(Preferences::DateOrder order)
{
    Preferences::setDateOrder(order);
    // Said already through the notifier when the setting changed; this puts the
    // checks back when it could not be kept.
    followDateOrder();
}

void THerdTable::followDateOrder()
{
    const HerdDate::Order order = HerdWindows::dateOrder();
    m_monthFirst->setChecked(order == HerdDate::Order::MonthFirst);
    m_dayFirst->setChecked(order == HerdDate::Order::DayFirst);
    if (order == m_order)
        return;
    m_order = order;
    m_model->readDatesAs(order, QDate::currentDate());
}

void THerdTable::HerdTestMatingClick()
{
    const QModelIndexList selected = m_grid->selectionModel()->selectedRows();
    QString rabbit;
    if (!selected.isEmpty() && selected.constFirst().row() < m_model->rowCount())
        rabbit = m_model->shown(selected.constFirst().row()).path;
    auto *mating = qobject_cast<TTestMating *>(
        KindRegistry::instance().adoptWindow(QString::fromLatin1(TTestMating::KindId), new TTestMating(m_herd)));
    if (mating && !rabbit.isEmpty())
        mating->chooseRabbit(rabbit);
}

void THerdTable::FileExportCsvClick()
{
    const std::optional<QString> path = HerdWindows::exportPath(
        this, {QStringLiteral("CSV Files (*.csv)|*.csv"), QStringLiteral("csv"), QStringLiteral("Export as CSV")});
    if (path)
        HerdCsv::write(*path, m_model->shownRows());
}

void THerdTable::fitColumns()
{
    // Wide enough for every column where the frame has the room, never narrower than
    // it was opened, moved left when it would reach past the frame's edge.
    QWidget *area = parentWidget();
    if (!area)
        return;
    // The last column stretches to the edge, and the header keeps it at least its
    // default width when it does.
    const QHeaderView *header = m_grid->horizontalHeader();
    const int last = header->count() - 1;
    int needed = std::max(header->sectionSize(last), header->defaultSectionSize());
    for (int c = 0; c < last; ++c)
        needed += header->sectionSize(c);
    const int missing = needed - m_grid->viewport()->width();
    if (missing <= 0)
        return;
    const int wanted = std::min(width() + missing + 2, area->width());
    if (wanted <= width())
        return;
    // Moved left as far as it must to stay in the frame.
    setGeometry(std::clamp(area->width() - wanted, 0, x()), y(), wanted, height());
}
