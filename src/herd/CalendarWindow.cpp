#include "herd/CalendarWindow.h"

#include "herd/ICalendar.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"
#include "shell/Preferences.h"

#include <QAction>
#include <QBrush>
#include <QColor>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Column { DateColumn, EventColumn, DoeColumn, BuckColumn, RecordColumn };
} // namespace

TBreedingCalendar::TBreedingCalendar(const HerdSource &herd, QWidget *parent)
    : ChildWindow(parent),
      m_herdFolder(herd.rabbitryPath.isEmpty() ? QString() : QFileInfo(herd.rabbitryPath).absolutePath())
{
    setObjectName(QStringLiteral("BreedingCalendarWindow"));
    setWindowTitle(QStringLiteral("Breeding Calendar"));
    auto *form = new QWidget(this);
    auto *column = new QVBoxLayout(form);
    m_list = new QTreeWidget(form);
    m_list->setObjectName(QStringLiteral("CalendarList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Event"), QStringLiteral("Doe"),
                             QStringLiteral("Buck"), QStringLiteral("Record")});
    m_list->header()->setStretchLastSection(true);
    column->addWidget(m_list, 1);
    // Lines of text below the list, shown only when they have something to say.
    const auto note = [&](const char *name) {
        auto *label = new QLabel(form);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->hide();
        column->addWidget(label);
        return label;
    };
    m_problems = note("CalendarProblems");
    m_olderNote = note("CalendarOlderNote");
    m_reading = new HerdReading(herd, HerdWindows::options(), form);
    column->addWidget(m_reading);
    setWidget(form);

    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        const int row = m_list->indexOfTopLevelItem(item);
        runCommand(this, [&] { OpenEventClick(row); });
    });
    connect(m_reading, &HerdReading::rowsArrived, this, [this](const QList<Herd::Row> &rows) { m_rows += rows; });
    connect(m_reading, &HerdReading::finished, this, &TBreedingCalendar::takeSources);
    // New day counts or a new date order make the list again; until the herd is read
    // there is none, and the first one is made on them anyway.
    const auto regather = [this] {
        if (m_ready)
            runCommand(this, [this] { gather(); });
    };
    connect(Preferences::notifier(), &Preferences::Notifier::breedingDaysChanged, this, regather);
    connect(Preferences::notifier(), &Preferences::Notifier::dateOrderChanged, this, regather);
    buildMenus();
    resize(DefaultSize);
    m_reading->start();
}

void TBreedingCalendar::buildMenus()
{
    auto *ics = new QAction(QStringLiteral("Export as i&Calendar..."), this);
    ics->setObjectName(QStringLiteral("FileExportICalendar"));
    connectCommand(ics, &QAction::triggered, this, &TBreedingCalendar::FileExportICalendarClick);
    auto *view = new QMenu(QStringLiteral("&View"), this);
    view->setObjectName(QStringLiteral("CalendarView"));
    QAction *older = view->addAction(QStringLiteral("Show &Older Events"));
    older->setObjectName(QStringLiteral("CalendarShowOlder"));
    older->setCheckable(true);
    connect(older, &QAction::toggled, this, [this](bool show) { runCommand(this, [&] { ViewShowOlderClick(show); }); });
    setMenus({HerdWindows::fileMenu(this, {ics}), view});
}

void TBreedingCalendar::ViewShowOlderClick(bool show)
{
    m_showOlder = show;
    showOlder();
}

void TBreedingCalendar::showOlder()
{
    const QDate recent = HerdWindows::options().today.addDays(-RecentDays);
    int hidden = 0;
    for (int i = 0; i < m_list->topLevelItemCount() && i < m_calendar.events.size(); ++i) {
        const bool older = m_calendar.events.at(i).date < recent;
        m_list->topLevelItem(i)->setHidden(older && !m_showOlder);
        hidden += older && !m_showOlder ? 1 : 0;
    }
    m_olderNote->setVisible(hidden > 0);
    m_olderNote->setText(
        hidden == 0 ? QString()
                    : QStringLiteral("%1 more than %2 days past %3 not listed (View > Show Older Events); "
                                     "the iCalendar export holds them.")
                          .arg(hidden == 1 ? QStringLiteral("1 event") : QStringLiteral("%1 events").arg(hidden))
                          .arg(RecentDays)
                          .arg(hidden == 1 ? QStringLiteral("is") : QStringLiteral("are")));
}

void TBreedingCalendar::takeSources()
{
    m_sources = BreedingCalendar::sourcesOf(m_rows);
    m_rows.clear();
    gather();
}

void TBreedingCalendar::gather()
{
    const Herd::Options options = HerdWindows::options();
    m_calendar = BreedingCalendar::gather(m_sources, HerdWindows::calendarSettings(), options.order, options.today);
    m_list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(m_calendar.events.size());
    for (const BreedingCalendar::Event &event : std::as_const(m_calendar.events)) {
        auto *item = new QTreeWidgetItem;
        // The month by name: read the same whichever order the breeder types dates in.
        item->setText(DateColumn, QLocale::c().toString(event.date, QStringLiteral("d MMM yyyy")));
        item->setText(EventColumn, BreedingCalendar::eventName(event.kind));
        item->setText(DoeColumn, event.doe);
        item->setText(BuckColumn, event.buck);
        item->setText(RecordColumn, QFileInfo(event.record).fileName());
        const QString typed = QStringLiteral("Row %1: bred \"%2\", kindled \"%3\"\n%4")
                                  .arg(event.row)
                                  .arg(event.bred, event.kindled, event.record);
        for (int c = DateColumn; c <= RecordColumn; ++c)
            item->setToolTip(c, event.overdue ? QStringLiteral("Overdue. ") + typed : typed);
        if (event.overdue) {
            item->setText(DateColumn, item->text(DateColumn) + QStringLiteral(" (overdue)"));
            for (int c = DateColumn; c <= RecordColumn; ++c)
                item->setForeground(c, QBrush(QColor(176, 0, 0)));
        }
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    showOlder();
    for (int c = DateColumn; c < RecordColumn; ++c)
        m_list->resizeColumnToContents(c);
    m_problems->setVisible(!m_calendar.problems.isEmpty());
    m_problems->setText(m_calendar.problems.join(u'\n'));
    m_ready = true;
}

void TBreedingCalendar::OpenEventClick(int row)
{
    if (row < 0 || row >= m_calendar.events.size())
        return;
    const BreedingCalendar::Event &event = m_calendar.events.at(row);
    HerdWindows::openRecordAt(event.record, event.row);
}

void TBreedingCalendar::FileExportICalendarClick()
{
    const std::optional<QString> path = HerdWindows::exportPath(
        this, {QStringLiteral("iCalendar Files (*.ics)|*.ics"), QStringLiteral("ics"),
               QStringLiteral("Export as iCalendar")});
    if (path)
        ICalendar::write(*path, m_calendar.events, QDateTime::currentDateTimeUtc(), m_herdFolder);
}
