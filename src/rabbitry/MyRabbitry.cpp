#include "rabbitry/MyRabbitry.h"

#include "breeding/BreedingFormat.h"
#include "pedigree/PedigreeFormat.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryCsv.h"
#include "records/Picture.h"
#include "records/RecordError.h"
#include "records/RecordText.h"
#include "records/WindowRegistry.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"
#include "show/ShowFormat.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

using Rabbitry::RabbitLink;

namespace {

// Refused before it is stored rather than saved as "?".
void requireStorable(const QString &what, const QString &text)
{
    QStringList unstorable = unstorableCharacters(text);
    if (unstorable.isEmpty())
        return;
    unstorable.replaceInStrings(QStringLiteral("\n"), QStringLiteral("(line break)"));
    throw RecordError(QStringLiteral("%1 holds characters a rabbitry file cannot store: %2")
                          .arg(what, excerpt(unstorable.join(u' '))));
}

struct DetailField
{
    const char *name;
    const char *caption;
};
const DetailField DetailFields[] = {
    {"RabbitryName", "Rabbitry Name:"},
    {"RabbitryAddress", "Address:"},
    {"RabbitryAbrev", "Abbreviated Address (for Pedigree files)"},
    {"RabbitryPhone", "Phone:"},
};

struct PreviewField
{
    const char *name;
    const char *caption;
};
const PreviewField PreviewFields[] = {
    {"Name", "Name:"}, {"Ear", "Ear #:"},   {"Reg", "Reg #:"},
    {"Sex", "Sex:"},   {"Color", "Color:"}, {"RabbitOwner", "Owner:"},
};

} // namespace

TMyRabbitry::TMyRabbitry(QWidget *parent) : DocumentWindow(KindId, parent)
{
    setObjectName(QStringLiteral("MyRabbitry"));
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("RabbitryForm"));
    auto *row = new QHBoxLayout(form);
    row->addWidget(buildList(), 3);
    row->addWidget(buildPreview(), 4);
    row->addWidget(buildDetails(), 3);
    setWidget(form);
    // No Print: the rabbitry has no sheet. Its list exports as CSV.
    buildMenus(QStringLiteral("Save &As"), {});
    resize(DefaultSize);
    // The herd tools work on the rabbitry active last.
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates, Qt::WindowStates now) {
        if (now & Qt::WindowActive)
            WindowRegistry::setNewest(this);
    });
}

void TMyRabbitry::HerdTableClick()
{
    WindowRegistry::setNewest(this);
    KindRegistry::instance().newWindow(QStringLiteral("herdtable"));
}

void TMyRabbitry::addFileCommands(QMenu *file)
{
    QAction *csv = file->addAction(QStringLiteral("Export as &CSV..."));
    csv->setObjectName(QStringLiteral("FileExportCsv"));
    connectCommand(csv, &QAction::triggered, this, &TMyRabbitry::FileExportCsvClick);
}

void TMyRabbitry::FileExportCsvClick()
{
    const std::optional<QString> path = chooseSavePath(
        {QStringLiteral("CSV Files (*.csv)|*.csv"), QStringLiteral("csv"), QStringLiteral("Export as CSV")});
    if (!path)
        return;
    const RabbitryCsv::Table table = RabbitryCsv::table(rabbits());
    Csv::write(*path, table.rows);
    // Told once, after the file was written: the rows are there, only their values
    // are missing.
    if (!table.unreadable.isEmpty())
        Platform::instance().ask(this, RabbitryCsv::unreadableMessage(table.unreadable), Platform::Buttons::Ok);
}

QWidget *TMyRabbitry::buildList()
{
    auto *box = new QGroupBox(QStringLiteral("Rabbits"));
    auto *column = new QVBoxLayout(box);
    m_list = new QListWidget(box);
    m_list->setObjectName(QStringLiteral("RabbitList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    column->addWidget(m_list);
    // A mouse press makes an item current before it selects it, the keyboard selects
    // before it moves the current item: the preview follows whichever comes, once.
    connect(m_list, &QListWidget::currentItemChanged, this, [this] {
        if (m_filling)
            return;
        enableEntryButtons();
        followChosen();
    });
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_filling)
            followChosen();
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        m_list->setCurrentItem(item);
        runCommand(this, [this] { OpenRabbitClick(); });
    });

    auto *buttons = new QHBoxLayout;
    auto *add = new QPushButton(QStringLiteral("Add"), box);
    add->setObjectName(QStringLiteral("Add"));
    connectCommand(add, &QPushButton::clicked, this, &TMyRabbitry::AddClick);
    auto *remove = new QPushButton(QStringLiteral("Remove"), box);
    remove->setObjectName(QStringLiteral("Remove"));
    connectCommand(remove, &QPushButton::clicked, this, &TMyRabbitry::RemoveClick);
    m_entryButtons.append(remove);
    auto *herd = new QPushButton(QStringLiteral("&Herd Table"), box);
    herd->setObjectName(QStringLiteral("HerdTable"));
    connectCommand(herd, &QPushButton::clicked, this, &TMyRabbitry::HerdTableClick);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addWidget(herd);
    column->addLayout(buttons);
    return box;
}

QWidget *TMyRabbitry::buildPreview()
{
    auto *box = new QGroupBox(QStringLiteral("Selected Rabbit"));
    auto *grid = new QGridLayout(box);
    int row = 0;
    for (const PreviewField &f : PreviewFields) {
        grid->addWidget(new QLabel(QString::fromLatin1(f.caption), box), row, 0);
        auto *value = new QLabel(box);
        value->setObjectName(QString::fromLatin1(f.name));
        value->setTextFormat(Qt::PlainText);
        value->setMinimumWidth(120);
        value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        grid->addWidget(value, row, 1);
        m_preview.insert(value->objectName(), value);
        ++row;
    }
    m_picture = new PictureBox(QStringLiteral("RabbitPic"), box);
    m_picture->setFixedSize(216, 171);
    m_picture->setStretch(true);
    grid->addWidget(m_picture, 0, 2, row, 1, Qt::AlignTop);

    // Two by two: four captions this long do not fit side by side in the panel.
    auto *buttons = new QGridLayout;
    int placed = 0;
    const auto addButton = [&](const char *name, const QString &caption) {
        auto *button = new QPushButton(caption, box);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button, placed / 2, placed % 2);
        ++placed;
        m_entryButtons.append(button);
        return button;
    };
    connectCommand(addButton("OpenRabbitFile", QStringLiteral("Open Rabbit File")), &QPushButton::clicked, this,
                   &TMyRabbitry::OpenRabbitClick);
    const struct
    {
        const char *name;
        RabbitLink link;
    } links[] = {
        {"OpenPedigree", RabbitLink::Pedigree}, {"OpenBreeding", RabbitLink::Breeding}, {"OpenShow", RabbitLink::Show}};
    for (const auto &entry : links) {
        QPushButton *button = addButton(entry.name, Rabbitry::openButtonText(entry.link));
        const RabbitLink link = entry.link;
        connect(button, &QPushButton::clicked, this, [this, link] { runCommand(this, [&] { OpenLinkClick(link); }); });
    }
    // The entry commands wait until the breeder has been in the list.
    for (QPushButton *button : std::as_const(m_entryButtons))
        button->setEnabled(false);
    grid->addLayout(buttons, row, 0, 1, 3);
    grid->setRowStretch(row + 1, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget *TMyRabbitry::buildDetails()
{
    auto *box = new QGroupBox(QStringLiteral("My Rabbitry"));
    auto *column = new QVBoxLayout(box);
    for (const DetailField &f : DetailFields) {
        column->addWidget(new QLabel(QString::fromLatin1(f.caption), box));
        auto *edit = new QLineEdit(box);
        edit->setObjectName(QString::fromLatin1(f.name));
        // Keys typed into one field in a row are undone together.
        QString field = QString::fromLatin1(f.caption);
        if (field.endsWith(u':'))
            field.chop(1);
        const QString step = QStringLiteral("Typing in %1").arg(field);
        connect(edit, &QLineEdit::textEdited, this, [this, step] { recordEdit(step, true); });
        column->addWidget(edit);
        m_details.insert(edit->objectName(), edit);
    }
    column->addStretch(1);
    return box;
}

QStringList TMyRabbitry::rabbits() const
{
    QStringList paths;
    for (int i = 0; i < m_list->count(); ++i)
        paths.append(m_list->item(i)->data(Qt::UserRole).toString());
    return paths;
}

Rabbitry::Details TMyRabbitry::details() const
{
    return {m_details.value("RabbitryName")->text(), m_details.value("RabbitryAddress")->text(),
            m_details.value("RabbitryAbrev")->text(), m_details.value("RabbitryPhone")->text()};
}

void TMyRabbitry::setDetails(const Rabbitry::Details &d)
{
    m_details.value("RabbitryName")->setText(d.name);
    m_details.value("RabbitryAddress")->setText(d.address);
    m_details.value("RabbitryAbrev")->setText(d.abbreviatedAddress);
    m_details.value("RabbitryPhone")->setText(d.phone);
}

void TMyRabbitry::fillList(const QStringList &paths, const QString &select)
{
    m_filling = true;
    m_list->clear();
    m_previewed = nullptr;
    for (const QString &path : Rabbitry::displayOrder(paths)) {
        auto *item = new QListWidgetItem(Rabbitry::displayName(path), m_list);
        item->setData(Qt::UserRole, path);
        item->setToolTip(path);
    }
    m_filling = false;
    if (!select.isEmpty())
        selectRabbit(select);
}

bool TMyRabbitry::selectRabbit(const QString &path)
{
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->data(Qt::UserRole).toString() == path) {
            m_list->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

QListWidgetItem *TMyRabbitry::chosenItem() const
{
    // One entry at most is selected; the current item may be another while a press
    // is under way, or none is selected after Remove.
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString TMyRabbitry::selectedPath() const
{
    const QListWidgetItem *item = chosenItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void TMyRabbitry::showRecord(const Rabbitry::Record &record)
{
    fillList(record.rabbits, QString());
    // An older list without details keeps the details the window shows.
    if (record.details)
        setDetails(*record.details);
    blankPreview();
}

void TMyRabbitry::fillFrom(const LineRecord &record)
{
    showRecord(Rabbitry::fromSeed(record));
}

DocumentWindow::PreparedLoad TMyRabbitry::prepareLoad(const LineFile &file, const QString &path)
{
    const Rabbitry::Record record = Rabbitry::parse(file, path);
    return {[this, record] { showRecord(record); }, {}};
}

std::function<void()> TMyRabbitry::keepState()
{
    const QStringList paths = rabbits();
    const Rabbitry::Details kept = details();
    return [this, paths, kept] {
        fillList(paths, QString());
        setDetails(kept);
        blankPreview();
    };
}

LineFile TMyRabbitry::recordLines() const
{
    const QStringList paths = rabbits();
    for (const QString &path : paths)
        requireStorable(QStringLiteral("The rabbit file \"%1\"").arg(excerpt(path)), path);
    const Rabbitry::Details d = details();
    for (const DetailField &f : DetailFields)
        requireStorable(QStringLiteral("\"%1\"").arg(QString::fromLatin1(f.caption)),
                        m_details.value(QString::fromLatin1(f.name))->text());
    return Rabbitry::toLines(paths, d);
}

void TMyRabbitry::blankPreview()
{
    for (QLabel *label : std::as_const(m_preview))
        label->clear();
    m_picture->clear();
    m_previewed = nullptr;
}

void TMyRabbitry::followChosen()
{
    if (chosenItem() != m_previewed)
        preview();
}

void TMyRabbitry::preview()
{
    ++m_previews;
    runCommand(this, [this] { previewSelected(); });
}

void TMyRabbitry::previewSelected()
{
    // Whatever the new entry's file holds, nothing of the previous rabbit stays.
    blankPreview();
    m_previewed = chosenItem();
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    LinkContext context = linkContext();
    const Rabbitry::RabbitPreview preview = Rabbitry::readPreview(path, context);
    reportLinks(context);
    m_preview.value("Name")->setText(preview.name);
    m_preview.value("Ear")->setText(preview.ear);
    m_preview.value("Reg")->setText(preview.reg);
    m_preview.value("Sex")->setText(preview.sex);
    m_preview.value("Color")->setText(preview.color);
    m_preview.value("RabbitOwner")->setText(preview.owner);
    if (!RecordText::isNoPicture(preview.picture))
        m_picture->setImage(loadPicture(preview.picture));
}

void TMyRabbitry::enableEntryButtons()
{
    for (QPushButton *button : std::as_const(m_entryButtons))
        button->setEnabled(true);
}

bool TMyRabbitry::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list) {
        switch (event->type()) {
        case QEvent::FocusIn:
            enableEntryButtons();
            break;
        case QEvent::KeyPress:
            // A key that moves nothing (Home on the first entry) still reads the file
            // again when it is let go; one that moves the choice has shown it already.
            if (!static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
                m_keyDown = static_cast<QKeyEvent *>(event)->key();
                m_previewsAtKey = m_previews;
            }
            break;
        case QEvent::KeyRelease: {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (!key->isAutoRepeat() && key->key() == m_keyDown) {
                m_keyDown = 0;
                if (m_previews == m_previewsAtKey && chosenItem())
                    preview();
            }
            break;
        }
        default:
            break;
        }
    } else if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        // A click on the rabbit already chosen changes no selection; it shows the
        // file as it is now all the same.
        const QListWidgetItem *pressed = m_list->itemAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (pressed && pressed == chosenItem())
            preview();
    }
    return DocumentWindow::eventFilter(watched, event);
}

void TMyRabbitry::AddClick()
{
    const QStringList chosen = Platform::instance().openFileNames(
        this, KindRegistry::dialogOf(RabbitFile::KindId, QStringLiteral("Add Rabbit")));
    if (chosen.isEmpty())
        return;
    recordEdit(QStringLiteral("Add Rabbit"));
    // Each file as a single Add would take it; what is refused is told once, together.
    QStringList paths = rabbits();
    QStringList listed;
    QStringList unstorable;
    for (const QString &path : chosen) {
        if (!isStorable(path))
            unstorable.append(path);
        else if (Rabbitry::addRabbit(paths, path) == Rabbitry::AddResult::AlreadyListed)
            listed.append(path);
    }
    if (paths.size() != rabbits().size())
        fillList(paths, selectedPath());
    if (!listed.isEmpty())
        Platform::instance().ask(this, Rabbitry::alreadyListedMessage(listed, int(chosen.size())),
                                 Platform::Buttons::Ok);
    if (unstorable.isEmpty())
        return;
    QString what = QStringLiteral("The path \"%1\"").arg(excerpt(unstorable.first()));
    if (unstorable.size() > 1)
        what += QStringLiteral(" (one of %1 not added)").arg(unstorable.size());
    requireStorable(what, unstorable.first());
}

void TMyRabbitry::RemoveClick()
{
    if (Platform::instance().ask(this, QStringLiteral("Remove Rabbit from Rabbitry? (File will not be deleted)"),
                                 Platform::Buttons::YesNo) != Platform::Answer::Yes)
        return;
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    QStringList paths = rabbits();
    paths.removeOne(path);
    fillList(paths, QString());
    m_list->setCurrentItem(nullptr);
    blankPreview();
    recordEdit(QStringLiteral("Remove Rabbit"));
}
