#pragma once

#include "herd/HerdWindows.h"
#include "shell/ChildWindow.h"
#include "shell/Preferences.h"

class HerdModel;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QTableView;

// The herd at a glance: one row per rabbit the rabbitry lists, read on worker
// threads. Sorted by a click on a heading, narrowed by the filter box and the sex and
// breed choices; a double-click opens the rabbit's record; File > Export as CSV
// writes the rows shown. A rabbit file that cannot be read keeps its row, marked,
// the reason in its tooltip. View chooses the date order (the breeder's setting, so
// every herd window follows); Rabbit > Test Mating, also on the grid's right-click
// menu, opens test mating on this herd with the selected rabbit chosen.
class THerdTable : public ChildWindow
{
    Q_OBJECT
public:
    explicit THerdTable(const HerdSource &herd, QWidget *parent = nullptr);

    static constexpr const char *KindId = "herdtable";
    static constexpr QSize DefaultSize{900, 480};

    QTableView *grid() const { return m_grid; }
    QLineEdit *filterBox() const { return m_filter; }
    QComboBox *sexBox() const { return m_sex; }
    QComboBox *breedBox() const { return m_breed; }
    HerdReading *reading() const { return m_reading; }
    // The rows shown, top to bottom.
    QList<Herd::Row> shownRows() const;

    void FileExportCsvClick();
    void OpenRowClick(int shownRow);
    // View > Month before Day, Day before Month.
    void DateOrderClick(Preferences::DateOrder order);
    // With no row selected the window opens with nothing chosen.
    void HerdTestMatingClick();

private:
    // Widens the window so that the columns fit, as far as the frame allows.
    void fitColumns();
    void buildMenus();
    void addRows(const QList<Herd::Row> &rows);
    void applyFilter();
    // The dates as the setting reads them now: the View entries checked, the rows
    // read again when the order changed.
    void followDateOrder();
    void openRowMenu(const QPoint &at);

    HerdSource m_herd;
    HerdDate::Order m_order;
    HerdModel *m_model;
    QTableView *m_grid;
    QLineEdit *m_filter;
    QComboBox *m_sex;
    QComboBox *m_breed;
    HerdReading *m_reading;
    QAction *m_monthFirst = nullptr;
    QAction *m_dayFirst = nullptr;
    QMenu *m_rowMenu = nullptr;
};
