#include "show/ShowRecord.h"

#include "rabbit/RabbitFormat.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "shell/LinkEditor.h"
#include "show/ShowLinks.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>

using namespace ShowFile;

namespace {

// The client area of the 779 x 530 window. A table that outgrows it widens the sheet.
constexpr QSize SheetSize{771, 502};
constexpr int Margin = 8;
constexpr int FirstIdentityTop = 40;
constexpr int IdentityPitch = 22;
constexpr int HeadingTop = 92;
constexpr int FirstRowTop = 114;
constexpr int RowPitch = 24;
constexpr int ColumnGap = 16;

const char *const ColumnHeadings[RowSize] = {"Award", "Date", "Location", "Competitors"};

} // namespace

TShowRecord::TShowRecord(QWidget *parent)
    : SheetWindow(KindId, ShowFile::format(), SheetFeatures{.fontCommands = false}, parent)
{
    setObjectName(QStringLiteral("ShowRecord"));
    setSheet(SheetSize, sheetFace(10), DefaultSize);
    createMenus();
    buildSheet();
    buildLinkPanel();
    relayout();
}

QString TShowRecord::storedEntry(const QString &typed) const
{
    return typed.isEmpty() ? QString(27, u' ') : typed;
}

void TShowRecord::createMenus()
{
    auto *edit = new QMenu(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("Edit1"));
    addCommand(edit, "RSRabbitFileSet", "&Set File Links", &SheetWindow::SetFileLinksClick,
            QKeySequence(Qt::CTRL | Qt::Key_L));
    buildMenus(QStringLiteral("Save &As"), {edit});

    // The rabbit's identity leads to its rabbit file; the placings are only text.
    m_identityMenu = new QMenu(this);
    m_identityMenu->setObjectName(QStringLiteral("RabbitPopUp"));
    addChangeTextEntry(m_identityMenu, QStringLiteral("Change &Text"), QStringLiteral("ChangeText"));
    addCommand(m_identityMenu, "OpenRabbitFile", "&Open Rabbit File", &TShowRecord::EditorClick);
    addLoadSavedRabbit(m_identityMenu, &TShowRecord::LoadClick);

    m_valueMenu = new QMenu(this);
    m_valueMenu->setObjectName(QStringLiteral("ValuePopUp"));
    addChangeTextEntry(m_valueMenu, QStringLiteral("&Change Text"), QStringLiteral("ChangeTextClick"));
}

ValueLabel *TShowRecord::addValue(int line, int x, int y, QMenu *menu)
{
    const FieldSpec &entry = format().field(line);
    auto *label = new ValueLabel(entry.name, entry.placeholder, sheet());
    label->move(x, y);
    label->installEventFilter(this);
    bindLabel(line, label);
    setLabelMenu(label, menu);
    return label;
}

void TShowRecord::buildSheet()
{
    QWidget *s = sheet();

    // The background is the breeder's decoration, not part of the record.
    m_backImage = new PictureBox(QStringLiteral("BackImage"), s);
    m_backImage->setGeometry(QRect(QPoint(0, 0), SheetSize));
    addPicture(m_backImage, QStringLiteral("&Change Background"));

    m_heading = sheetCaption(s, QStringLiteral("Show Record"), 0, 4, sheetFace(18, {.bold = true}));
    m_heading->setObjectName(QStringLiteral("Heading"));

    // Two lines of identity, three pairs each, in columns that give way to long values.
    const QFont caption = sheetFace(11, {.bold = true});
    const QFont value = sheetFace(11);
    struct IdentityField
    {
        const char *caption;
        int line;
        QMenu *menu;
    };
    const IdentityField identity[2][3] = {
        {{"Name:", RabbitName, m_identityMenu}, {"Color:", Color, m_identityMenu}, {"Sex:", Sex, m_identityMenu}},
        {{"Ear #:", EarNumber, m_identityMenu}, {"Reg #:", RegNumber, m_identityMenu}, {"Legs:", Legs, m_valueMenu}},
    };
    const int columnX[3] = {Margin, 330, 590};
    for (int r = 0; r < 2; ++r) {
        SheetRows::Row row;
        const int y = FirstIdentityTop + r * IdentityPitch;
        for (int c = 0; c < 3; ++c) {
            const IdentityField &f = identity[r][c];
            QLabel *label = sheetCaption(s, QString::fromLatin1(f.caption), columnX[c], y, caption);
            ValueLabel *v = addValue(f.line, columnX[c] + label->width() + 4, y, f.menu);
            v->setFont(value);
            row.append({label, columnX[c]});
            row.append({v, 0});
        }
        m_identity.add(row, SheetSize.width() - Margin);
    }

    // Row numbers, so a printed row is easy to follow across the page.
    const QFont heading = sheetFace(10, {.bold = true, .underline = true});
    QList<QWidget *> numbers{sheetCaption(s, QStringLiteral("#"), Margin, HeadingTop, heading)};
    for (int row = 1; row <= RowCount; ++row)
        numbers.append(sheetCaption(s, QString::number(row), Margin, FirstRowTop + (row - 1) * RowPitch, sheetFace(9)));
    m_columns.append(numbers);

    for (int k = 0; k < RowSize; ++k) {
        QList<QWidget *> widgets{sheetCaption(s, QString::fromLatin1(ColumnHeadings[k]), 0, HeadingTop, heading)};
        for (int row = 1; row <= RowCount; ++row)
            widgets.append(addValue(rowLine(row, RowField(k)), 0, FirstRowTop + (row - 1) * RowPitch, m_valueMenu));
        m_columns.append(widgets);
    }
}

void TShowRecord::buildLinkPanel()
{
    m_editor = new LinkEditorPanel(sheet());
    auto *grid = new QGridLayout(m_editor->body());
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);

    grid->addWidget(new QLabel(QStringLiteral("Rabbit File"), m_editor->body()), 0, 0);
    m_rabbitLink =
        new LinkField(QStringLiteral("MainRabFile"), QStringLiteral("RabbitFile"),
                      KindRegistry::dialogOf(RabbitFile::KindId), m_editor->body(), LinkField::Caption::Beside);
    m_rabbitLink->setRole(QStringLiteral("The rabbit's own file"));
    m_rabbitLink->pathEdit()->setMinimumWidth(220);
    grid->addWidget(m_rabbitLink, 0, 1);
    m_editor->addLink(m_rabbitLink);

    grid->addWidget(new QLabel(QStringLiteral("Show on Pedigree?"), m_editor->body()), 1, 0);
    m_winningsNum = new QComboBox(m_editor->body());
    m_winningsNum->setObjectName(QStringLiteral("WinningsNum"));
    m_winningsNum->addItem(NoRow);
    for (int row = 1; row <= RowCount; ++row)
        m_winningsNum->addItem(QString::number(row));
    m_winningsNum->setToolTip(QStringLiteral("The placing that the rabbit's record shows as its winnings"));
    grid->addWidget(m_winningsNum, 1, 1, Qt::AlignLeft);

    m_update = m_editor->addButton(QStringLiteral("UpdateLinks"), QStringLiteral("Update from Links"));

    // Another row changes what the rabbit's record shows, so it is an edit like any
    // other: Cancel keeps it, and closing asks about it.
    connect(m_winningsNum, &QComboBox::currentIndexChanged, this, [this] { recordEdit(QStringLiteral("Choose Show")); });
    setLinkEditor(m_editor, 60, &TShowRecord::LinkDoubleClick);
    connectCommand(m_update, &QPushButton::clicked, this, &TShowRecord::UpdateLinksClick);
    m_editor->hide();
}

bool TShowRecord::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_inLayout && event->type() == QEvent::Resize) {
        m_inLayout = true;
        relayout();
        m_inLayout = false;
    }
    return SheetWindow::eventFilter(watched, event);
}

void TShowRecord::relayout()
{
    m_identity.layoutAll();
    int right = 0;
    for (const ValueLabel *label : boundLabels())
        if (label->y() < HeadingTop)
            right = std::max(right, label->geometry().right());
    // On paper the table keeps to the sheet's width: the widest columns' values get
    // smaller rather than the page.
    if (isPrinting())
        fitTableColumns(m_columns, SheetSize.width() - 2 * Margin - ColumnGap * int(m_columns.size() - 1));
    // Each column as wide as its widest entry, so long values push the columns to
    // their right along and never cover them.
    QList<int> widths;
    int natural = 2 * Margin - ColumnGap;
    for (const QList<QWidget *> &column : std::as_const(m_columns)) {
        int widest = 0;
        for (QWidget *widget : column) {
            widget->adjustSize();
            widest = std::max(widest, widget->width());
        }
        widths.append(widest);
        natural += widest + ColumnGap;
    }
    // Room to spare goes between the placings' columns, so the table fills the page.
    const int spare = std::max(0, SheetSize.width() - natural);
    const int extraGap = spare / int(RowSize - 1);
    int x = Margin;
    for (int c = 0; c < m_columns.size(); ++c) {
        for (QWidget *widget : std::as_const(m_columns[c]))
            widget->move(x, widget->y());
        x += widths.at(c) + ColumnGap + (c > 0 ? extraGap : 0);
    }
    x -= extraGap;
    const int width = std::max({SheetSize.width(), x - ColumnGap + Margin, right + Margin});
    if (width != sheet()->width()) {
        sheet()->setFixedWidth(width);
        m_backImage->resize(width, m_backImage->height());
    }
    m_heading->move((width - m_heading->width()) / 2, m_heading->y());
}

ValueLabel *TShowRecord::field(const QString &name) const
{
    const int line = format().lineOf(name);
    return line < 0 ? nullptr : boundLabel(line);
}

ValueLabel *TShowRecord::field(int row, RowField column) const
{
    return isRow(row) ? boundLabel(rowLine(row, column)) : nullptr;
}

LineRecord TShowRecord::loadedState(const LineRecord &parsed, const LineRecord &before) const
{
    return ShowFile::loadedState(parsed, before);
}

void TShowRecord::writeOwnLines(LineRecord &r) const
{
    r.setValue(MainRabFile, m_rabbitLink->link());
    r.setValue(WinningsNum, m_winningsNum->currentText());
}

void TShowRecord::applyOwnLines(const LineRecord &state)
{
    m_rabbitLink->setLink(state.value(MainRabFile));
    setChosenRow(state.value(WinningsNum));
}

void TShowRecord::setChosenRow(const QString &text)
{
    // Shown states hold "None" or 1..15 (loadedState); anything else chooses no row.
    m_winningsNum->setCurrentIndex(std::max(0, m_winningsNum->findText(text)));
}

void TShowRecord::applyValues(const LineRecord &r)
{
    for (auto it = boundLabels().cbegin(); it != boundLabels().cend(); ++it)
        it.value()->setValue(r.value(it.key()));
    m_rabbitLink->setLink(r.value(MainRabFile));
}

void TShowRecord::aboutToShowLoad()
{
    // A link set by hand before the load is not what Cancel should bring back.
    if (!m_editor->isHidden())
        m_editor->accept();
}

void TShowRecord::setUpPrinter(QPrinter &printer) const
{
    // The sheet is wider than high: it prints across the page unless the breeder
    // turns the page in the print dialog.
    printer.setPageOrientation(QPageLayout::Landscape);
}

// Link commands.

void TShowRecord::UpdateLinksClick()
{
    updateFromLinks(ShowLinks::updateFromLinks, [this](const LineRecord &r) { applyValues(r); });
}

void TShowRecord::LoadClick()
{
    const std::optional<QString> path = chooseFileOf(RabbitFile::KindId);
    if (!path)
        return;
    LineRecord r = record();
    editThrough(
        QStringLiteral("Load Saved Rabbit"), [&] { ShowLinks::loadSavedRabbit(r, *path); }, [&] { applyValues(r); });
    setCurrentLabel(nullptr);
}

void TShowRecord::EditorClick()
{
    const QString rabbitKind = QString::fromLatin1(RabbitFile::KindId);
    if (m_rabbitLink->isLinked()) {
        openLink(rabbitKind, m_rabbitLink->link());
        return;
    }
    // A rabbit record filled from the sheet; nothing comes back here.
    KindRegistry::instance().startRecord(rabbitKind, ShowLinks::showToRabbit(record()), 0, nullptr, {});
}

void TShowRecord::LinkDoubleClick(LinkField *)
{
    const QString rabbitKind = QString::fromLatin1(RabbitFile::KindId);
    if (m_rabbitLink->isLinked()) {
        openLink(rabbitKind, m_rabbitLink->link());
        return;
    }
    // No file yet: the breeder names the new rabbit's file at once, and that file
    // becomes the link.
    const QString path = KindRegistry::instance().createFile(rabbitKind);
    if (!path.isEmpty())
        m_rabbitLink->setLink(path);
}

std::optional<LinkBackTarget> TShowRecord::linkBackTarget() const
{
    return LinkBackTarget{.subjectLine = ShowFile::MainRabFile,
                        .subjectKind = QString::fromLatin1(RabbitFile::KindId),
                        .subjectFormat = &RabbitFile::format(),
                        .backLine = RabbitFile::ShowLink,
                        .nameLine = RabbitFile::RabbitName,
                        .subjectNoun = QStringLiteral("rabbit record"),
                        .noun = QStringLiteral("show record")};
}
