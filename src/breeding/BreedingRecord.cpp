#include "breeding/BreedingRecord.h"

#include "breeding/BreedingCsv.h"
#include "breeding/BreedingLinkEditor.h"
#include "breeding/BreedingLinks.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinks.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>

#include <algorithm>

using namespace BreedingFile;

namespace {

// The client area of the 923 x 510 window. A table that outgrows it widens the sheet.
constexpr QSize SheetSize{915, 482};
constexpr int Margin = 8;
constexpr int SubjectTop = 40;
constexpr int RuleTop = 64;
constexpr int HeadingTop = 72;
constexpr int FirstRowTop = 94;
constexpr int RowPitch = 24;
constexpr int ColumnGap = 8;

const char *const ColumnHeadings[RowSize] = {"Sire/Dam", "Color",    "Ear #", "Date Bred", "Date Kindled", "Born",
                                             "Died",     "Fostered", "Bucks", "Does",      "Kept",         "Colors"};

bool isMateColumn(RowField column)
{
    return column == RowField::Parent || column == RowField::Color || column == RowField::Ear;
}

} // namespace

TBreedingRecord::TBreedingRecord(QWidget *parent)
    : SheetWindow(KindId, BreedingFile::format(), SheetFeatures{.fontCommands = false}, parent)
{
    setObjectName(QStringLiteral("BreedingRecord"));
    setSheet(SheetSize, sheetFace(10), DefaultSize);
    createMenus();
    buildSheet();
}

QString TBreedingRecord::storedEntry(const QString &typed) const
{
    return typed.isEmpty() ? QString(27, u' ') : typed;
}

void TBreedingRecord::addFileCommands(QMenu *file)
{
    SheetWindow::addFileCommands(file);
    QAction *csv = file->addAction(QStringLiteral("Export as &CSV..."));
    csv->setObjectName(QStringLiteral("FileExportCsv"));
    connectCommand(csv, &QAction::triggered, this, &TBreedingRecord::FileExportCsvClick);
}

void TBreedingRecord::FileExportCsvClick()
{
    const std::optional<QString> path = chooseSavePath(
        {QStringLiteral("CSV Files (*.csv)|*.csv"), QStringLiteral("csv"), QStringLiteral("Export as CSV")});
    if (path)
        Csv::write(*path, BreedingCsv::table(record()));
}

void TBreedingRecord::createMenus()
{
    auto *edit = new QMenu(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("Edit1"));
    addCommand(edit, "SetFileLinks", "&Set File Links", &SheetWindow::SetFileLinksClick,
            QKeySequence(Qt::CTRL | Qt::Key_L));
    // The row commands, found without right-clicking: they act on the row last clicked
    // and stay greyed until a row is.
    m_rowMenu = new QMenu(QStringLiteral("&Row"), this);
    m_rowMenu->setObjectName(QStringLiteral("RowMenu"));
    addCommand(m_rowMenu, "RowGenerateOffspring", "&Generate Offspring", &TBreedingRecord::RowGenerateOffspringClick);
    addCommand(m_rowMenu, "RowLoadSavedRabbit", "&Load Saved Rabbit as Mate", &TBreedingRecord::RowLoadSavedRabbitClick);
    addCommand(m_rowMenu, "RowOpenMate", "&Open Mate's Record", &TBreedingRecord::RowOpenMateClick);
    for (QAction *action : m_rowMenu->actions())
        action->setEnabled(false);
    buildMenus(QStringLiteral("Save &As"), {edit, m_rowMenu});

    // One action per command, shared by the menus that offer it.
    m_subjectMenu = new QMenu(this);
    m_subjectMenu->setObjectName(QStringLiteral("SubjectPopUp"));
    QAction *changeText =
        addChangeTextEntry(m_subjectMenu, QStringLiteral("Change &Text"), QStringLiteral("ChangeText"));
    QAction *openRabbit =
        addCommand(m_subjectMenu, "OpenRabbitFile", "&Open Rabbit File", &TBreedingRecord::OpenRabbitClick);
    QAction *loadRabbit =
        addLoadSavedRabbit(m_subjectMenu, &TBreedingRecord::LoadRabbitClick);

    m_mateMenu = new QMenu(this);
    m_mateMenu->setObjectName(QStringLiteral("MatePopUp"));
    m_mateMenu->addActions({changeText, openRabbit, loadRabbit});
    QAction *offspring =
        addCommand(m_mateMenu, "GenerateOffspring", "Generate Offspring", &TBreedingRecord::GenerateOffspringClick);

    m_litterMenu = new QMenu(this);
    m_litterMenu->setObjectName(QStringLiteral("LitterPopUp"));
    m_litterMenu->addActions({changeText, offspring});
}

ValueLabel *TBreedingRecord::addValue(int line, int x, int y, int position, QMenu *menu)
{
    const FieldSpec &entry = format().field(line);
    auto *label = new ValueLabel(entry.name, entry.placeholder, sheet(), position);
    label->move(x, y);
    label->installEventFilter(this);
    bindLabel(line, label);
    setLabelMenu(label, menu);
    if (isRow(position)) {
        connect(label, &ValueLabel::clicked, this, [this](ValueLabel *l) { chooseRow(l->tag()); });
        connect(label, &ValueLabel::rightClicked, this, [this](ValueLabel *l) { chooseRow(l->tag()); });
    }
    return label;
}

void TBreedingRecord::chooseRow(int row)
{
    m_chosenRow = row;
    for (QAction *action : m_rowMenu->actions())
        action->setEnabled(true);
}

void TBreedingRecord::focusRow(int row)
{
    ValueLabel *first = field(row, RowField::Parent);
    if (!first)
        return;
    chooseRow(row);
    if (auto *scroll = findChild<QScrollArea *>(QStringLiteral("SheetScroll")))
        scroll->ensureWidgetVisible(first);
    first->setFocus(Qt::OtherFocusReason);
}

void TBreedingRecord::buildSheet()
{
    QWidget *s = sheet();

    // The background is the breeder's decoration, not part of the record.
    m_backImage = new PictureBox(QStringLiteral("BackImage"), s);
    m_backImage->setGeometry(QRect(QPoint(0, 0), SheetSize));
    addPicture(m_backImage, QStringLiteral("&Change Background"));

    m_heading = sheetCaption(s, QStringLiteral("Breeding Record"), 0, 4, sheetFace(18, {.bold = true}));
    m_heading->setObjectName(QStringLiteral("Heading"));

    const QFont caption = sheetFace(11, {.bold = true});
    const QFont subjectValue = sheetFace(11);
    struct SubjectField
    {
        const char *caption;
        int line;
    };
    const SubjectField subject[] = {
        {"Name:", RabbitName}, {"Sex:", Sex}, {"Color:", Color}, {"Ear #:", EarNumber}, {"Reg #:", RegNumber}};
    SheetRows::Row row;
    int x = Margin;
    for (const SubjectField &f : subject) {
        QLabel *c = sheetCaption(s, QString::fromLatin1(f.caption), x, SubjectTop, caption);
        ValueLabel *value = addValue(f.line, x + c->width() + 4, SubjectTop, SubjectPosition, m_subjectMenu);
        value->setFont(subjectValue);
        row.append({c, x});
        row.append({value, 0});
        x = value->geometry().right() + 20;
        m_subjectEnd = value;
    }
    m_subjectRow.add(row, SheetSize.width() - Margin);

    // A black rule under the subject.
    m_rule = new QWidget(s);
    m_rule->setObjectName(QStringLiteral("Rule"));
    m_rule->setAutoFillBackground(true);
    QPalette black = m_rule->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_rule->setPalette(black);
    m_rule->setGeometry(Margin, RuleTop, SheetSize.width() - 2 * Margin, 2);
    m_rule->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Row numbers, so a printed row is easy to follow across the page.
    const QFont heading = sheetFace(10, {.bold = true, .underline = true});
    QList<QWidget *> numbers{sheetCaption(s, QStringLiteral("#"), Margin, HeadingTop, heading)};
    for (int m = 1; m <= RowCount; ++m)
        numbers.append(sheetCaption(s, QString::number(m), Margin, FirstRowTop + (m - 1) * RowPitch, sheetFace(9)));
    m_columns.append(numbers);

    for (int k = 0; k < RowSize; ++k) {
        const auto column = RowField(k);
        QList<QWidget *> widgets{sheetCaption(s, QString::fromLatin1(ColumnHeadings[k]), 0, HeadingTop, heading)};
        for (int m = 1; m <= RowCount; ++m)
            widgets.append(addValue(rowLine(m, column), 0, FirstRowTop + (m - 1) * RowPitch, m,
                                    isMateColumn(column) ? m_mateMenu : m_litterMenu));
        m_columns.append(widgets);
    }

    m_editor = new BreedingLinkEditor(s);
    setLinkEditor(m_editor, 30, &TBreedingRecord::LinkDoubleClick);
    connectCommand(m_editor->updateButton(), &QPushButton::clicked, this, &TBreedingRecord::UpdateLinksClick);
    m_editor->hide();

    relayout();
}

bool TBreedingRecord::eventFilter(QObject *watched, QEvent *event)
{
    // A label shown for the first time reports its size without an old one: the
    // table was laid out already, and doing it again for each of 185 labels is slow.
    if (!m_inLayout && event->type() == QEvent::Resize && static_cast<QResizeEvent *>(event)->oldSize().isValid()) {
        m_inLayout = true;
        relayout();
        m_inLayout = false;
    }
    return SheetWindow::eventFilter(watched, event);
}

void TBreedingRecord::relayout()
{
    m_subjectRow.layoutAll();
    // On paper the table keeps to the sheet's width: the widest columns' values (the
    // litters' colours, a mate's long name) get smaller rather than the page.
    if (isPrinting())
        fitTableColumns(m_columns, SheetSize.width() - 2 * Margin - ColumnGap * int(m_columns.size() - 1));
    // Each column as wide as its widest entry, so long values push the columns to
    // their right along and never cover them.
    int x = Margin;
    for (const QList<QWidget *> &column : std::as_const(m_columns)) {
        int widest = 0;
        for (QWidget *widget : column) {
            widget->adjustSize();
            widest = std::max(widest, widget->width());
        }
        for (QWidget *widget : column)
            widget->move(x, widget->y());
        x += widest + ColumnGap;
    }
    const int subjectRight = m_subjectEnd->geometry().right();
    const int width = std::max({SheetSize.width(), x - ColumnGap + Margin, subjectRight + Margin});
    if (width != sheet()->width()) {
        sheet()->setFixedWidth(width);
        m_backImage->resize(width, m_backImage->height());
        m_rule->resize(width - 2 * Margin, m_rule->height());
    }
    m_heading->move((width - m_heading->width()) / 2, m_heading->y());
}

ValueLabel *TBreedingRecord::field(const QString &name) const
{
    const int line = format().lineOf(name);
    return line < 0 ? nullptr : boundLabel(line);
}

ValueLabel *TBreedingRecord::field(int row, RowField column) const
{
    return isRow(row) ? boundLabel(rowLine(row, column)) : nullptr;
}

void TBreedingRecord::writeOwnLines(LineRecord &r) const
{
    m_editor->writeLinks(r);
}

void TBreedingRecord::applyOwnLines(const LineRecord &state)
{
    m_editor->setLinks(state);
    // Labels of a window not shown yet report no resize of their own.
    relayout();
}

void TBreedingRecord::applyValues(const LineRecord &r)
{
    for (auto it = boundLabels().cbegin(); it != boundLabels().cend(); ++it)
        it.value()->setValue(r.value(it.key()));
    m_editor->setLinks(r);
    relayout();
}

void TBreedingRecord::aboutToShowLoad()
{
    // Links set by hand before the load are not what Cancel should bring back.
    if (!m_editor->isHidden())
        m_editor->accept();
}

void TBreedingRecord::setUpPrinter(QPrinter &printer) const
{
    // Fifteen rows of twelve columns are much wider than high.
    printer.setPageOrientation(QPageLayout::Landscape);
}

// Link commands.

int TBreedingRecord::currentPosition() const
{
    return currentLabel() ? currentLabel()->tag() : -1;
}

void TBreedingRecord::UpdateLinksClick()
{
    updateFromLinks(BreedingLinks::updateFromLinks, [this](const LineRecord &r) { applyValues(r); });
}

void TBreedingRecord::LoadRabbitClick()
{
    loadSavedRabbit(currentPosition());
}

void TBreedingRecord::RowLoadSavedRabbitClick()
{
    loadSavedRabbit(m_chosenRow);
}

void TBreedingRecord::loadSavedRabbit(int position)
{
    if (!isPosition(position))
        return;
    const std::optional<QString> path = chooseFileOf(RabbitFile::KindId);
    if (!path)
        return;
    LineRecord r = record();
    editThrough(
        QStringLiteral("Load Saved Rabbit"), [&] { BreedingLinks::loadSavedRabbit(r, position, *path); },
        [&] { applyValues(r); });
    setCurrentLabel(nullptr);
}

void TBreedingRecord::OpenRabbitClick()
{
    openRabbit(currentPosition());
}

void TBreedingRecord::RowOpenMateClick()
{
    openRabbit(m_chosenRow);
}

void TBreedingRecord::openRabbit(int position)
{
    if (!isPosition(position))
        return;
    const LinkField *link = m_editor->positionLink(position);
    if (link->isLinked()) {
        openLinkedRabbit(link->link());
        return;
    }
    // A rabbit record filled from the position; nothing comes back here.
    KindRegistry::instance().startRecord(QString::fromLatin1(RabbitFile::KindId),
                                         BreedingLinks::positionToRabbit(record(), position), 0, nullptr, {});
}

void TBreedingRecord::GenerateOffspringClick()
{
    generateOffspring(currentPosition());
}

void TBreedingRecord::RowGenerateOffspringClick()
{
    generateOffspring(m_chosenRow);
}

void TBreedingRecord::generateOffspring(int row)
{
    if (!isRow(row))
        return;
    LineRecord kit = RabbitFile::newRecord();
    try {
        kit = BreedingLinks::offspringLinks(record(), row);
    } catch (const BreedingLinks::MissingParentsError &e) {
        Platform::instance().ask(this, e.message(), Platform::Buttons::Ok);
        return;
    }
    DocumentWindow *rabbit =
        KindRegistry::instance().startRecord(QString::fromLatin1(RabbitFile::KindId), kit, 0, nullptr, {});
    if (!rabbit)
        return;
    // The kit exists only in its window until the breeder saves it; a parent file
    // that fails leaves the window with what the files before it gave.
    rabbit->recordEdit(QStringLiteral("Generate Offspring"));
    // The parents' links are this record's: a moved file is looked for beside it.
    LinkContext context = linkContext();
    try {
        RabbitLinks::updateFromLinks(kit, context);
    } catch (...) {
        rabbit->fillFrom(kit);
        reportLinks(context);
        throw;
    }
    rabbit->fillFrom(kit);
    reportLinks(context);
}

void TBreedingRecord::openLinkedRabbit(const QString &path)
{
    openLink(QString::fromLatin1(RabbitFile::KindId), path);
}

void TBreedingRecord::LinkDoubleClick(LinkField *field)
{
    if (field->isLinked()) {
        openLinkedRabbit(field->link());
        return;
    }
    // No file yet: the breeder names the new rabbit's file at once, and that file
    // becomes the link.
    const QString path = KindRegistry::instance().createFile(QString::fromLatin1(RabbitFile::KindId));
    if (!path.isEmpty())
        field->setLink(path);
}

std::optional<LinkBackTarget> TBreedingRecord::linkBackTarget() const
{
    return LinkBackTarget{.subjectLine = BreedingFile::MainRabFile,
                        .subjectKind = QString::fromLatin1(RabbitFile::KindId),
                        .subjectFormat = &RabbitFile::format(),
                        .backLine = RabbitFile::BreedLink,
                        .nameLine = RabbitFile::RabbitName,
                        .subjectNoun = QStringLiteral("rabbit record"),
                        .noun = QStringLiteral("breeding record")};
}
