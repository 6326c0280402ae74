#include "genetics/ColorCombiner.h"

#include "genetics/CrossCalculation.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "shell/Platform.h"
#include "shell/SheetWidgets.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Genetics;

namespace {

// Before a parent is chosen its name, colour and the father's genotypes show blanks;
// the mother's genotypes are empty. Either way every series cannot be calculated.
const QString Blank = QStringLiteral(" ");
// No name is this long; a tooltip of a megabyte line would cover the screen.
constexpr qsizetype MaxToolTipChars = 1000;

QFont boldOf(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace

TColorCombiner::TColorCombiner(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("ColorCombiner"));
    setWindowTitle(QStringLiteral("Color Genetics"));

    auto *form = new QWidget;
    form->setObjectName(QStringLiteral("CombinerForm"));
    form->setFont(QFont(QStringLiteral("Arial"), 9));
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(buildParents());

    auto *calculate = new QPushButton(QStringLiteral("Calculate Possible Colors"), form);
    calculate->setObjectName(QStringLiteral("Calculate"));
    calculate->setMinimumWidth(200);
    connectCommand(calculate, &QPushButton::clicked, this, &TColorCombiner::CalculateClick);
    layout->addWidget(calculate, 0, Qt::AlignHCenter);

    layout->addWidget(buildResults(), 1);
    setWidget(form);
    buildMenus();
    resize(DefaultSize);
}

QLabel *TColorCombiner::addLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    m_labels.insert(name, label);
    return label;
}

QString TColorCombiner::labelName(Parent parent, const QString &suffix) const
{
    return (parent == Parent::Father ? QStringLiteral("Father") : QStringLiteral("Mother")) + suffix;
}

QWidget *TColorCombiner::buildParents()
{
    // Father left, mother right; the genotypes meet in the middle so the two can be
    // read across, each row's heading on the outer side.
    auto *box = new QFrame;
    box->setObjectName(QStringLiteral("ParentArea"));
    box->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    const QFont bold = boldOf(box->font());

    for (Parent parent : {Parent::Father, Parent::Mother}) {
        const bool father = parent == Parent::Father;
        const int outer = father ? 0 : 4;

        auto *open = new QToolButton(box);
        open->setObjectName(father ? QStringLiteral("OpenFather") : QStringLiteral("OpenMother"));
        open->setToolTip(QStringLiteral("Choose a Parent"));
        open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
        open->setAutoRaise(false);
        connectCommand(open, &QToolButton::clicked, this,
                       father ? &TColorCombiner::OpenFatherClick : &TColorCombiner::OpenMotherClick);

        auto *who = new QHBoxLayout;
        who->setSpacing(6);
        who->addWidget(open);
        auto *caption = new QLabel(father ? QStringLiteral("Father:") : QStringLiteral("Mother:"), box);
        caption->setFont(bold);
        who->addWidget(caption);
        QLabel *name = addLabel(labelName(parent, QStringLiteral("Name")), Blank, box);
        name->setFont(bold);
        // Long names are cut rather than widening the window.
        name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        who->addWidget(name, 1);
        grid->addLayout(who, 0, father ? 0 : 3, 1, 2);

        auto *colorRow = new QHBoxLayout;
        colorRow->setSpacing(0);
        colorRow->addSpacing(open->sizeHint().width() + 6);
        colorRow->addWidget(new QLabel(QStringLiteral("Color: "), box));
        QLabel *color = addLabel(labelName(parent, QStringLiteral("Color")), Blank, box);
        color->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        colorRow->addWidget(color, 1);
        grid->addLayout(colorRow, 1, father ? 0 : 3, 1, 2);

        int row = 3;
        for (GeneSeries s : AllSeries) {
            auto *heading = new QLabel(table(s).heading, box);
            heading->setAlignment((father ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            grid->addWidget(heading, row, outer);
            QLabel *genotype = addLabel(father ? fatherLabel(s) : motherLabel(s), father ? Blank : QString(), box);
            genotype->setFont(bold);
            genotype->setAlignment((father ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            // The long grouped choices wrap rather than widen the window.
            genotype->setWordWrap(true);
            genotype->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            grid->addWidget(genotype, row, father ? 1 : 3);
            ++row;
        }
    }

    auto *rule = new QFrame(box);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 2, 0, 1, 5);
    auto *divider = new QFrame(box);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    grid->addWidget(divider, 0, 2, 3 + SeriesCount, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget *TColorCombiner::buildResults()
{
    auto *area = new QWidget;
    area->setObjectName(QStringLiteral("ResultArea"));
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(8);
    const QFontMetrics metrics(area->font());
    int index = 0;
    for (GeneSeries s : AllSeries) {
        const SeriesTable &t = table(s);
        auto *group = new QGroupBox(t.heading, area);
        group->setObjectName(QStringLiteral("Group") + t.windowSuffix);
        auto *lines = new QVBoxLayout(group);
        lines->setSpacing(2);
        // Wide enough for the longest line the series can show, so Calculate never
        // reflows the groups.
        int widest = metrics.horizontalAdvance(CannotCalculate);
        for (const PhenotypeClass &c : t.classes)
            widest = std::max(widest, metrics.horizontalAdvance(QStringLiteral("100% ") + c.resultWord));
        for (const QString &name : resultLabels(s)) {
            QLabel *kid = addLabel(name, QString(), group);
            kid->setMinimumWidth(widest);
            lines->addWidget(kid);
        }
        lines->addStretch(1);
        grid->addWidget(group, index / 4, index % 4);
        ++index;
    }
    for (int column = 0; column < 4; ++column)
        grid->setColumnStretch(column, 1);
    return area;
}

void TColorCombiner::buildMenus()
{
    auto *file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("File"));
    QAction *close = file->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("FileQuit"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connectCommand(close, &QAction::triggered, this, &TColorCombiner::MMExitClick);
    setMenus({file});
}

void TColorCombiner::OpenFatherClick()
{
    loadParent(Parent::Father);
}

void TColorCombiner::OpenMotherClick()
{
    loadParent(Parent::Mother);
}

void TColorCombiner::loadParent(Parent parent)
{
    const std::optional<QString> path =
        Platform::instance().openFileName(this, KindRegistry::dialogOf(RabbitFile::KindId, QStringLiteral("Open")));
    if (!path)
        return;
    const LineFile lines = LineFile::read(*path);
    // Line by line: a short file stops at its first missing line, and the labels set
    // before it keep their new texts. The window holds no record that could be left
    // half-changed, and the breeder sees how far the file went.
    // The name and colour are cut to the window's width; their tooltips hold them whole.
    for (const auto &[suffix, line] : {std::pair{"Name", int(RabbitFile::RabbitName)}, {"Color", RabbitFile::Color}}) {
        QLabel *shown = label(labelName(parent, QLatin1String(suffix)));
        shown->setText(lines.at(line));
        shown->setToolTip(plainToolTip(excerpt(lines.at(line), MaxToolTipChars)));
    }
    for (GeneSeries s : AllSeries)
        label(labelName(parent, table(s).windowSuffix))->setText(lines.at(table(s).fileLine));
}

void TColorCombiner::CalculateClick()
{
    GenotypeTexts father;
    GenotypeTexts mother;
    for (GeneSeries s : AllSeries) {
        father[indexOf(s)] = label(fatherLabel(s))->text();
        mother[indexOf(s)] = label(motherLabel(s))->text();
    }
    const QStringList lines = calculateCross(father, mother).allLines();
    const QStringList names = resultLabels();
    for (qsizetype i = 0; i < names.size(); ++i)
        label(names.at(i))->setText(lines.at(i));
    // "Cannot Calculate" says why when the pointer rests on it; a series that was
    // calculated keeps no reason from an earlier cross.
    for (GeneSeries s : AllSeries) {
        const QString reason = cannotCalculateReason(s, father[indexOf(s)], mother[indexOf(s)]);
        label(resultLabels(s).first())->setToolTip(reason.isEmpty() ? QString() : plainToolTip(reason));
    }
}
