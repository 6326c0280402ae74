#include "breeding/BreedingLinkEditor.h"

#include "rabbit/RabbitFormat.h"
#include "records/LineFormat.h"
#include "shell/KindRegistry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace BreedingFile;

namespace {

constexpr int MatesPerColumn = 5;

} // namespace

BreedingLinkEditor::BreedingLinkEditor(QWidget *parent)
    : LinkEditorPanel(parent)
{
    const LineFormat &lines = format();
    const auto makeLink = [&](int position, QWidget *owner) {
        const QString name = lines.field(linkLine(position)).name;
        // "Parent3RabFile" is captioned by "Parent3RabLabel".
        QString caption = name;
        caption.replace(QStringLiteral("RabFile"), QStringLiteral("RabLabel"));
        auto *field = new LinkField(name, caption, KindRegistry::dialogOf(RabbitFile::KindId), owner);
        field->pathEdit()->setMinimumWidth(170);
        m_links[std::size_t(position)] = field;
        addLink(field);
        return field;
    };

    auto *column = new QVBoxLayout(body());
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(8);

    LinkField *subject = makeLink(SubjectPosition, body());
    subject->setRole(QStringLiteral("Rabbit File"));
    column->addWidget(subject, 0, Qt::AlignLeft);

    auto *mates = new QGroupBox(QStringLiteral("Mates"), body());
    mates->setObjectName(QStringLiteral("MatesFrame"));
    auto *grid = new QGridLayout(mates);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(4);
    const QStringList headings = {QStringLiteral("(1-5)"), QStringLiteral("(6-10)"), QStringLiteral("(11-15)")};
    for (int c = 0; c < headings.size(); ++c) {
        auto *heading = new QLabel(headings.at(c), mates);
        QFont font;
        font.setItalic(true);
        heading->setFont(font);
        grid->addWidget(heading, 0, c);
    }
    for (int row = 1; row <= RowCount; ++row) {
        LinkField *field = makeLink(row, mates);
        field->setRole(QStringLiteral("Mate %1").arg(row));
        grid->addWidget(field, 1 + (row - 1) % MatesPerColumn, (row - 1) / MatesPerColumn);
    }
    column->addWidget(mates);

    m_update = addButton(QStringLiteral("UpdateLinks"), QStringLiteral("Update from Links"));
}

void BreedingLinkEditor::writeLinks(LineRecord &record) const
{
    for (int position = SubjectPosition; position <= RowCount; ++position)
        record.setValue(linkLine(position), m_links[std::size_t(position)]->link());
}

void BreedingLinkEditor::setLinks(const LineRecord &record)
{
    for (int position = SubjectPosition; position <= RowCount; ++position)
        m_links[std::size_t(position)]->setLink(record.value(linkLine(position)));
}
