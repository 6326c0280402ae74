#pragma once

#include "herd/HerdWindows.h"
#include "shell/ChildWindow.h"

class QComboBox;
class QPlainTextEdit;
class QTreeWidget;

// Test mating: a buck and a doe of the herd, the planned litter's coefficient of
// inbreeding with its common ancestors and how complete its pedigree is; and every
// buck of the herd ranked for the doe, lowest coefficient first. Opened from the herd
// table, it starts with the rabbit selected there chosen.
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

    // Chooses the rabbit of that file once the herd's rows bring it: a buck, or a
    // rabbit of no stated sex, as the buck; a doe as the doe. Nothing is chosen for a
    // rabbit whose file cannot be read.
    void chooseRabbit(const QString &path);

    void MatingCalculateClick();
    void RankBucksClick();

private:
    void buildMenus();
    void addRows(const QList<Herd::Row> &rows);
    // The path of the rabbit chosen in the box; throws RecordError naming `what` when
    // there is none.
    QString chosen(const QComboBox *box, const QString &what) const;
    // Chooses the rabbit asked for when a box lists it.
    void chooseWanted();

    QComboBox *m_buck;
    QComboBox *m_doe;
    QPlainTextEdit *m_result;
    QTreeWidget *m_ranking;
    HerdReading *m_reading;
    QString m_wanted; // the rabbit to choose, until its row comes
};
