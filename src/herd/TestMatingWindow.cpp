#include "herd/TestMatingWindow.h"

#include "herd/TestMating.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Ranking thousands of bucks takes a moment: the pointer says so.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

QString percent(double coefficient)
{
    return QString::number(coefficient * 100, 'f', 2);
}

} // namespace

TTestMating::TTestMating(const HerdSource &herd, QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("TestMatingWindow"));
    setWindowTitle(QStringLiteral("Test Mating"));
    auto *form = new QWidget(this);
    auto *column = new QVBoxLayout(form);

    auto *choices = new QGridLayout;
    auto *buckCaption = new QLabel(QStringLiteral("&Buck:"), form);
    m_buck = new QComboBox(form);
    m_buck->setObjectName(QStringLiteral("MatingBuck"));
    buckCaption->setBuddy(m_buck);
    auto *doeCaption = new QLabel(QStringLiteral("&Doe:"), form);
    m_doe = new QComboBox(form);
    m_doe->setObjectName(QStringLiteral("MatingDoe"));
    doeCaption->setBuddy(m_doe);
    auto *calculate = new QPushButton(QStringLiteral("&Calculate"), form);
    calculate->setObjectName(QStringLiteral("MatingCalculate"));
    auto *rank = new QPushButton(QStringLiteral("&Rank Bucks"), form);
    rank->setObjectName(QStringLiteral("RankBucks"));
    choices->addWidget(buckCaption, 0, 0);
    choices->addWidget(m_buck, 0, 1);
    choices->addWidget(calculate, 0, 2);
    choices->addWidget(doeCaption, 1, 0);
    choices->addWidget(m_doe, 1, 1);
    choices->addWidget(rank, 1, 2);
    choices->setColumnStretch(1, 1);
    column->addLayout(choices);

    m_result = new QPlainTextEdit(form);
    m_result->setObjectName(QStringLiteral("MatingResult"));
    m_result->setReadOnly(true);
    column->addWidget(m_result, 1);

    m_ranking = new QTreeWidget(form);
    m_ranking->setObjectName(QStringLiteral("BuckRanking"));
    m_ranking->setRootIsDecorated(false);
    m_ranking->setHeaderLabels({QStringLiteral("Buck"), QStringLiteral("COI %"), QStringLiteral("Pedigree known")});
    m_ranking->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    column->addWidget(m_ranking, 1);

    m_reading = new HerdReading(herd, HerdWindows::options(), form);
    column->addWidget(m_reading);
    setWidget(form);

    connectCommand(calculate, &QPushButton::clicked, this, &TTestMating::MatingCalculateClick);
    connectCommand(rank, &QPushButton::clicked, this, &TTestMating::RankBucksClick);
    // A ranked buck double-clicked is mated to the doe in full.
    connect(m_ranking, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        const int at = m_buck->findData(item->data(0, Qt::UserRole));
        if (at < 0)
            return;
        m_buck->setCurrentIndex(at);
        runCommand(this, [this] { MatingCalculateClick(); });
    });
    connect(m_reading, &HerdReading::rowsArrived, this, &TTestMating::addRows);
    buildMenus();
    resize(DefaultSize);
    m_reading->start();
}

void TTestMating::buildMenus()
{
    setMenus({HerdWindows::fileMenu(this, {})});
}

void TTestMating::chooseRabbit(const QString &path)
{
    m_wanted = path;
    chooseWanted();
}

void TTestMating::chooseWanted()
{
    if (m_wanted.isEmpty())
        return;
    // The buck box first: a rabbit of no stated sex is in both, and is the buck.
    for (QComboBox *box : {m_buck, m_doe}) {
        if (const int at = box->findData(m_wanted); at >= 0) {
            box->setCurrentIndex(at);
            m_wanted.clear();
            return;
        }
    }
}

void TTestMating::addRows(const QList<Herd::Row> &rows)
{
    for (const Herd::Row &row : rows) {
        // A rabbit whose file cannot be read has no sex to go by, nor a pedigree.
        if (row.failed())
            continue;
        const QString shown = row.name.isEmpty() ? QFileInfo(row.path).fileName() : row.name;
        if (Herd::canSire(row.sex) && m_buck->findData(row.path) < 0)
            m_buck->addItem(shown, row.path);
        if (Herd::canBear(row.sex) && m_doe->findData(row.path) < 0)
            m_doe->addItem(shown, row.path);
    }
    chooseWanted();
}

QString TTestMating::chosen(const QComboBox *box, const QString &what) const
{
    const QString path = box->currentData().toString();
    if (path.isEmpty())
        throw RecordError(QStringLiteral("Choose a %1 first: the herd lists none.").arg(what));
    return path;
}

void TTestMating::MatingCalculateClick()
{
    const QString buck = chosen(m_buck, QStringLiteral("buck"));
    const QString doe = chosen(m_doe, QStringLiteral("doe"));
    // Read afresh: a record edited since the last calculation counts.
    AncestorFiles files;
    const TestMating::Result result = TestMating::mate(buck, doe, files);
    m_result->setPlainText(result.lines().join(u'\n'));
}

void TTestMating::RankBucksClick()
{
    const QString doe = chosen(m_doe, QStringLiteral("doe"));
    QStringList bucks;
    for (int i = 0; i < m_buck->count(); ++i)
        bucks.append(m_buck->itemData(i).toString());
    QList<TestMating::Ranked> ranked;
    {
        BusyCursor busy;
        AncestorFiles files;
        ranked = TestMating::rankBucks(doe, bucks, files);
    }
    m_ranking->clear();
    for (const TestMating::Ranked &buck : std::as_const(ranked)) {
        auto *item = new QTreeWidgetItem(m_ranking);
        item->setText(0, buck.name);
        item->setData(0, Qt::UserRole, buck.path);
        item->setToolTip(0, buck.path);
        if (buck.error.isEmpty()) {
            item->setText(1, percent(buck.coefficient));
            item->setText(2, buck.completeness());
        } else {
            item->setText(2, buck.error);
            item->setToolTip(2, buck.error);
        }
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_result->setPlainText(QStringLiteral("%1 bucks ranked for %2, lowest coefficient first. Double-click a buck "
                                          "to see its common ancestors with the doe.")
                               .arg(ranked.size())
                               .arg(m_doe->currentText()));
}
