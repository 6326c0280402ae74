#include "rabbit/RabbitLinkEditor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace RabbitFile;

namespace {

FileDialogSpec dialogFor(const char *title, const char *extension)
{
    const QString ext = QString::fromLatin1(extension);
    return {QStringLiteral("%1 (*.%2)|*.%2").arg(QString::fromLatin1(title), ext), ext, QString()};
}

} // namespace

RabbitLinkEditor::RabbitLinkEditor(QWidget *parent)
    : LinkEditorPanel(parent)
{
    // One grid, so every path stands in the same column.
    auto *grid = new QGridLayout(body());
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    int row = 0;
    const auto addRow = [&](int line, const QString &caption, LinkField *field) {
        grid->addWidget(new QLabel(caption, body()), row, 0);
        grid->addWidget(field, row++, 1);
        field->pathEdit()->setMinimumWidth(190);
        field->caption()->setMinimumWidth(110);
        m_links[std::size_t(line - FirstLine)] = field;
        addLink(field);
    };
    const auto addHeading = [&](const QString &text, const QString &name, bool bold, int spaceAbove) {
        auto *heading = new QLabel(text, body());
        heading->setObjectName(name);
        QFont font = heading->font();
        font.setBold(bold);
        font.setItalic(!bold);
        heading->setFont(font);
        grid->setRowMinimumHeight(row, heading->sizeHint().height() + spaceAbove);
        grid->addWidget(heading, row++, 0, 1, 2, Qt::AlignBottom);
    };

    const FileDialogSpec rabbits = dialogFor("Rabbit Files", "rab");
    const auto relative = [&](const QString &linkName, const QString &captionName) {
        return new LinkField(linkName, captionName, rabbits, body(), LinkField::Caption::Beside);
    };
    addRow(FatherRabFile, QStringLiteral("Father"),
           relative(QStringLiteral("FatherRabFile"), QStringLiteral("FatherFile")));
    addRow(MotherRabFile, QStringLiteral("Mother"),
           relative(QStringLiteral("MotherRabFile"), QStringLiteral("MotherFile")));
    addHeading(QStringLiteral("Siblings"), QStringLiteral("SiblingsHeading"), false, 2);
    for (int i = 1; i <= SiblingCount; ++i)
        addRow(siblingRabFile(i), QString::number(i),
               relative(QStringLiteral("Sibling%1RabFile").arg(i), QStringLiteral("Sibling%1File").arg(i)));

    // The rabbit's own records. Their buttons are named after their commands.
    addHeading(QStringLiteral("Primary Files"), QStringLiteral("PrimaryFiles"), true, 8);
    struct Primary
    {
        int line;
        const char *caption, *linkName, *captionName, *stem, *filterTitle, *extension;
    };
    const Primary primaries[] = {
        {PedigreeLink, "Pedigree File", "PedigreeLink", "PedigreeFile", "PedFile", "Pedigree Files", "ped"},
        {BreedLink, "Breeding Record", "BreedLink", "BreedingFile", "BreedingFile", "Breeding Records", "brd"},
        {ShowLink, "Show Record", "ShowLink", "ShowFile", "ShowFile", "Show Records", "shw"},
    };
    for (const Primary &p : primaries) {
        auto *field = new LinkField(QString::fromLatin1(p.linkName), QString::fromLatin1(p.captionName),
                                    dialogFor(p.filterTitle, p.extension), body(), LinkField::Caption::Beside);
        field->setButton()->setObjectName(QStringLiteral("Set") + QString::fromLatin1(p.stem));
        field->clearButton()->setObjectName(QStringLiteral("New") + QString::fromLatin1(p.stem));
        addRow(p.line, QString::fromLatin1(p.caption), field);
    }

    m_update = addButton(QStringLiteral("UpdateLinks"), QStringLiteral("Update from Links"));
}

LinkField *RabbitLinkEditor::linkOf(int line) const
{
    const int index = line - FirstLine;
    return index >= 0 && index < LinkCount ? m_links[std::size_t(index)] : nullptr;
}

void RabbitLinkEditor::setLinks(const LineRecord &record)
{
    for (int i = 0; i < LinkCount; ++i)
        m_links[std::size_t(i)]->setLink(record.value(FirstLine + i));
}

void RabbitLinkEditor::writeLinks(LineRecord &record) const
{
    for (int i = 0; i < LinkCount; ++i)
        record.setValue(FirstLine + i, m_links[std::size_t(i)]->link());
}
