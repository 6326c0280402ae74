#pragma once

#include <QMenu>

// File > Recent Files: the records opened or saved last, each opened in a new window
// of its kind. The entries are made afresh each time the menu opens.
class RecentFilesMenu : public QMenu
{
    Q_OBJECT
public:
    RecentFilesMenu(const QString &objectName, QWidget *owner);

    void refresh();
    // Opens a listed record; a file that is gone is taken off the list, with a message.
    void openRecent(const QString &path);

    // "&1 /home/breeder/Herd/Blaze.ped", ampersands kept as text, shortened in the
    // middle when long.
    static QString entryText(int index, const QString &path);

private:
    QWidget *m_owner;
};

// Opens a listed record in a new window of its kind; a file that is gone, or is no
// record, is taken off the list with a message (to `owner`).
void openRecentFile(QWidget *owner, const QString &path);
