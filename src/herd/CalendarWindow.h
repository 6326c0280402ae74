#pragma once

#include "herd/BreedingCalendar.h"
#include "herd/HerdWindows.h"
#include "shell/ChildWindow.h"

class QLabel;
class QTreeWidget;

// What is due in the rabbitry, soonest first: from every mating row of the breeding
// records the herd's rabbits link to, on the day counts and date order set in File >
// Preferences (the list is made again when either changes). Overdue dates are
// marked, and those more than RecentDays past listed only on request; a double-click opens the breeding record at the event's mating row; File >
// Export as iCalendar writes the events for a phone's or desktop's calendar.
class TBreedingCalendar : public ChildWindow
{
    Q_OBJECT
public:
    explicit TBreedingCalendar(const HerdSource &herd, QWidget *parent = nullptr);

    static constexpr const char *KindId = "calendar";
    static constexpr QSize DefaultSize{720, 460};
    // Events further back than this are history, not work to do: listed only when the
    // breeder asks (View > Show Older Events), and always exported.
    static constexpr int RecentDays = 30;

    QTreeWidget *list() const { return m_list; }
    QLabel *problems() const { return m_problems; }
    // "12 events more than 30 days past are not listed ...", hidden when none are.
    QLabel *olderNote() const { return m_olderNote; }
    HerdReading *reading() const { return m_reading; }
    const QList<BreedingCalendar::Event> &events() const { return m_calendar.events; }
    // The calendar is gathered: the herd read and every linked record after it.
    bool isReady() const { return m_ready; }

    void FileExportICalendarClick();
    void OpenEventClick(int row);
    void ViewShowOlderClick(bool show);

private:
    void buildMenus();
    // The linked records once the herd is read.
    void takeSources();
    // The events of the linked records, read now on the settings as they stand.
    void gather();
    // Hides or shows the events before the recent days, and says how many are hidden.
    void showOlder();

    QList<Herd::Row> m_rows;
    QList<BreedingCalendar::Source> m_sources;
    BreedingCalendar::Calendar m_calendar;
    QTreeWidget *m_list;
    QLabel *m_problems;
    QLabel *m_olderNote;
    HerdReading *m_reading;
    QString m_herdFolder; // the rabbitry's folder, which UIDs name records from; empty when unsaved
    bool m_ready = false;
    bool m_showOlder = false;
};
