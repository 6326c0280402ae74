#include "pedigree/MainScreen.h"

#include "pedigree/PedigreeFormat.h"
#include "pedigree/PedigreeLinkEditor.h"
#include "shell/CommandGuard.h"
#include "shell/SheetWidgets.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

// The certificate of the pedigree window: where every box, caption and connector bar
// stands, how a row makes room when a value grows, and the title drag.

using namespace PedigreeFile;

namespace {

// The certificate, in sheet pixels. The window around it is 960 x 720.
constexpr QSize SheetSize{952, 692};

// Columns of the chart and the tops of their boxes.
constexpr int ParentX = 107;
constexpr int GrandparentX = 405;
constexpr int GreatGrandparentX = 690;
constexpr int ParentTop[] = {145, 454};
constexpr int GrandparentTop[] = {68, 212, 396, 538};
constexpr int GreatGrandparentTop[] = {7, 90, 173, 256, 339, 422, 505, 588};

// An ancestor box: four rows, and a second column in rows two and three.
constexpr int RowPitch = 17;
constexpr int SecondColumn = 124;
// Winnings wrap where they would run into the next column (parents, grandparents,
// great-grandparents).
constexpr int WinningsWidth[] = {200, 200, 185};
// The middle of a box's name row, where the connector bars meet it.
constexpr int NameRowMiddle = 9;

constexpr QPoint HeaderAt{8, 9};
constexpr int HeaderPitch = 23;
constexpr QPoint BunnyAt{5, 288};
constexpr int BunnyPitch = 18;
constexpr QRect MiniFrame{226, 278, 167, 133};
constexpr QPoint TitleAt{464, 0};
// On paper a value ends before whatever stands to its right: the header's before the
// brackets to the grandparents, the rabbit's before its picture, an ancestor's before
// the bracket to its own parents (a name before the line out of it).
constexpr int HeaderRight = GrandparentX - 16;
constexpr int BunnyRight = MiniFrame.left() - 4;
constexpr int BracketGap = 16;
constexpr int LeaderGap = 29;

QFont chartFace(int pixels, bool bold = false, bool italic = false)
{
    // Every attribute is set, so the chart font (the sheet's) never reaches these.
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

bool isSire(int code)
{
    for (const Position &p : positions())
        if (p.fatherCode == code)
            return true;
    return false;
}

} // namespace

void TMainScreen::createSheet()
{
    setSheet(SheetSize, QFont(QStringLiteral("Times New Roman"), 9), DefaultSize);
}

QLabel *TMainScreen::addSheetCaption(const QString &text, QPoint at, const QFont &font)
{
    return addCaption(sheet(), text, at.x(), at.y(), &font);
}

ValueLabel *TMainScreen::addValue(int line, QPoint at, const QFont &font, int tag)
{
    const FieldSpec &entry = format().field(line);
    auto *label = new ValueLabel(entry.name, entry.placeholder, sheet(), tag);
    label->setFont(font);
    label->move(at);
    label->installEventFilter(this);
    bindLabel(line, label);
    setLabelMenu(label, tag == HeaderCode ? m_headerMenu : m_chartMenu);
    return label;
}

void TMainScreen::buildSheet()
{
    QWidget *s = sheet();
    m_backImage = new PictureBox(QStringLiteral("BackImage"), s);
    m_backImage->setGeometry(QRect(QPoint(0, 0), SheetSize));
    m_backImage->setPath(RecordText::None);
    bindPicture(BackPicture, m_backImage, QStringLiteral("&Change Background"));

    buildConnectors();

    m_miniPicture = new PictureBox(QStringLiteral("MiniPicture"), s);
    m_miniPicture->setGeometry(MiniFrame);
    m_miniPicture->setHint({QStringLiteral("Right Click to Add a Picture"), QStringLiteral("(150 x 119 pixels)")});
    m_miniPicture->setPath(RecordText::None);
    bindPicture(MiniPicture, m_miniPicture, QStringLiteral("&Change Picture"));

    buildHeader();
    buildBunnyBox();
    for (int i = 0; i < 2; ++i)
        buildAncestorBox(21 + i, {ParentX, ParentTop[i]});
    for (int i = 0; i < 4; ++i)
        buildAncestorBox(31 + i, {GrandparentX, GrandparentTop[i]});
    for (int i = 0; i < 8; ++i)
        buildAncestorBox(41 + i, {GreatGrandparentX, GreatGrandparentTop[i]});

    m_title = new ValueLabel(QStringLiteral("Title"), format().field(Title).placeholder, s, TitleCode);
    m_title->setFont(titleFont(QStringLiteral("Arial Black"), 14));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->move(TitleAt);
    m_title->installEventFilter(this);
    bindLabel(Title, m_title, false);
    connect(m_title, &ValueLabel::doubleClicked, this, &TMainScreen::changeText);
    setLabelMenu(m_title, m_titleMenu);

    auto *certify = new QLabel(QStringLiteral("I hereby certify that this pedigree is correct to the best of my "
                                              "knowledge and belief.   Signed: ") +
                                   RecordText::underscores(22),
                               s);
    certify->setObjectName(QStringLiteral("Certification"));
    certify->setFont(chartFace(14, false, true));
    certify->setWordWrap(true);
    certify->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    certify->setGeometry(24, 568, 198, 95);

    buildFooter();

    m_editor = new PedigreeLinkEditor(s);
    setLinkEditor(m_editor, 40, &TMainScreen::LinkDoubleClick);
    connectCommand(m_editor->updateButton(), &QPushButton::clicked, this, &TMainScreen::UpdateLinksClick);
    connectCommand(m_editor->autoFillButton(), &QPushButton::clicked, this, &TMainScreen::AutoFillClick);

    relayout();
}

void TMainScreen::buildHeader()
{
    const QFont caption = chartFace(19, true);
    const QFont value = chartFace(19);
    const std::pair<const char *, int> rows[] = {{"Breeder", BreederLabel},
                                                 {"Address", AddressLabel},
                                                 {"Sold to", SoldToLabel},
                                                 {"Address", SoldAddress},
                                                 {"Date", DateLabel}};
    // Values line up after the widest caption.
    const QFontMetrics metrics(caption);
    int widest = 0;
    for (const auto &[text, line] : rows)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromLatin1(text)));
    const int valueX = HeaderAt.x() + widest + 8;
    int y = HeaderAt.y();
    for (const auto &[text, line] : rows) {
        QLabel *c = addSheetCaption(QString::fromLatin1(text), {HeaderAt.x(), y}, caption);
        ValueLabel *v = addValue(line, {valueX, y}, value, HeaderCode);
        m_rows.add({{c, HeaderAt.x()}, {v, valueX}}, HeaderRight);
        y += HeaderPitch;
    }
}

void TMainScreen::buildBunnyBox()
{
    const QFont caption = chartFace(16, true);
    const QFont value = chartFace(15);
    // Captions and values share a baseline.
    const int drop = QFontMetrics(caption).ascent() - QFontMetrics(value).ascent();
    const std::pair<const char *, int> rows[] = {{"Name", BunnyName},     {"Ear #", BunnyEar}, {"Reg. #", BunnyReg},
                                                 {"Weight", BunnyWeight}, {"Sex", BunnySex},   {"Color", BunnyColor},
                                                 {"Born", BunnyBorn}};
    int y = BunnyAt.y();
    for (const auto &[text, line] : rows) {
        QLabel *c = addSheetCaption(QString::fromLatin1(text), {BunnyAt.x(), y}, caption);
        ValueLabel *v = addValue(line, {0, y + drop}, value, BunnyCode);
        m_rows.add({{c, BunnyAt.x()}, {v, 0}}, BunnyRight);
        y += BunnyPitch;
    }
}

void TMainScreen::buildAncestorBox(int code, QPoint at)
{
    const Position *p = positionByCode(code);
    Q_ASSERT(p);
    const QFont caption = chartFace(16, true);
    const QFont value = chartFace(15);
    const int drop = QFontMetrics(caption).ascent() - QFontMetrics(value).ascent();
    const int x = at.x();
    const auto cell = [&](const char *text, ChartField field, int column, int row) {
        const int y = at.y() + row * RowPitch;
        QLabel *c = addSheetCaption(QString::fromLatin1(text), {x + column, y}, caption);
        ValueLabel *v = addValue(p->line(field), {0, y + drop}, value, code);
        return QList<std::pair<QWidget *, int>>{{c, x + column}, {v, 0}};
    };
    const int generation = code >= 41 ? 2 : code >= 31 ? 1 : 0;
    const int nextColumn = generation == 0 ? GrandparentX : generation == 1 ? GreatGrandparentX : 0;
    const int right = nextColumn > 0 ? nextColumn - BracketGap : SheetSize.width() - 4;
    const int nameRight = nextColumn > 0 ? nextColumn - LeaderGap : right;
    m_rows.add(cell(isSire(code) ? "Sire" : "Dam", ChartField::Name, 0, 0), nameRight);
    m_rows.add(cell("Ear #", ChartField::Ear, 0, 1) + cell("Reg. #", ChartField::Reg, SecondColumn, 1), right);
    m_rows.add(cell("Weight", ChartField::Weight, 0, 2) + cell("Color", ChartField::Color, SecondColumn, 2), right);
    auto winnings = cell("Winnings", ChartField::Winnings, 0, 3);
    static_cast<ValueLabel *>(winnings.last().first)->setWrapWidth(WinningsWidth[generation]);
    m_rows.add(winnings);
}

void TMainScreen::buildConnectors()
{
    const auto bar = [this](QRect r) {
        auto *b = new QWidget(sheet());
        b->setObjectName(QStringLiteral("ConnectorBar%1").arg(m_bars.size() + 1));
        b->setAutoFillBackground(true);
        QPalette palette = b->palette();
        palette.setColor(QPalette::Window, Qt::black);
        b->setPalette(palette);
        b->setGeometry(r);
        b->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_bars.append(b);
    };
    const auto horizontal = [&](int x1, int x2, int y, int thick) { bar(QRect(x1, y - thick / 2, x2 - x1, thick)); };
    const auto vertical = [&](int x, int y1, int y2, int thick) {
        bar(QRect(x - thick / 2, y1, thick, y2 - y1 + thick - thick / 2));
    };

    // The rabbit's own line to its parents is drawn double: up from the top of its
    // box to the sire, down from the bottom to the dam.
    const int bunnyTop = BunnyAt.y() - 4;
    const int bunnyBottom = BunnyAt.y() + 7 * BunnyPitch + 2;
    const int cornerX = 56;
    const int end = ParentX - 3;
    const int dadRow = ParentTop[0] + NameRowMiddle;
    const int momRow = ParentTop[1] + NameRowMiddle;
    bar(QRect(cornerX - 3, dadRow - 3, 2, bunnyTop - (dadRow - 3)));
    bar(QRect(cornerX - 3, dadRow - 3, end - (cornerX - 3), 2));
    bar(QRect(cornerX + 1, dadRow + 1, 2, bunnyTop - (dadRow + 1)));
    bar(QRect(cornerX + 1, dadRow + 1, end - (cornerX + 1), 2));
    bar(QRect(cornerX - 3, bunnyBottom, 2, momRow + 3 - bunnyBottom));
    bar(QRect(cornerX - 3, momRow + 1, end - (cornerX - 3), 2));
    bar(QRect(cornerX + 1, bunnyBottom, 2, momRow - 1 - bunnyBottom));
    bar(QRect(cornerX + 1, momRow - 3, end - (cornerX + 1), 2));

    // A bracket from each rabbit's name to the names of its sire and dam. The line
    // out of the name starts where the name ends (see relayout).
    const auto bracket = [&](int childCode, int childTop, int parentX, int sireTop, int damTop, int thick) {
        const int bendX = parentX - 11;
        const int child = childTop + NameRowMiddle;
        const int sire = sireTop + NameRowMiddle;
        const int dam = damTop + NameRowMiddle;
        horizontal(bendX - 12, bendX, child, thick);
        m_leaders.append({m_bars.last(), childCode});
        vertical(bendX, sire, child, thick);
        vertical(bendX, child, dam, thick);
        horizontal(bendX, parentX - 3, sire, thick);
        horizontal(bendX, parentX - 3, dam, thick);
    };
    for (int i = 0; i < 2; ++i)
        bracket(21 + i, ParentTop[i], GrandparentX, GrandparentTop[2 * i], GrandparentTop[2 * i + 1], 3);
    for (int i = 0; i < 4; ++i)
        bracket(31 + i, GrandparentTop[i], GreatGrandparentX, GreatGrandparentTop[2 * i],
                GreatGrandparentTop[2 * i + 1], 2);
    Q_ASSERT(m_bars.size() == 38);
}

void TMainScreen::buildFooter()
{
    // The footer takes the chart font: Change Font Type and Bold show here.
    m_footerPrinted = addCaption(sheet(), QStringLiteral("Printed by Rabbit Hutchlore"), 368, 642);
    m_footerPrinted->setObjectName(QStringLiteral("FooterPrinted"));
    m_footerContact = addCaption(sheet(), QStringLiteral("www.hutchlore.example   Tel. (555) 010-4477"), 368, 0);
    m_footerContact->setObjectName(QStringLiteral("FooterContact"));
    m_footerPrinted->installEventFilter(this);
    m_footerContact->installEventFilter(this);
}

void TMainScreen::relayout()
{
    for (int row = 0; row < m_rows.count(); ++row)
        relayoutRow(row);
    relayoutFooter();
}

void TMainScreen::relayoutRow(int row)
{
    m_rows.layout(row);
    // The line out of a name starts just after the name and ends at its bracket.
    for (const auto &[leader, code] : std::as_const(m_leaders)) {
        const ValueLabel *name = boundLabel(positionByCode(code)->line(ChartField::Name));
        if (!name || m_rows.rowOf(name) != row)
            continue;
        const int end = leader->geometry().right();
        const int start = std::min(name->geometry().right() + 6, end - 4);
        leader->setGeometry(start, leader->y(), end - start + 1, leader->height());
    }
}

void TMainScreen::relayoutFooter()
{
    m_footerPrinted->adjustSize();
    m_footerContact->adjustSize();
    m_footerContact->move(m_footerContact->x(), m_footerPrinted->geometry().bottom() + 1);
}

bool TMainScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_title && titleDragEvent(event))
        return true;
    if (!m_inLayout) {
        m_inLayout = true;
        // A value that changed its size moves the rest of its row.
        if (event->type() == QEvent::Resize) {
            const int row = m_rows.rowOf(static_cast<QWidget *>(watched));
            if (row >= 0)
                relayoutRow(row);
        } else if (event->type() == QEvent::FontChange && (watched == m_footerPrinted || watched == m_footerContact)) {
            relayoutFooter();
        }
        m_inLayout = false;
    }
    return SheetWindow::eventFilter(watched, event);
}

bool TMainScreen::titleDragEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton) {
            m_titlePressed = true;
            m_titleDragging = false;
            m_pressAt = e->globalPosition().toPoint();
        }
        return false;
    }
    case QEvent::MouseMove: {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (!m_titlePressed)
            return false;
        const QPoint global = e->globalPosition().toPoint();
        if (!m_titleDragging) {
            if (global == m_pressAt)
                return true;
            m_titleDragging = true;
            m_title->setCursor(Qt::DragMoveCursor);
        }
        // The title's top left follows the pointer; it stays on the certificate.
        const QPoint at = sheet()->mapFromGlobal(global);
        m_title->move(std::clamp(at.x(), 0, std::max(0, sheet()->width() - m_title->width())),
                      std::clamp(at.y(), 0, std::max(0, sheet()->height() - m_title->height())));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::LeftButton)
            return false;
        const bool dragged = m_titleDragging;
        m_titlePressed = false;
        m_titleDragging = false;
        if (!dragged)
            return false;
        recordEdit();
        m_title->setCursor(Qt::PointingHandCursor);
        return true;
    }
    default:
        return false;
    }
}
