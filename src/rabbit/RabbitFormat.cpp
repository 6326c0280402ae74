#include "rabbit/RabbitFormat.h"

#include "records/LineFile.h"

namespace RabbitFile {

namespace {

// The names a breeder knows the lines by, as the sheet and the colour genetics
// window show them.
void nameLines(QList<FieldSpec> &f)
{
    const std::pair<int, const char *> named[] = {
        {RabbitName, "Name"},
        {OwnerName, "Owner"},
        {Breed, "Breed"},
        {EarNumber, "Ear tag number"},
        {RegNumber, "Registration number"},
        {Weight, "Weight"},
        {Sex, "Sex"},
        {Color, "Color"},
        {BirthDate, "Birth date"},
        {DadName, "Sire's name"},
        {DadColor, "Sire's color"},
        {MomName, "Dam's name"},
        {MomColor, "Dam's color"},
        {ASeries, "Coat pattern"},
        {BSeries, "Color base"},
        {CSeries, "C series"},
        {DSeries, "Dilution"},
        {ESeries, "Pigment extension"},
        {BrokenSeries, "Broken"},
        {VSeries, "Vienna white"},
        {WSeries, "Wide band"},
        {FontFace, "Font"},
        {FontSize, "Font size"},
        {FontWeight, "Font weight"},
        {RabbitPicture, "Picture"},
        {BackPicture, "Background picture"},
        {Winnings, "Winnings"},
        {FatherRabFile, "Sire's file"},
        {MotherRabFile, "Dam's file"},
        {PedigreeLink, "Pedigree file"},
        {BreedLink, "Breeding record file"},
        {ShowLink, "Show record file"},
    };
    for (const auto &[line, label] : named)
        f[line].label = QString::fromLatin1(label);
    for (int i = 1; i <= SiblingCount; ++i) {
        const QString sibling = QStringLiteral("Sibling %1's ").arg(i);
        f[siblingName(i)].label = sibling + QStringLiteral("name");
        f[siblingColor(i)].label = sibling + QStringLiteral("color");
        f[siblingSex(i)].label = sibling + QStringLiteral("sex");
        f[siblingRabFile(i)].label = sibling + QStringLiteral("file");
    }
}

QList<FieldSpec> buildFields()
{
    using RecordText::underscores;
    QList<FieldSpec> f;
    const auto add = [&f](const QString &name, const QString &placeholder, FieldCheck check = FieldCheck::Text) {
        f.append(FieldSpec{int(f.size()), name, placeholder, check});
    };
    add("RabbitName", underscores(34));
    add("OwnerName", underscores(40));
    add("Breed", underscores(17));
    add("EarNumber", underscores(9));
    add("RegNumber", underscores(9));
    add("Weight", underscores(16));
    add("Sex", underscores(12));
    add("Color", underscores(17));
    add("BirthDate", underscores(17));
    add("DadName", underscores(17));
    add("DadColor", underscores(16));
    add("MomName", underscores(17));
    add("MomColor", underscores(16));
    for (int i = 1; i <= SiblingCount; ++i) {
        add(QStringLiteral("Sibling%1Name").arg(i), underscores(18));
        add(QStringLiteral("Sibling%1Color").arg(i), underscores(17));
        add(QStringLiteral("Sibling%1Sex").arg(i), underscores(5));
    }
    for (const char *series :
         {"ASeries", "BSeries", "CSeries", "DSeries", "ESeries", "BrokenSeries", "VSeries", "WSeries"})
        add(QString::fromLatin1(series), underscores(9));
    add("FontFace", QStringLiteral("Times New Roman"));
    add("FontSize", QStringLiteral("10"), FieldCheck::Integer);
    add("FontWeight", RecordText::Normal);
    add("RabbitPicturePath", QString());
    add("BackImagePath", QString());
    add("Winnings", underscores(51));
    add("FatherRabFile", RecordText::None);
    add("MotherRabFile", RecordText::None);
    for (int i = 1; i <= SiblingCount; ++i)
        add(QStringLiteral("Sibling%1RabFile").arg(i), RecordText::None);
    add("PedigreeLink", RecordText::None);
    add("BreedLink", RecordText::None);
    add("ShowLink", RecordText::None);
    nameLines(f);
    return f;
}

} // namespace

const LineFormat &format()
{
    static const LineFormat layout(buildFields(), {FatherRabFile, PedigreeLink, ShowLink});
    return layout;
}

LineRecord newRecord()
{
    return LineRecord(format());
}

LineRecord loadedState(const LineRecord &parsed, const LineRecord &before)
{
    Q_ASSERT(&parsed.format() == &format() && &before.format() == &format());
    LineRecord state = before;
    for (int line = 0; line < parsed.present(); ++line)
        state.setValue(line, parsed.value(line));
    state.setValue(FontSize, fromInteger(toInteger(parsed.value(FontSize))));
    const QString &weight = parsed.value(FontWeight);
    if (weight != RecordText::Bold && weight != RecordText::Normal)
        state.setValue(FontWeight, before.value(FontWeight));
    for (int line : {RabbitPicture, BackPicture})
        if (RecordText::isNoPicture(state.value(line)))
            state.setValue(line, QString());
    return state;
}

} // namespace RabbitFile
