#pragma once

#include "find/FindEngine.h"
#include "shell/ChildWindow.h"

#include <QMutex>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QTreeWidget;
class QPushButton;
class QThread;
class QTimer;
class QToolButton;

// "Find in Files": searches the record files of one folder for a text, line by
// line, and lists each matching line's file; a result opens in the window of its
// kind. One window for the whole run: Cancel and the close button hide it.
//
// The search runs on a worker thread. Results come back file by file in list
// order; a search that takes longer than a moment shows its progress and a Stop
// button, and the window answers meanwhile.
class TFind : public ChildWindow
{
    Q_OBJECT
public:
    explicit TFind(QWidget *parent = nullptr);
    ~TFind() override;

    static constexpr const char *KindId = "find";
    static constexpr QSize DefaultSize{560, 470};

    QString folder() const;
    void setFolder(const QString &folder);
    // The full path of each result, in list order.
    QStringList resultPaths() const;
    // What each result shows of its line: "Color: Blue Otter", or the line's text
    // alone where the file's kind has no name for the line.
    QStringList resultLines() const;
    // What a result shows of a matching line of the file at `path`.
    static QString describeLine(const QString &path, int line, const QString &text);
    // The names FileBox lists.
    QStringList listedFiles() const;
    bool isSearching() const { return !m_workers.isEmpty(); }
    // How long a search runs before Stop and the progress bar show (a fast disk
    // finishes most searches before that; tests shorten it).
    void setStopDelay(int ms);

    // Commands.
    void SearchClick();
    void StopClick();
    void OpenClick();
    void FindCancelClick();
    void DirectoryBrowseClick();

signals:
    // The last result of a search is shown (or it was stopped).
    void searchFinished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // What the workers hand over: the files searched so far, waiting to be shown.
    struct Pending
    {
        QList<std::pair<int, FindEngine::FileResult>> files; // index in the list, result
        int running = 0;                                     // workers not finished yet
        bool posted = false;                                 // the last drain is on its way
    };

    void listFiles();
    // FileBox shows the names of `paths`.
    void showListed(const QStringList &paths);
    // Shows what the worker has handed over so far.
    void drain();
    void finishSearch();
    // Asks the workers to stop, waits for them and frees them.
    void stopWorkers();

    QLineEdit *m_text = nullptr;
    QLineEdit *m_folder = nullptr;
    QComboBox *m_kinds = nullptr;
    QListWidget *m_files = nullptr;
    QTreeWidget *m_found = nullptr; // file name, then the matching line
    QPushButton *m_search = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_stop = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_momentTimer = nullptr;
    QTimer *m_drainTimer = nullptr;

    QStringList m_listed; // full paths of the files FileBox lists
    QString m_mask;

    // The running search.
    QList<QThread *> m_workers;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QMutex m_pendingLock;
    Pending m_pending;
    // Results that came before an earlier file's, by index in the list.
    std::vector<std::optional<FindEngine::FileResult>> m_arrived;
    std::size_t m_nextShown = 0; // the first file whose results are not shown yet
    int m_received = 0;
    QStringList m_failures;
};
