#pragma once

#include "herd/HerdWindows.h"
#include "shell/ChildWindow.h"

class QComboBox;
class QPlainTextEdit;
class QTreeWidget;

// Test mating: a buck and a doe of the herd, the planned litter's coefficient of
// inbreeding with its common ancestors and how complete its pedigree is; and every
// buck of the herd ranked for the doe, lowest coefficient first.
class TTestMating : public ChildWindow
{
    Q_OBJECT
public:
    explicit TTestMating(const HerdSource &herd, QWidget *parent = nullptr);

    static constexpr const char *KindId = "testmating";
    static constexpr QSize DefaultSize{640, 520};

    QComboBox *buckBox() const { return m_buck; }
    QComboBox *doeBox() const { return m_doe; }
    QPlainTextEdit *result() const { return m_result; }
    QTreeWidget *ranking() const { return m_ranking; }
    HerdReading *reading() const { return m_reading; }

    void MatingCalculateClick();
    void RankBucksClick();

private:
    void buildMenus();
    void addRows(const QList<Herd::Row> &rows);
    // The path of the rabbit chosen in the box; throws RecordError naming `what` when
    // there is none.
    QString chosen(const QComboBox *box, const QString &what) const;

    QComboBox *m_buck;
    QComboBox *m_doe;
    QPlainTextEdit *m_result;
    QTreeWidget *m_ranking;
    HerdReading *m_reading;
};
