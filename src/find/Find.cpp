#include "find/Find.h"

#include "records/LineFile.h"
#include "records/LineFormat.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// How long a search runs before it shows its progress and the Stop button.
constexpr int MomentMs = 300;
// Searches run on up to this many threads.
constexpr qsizetype MaxWorkers = 4;
// How often a running search's results are put on the list.
constexpr int DrainMs = 40;
// How many unreadable files the message names before it only counts the rest.
constexpr int NamedFailures = 10;

// The kinds the registry says Find in Files searches.
QList<FindEngine::SearchedKind> searchedKinds()
{
    QList<FindEngine::SearchedKind> kinds;
    for (const WindowKind *kind : KindRegistry::instance().searched())
        kinds.append({kind->findTitle, kind->extension});
    return kinds;
}

} // namespace

TFind::TFind(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(QStringLiteral("Find in Files"));
    // The one find window lives as long as the program: closing it only hides it.
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("FindForm"));
    auto *grid = new QGridLayout(form);

    grid->addWidget(new QLabel(QStringLiteral("Search String:"), form), 0, 0);
    m_text = new QLineEdit(form);
    m_text->setObjectName(QStringLiteral("FindName"));
    grid->addWidget(m_text, 0, 1, 1, 2);

    grid->addWidget(new QLabel(QStringLiteral("In:"), form), 1, 0);
    m_folder = new QLineEdit(form);
    m_folder->setObjectName(QStringLiteral("DirectoryBox"));
    grid->addWidget(m_folder, 1, 1);
    auto *browse = new QToolButton(form);
    browse->setObjectName(QStringLiteral("DirectoryBrowse"));
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Choose the folder to search"));
    connectCommand(browse, &QToolButton::clicked, this, &TFind::DirectoryBrowseClick);
    grid->addWidget(browse, 1, 2);

    grid->addWidget(new QLabel(QStringLiteral("Files of Type in Folder:"), form), 2, 0, 1, 3);
    m_kinds = new QComboBox(form);
    m_kinds->setObjectName(QStringLiteral("Extensions"));
    for (const FindEngine::KindItem &kind : FindEngine::kindItems(searchedKinds()))
        m_kinds->addItem(kind.item, kind.mask);
    grid->addWidget(m_kinds, 3, 0, 1, 3);
    m_files = new QListWidget(form);
    m_files->setObjectName(QStringLiteral("FileBox"));
    m_files->setSelectionMode(QAbstractItemView::NoSelection);
    m_files->setUniformItemSizes(true);
    grid->addWidget(m_files, 4, 0, 1, 3);

    auto *results = new QVBoxLayout;
    results->addWidget(new QLabel(QStringLiteral("Results:"), form));
    // One row per matching line: the file's name, then the line, named by its field
    // where the file's kind names it, so "blue" in a colour tells from "Blue" in a name.
    m_found = new QTreeWidget(form);
    m_found->setObjectName(QStringLiteral("FoundBox"));
    m_found->setColumnCount(2);
    m_found->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Matching Line")});
    m_found->setRootIsDecorated(false);
    m_found->setUniformRowHeights(true);
    m_found->setAllColumnsShowFocus(true);
    m_found->header()->setStretchLastSection(true);
    m_found->setColumnWidth(0, 110);
    results->addWidget(m_found);
    m_progress = new QProgressBar(form);
    m_progress->setObjectName(QStringLiteral("SearchProgress"));
    m_progress->setFormat(QStringLiteral("%v of %m files"));
    m_progress->hide();
    results->addWidget(m_progress);
    grid->addLayout(results, 0, 3, 5, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_search = new QPushButton(QStringLiteral("Search"), form);
    m_search->setObjectName(QStringLiteral("Search"));
    m_search->setDefault(true);
    m_stop = new QPushButton(QStringLiteral("Stop"), form);
    m_stop->setObjectName(QStringLiteral("SearchStop"));
    m_stop->hide();
    m_open = new QPushButton(QStringLiteral("Open"), form);
    m_open->setObjectName(QStringLiteral("Open"));
    m_open->setEnabled(false);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), form);
    cancel->setObjectName(QStringLiteral("FindCancel"));
    for (QPushButton *button : {m_search, m_stop, m_open, cancel})
        buttons->addWidget(button);
    grid->addLayout(buttons, 5, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    setWidget(form);

    connectCommand(m_search, &QPushButton::clicked, this, &TFind::SearchClick);
    connectCommand(m_text, &QLineEdit::returnPressed, this, &TFind::SearchClick);
    connectCommand(m_stop, &QPushButton::clicked, this, &TFind::StopClick);
    connectCommand(m_open, &QPushButton::clicked, this, &TFind::OpenClick);
    connectCommand(m_found, &QTreeWidget::itemDoubleClicked, this, &TFind::OpenClick);
    connectCommand(cancel, &QPushButton::clicked, this, &TFind::FindCancelClick);
    // Cancel is the window's cancel button: Esc anywhere in it does the same.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    escape->setObjectName(QStringLiteral("FindEscape"));
    connectCommand(escape, &QShortcut::activated, this, &TFind::FindCancelClick);
    connect(m_found, &QTreeWidget::itemClicked, this, [this] {
        if (!m_found->selectedItems().isEmpty())
            m_open->setEnabled(true);
    });
    connect(m_folder, &QLineEdit::textChanged, this, &TFind::listFiles);
    connect(m_kinds, &QComboBox::currentIndexChanged, this, [this] {
        m_mask = m_kinds->currentData().toString();
        listFiles();
    });

    m_momentTimer = new QTimer(this);
    m_momentTimer->setSingleShot(true);
    m_momentTimer->setInterval(MomentMs);
    connect(m_momentTimer, &QTimer::timeout, this, [this] {
        if (!isSearching())
            return;
        m_progress->show();
        m_stop->show();
    });

    m_drainTimer = new QTimer(this);
    m_drainTimer->setInterval(DrainMs);
    connect(m_drainTimer, &QTimer::timeout, this, &TFind::drain);

    // "All", the item the drop-down starts on.
    m_mask = m_kinds->itemData(0).toString();
    m_folder->setText(QDir::toNativeSeparators(QDir::currentPath()));
    resize(DefaultSize);
}

TFind::~TFind()
{
    stopWorkers();
}

QString TFind::folder() const
{
    return QDir::fromNativeSeparators(m_folder->text());
}

void TFind::setStopDelay(int ms)
{
    m_momentTimer->setInterval(ms);
}

void TFind::setFolder(const QString &folder)
{
    m_folder->setText(QDir::toNativeSeparators(folder));
}

QStringList TFind::resultPaths() const
{
    QStringList paths;
    for (int i = 0; i < m_found->topLevelItemCount(); ++i)
        paths.append(m_found->topLevelItem(i)->data(0, Qt::UserRole).toString());
    return paths;
}

QStringList TFind::resultLines() const
{
    QStringList lines;
    for (int i = 0; i < m_found->topLevelItemCount(); ++i)
        lines.append(m_found->topLevelItem(i)->text(1));
    return lines;
}

QString TFind::describeLine(const QString &path, int line, const QString &text)
{
    // The kind by its extension in any letters: OLDDOE.RAB is still a rabbit's file,
    // though Open leaves it alone.
    const QString extension = extensionOf(path);
    for (const WindowKind &kind : KindRegistry::instance().kinds()) {
        if (!kind.format || kind.extension.compare(extension, Qt::CaseInsensitive) != 0)
            continue;
        const QString field = kind.format->label(line);
        return field.isEmpty() ? text : field + QStringLiteral(": ") + text;
    }
    return text;
}

QStringList TFind::listedFiles() const
{
    QStringList names;
    for (int i = 0; i < m_files->count(); ++i)
        names.append(m_files->item(i)->text());
    return names;
}

void TFind::listFiles()
{
    // The folder may be half typed: a folder that cannot be listed lists nothing.
    QStringList paths;
    try {
        paths = FindEngine::listFolder(folder(), m_mask);
    } catch (const RecordError &) {
    }
    showListed(paths);
}

void TFind::showListed(const QStringList &paths)
{
    m_listed = paths;
    m_files->clear();
    QStringList names;
    names.reserve(m_listed.size());
    for (const QString &path : std::as_const(m_listed))
        names.append(fileNamePart(path));
    m_files->addItems(names);
}

void TFind::DirectoryBrowseClick()
{
    const std::optional<QString> chosen =
        Platform::instance().folderName(this, QStringLiteral("Choose a Folder"), folder());
    if (chosen)
        setFolder(*chosen);
}

void TFind::SearchClick()
{
    if (isSearching())
        return;
    const QString text = m_text->text();
    // Matching every line of every file helps nobody.
    if (text.isEmpty()) {
        Platform::instance().ask(this, FindEngine::emptyTextMessage(), Platform::Buttons::Ok);
        return;
    }
    // The folder as it is now: files added or removed since it was listed count.
    const QStringList paths = FindEngine::listFolder(folder(), m_mask);
    if (paths != m_listed || m_files->count() != paths.size())
        showListed(paths);

    m_found->clear();
    m_failures.clear();
    m_arrived.assign(std::size_t(paths.size()), std::nullopt);
    m_nextShown = 0;
    m_received = 0;
    const int workers = int(std::clamp<qsizetype>(QThread::idealThreadCount(), 1, MaxWorkers));
    {
        QMutexLocker lock(&m_pendingLock);
        m_pending = Pending{};
        m_pending.running = workers;
    }
    m_progress->setRange(0, int(paths.size()));
    m_progress->setValue(0);
    m_search->setEnabled(false);

    m_cancel = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    // Each worker hands its files over under the lock; the window takes what has
    // come on a short timer, and at once when the search is done, so ten thousand
    // files do not wake it ten thousand times.
    const auto handOver = [this](const std::function<void(Pending &)> &add) {
        bool post = false;
        {
            QMutexLocker lock(&m_pendingLock);
            add(m_pending);
            post = m_pending.running == 0 && !m_pending.posted;
            m_pending.posted = m_pending.posted || post;
        }
        if (post)
            QMetaObject::invokeMethod(this, &TFind::drain, Qt::QueuedConnection);
    };
    // The files are dealt out in turn, so every worker is busy near the front of the
    // list and the results shown in list order grow steadily.
    for (int w = 0; w < workers; ++w) {
        QStringList share;
        for (qsizetype i = w; i < paths.size(); i += workers)
            share.append(paths.at(i));
        m_workers.append(QThread::create([share, text, cancel, handOver, w, workers] {
            try {
                FindEngine::search(
                    share, text,
                    [&](int index, const FindEngine::FileResult &result) {
                        handOver([&](Pending &p) { p.files.append({index * workers + w, result}); });
                    },
                    cancel.get());
            } catch (...) {
                // Only an empty text throws, and that never gets here; the search ends.
            }
            handOver([](Pending &p) { --p.running; });
        }));
    }
    for (QThread *worker : std::as_const(m_workers))
        worker->start();
    m_momentTimer->start();
    m_drainTimer->start();
}

void TFind::drain()
{
    Pending taken;
    {
        QMutexLocker lock(&m_pendingLock);
        std::swap(taken.files, m_pending.files);
        taken.running = m_pending.running;
    }
    if (!isSearching())
        return; // left over from a search that was stopped and shown already
    for (auto &[index, result] : taken.files)
        m_arrived[std::size_t(index)] = std::move(result);
    m_received += int(taken.files.size());
    // Shown in list order: a file waits until every file before it has come.
    while (m_nextShown < m_arrived.size() && m_arrived[m_nextShown]) {
        const FindEngine::FileResult result = std::move(*m_arrived[m_nextShown]);
        m_arrived[m_nextShown].reset();
        ++m_nextShown;
        if (result.failed()) {
            m_failures.append(result.error);
            continue;
        }
        const QString name = fileNamePart(result.path);
        QList<QTreeWidgetItem *> items;
        items.reserve(result.lines.size());
        for (qsizetype i = 0; i < result.lines.size(); ++i) {
            const int line = result.lines.at(i);
            auto *item = new QTreeWidgetItem({name, describeLine(result.path, line, result.texts.value(i))});
            item->setData(0, Qt::UserRole, result.path);
            const QString where =
                QStringLiteral("%1, line %2").arg(QDir::toNativeSeparators(result.path)).arg(line + 1);
            item->setToolTip(0, where);
            item->setToolTip(1, plainToolTip(where + u'\n' + item->text(1)));
            items.append(item);
        }
        m_found->addTopLevelItems(items);
    }
    m_progress->setValue(m_received);
    if (taken.running == 0) {
        stopWorkers();
        finishSearch();
    }
}

void TFind::stopWorkers()
{
    if (m_cancel)
        m_cancel->store(true);
    for (QThread *worker : std::as_const(m_workers))
        worker->wait();
    qDeleteAll(m_workers);
    m_workers.clear();
}

void TFind::StopClick()
{
    if (!isSearching())
        return;
    // What was found before the stop is shown, up to the first file not searched.
    if (m_cancel)
        m_cancel->store(true);
    for (QThread *worker : std::as_const(m_workers))
        worker->wait();
    drain();
}

void TFind::finishSearch()
{
    m_momentTimer->stop();
    m_drainTimer->stop();
    m_progress->hide();
    m_stop->hide();
    m_search->setEnabled(true);
    const QStringList failures = std::exchange(m_failures, {});
    emit searchFinished();
    if (failures.isEmpty())
        return;
    // One message for the whole search: the other files were searched.
    QStringList shown = failures.mid(0, NamedFailures);
    if (failures.size() > NamedFailures)
        shown.append(QStringLiteral("... and %1 more").arg(failures.size() - NamedFailures));
    Platform::instance().showError(this,
                                   QStringLiteral("These files could not be searched:\n\n%1").arg(shown.join(u'\n')));
}

void TFind::OpenClick()
{
    const QList<QTreeWidgetItem *> selected = m_found->selectedItems();
    if (selected.isEmpty())
        return;
    // The path the result was found in, whatever folder is chosen now; an extension
    // no record kind has opens nothing.
    KindRegistry::instance().openByExtension(selected.first()->data(0, Qt::UserRole).toString());
}

void TFind::closeEvent(QCloseEvent *event)
{
    QMdiSubWindow::closeEvent(event);
    // A sub-window closes the form inside it as well, and showing the window again
    // would not show the form: keep it shown, so Find in Files brings back the whole
    // window with its folder, text and results.
    if (event->isAccepted())
        if (QWidget *form = widget())
            form->show();
}

void TFind::FindCancelClick()
{
    StopClick();
    m_found->clear();
    m_text->clear();
    close();
}
