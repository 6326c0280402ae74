#pragma once

#include "rabbitry/RabbitryFormat.h"
#include "shell/DocumentWindow.h"

#include <QHash>

class PictureBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The breeder's rabbitry: the list of their rabbit files, sorted by file name, a
// preview of the selected rabbit read from its file, the commands that open its
// files, and the rabbitry's own name, address and phone. No sheet and no printing.
//
// A record started from another window (Open Rabbitry on a pedigree's header) is
// seeded with a Rabbitry::seed(): the details to start with and an empty list.
class TMyRabbitry : public DocumentWindow
{
    Q_OBJECT
public:
    explicit TMyRabbitry(QWidget *parent = nullptr);

    static constexpr const char *KindId = Rabbitry::KindId;
    static constexpr QSize DefaultSize{1000, 426};

    // The full paths as listed, in screen order.
    QStringList rabbits() const;
    Rabbitry::Details details() const;
    QListWidget *rabbitList() const { return m_list; }
    // A detail field, preview value or button by its control name ("RabbitryName",
    // "Ear", "OpenPedigree").
    QLineEdit *detailField(const QString &name) const { return m_details.value(name); }
    QLabel *previewValue(const QString &name) const { return m_preview.value(name); }
    PictureBox *picture() const { return m_picture; }
    // Selects the entry with exactly this path; false when it is not listed.
    bool selectRabbit(const QString &path);

    void fillFrom(const LineRecord &record) override;

    // Commands.
    void AddClick();
    void RemoveClick();
    void OpenRabbitClick();
    void OpenLinkClick(Rabbitry::RabbitLink link);
    // Opens the herd table over the rabbits this window lists.
    void HerdTableClick();
    // Asks for a CSV file and writes one row per listed rabbit to it.
    void FileExportCsvClick();

protected:
    PreparedLoad prepareLoad(const LineFile &file, const QString &path) override;
    std::function<void()> keepState() override;
    LineFile recordLines() const override;
    void addFileCommands(QMenu *file) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildList();
    QWidget *buildPreview();
    QWidget *buildDetails();
    // Shows the list and details (the details stay when there are none).
    void showRecord(const Rabbitry::Record &record);
    void setDetails(const Rabbitry::Details &details);
    void fillList(const QStringList &paths, const QString &select);
    // The selected entry, whatever item is current.
    QListWidgetItem *chosenItem() const;
    QString selectedPath() const;
    // Previews the chosen entry unless it is the one shown.
    void followChosen();
    // Reads the chosen entry's file and shows it, errors through the command guard.
    void preview();
    void previewSelected();
    void blankPreview();
    void enableEntryButtons();

    QListWidget *m_list = nullptr;
    QHash<QString, QLineEdit *> m_details;
    QHash<QString, QLabel *> m_preview;
    PictureBox *m_picture = nullptr;
    QList<QPushButton *> m_entryButtons;
    // The list is being refilled: its selection signals are not the breeder's.
    bool m_filling = false;
    // The entry the preview shows (null when blank); compared, never followed.
    const QListWidgetItem *m_previewed = nullptr;
    // Previews so far, and their count when the key now held went down.
    quint64 m_previews = 0;
    quint64 m_previewsAtKey = 0;
    int m_keyDown = 0;
};
