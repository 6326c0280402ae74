#include "herd/HerdWindows.h"

#include "herd/HerdLoader.h"
#include "records/LineFile.h"
#include "shell/CommandGuard.h"
#include "shell/DocumentWindow.h"
#include "shell/Frame.h"
#include "shell/KindRegistry.h"
#include "shell/Preferences.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>

namespace HerdWindows {

HerdSource herdOf(const QString &rabbitryPath, const QString &caption, const QStringList &listed)
{
    if (!rabbitryPath.isEmpty())
        Preferences::setLastHerdFile(rabbitryPath);
    return {rabbitryPath, rabbitryPath.isEmpty() ? caption : QFileInfo(rabbitryPath).fileName(), listed};
}

std::optional<HerdSource> askForHerd(QWidget *parent, const FileDialogSpec &rabbitryDialog)
{
    FileDialogSpec request = rabbitryDialog;
    request.start = Preferences::lastHerdFile();
    if (request.start.isEmpty())
        request.start = Preferences::myRabbitryFile();
    const std::optional<QString> path = Platform::instance().openFileName(parent, request);
    if (!path)
        return std::nullopt;
    HerdSource herd{*path, QFileInfo(*path).fileName(), Herd::listedRabbits(*path)};
    Preferences::setLastHerdFile(*path);
    return herd;
}

HerdDate::Order dateOrder()
{
    switch (Preferences::dateOrder()) {
    case Preferences::DateOrder::DayFirst:
        return HerdDate::Order::DayFirst;
    case Preferences::DateOrder::MonthFirst:
        return HerdDate::Order::MonthFirst;
    case Preferences::DateOrder::System:
        break;
    }
    return HerdDate::defaultOrder();
}

Herd::Options options()
{
    return {.order = dateOrder(), .today = QDate::currentDate()};
}

BreedingCalendar::Settings calendarSettings()
{
    const Preferences::BreedingDays days = Preferences::breedingDays();
    return {.palpateDay = days.palpateDay,
            .nestBoxDay = days.nestBoxDay,
            .dueDay = days.kindleDay,
            .weanDay = days.weanWeeks * 7};
}

QMenu *fileMenu(QWidget *window, const QList<QAction *> &exports)
{
    auto *file = new QMenu(QStringLiteral("&File"), window);
    file->setObjectName(QStringLiteral("File"));
    file->addActions(exports);
    if (!exports.isEmpty())
        file->addSeparator();
    QAction *close = file->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("FileQuit"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    QObject::connect(close, &QAction::triggered, window, &QWidget::close);
    return file;
}

std::optional<QString> exportPath(QWidget *parent, const FileDialogSpec &request)
{
    for (;;) {
        const std::optional<QString> path = Platform::instance().saveFileName(parent, request);
        if (!path)
            return std::nullopt;
        if (!fileExists(*path))
            return path;
        switch (Platform::instance().ask(parent, QStringLiteral("That file already exists. Overwrite?"),
                                         Platform::Buttons::YesNoCancel)) {
        case Platform::Answer::Yes:
            return path;
        case Platform::Answer::No:
            continue;
        default:
            return std::nullopt;
        }
    }
}

DocumentWindow *openRecord(const QString &path)
{
    DocumentWindow *window = KindRegistry::instance().openByExtension(path);
    if (window && window->kind().openedFromMenu)
        window->kind().openedFromMenu(window);
    return window;
}

void openRecordAt(const QString &path, int position)
{
    // A window closed but not yet freed does not count.
    QList<DocumentWindow *> open = DocumentWindow::showing(path);
    open.removeIf([](const DocumentWindow *window) { return window->isHidden(); });
    DocumentWindow *window = open.isEmpty() ? nullptr : open.constFirst();
    if (window) {
        if (window->isMinimized())
            window->showNormal();
        Frame::instance()->mdiArea()->setActiveSubWindow(window);
    } else {
        window = openRecord(path);
    }
    if (window && window->kind().showPosition)
        window->kind().showPosition(window, position);
}

} // namespace HerdWindows

HerdReading::HerdReading(const HerdSource &herd, const Herd::Options &options, QWidget *parent)
    : QWidget(parent), m_loader(std::make_unique<HerdLoader>(herd.listed, herd.rabbitryPath, options))
{
    setObjectName(QStringLiteral("HerdReading"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("HerdStatus"));
    m_status->setTextFormat(Qt::PlainText);
    row->addWidget(m_status, 1);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("HerdProgress"));
    m_bar->setRange(0, std::max(1, m_loader->total()));
    m_bar->hide();
    row->addWidget(m_bar, 2);
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setObjectName(QStringLiteral("HerdStop"));
    m_stop->hide();
    row->addWidget(m_stop);
    connectCommand(m_stop, &QPushButton::clicked, this, &HerdReading::StopClick);
    m_showTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, [this] {
        if (!m_finished) {
            m_bar->show();
            m_stop->show();
        }
    });
}

HerdReading::~HerdReading()
{
    // The workers end before this object does: none may post to it afterwards.
    m_loader.reset();
}

void HerdReading::start()
{
    m_status->setText(QStringLiteral("Reading %1 rabbit files...").arg(m_loader->total()));
    m_showTimer.start(ShowAfterMs);
    // Called on a worker thread; the rows are taken on this object's thread.
    m_loader->start([this] {
        QMetaObject::invokeMethod(
            this, [this] { take(); }, Qt::QueuedConnection);
    });
    if (m_loader->total() == 0)
        QMetaObject::invokeMethod(
            this, [this] { take(); }, Qt::QueuedConnection);
}

void HerdReading::StopClick()
{
    m_loader->stop();
    m_stop->setEnabled(false);
}

bool HerdReading::wasStopped() const
{
    return m_loader->stopped();
}

int HerdReading::total() const
{
    return m_loader->total();
}

void HerdReading::take()
{
    if (m_finished)
        return;
    const bool ended = m_loader->finished();
    const QList<Herd::Row> rows = m_loader->takeRows();
    m_rows += int(rows.size());
    m_bar->setValue(m_loader->done());
    if (!rows.isEmpty())
        emit rowsArrived(rows);
    if (!ended)
        return;
    // Rows read after the call above that ended the workers come now.
    if (const QList<Herd::Row> rest = m_loader->takeRows(); !rest.isEmpty()) {
        m_rows += int(rest.size());
        emit rowsArrived(rest);
    }
    m_finished = true;
    m_showTimer.stop();
    m_bar->hide();
    m_stop->hide();
    m_status->setText(m_loader->stopped()
                          ? QStringLiteral("Stopped: %1 of %2 rabbit files read.").arg(m_rows).arg(total())
                          : QStringLiteral("%1 rabbit files read.").arg(total()));
    emit finished();
}
