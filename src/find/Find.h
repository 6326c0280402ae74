#pragma once

#include "find/FindEngine.h"
#include "shell/ChildWindow.h"

#include <QMutex>

#include <atomic>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
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
    // The names FileBox lists.
    QStringList listedFiles() const;
    bool isSearching() const { return bool(m_worker); }

    // Commands.
    void SearchClick();
    void StopClick();
    void OpenClick();
    void FindCancelClick();
    void DirectoryBrowseClick();

signals:
    // The last result of a search is shown (or it was stopped).
    void searchFinished();

private:
    // What the worker hands over: the files searched so far, waiting to be shown.
    struct Pending
    {
        QList<std::pair<int, FindEngine::FileResult>> files;
        bool done = false;
        bool posted = false; // a drain is on its way to the window
    };

    void listFiles();
    // Shows what the worker has handed over so far.
    void drain();
    void finishSearch();
    // Asks the worker to stop and waits for it.
    void stopWorker();

    QLineEdit *m_text = nullptr;
    QLineEdit *m_folder = nullptr;
    QComboBox *m_kinds = nullptr;
    QListWidget *m_files = nullptr;
    QListWidget *m_found = nullptr;
    QPushButton *m_search = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_stop = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_momentTimer = nullptr;

    QStringList m_listed; // full paths of the files FileBox lists
    QString m_mask;

    // The running search.
    QThread *m_worker = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QMutex m_pendingLock;
    Pending m_pending;
    QStringList m_searching; // the files the running search goes through
    int m_shownFiles = 0;
    QStringList m_failures;
};
