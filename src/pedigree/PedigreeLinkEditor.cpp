#include "pedigree/PedigreeLinkEditor.h"
#include "rabbit/RabbitFormat.h"
#include "rabbitry/RabbitryFormat.h"
#include "shell/KindRegistry.h"

#include <QGridLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using PedigreeFile::Position;

namespace {

// "Sire", "Dam's sire", ...: what a breeder calls each place of the chart.
QHash<int, QString> roles()
{
    QHash<int, QString> role{{PedigreeFile::BunnyCode, QStringLiteral("The rabbit")}};
    for (const Position &p : PedigreeFile::positions()) {
        if (!p.hasParents())
            continue;
        const bool bunny = p.isBunny();
        role.insert(p.fatherCode, bunny ? QStringLiteral("Sire") : role.value(p.code) + QStringLiteral("'s sire"));
        role.insert(p.motherCode, bunny ? QStringLiteral("Dam") : role.value(p.code) + QStringLiteral("'s dam"));
    }
    return role;
}

} // namespace

PedigreeLinkEditor::PedigreeLinkEditor(QWidget *parent)
    : LinkEditorPanel(parent)
{
    auto *grid = new QGridLayout(body());
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(4);

    const QStringList headings = {QString(), QStringLiteral("Parents"), QStringLiteral("Grandparents"),
                                  QStringLiteral("Great-Grandparents")};
    for (int column = 0; column < headings.size(); ++column) {
        auto *heading = new QLabel(headings.at(column), body());
        QFont font;
        font.setItalic(true);
        heading->setFont(font);
        grid->addWidget(heading, 0, column);
    }

    // The chart's tree: each generation's places share the rows of the eight
    // great-grandparents, so every rabbit stands level with the middle of its parents.
    const QHash<int, QString> role = roles();
    for (const Position &p : PedigreeFile::positions()) {
        auto *field = new LinkField(QString(p.linkName), QString(p.prefix) + QStringLiteral("LinkCaption"),
                                    KindRegistry::dialogOf(RabbitFile::KindId), body());
        field->setRole(role.value(p.code));
        field->pathEdit()->setMinimumWidth(150);
        m_positions[std::size_t(p.index())] = field;
        addLink(field);
        // Column by generation; row and span within the eight rows.
        struct Cell
        {
            int column, row, span;
        };
        const Cell cell = p.code >= 41   ? Cell{3, p.code - 41, 1}
                          : p.code >= 31 ? Cell{2, 2 * (p.code - 31), 2}
                          : p.code >= 21 ? Cell{1, 4 * (p.code - 21), 4}
                                         : Cell{0, 3, 2};
        grid->addWidget(field, 1 + cell.row, cell.column, cell.span, 1, Qt::AlignVCenter);
    }

    // The rabbitry link: the breeder lines' source. It is not in the snapshot, so
    // Cancel does not undo it, but setting or clearing it still turns Cancel on.
    auto *rabbitry = new QWidget(body());
    auto *rabbitryColumn = new QVBoxLayout(rabbitry);
    rabbitryColumn->setContentsMargins(0, 0, 0, 0);
    rabbitryColumn->setSpacing(1);
    m_rabbitry = new LinkField(QStringLiteral("RabbitryFile"), QStringLiteral("RabbitryName"),
                               KindRegistry::dialogOf(Rabbitry::KindId), rabbitry);
    m_rabbitry->pathEdit()->setToolTip(QStringLiteral("The breeder's rabbitry file"));
    m_rabbitry->pathEdit()->setMinimumWidth(150);
    addLink(m_rabbitry, false);
    connect(m_rabbitry, &LinkField::edited, this, [this] { cancelButton()->setEnabled(true); });
    auto *note = new QLabel(QStringLiteral("(Rabbitry Link)"), rabbitry);
    rabbitryColumn->addWidget(note);
    rabbitryColumn->addWidget(m_rabbitry);
    grid->addWidget(rabbitry, 1, 0, 2, 1, Qt::AlignTop);

    m_update = addButton(QStringLiteral("UpdateLinks"), QStringLiteral("Update from Links"));
    m_autoFill = addButton(QStringLiteral("AutoFill"), QStringLiteral("Auto-Fill Pedigree"));
}

PedigreeLinks::PositionLinks PedigreeLinkEditor::positionLinks() const
{
    PedigreeLinks::PositionLinks links;
    for (std::size_t i = 0; i < links.size(); ++i)
        links[i] = m_positions[i]->link();
    return links;
}

void PedigreeLinkEditor::setPositionLinks(const PedigreeLinks::PositionLinks &links)
{
    for (std::size_t i = 0; i < links.size(); ++i)
        m_positions[i]->setLink(links[i]);
}
