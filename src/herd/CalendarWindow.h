#pragma once

#include "herd/BreedingCalendar.h"
#include "herd/HerdWindows.h"
#include "shell/ChildWindow.h"

class QLabel;
class QTreeWidget;

// What is due in the rabbitry, soonest first: from every mating row of the breeding
// records the herd's rabbits link to, on the day counts and date order set in File >
// Preferences (the list is made again when either changes). Overdue dates are
// marked; a double-click opens the breeding record at the event's mating row; File >
// Export as iCalendar writes the events for a phone's or desktop's calendar.
class TBreedingCalendar : public ChildWindow
{
    Q_OBJECT
public:
    explicit TBreedingCalendar(const HerdSource &herd, QWidget *parent = nullptr);

    static constexpr const char *KindId = "calendar";
    static constexpr QSize DefaultSize{720, 460};

    QTreeWidget *list() const { return m_list; }
    QLabel *problems() const { return m_problems; }
    HerdReading *reading() const { return m_reading; }
    const QList<BreedingCalendar::Event> &events() const { return m_calendar.events; }
    // The calendar is gathered: the herd read and every linked record after it.
    bool isReady() const { return m_ready; }

    void FileExportICalendarClick();
    void OpenEventClick(int row);

private:
    void buildMenus();
    // The linked records once the herd is read.
    void takeSources();
    // The events of the linked records, read now on the settings as they stand.
    void gather();

    QList<Herd::Row> m_rows;
    QList<BreedingCalendar::Source> m_sources;
    BreedingCalendar::Calendar m_calendar;
    QTreeWidget *m_list;
    QLabel *m_problems;
    HerdReading *m_reading;
    QString m_herdFolder; // the rabbitry's folder, which UIDs name records from; empty when unsaved
    bool m_ready = false;
};
