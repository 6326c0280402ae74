#include "rabbit/RabbitSheet.h"

#include "genetics/GeneTables.h"
#include "rabbit/GeneticsChangePanel.h"
#include "rabbit/RabbitFormat.h"
#include "rabbit/RabbitLinkEditor.h"
#include "records/LineFile.h"
#include "shell/CommandGuard.h"
#include "shell/SheetWidgets.h"

#include <QEvent>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <vector>

using namespace RabbitFile;

namespace {

// The client area of the 596 x 589 window, so the whole sheet shows without scrolling.
constexpr int SheetWidth = 588;
constexpr int SheetHeight = 561;
// The family and sibling table end before the genetics block; the sibling columns
// start at these places.
constexpr int TableRight = 306;
constexpr int SiblingColumns[] = {8, 124, 234};
constexpr int ColumnGap = 4;

} // namespace

TRabbitSheet::TRabbitSheet(QWidget *parent) : SheetWindow(KindId, RabbitFile::format(), {}, parent)
{
    setObjectName(QStringLiteral("RabbitSheet"));

    setSheet(QSize(SheetWidth, SheetHeight), sheetFace(10), QSize(596, 589));

    auto *edit = new QMenu(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("Edit1"));
    addCommand(edit, "RSRabbitFileSet", "&Set File Links", &TRabbitSheet::SetFileLinksClick,
               QKeySequence(Qt::CTRL | Qt::Key_L));
    buildMenus(QStringLiteral("Save &As"), {edit});

    buildSheet();
}

ValueLabel *TRabbitSheet::makeField(int line, int x, int y, int tag)
{
    const FieldSpec &entry = format().field(line);
    auto *label = new ValueLabel(entry.name, entry.placeholder, sheet(), tag);
    label->move(x, y);
    m_fields.insert(entry.name, label);
    return label;
}

ValueLabel *TRabbitSheet::addField(int line, int x, int y, int tag)
{
    ValueLabel *label = makeField(line, x, y, tag);
    bindLabel(line, label);
    return label;
}

void TRabbitSheet::buildSheet()
{
    QWidget *s = sheet();

    m_backImage = new PictureBox(QStringLiteral("BackImage"), s);
    m_backImage->setGeometry(0, 0, SheetWidth, SheetHeight);
    m_backImage->lower();
    bindPicture(BackPicture, m_backImage, QStringLiteral("&Change Background"));

    m_rabbitPicture = new PictureBox(QStringLiteral("RabbitPicture"), s);
    m_rabbitPicture->setGeometry(8, 8, 216, 171);
    m_rabbitPicture->setHint({QStringLiteral("(Right Click to Add a Picture)"), QStringLiteral("(216 x 171 pixels)")});
    bindPicture(RabbitPicture, m_rabbitPicture, QStringLiteral("&Change Picture"));

    m_ownValueMenu = new QMenu(this);
    m_ownValueMenu->setObjectName(QStringLiteral("NoRabbitPopUp"));
    QAction *change = addChangeTextEntry(m_ownValueMenu, QStringLiteral("&Change Text"));

    m_relativeMenu = new QMenu(this);
    m_relativeMenu->setObjectName(QStringLiteral("LabelPopUp"));
    m_relativeMenu->addAction(change);
    addCommand(m_relativeMenu, "OpenRabbitFile", "&Open Rabbit File", &TRabbitSheet::OpenRabbitClick);
    addLoadSavedRabbit(m_relativeMenu, &TRabbitSheet::LoadRabbitClick);

    m_geneticMenu = new QMenu(this);
    m_geneticMenu->setObjectName(QStringLiteral("GeneticPopUp"));
    QAction *setGenetics = m_geneticMenu->addAction(QStringLiteral("Set Genetics"));
    setGenetics->setObjectName(QStringLiteral("ChangeGenes"));
    connect(setGenetics, &QAction::triggered, this, [this] {
        if (currentLabel())
            ASeriesClick(currentLabel());
    });
    addChangeTextEntry(m_geneticMenu, QStringLiteral("Change Text"));

    // Identity, top right. The name line keeps its own 12-point face.
    const QFont nameCaption = sheetFace(12, {.bold = true});
    const QFont nameValue = sheetFace(12);
    const int idx = 232;
    QLabel *nameLabel = addCaption(s, QStringLiteral("Name:"), idx, 10, &nameCaption);
    ValueLabel *name = addField(RabbitName, idx + nameLabel->width() + 4, 10);
    name->setFont(nameValue);
    m_rows.add({{nameLabel, idx}, {name, 0}});
    setLabelMenu(name, m_ownValueMenu);

    struct IdentityRow
    {
        const char *caption;
        int line;
    };
    const IdentityRow identity[] = {
        {"Owner:", OwnerName},
        {"Breed:", Breed},
        {"Sex:", Sex},
        {"Ear Tag Number:", EarNumber},
        {"Registration Number:", RegNumber},
        {"Weight:", Weight},
        {"Color:", Color},
        {"Birth Date:", BirthDate},
        {"Winnings:", Winnings},
    };
    int y = 38;
    for (const IdentityRow &row : identity) {
        QLabel *caption = addCaption(s, QString::fromLatin1(row.caption), idx, y);
        ValueLabel *value = addField(row.line, idx + caption->width() + 4, y);
        setLabelMenu(value, m_ownValueMenu);
        m_rows.add({{caption, idx}, {value, 0}});
        y += 17;
    }

    // Family and siblings, left column.
    const QFont heading = sheetFace(14, {.bold = true, .underline = true});
    addCaption(s, QStringLiteral("Family"), 8, 196, &heading);
    const auto relative = [&](const char *caption, int line, int x, int yy, int tag) {
        QLabel *c = addCaption(s, QString::fromLatin1(caption), x, yy);
        ValueLabel *value = addField(line, x + c->width() + 4, yy, tag);
        setLabelMenu(value, m_relativeMenu);
        return QList<std::pair<QWidget *, int>>{{c, x}, {value, 0}};
    };
    // On paper the parents' colours end before the genetics block.
    m_rows.add(relative("Father:", DadName, 8, 222, 1) + relative("Color:", DadColor, 170, 222, 1), TableRight);
    m_rows.add(relative("Mother:", MomName, 8, 240, 2) + relative("Color:", MomColor, 170, 240, 2), TableRight);

    const QFont bold = sheetFace(10, {.bold = true});
    const QFont columnHead = sheetFace(10, {.bold = true, .underline = true});
    addCaption(s, QStringLiteral("Siblings"), 8, 266, &bold);
    m_columns = {{addCaption(s, QStringLiteral("Name"), SiblingColumns[0], 284, &columnHead)},
                 {addCaption(s, QStringLiteral("Color"), SiblingColumns[1], 284, &columnHead)},
                 {addCaption(s, QStringLiteral("Sex"), SiblingColumns[2], 284, &columnHead)}};
    for (int i = 1; i <= SiblingCount; ++i) {
        const int row = 302 + (i - 1) * 17;
        const int lines[] = {siblingName(i), siblingColor(i), siblingSex(i)};
        for (int c = 0; c < 3; ++c) {
            ValueLabel *value = addField(lines[c], SiblingColumns[c], row, i + 2);
            // On paper each column keeps to its own place.
            value->setPlaceWidth((c < 2 ? SiblingColumns[c + 1] - 2 * ColumnGap : TableRight) - SiblingColumns[c]);
            setLabelMenu(value, m_relativeMenu);
            m_columns[c].append(value);
        }
    }

    // Colour genetics, right column: each series after its explanation line.
    addCaption(s, QStringLiteral("Color Genetics"), 312, 196, &heading);
    const QFont legendFont(QStringLiteral("Arial"), 7, QFont::Bold);
    // The sheet lists the series in the order of their file lines.
    std::vector<const Genetics::SeriesTable *> series;
    for (GeneSeries g : Genetics::AllSeries)
        series.push_back(&Genetics::table(g));
    std::ranges::sort(series, {}, &Genetics::SeriesTable::fileLine);
    y = 222;
    for (const Genetics::SeriesTable *row : series) {
        auto *legend = new QLabel(row->sheetHeading + u' ' + row->legend, s);
        legend->setFont(legendFont);
        legend->setWordWrap(true);
        legend->setFixedWidth(274);
        legend->move(312, y);
        legend->adjustSize();
        y += legend->height();
        ValueLabel *gene = makeField(row->fileLine, 324, y, 0);
        bindLabel(row->fileLine, gene, false);
        connect(gene, &ValueLabel::clicked, this, &TRabbitSheet::ASeriesClick);
        setLabelMenu(gene, m_geneticMenu);
        y += 19;
    }
    m_genePanel = new GeneticsChangePanel(s);
    connect(m_genePanel, &GeneticsChangePanel::accepted, this, &TRabbitSheet::GeneOKClick);
    connect(m_genePanel, &GeneticsChangePanel::cancelled, this, &TRabbitSheet::CancelClick);

    const QFont certify = sheetFace(10, {.italic = true});
    addCaption(s,
               QStringLiteral("I hereby certify the accuracy of this document. Signed:") + u' ' +
                   RecordText::underscores(14),
               8, 538, &certify);

    createLinkEditor();

    s->installEventFilter(this);
    for (ValueLabel *label : std::as_const(m_fields))
        label->installEventFilter(this);
}

bool TRabbitSheet::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_inLayout) {
        m_inLayout = true;
        if (watched == sheet()) {
            // A new sheet font: every caption and value takes a new size.
            if (event->type() == QEvent::FontChange)
                relayout();
        } else if (event->type() == QEvent::Resize) {
            // One value changed its size: only its row, or its column, moves.
            auto *widget = static_cast<QWidget *>(watched);
            const int row = m_rows.rowOf(widget);
            if (row >= 0)
                m_rows.layout(row);
            else if (std::ranges::any_of(m_columns, [widget](const QList<QWidget *> &c) { return c.contains(widget); }))
                layoutColumns();
        }
        m_inLayout = false;
    }
    return SheetWindow::eventFilter(watched, event);
}

void TRabbitSheet::relayout()
{
    m_rows.layoutAll();
    layoutColumns();
}

void TRabbitSheet::layoutColumns()
{
    // Sibling columns: each starts after the widest entry of the column before, but
    // the table stays left of the genetics block.
    const int *nominal = SiblingColumns;
    QList<int> widest;
    for (const QList<QWidget *> &column : std::as_const(m_columns)) {
        int w = 0;
        for (QWidget *widget : column) {
            widget->adjustSize();
            w = std::max(w, widget->width());
        }
        widest.append(w);
    }
    int columnX = nominal[0];
    for (int c = 0; c < m_columns.size(); ++c) {
        if (c > 0)
            columnX = std::max(nominal[c], columnX + widest[c - 1] + 2 * ColumnGap);
        if (c == m_columns.size() - 1)
            columnX = std::max(nominal[c], std::min(columnX, TableRight - widest[c]));
        for (QWidget *widget : std::as_const(m_columns[c]))
            widget->move(columnX, widget->y());
    }
}

void TRabbitSheet::ASeriesClick(ValueLabel *label)
{
    setCurrentLabel(label);
    m_geneTarget = label;
    m_genePanel->open(label->objectName());
    floatNear(m_genePanel, label);
}

void TRabbitSheet::GeneOKClick(const QString &choice)
{
    recordEdit();
    if (m_geneTarget)
        m_geneTarget->setValue(choice);
    setCurrentLabel(nullptr);
    hideOwnPanels();
}

void TRabbitSheet::CancelClick()
{
    setCurrentLabel(nullptr);
    hideOwnPanels();
    hideTextPanel();
}

void TRabbitSheet::hideOwnPanels()
{
    m_geneTarget = nullptr;
    m_genePanel->hide();
}

LineRecord TRabbitSheet::loadedState(const LineRecord &parsed, const LineRecord &before) const
{
    return RabbitFile::loadedState(parsed, before);
}

void TRabbitSheet::writeOwnLines(LineRecord &r) const
{
    const QFont font = sheet()->font();
    r.setValue(FontFace, font.family());
    r.setValue(FontSize, fromInteger(font.pointSize()));
    r.setValue(FontWeight, font.bold() ? RecordText::Bold : RecordText::Normal);
    m_editor->writeLinks(r);
}

void TRabbitSheet::applyOwnLines(const LineRecord &state)
{
    QFont font = sheet()->font();
    font.setFamily(state.value(FontFace));
    font.setPointSize(toInteger(state.value(FontSize)));
    sheet()->setFont(font);
    setBoldChecked(state.value(FontWeight) == RecordText::Bold);
    // The rabbit file keeps no stretch setting: a shown record stretches its pictures.
    m_rabbitPicture->setStretch(true);
    m_backImage->setStretch(true);
    m_editor->setLinks(state);
}
