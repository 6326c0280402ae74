#include "pedigree/PedigreeFormat.h"

#include "records/LineFile.h"

#include <QHash>

#include <array>

namespace PedigreeFile {

namespace {

using CF = ChartField;

constexpr std::array<ChartField, 7> BunnyFields = {CF::Name, CF::Ear,   CF::Reg, CF::Weight,
                                                   CF::Sex,  CF::Color, CF::Born};
constexpr std::array<ChartField, 6> AncestorFields = {CF::Name, CF::Ear, CF::Reg, CF::Weight, CF::Color, CF::Winnings};

using L1 = QLatin1String;

// The chart positions. Each ancestor's block follows the previous one; the
// father/mother columns are the parent-link pairs that auto-fill follows.
// clang-format off
const std::array<Position, PositionCount> Positions = {{
    // code  prefix                 link field                    link  block  father mother
    {1,   L1("Bunny"),           L1("MainRabFile"),            109,  0,     21,    22},
    {21,  L1("Dad"),             L1("FatherRabFile"),          110,  12,    31,    32},
    {22,  L1("Mom"),             L1("MotherRabFile"),          111,  18,    33,    34},
    {31,  L1("SireTwoOne"),      L1("Gramps1RabFile"),         112,  24,    41,    42},
    {32,  L1("DamTwoOne"),       L1("Gram1RabFile"),           113,  30,    43,    44},
    {33,  L1("SireTwoTwo"),      L1("Gramps2RabFile"),         114,  36,    45,    46},
    {34,  L1("DamTwoTwo"),       L1("Gram2RabFile"),           115,  42,    47,    48},
    {41,  L1("SireOneOne"),      L1("GreatGramps1RabFile"),    116,  48,    0,     0},
    {42,  L1("DamOneOne"),       L1("GreatGram1RabFile"),      117,  54,    0,     0},
    {43,  L1("SireOneTwo"),      L1("GreatGramps2RabFile"),    118,  60,    0,     0},
    {44,  L1("DamOneTwo"),       L1("GreatGram2RabFile"),      119,  66,    0,     0},
    {45,  L1("SireOneThree"),    L1("GreatGramps3RabFile"),    120,  72,    0,     0},
    {46,  L1("DamOneThree"),     L1("GreatGram3RabFile"),      121,  78,    0,     0},
    {47,  L1("SireOneFour"),     L1("GreatGramps4RabFile"),    122,  84,    0,     0},
    {48,  L1("DamOneFour"),      L1("GreatGram4RabFile"),      123,  90,    0,     0},
}};
// clang-format on

// The chart's blank texts differ from the rabbit file's: they are sized to the
// places on the printed certificate.
QString chartPlaceholder(bool bunny, ChartField field)
{
    using RecordText::underscores;
    if (bunny) {
        switch (field) {
        case CF::Name:
            return underscores(23);
        case CF::Ear:
        case CF::Reg:
            return underscores(7);
        case CF::Weight:
            return underscores(6);
        case CF::Sex:
            return underscores(9);
        case CF::Color:
        case CF::Born:
            return underscores(20);
        case CF::Winnings:
            break;
        }
        Q_UNREACHABLE();
    }
    switch (field) {
    case CF::Name:
        return underscores(27);
    case CF::Ear:
    case CF::Reg:
    case CF::Color:
        return underscores(10);
    case CF::Weight:
        return underscores(8);
    case CF::Winnings:
        return underscores(23);
    case CF::Sex:
    case CF::Born:
        break;
    }
    Q_UNREACHABLE();
}

QString fieldWords(ChartField field)
{
    switch (field) {
    case CF::Name:
        return QStringLiteral("name");
    case CF::Ear:
        return QStringLiteral("ear number");
    case CF::Reg:
        return QStringLiteral("registration number");
    case CF::Weight:
        return QStringLiteral("weight");
    case CF::Sex:
        return QStringLiteral("sex");
    case CF::Color:
        return QStringLiteral("color");
    case CF::Born:
        return QStringLiteral("birth date");
    case CF::Winnings:
        return QStringLiteral("winnings");
    }
    Q_UNREACHABLE();
}

// The names a breeder knows the lines by: an ancestor's by its place in the family
// ("Sire's name", "Dam's sire's color"), the rabbit's own plainly ("Color").
void nameLines(QList<FieldSpec> &f)
{
    QHash<int, QString> relation; // by position code; the rabbit's own is empty
    for (const Position &p : Positions) {
        const QString own = relation.value(p.code);
        if (p.hasParents()) {
            relation.insert(p.fatherCode, own.isEmpty() ? QStringLiteral("Sire") : own + QStringLiteral("'s sire"));
            relation.insert(p.motherCode, own.isEmpty() ? QStringLiteral("Dam") : own + QStringLiteral("'s dam"));
        }
        for (ChartField field : p.fields()) {
            const QString words = fieldWords(field);
            f[p.line(field)].label =
                own.isEmpty() ? words.at(0).toUpper() + words.mid(1) : own + QStringLiteral("'s ") + words;
        }
        f[p.linkLine].label = (own.isEmpty() ? QStringLiteral("Rabbit") : own) + QStringLiteral("'s file");
    }
    const std::pair<int, const char *> named[] = {
        {BreederLabel, "Breeder"},
        {AddressLabel, "Breeder's address"},
        {SoldToLabel, "Sold to"},
        {SoldAddress, "Buyer's address"},
        {DateLabel, "Date"},
        {Title, "Title"},
        {TitleLeft, "Title position (left)"},
        {TitleTop, "Title position (top)"},
        {TitleFontFace, "Title font"},
        {TitleFontSize, "Title font size"},
        {BackStretch, "Background stretched"},
        {MiniStretch, "Picture stretched"},
        {MiniFrameShown, "Picture frame"},
        {ChartFontFace, "Font"},
        {ChartFontSize, "Font size"},
        {ChartFontWeight, "Font weight"},
        {MiniPicture, "Picture"},
        {BackPicture, "Background picture"},
        {Gridlines, "Connector lines"},
        {RabbitryFile, "Rabbitry file"},
    };
    for (const auto &[line, label] : named)
        f[line].label = QString::fromLatin1(label);
}

QList<FieldSpec> buildFields()
{
    using RecordText::underscores;
    QList<FieldSpec> f;
    const auto add = [&f](const QString &name, const QString &placeholder, FieldCheck check = FieldCheck::Text) {
        f.append(FieldSpec{int(f.size()), name, placeholder, check});
    };
    const auto addBlock = [&](const Position &p) {
        Q_ASSERT(f.size() == p.firstLine);
        for (ChartField field : p.fields())
            add(p.fieldName(field), chartPlaceholder(p.isBunny(), field));
    };

    addBlock(Positions.front());
    add("BreederLabel", underscores(24));
    add("AddressLabel", underscores(24));
    add("SoldToLabel", underscores(25));
    add("SoldAddress", underscores(24));
    add("DateLabel", underscores(27));
    for (const Position &p : std::span(Positions).subspan(1))
        addBlock(p);
    add("Title", QStringLiteral("Rabbit Pedigree"));
    add("TitleLeft", QStringLiteral("464"), FieldCheck::Integer);
    add("TitleTop", QStringLiteral("0"), FieldCheck::Integer);
    add("TitleFontFace", QStringLiteral("Arial Black"));
    add("TitleFontSize", QStringLiteral("14"), FieldCheck::Integer);
    add("BackStretch", TrueText);
    add("MiniStretch", TrueText);
    add("ViewPicture", TrueText);
    add("ChartFontFace", QStringLiteral("Times New Roman"));
    add("ChartFontSize", QStringLiteral("9"), FieldCheck::Integer);
    add("ChartFontWeight", RecordText::Normal);
    add("MiniPicturePath", RecordText::None);
    add("BackImagePath", RecordText::None);
    for (const Position &p : Positions) {
        Q_ASSERT(f.size() == p.linkLine);
        add(p.linkName, RecordText::None);
    }
    add("Gridlines", GridlinesOn);
    add("RabbitryFile", RecordText::None);
    Q_ASSERT(f.size() == LineCount);
    nameLines(f);
    return f;
}

} // namespace

QLatin1String chartFieldName(ChartField field)
{
    switch (field) {
    case CF::Name:
        return L1("Name");
    case CF::Ear:
        return L1("Ear");
    case CF::Reg:
        return L1("Reg");
    case CF::Weight:
        return L1("Weight");
    case CF::Sex:
        return L1("Sex");
    case CF::Color:
        return L1("Color");
    case CF::Born:
        return L1("Born");
    case CF::Winnings:
        return L1("Winnings");
    }
    Q_UNREACHABLE();
}

QList<LinePair> Position::rabbitLines() const
{
    // Which rabbit-file line belongs to which chart field.
    constexpr std::pair<int, ChartField> RabbitChart[] = {
        {RabbitFile::RabbitName, CF::Name}, {RabbitFile::EarNumber, CF::Ear},     {RabbitFile::RegNumber, CF::Reg},
        {RabbitFile::Weight, CF::Weight},   {RabbitFile::Sex, CF::Sex},           {RabbitFile::Color, CF::Color},
        {RabbitFile::BirthDate, CF::Born},  {RabbitFile::Winnings, CF::Winnings},
    };
    QList<LinePair> pairs;
    for (const auto &[rabbitLine, field] : RabbitChart) {
        const int chartLine = line(field);
        if (chartLine >= 0) // not a field of this position: the line is not even read
            pairs.append({rabbitLine, chartLine});
    }
    return pairs;
}

std::span<const ChartField> Position::fields() const
{
    if (isBunny())
        return BunnyFields;
    return AncestorFields;
}

int Position::line(ChartField field) const
{
    const std::span<const ChartField> own = fields();
    for (std::size_t i = 0; i < own.size(); ++i)
        if (own[i] == field)
            return firstLine + int(i);
    return -1;
}

QString Position::fieldName(ChartField field) const
{
    return prefix + chartFieldName(field);
}

std::span<const Position> positions()
{
    return Positions;
}

const Position *positionByCode(int code)
{
    for (const Position &p : Positions)
        if (p.code == code)
            return &p;
    return nullptr;
}

const LineFormat &format()
{
    static const LineFormat layout(buildFields(), {MainRabFile, Gridlines, RabbitryFile});
    return layout;
}

LineRecord newRecord()
{
    return LineRecord(format());
}

std::optional<bool> frameShown(const QString &text)
{
    if (text == TrueText)
        return true;
    if (text == FalseText)
        return false;
    return std::nullopt;
}

std::optional<bool> isBold(const QString &text)
{
    if (text == RecordText::Bold)
        return true;
    if (text == RecordText::Normal)
        return false;
    return std::nullopt;
}

QString storedPicturePath(const QString &text)
{
    return RecordText::isNoPicture(text) ? QString() : text;
}

LineRecord loadedState(const LineRecord &parsed, const LineRecord &before)
{
    Q_ASSERT(&parsed.format() == &format() && &before.format() == &format());
    LineRecord state = before;
    for (int line = 0; line < parsed.present(); ++line)
        state.setValue(line, parsed.value(line));

    for (int line : {TitleLeft, TitleTop, TitleFontSize, ChartFontSize})
        state.setValue(line, fromInteger(toInteger(parsed.value(line))));
    for (int line : {BackStretch, MiniStretch})
        state.setValue(line, boolText(isStretched(parsed.value(line))));
    if (const auto shown = frameShown(parsed.value(MiniFrameShown)))
        state.setValue(MiniFrameShown, boolText(*shown));
    else
        state.setValue(MiniFrameShown, before.value(MiniFrameShown));
    if (const auto bold = isBold(parsed.value(ChartFontWeight)))
        state.setValue(ChartFontWeight, weightText(*bold));
    else
        state.setValue(ChartFontWeight, before.value(ChartFontWeight));
    for (int line : {MiniPicture, BackPicture})
        state.setValue(line, storedPicturePath(parsed.value(line)));
    if (parsed.has(Gridlines))
        state.setValue(Gridlines, gridlinesText(gridlinesShown(parsed.value(Gridlines))));
    return state;
}

LineRecord read(const QString &path)
{
    return loadedState(parse(LineFile::read(path)), newRecord());
}

void write(const LineRecord &record, const QString &path)
{
    record.toLines().write(path);
}

} // namespace PedigreeFile
