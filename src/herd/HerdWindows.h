#pragma once

#include "herd/BreedingCalendar.h"
#include "herd/Herd.h"
#include "shell/Platform.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class DocumentWindow;
class HerdLoader;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

// What the herd windows share: which herd they show, how they read dates, their File
// menu, and the progress of reading the herd's files.

// A herd: the rabbit files a rabbitry lists.
struct HerdSource
{
    QString rabbitryPath; // empty for a rabbitry window never saved
    QString name;         // the rabbitry's file name, for captions
    QStringList listed;   // as the rabbitry lists them
};

namespace HerdWindows {

// The herd of a rabbitry window: what its list shows now. Remembered as the herd used
// last when the rabbitry has a file.
HerdSource herdOf(const QString &rabbitryPath, const QString &caption, const QStringList &listed);
// The herd of a rabbitry file the breeder chooses, the one used last offered first.
// Nothing when the dialog is cancelled; throws FileError or RecordError when the
// chosen file cannot be read.
std::optional<HerdSource> askForHerd(QWidget *parent, const FileDialogSpec &rabbitryDialog);

// How rows are read now: the breeder's date order, ages to today.
Herd::Options options();
HerdDate::Order dateOrder();
// The breeding calendar's day counts as set in File > Preferences.
BreedingCalendar::Settings calendarSettings();

// A herd window's File menu: the window's export entries (any number, none), a
// separator after them, and "&Close" (Ctrl+W, "FileQuit"), which closes `window`.
QMenu *fileMenu(QWidget *window, const QList<QAction *> &exports);

// A file to export to: a save dialog, with the question before overwriting a file.
std::optional<QString> exportPath(QWidget *parent, const FileDialogSpec &request);

// Opens a record file in the window of its kind, as File > Open does; the window, or
// null when none opened.
DocumentWindow *openRecord(const QString &path);
// The same for a position of the record (a breeding record's mating row), shown
// as its kind shows a position; a window that shows the file already is brought to
// the front instead of opening it again.
void openRecordAt(const QString &path, int position);

} // namespace HerdWindows

// Reads a herd's rows on worker threads and shows how far it has come: a progress bar
// ("HerdProgress"), a "Stop" button ("HerdStop") and a line of text ("HerdStatus").
// The bar and the button show only when reading takes longer than ShowAfterMs, so a
// small herd never flickers. Rows come in list order through rowsArrived.
class HerdReading : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ShowAfterMs = 300;

    HerdReading(const HerdSource &herd, const Herd::Options &options, QWidget *parent);
    ~HerdReading() override;

    void start();
    // Stop: the rows read so far stay; the rest are never read.
    void StopClick();

    bool isFinished() const { return m_finished; }
    bool wasStopped() const;
    int total() const;
    QProgressBar *progressBar() const { return m_bar; }
    QPushButton *stopButton() const { return m_stop; }
    QLabel *status() const { return m_status; }

signals:
    void rowsArrived(const QList<Herd::Row> &rows);
    // Every row read, or reading stopped; after the last rowsArrived.
    void finished();

private:
    void take();

    std::unique_ptr<HerdLoader> m_loader;
    QProgressBar *m_bar;
    QPushButton *m_stop;
    QLabel *m_status;
    QTimer m_showTimer;
    int m_rows = 0;
    bool m_finished = false;
};
