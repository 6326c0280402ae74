#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QVBoxLayout;
class TBigBadParent;

// What the main window shows while no window is open: how to start. A button for
// each kind's new record, Open..., and the recent files, each running the command of
// its menu entry, the key of that entry named on it. The menus stay as they are.
class StartPanel : public QFrame
{
    Q_OBJECT
public:
    StartPanel(TBigBadParent *frame, QWidget *parent);

    // Remakes the recent files' buttons from the list as it stands now.
    void refresh();
    // The recent files' buttons, newest first.
    QList<QPushButton *> recentButtons() const;

private:
    QPushButton *addButton(QVBoxLayout *column, const QString &name, const QString &text);
    // Runs a command of the main window; the list of recent files may change by it.
    template <typename F> void run(F command);

    TBigBadParent *m_frame;
    QWidget *m_recent;
    QVBoxLayout *m_recentColumn;
    QLabel *m_noRecent;
};
