#include "frame/PreferencesDialog.h"

#include "records/LineFile.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"
#include "shell/Preferences.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

// A count of the breeding calendar on its line of the group: caption, box, unit.
QSpinBox *addCount(QGridLayout *grid, int line, const QString &caption, const char *name,
                   Preferences::BreedingDays::Range range, int value, const QString &unit)
{
    QWidget *group = grid->parentWidget();
    auto *label = new QLabel(caption, group);
    auto *box = new QSpinBox(group);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(range.least, range.most);
    box->setValue(value);
    label->setBuddy(box);
    grid->addWidget(label, line, 0);
    grid->addWidget(box, line, 1);
    grid->addWidget(new QLabel(unit, group), line, 2);
    return box;
}

} // namespace

PreferencesDialog::PreferencesDialog(const FileDialogSpec &rabbitryDialog, QWidget *parent)
    : QDialog(parent), m_rabbitryDialog(rabbitryDialog)
{
    setObjectName(QStringLiteral("PreferencesDialog"));
    setWindowTitle(QStringLiteral("Preferences"));
    auto *grid = new QGridLayout(this);
    auto *caption = new QLabel(QStringLiteral("My rabbitry file"), this);
    grid->addWidget(caption, 0, 0);
    m_myRabbitry = new QLineEdit(Preferences::myRabbitryFile(), this);
    m_myRabbitry->setObjectName(QStringLiteral("MyRabbitryFile"));
    // Chosen, never typed: only a file that was there when chosen gets in.
    m_myRabbitry->setReadOnly(true);
    m_myRabbitry->setMinimumWidth(360);
    caption->setBuddy(m_myRabbitry);
    grid->addWidget(m_myRabbitry, 0, 1);
    auto *choose = new QPushButton(QStringLiteral("Choose..."), this);
    choose->setObjectName(QStringLiteral("MyRabbitryFileSet"));
    choose->setAutoDefault(false);
    grid->addWidget(choose, 0, 2);
    auto *clear = new QPushButton(QStringLiteral("Clear"), this);
    clear->setObjectName(QStringLiteral("MyRabbitryFileClear"));
    clear->setAutoDefault(false);
    grid->addWidget(clear, 0, 3);
    auto *note = new QLabel(QStringLiteral("A new pedigree is linked to this rabbitry and takes its breeder name and "
                                           "abbreviated address from it."),
                            this);
    note->setWordWrap(true);
    grid->addWidget(note, 1, 0, 1, 4);
    auto *orderCaption = new QLabel(QStringLiteral("&Dates"), this);
    grid->addWidget(orderCaption, 2, 0);
    m_dateOrder = new QComboBox(this);
    m_dateOrder->setObjectName(QStringLiteral("DateOrder"));
    // In the order of Preferences::DateOrder.
    m_dateOrder->addItems({QStringLiteral("As the system writes dates"),
                           QStringLiteral("Day before month (14/3/24)"),
                           QStringLiteral("Month before day (3/14/24)")});
    m_dateOrder->setCurrentIndex(int(Preferences::dateOrder()));
    orderCaption->setBuddy(m_dateOrder);
    grid->addWidget(m_dateOrder, 2, 1);
    auto *orderNote = new QLabel(QStringLiteral("How the herd table, test mating and breeding calendar read birth, "
                                                "bred and kindled dates such as 3/4/24."),
                                 this);
    orderNote->setWordWrap(true);
    grid->addWidget(orderNote, 3, 0, 1, 4);

    auto *calendar = new QGroupBox(QStringLiteral("Breeding calendar"), this);
    calendar->setObjectName(QStringLiteral("BreedingDays"));
    auto *counts = new QGridLayout(calendar);
    const Preferences::BreedingDays days = Preferences::breedingDays();
    using Days = Preferences::BreedingDays;
    const QString afterBred = QStringLiteral("days after the bred date");
    m_palpate =
        addCount(counts, 0, QStringLiteral("&Palpate"), "PalpateDay", Days::PalpateRange, days.palpateDay, afterBred);
    m_nestBox =
        addCount(counts, 1, QStringLiteral("&Nest box"), "NestBoxDay", Days::NestBoxRange, days.nestBoxDay, afterBred);
    m_kindle = addCount(counts, 2, QStringLiteral("Due to &kindle"), "KindleDay", Days::KindleRange, days.kindleDay,
                        afterBred);
    m_wean = addCount(counts, 3, QStringLiteral("&Wean"), "WeanWeeks", Days::WeanRange, days.weanWeeks,
                      QStringLiteral("weeks after kindling"));
    counts->setColumnStretch(2, 1);
    grid->addWidget(calendar, 4, 0, 1, 4);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("PreferencesButtons"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("PreferencesOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("PreferencesCancel"));
    grid->addWidget(buttons, 5, 0, 1, 4);
    connectCommand(choose, &QPushButton::clicked, this, &PreferencesDialog::ChooseClick);
    connect(clear, &QPushButton::clicked, this, &PreferencesDialog::ClearClick);
    // Ok may refuse: the guard shows why and the dialog stays.
    connectCommand(buttons, &QDialogButtonBox::accepted, this, &PreferencesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PreferencesDialog::reject);
}

void PreferencesDialog::ChooseClick()
{
    const std::optional<QString> path = Platform::instance().openFileName(this, m_rabbitryDialog);
    if (!path)
        return;
    // Every new pedigree would store the path as its link and read the file.
    if (!isStorable(*path))
        throw RecordError(QStringLiteral("The path \"%1\" holds characters a record file cannot store. Choose a "
                                         "rabbitry file whose folders and name use only plain letters.")
                              .arg(shownPath(*path)));
    LineFile::read(*path);
    m_myRabbitry->setText(*path);
}

void PreferencesDialog::ClearClick()
{
    m_myRabbitry->clear();
}

void PreferencesDialog::accept()
{
    const Preferences::BreedingDays days{.palpateDay = m_palpate->value(),
                                         .nestBoxDay = m_nestBox->value(),
                                         .kindleDay = m_kindle->value(),
                                         .weanWeeks = m_wean->value()};
    if (const QString problem = days.problem(); !problem.isEmpty())
        throw RecordError(QStringLiteral("Breeding calendar: ") + problem);
    Preferences::setBreedingDays(days);
    Preferences::setMyRabbitryFile(m_myRabbitry->text());
    Preferences::setDateOrder(Preferences::DateOrder(m_dateOrder->currentIndex()));
    QDialog::accept();
}
