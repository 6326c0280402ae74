#include "rabbit/RabbitLinkEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

using namespace RabbitFile;

namespace {

FileDialogSpec dialogFor(const char *title, const char *extension)
{
    const QString ext = QString::fromLatin1(extension);
    return {QStringLiteral("%1 (*.%2)|*.%2").arg(QString::fromLatin1(title), ext), ext, QString()};
}

} // namespace

RabbitLinkEditor::RabbitLinkEditor(QWidget *parent)
    : LinkEditorPanel(
          QStringLiteral("Set Related Rabbit Editor Files"),
          {QStringLiteral("RelatedFileEditor"), QStringLiteral("FileEditorOk"), QStringLiteral("SetFileCancel")},
          parent)
{
    auto *column = new QVBoxLayout(body());
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(8);

    QList<QLabel *> captions;
    const auto addRow = [&](QGridLayout *grid, int line, const QString &caption, LinkField *field) {
        const int row = grid->count() == 0 ? 0 : grid->rowCount();
        auto *label = new QLabel(caption, field->parentWidget());
        captions.append(label);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        field->pathEdit()->setMinimumWidth(190);
        field->caption()->setMinimumWidth(110);
        m_links[std::size_t(line - FirstLine)] = field;
        addLink(field);
    };

    auto *relatives = new QGridLayout;
    relatives->setHorizontalSpacing(8);
    relatives->setVerticalSpacing(3);
    const FileDialogSpec rabbits = dialogFor("Rabbit Files", "rab");
    const auto relative = [&](const QString &linkName, const QString &captionName) {
        return new LinkField(linkName, captionName, rabbits, body(), LinkField::Caption::Beside);
    };
    addRow(relatives, FatherRabFile, QStringLiteral("Father"),
           relative(QStringLiteral("FatherRabFile"), QStringLiteral("FatherFile")));
    addRow(relatives, MotherRabFile, QStringLiteral("Mother"),
           relative(QStringLiteral("MotherRabFile"), QStringLiteral("MotherFile")));
    auto *siblings = new QLabel(QStringLiteral("Siblings"), body());
    QFont italic = siblings->font();
    italic.setItalic(true);
    siblings->setFont(italic);
    relatives->addWidget(siblings, relatives->rowCount(), 0, 1, 2);
    for (int i = 1; i <= SiblingCount; ++i)
        addRow(relatives, siblingRabFile(i), QString::number(i),
               relative(QStringLiteral("Sibling%1RabFile").arg(i), QStringLiteral("Sibling%1File").arg(i)));
    column->addLayout(relatives);

    // The rabbit's own records. Their buttons are named after their commands.
    auto *primary = new QGroupBox(QStringLiteral("Primary Files"), body());
    primary->setObjectName(QStringLiteral("PrimaryFiles"));
    auto *primaryGrid = new QGridLayout(primary);
    primaryGrid->setHorizontalSpacing(8);
    primaryGrid->setVerticalSpacing(3);
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
                                    dialogFor(p.filterTitle, p.extension), primary, LinkField::Caption::Beside);
        field->setButton()->setObjectName(QStringLiteral("Set") + QString::fromLatin1(p.stem));
        field->clearButton()->setObjectName(QStringLiteral("New") + QString::fromLatin1(p.stem));
        addRow(primaryGrid, p.line, QString::fromLatin1(p.caption), field);
    }
    column->addWidget(primary);

    // The captions share one width, so the paths of both groups line up.
    int captionWidth = 0;
    for (const QLabel *label : std::as_const(captions))
        captionWidth = std::max(captionWidth, label->sizeHint().width());
    for (QLabel *label : std::as_const(captions))
        label->setMinimumWidth(captionWidth);

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
