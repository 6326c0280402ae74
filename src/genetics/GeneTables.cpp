#include "genetics/GeneTables.h"

namespace Genetics {

namespace {

// The same Mendelian shares serve every two-allele series with a dominant allele,
// once for each of its line orders.
QList<CrossTableCell> twoClassTable(const QString &dominant, const QString &hetero, const QString &recessive,
                                    bool recessiveFirst)
{
    const auto cell = [recessiveFirst](const QString &f, const QString &m, int dom) {
        return CrossTableCell{f, m, recessiveFirst ? QList<int>{100 - dom, dom} : QList<int>{dom, 100 - dom}};
    };
    return {
        cell(dominant, dominant, 100),  cell(dominant, hetero, 100), cell(dominant, recessive, 100),
        cell(hetero, dominant, 100),    cell(hetero, hetero, 75),    cell(hetero, recessive, 50),
        cell(recessive, dominant, 100), cell(recessive, hetero, 50), cell(recessive, recessive, 0),
    };
}

// Series without dominance: each genotype is its own class (lines: homozygous
// first allele, heterozygous, homozygous second allele).
QList<CrossTableCell> threeClassTable(const QString &first, const QString &hetero, const QString &second)
{
    return {
        {first, first, {100, 0, 0}},  {first, hetero, {50, 50, 0}},   {first, second, {0, 100, 0}},
        {hetero, first, {50, 50, 0}}, {hetero, hetero, {25, 50, 25}}, {hetero, second, {0, 50, 50}},
        {second, first, {0, 100, 0}}, {second, hetero, {0, 50, 50}},  {second, second, {0, 0, 100}},
    };
}

std::array<SeriesTable, SeriesCount> buildTables()
{
    std::array<SeriesTable, SeriesCount> t;

    t[indexOf(GeneSeries::A)] = SeriesTable{
        GeneSeries::A,
        "Coat Pattern",
        "ASeries",
        "Coat Pattern:",
        "A",
        43,
        {"A", "at", "a"},
        {Placeholder, "AA", "A at", "Aa", "AA, A at, or Aa", "at at", "at a", "at at or at a", "aa"},
        {{"AA", "A", "A"},
         {"A at", "A", "at"},
         {"Aa", "A", "a"},
         {"at at", "at", "at"},
         {"at a", "at", "a"},
         {"aa", "a", "a"}},
        {{"Coat Pattern: Agouti", "Agouti", {"AA", "Aa", "A at", "AA, A at, or Aa"}, {"AA", "Aat", "Aa", "atA", "aA"}},
         {"Coat Pattern: Tan", "Tan", {"at at", "at a", "at at or at a"}, {"atat", "ata", "aat"}},
         {"Coat Pattern: Self", "Self", {"aa"}, {"aa"}}},
        CrossMethod::Allele,
        {},
        "(A: Agouti, at: Tan, aa: Self)",
    };

    t[indexOf(GeneSeries::B)] = SeriesTable{
        GeneSeries::B,
        "Color Base",
        "BSeries",
        "Color Group:",
        "B",
        44,
        {"B", "b"},
        {Placeholder, "BB", "Bb", "BB or Bb", "bb"},
        {{"BB", "B", "B"}, {"Bb", "B", "b"}, {"bb", "b", "b"}},
        {{"Base Color: Black", "Black", {"BB", "Bb", "BB or Bb"}, {}},
         {"Base Color: Chocolate", "Chocolate", {"bb"}, {}}},
        CrossMethod::Table,
        twoClassTable("BB", "Bb", "bb", false),
        "(B: Black, b: Brown)",
    };

    t[indexOf(GeneSeries::C)] = SeriesTable{
        GeneSeries::C,
        "C Series",
        "CSeries",
        "C Series Patterns:",
        "C",
        45,
        {"C", "Cchd", "Cchl", "ch", "c"},
        // There is no choice for C with Cchl; "C chl" below is only an effect-line text.
        {Placeholder,
         "CC",
         "C Cchd",
         "C ch",
         "Cc",
         "CC or Cc",
         "C Cchd or C ch",
         "CC, C Cchd, C ch, or Cc",
         "Cchd Cchd",
         "Cchd Cchl",
         "Cchd ch",
         "Cchd c",
         "Cchd Cchd, Cchd Cchl, Cchd ch, or Cchd c",
         "Cchl Cchl",
         "Cchl ch",
         "Cchl c",
         "Cchl C chl, Cchl ch, or Cchl c",
         "ch ch",
         "ch c",
         "ch ch or ch c",
         "cc"},
        {{"CC", "C", "C"},
         {"C Cchd", "C", "Cchd"},
         {"C ch", "C", "ch"},
         {"Cc", "C", "c"},
         {"Cchd Cchd", "Cchd", "Cchd"},
         {"Cchd Cchl", "Cchd", "Cchl"},
         {"Cchd ch", "Cchd", "ch"},
         {"Cchd c", "Cchd", "c"},
         {"Cchl Cchl", "Cchl", "Cchl"},
         {"Cchl ch", "Cchl", "ch"},
         {"Cchl c", "Cchl", "c"},
         {"ch ch", "ch", "ch"},
         {"ch c", "ch", "c"},
         {"cc", "c", "c"}},
        {{"C Series: Full (normal) Color",
          "Full Color",
          {"CC", "C Cchd", "C chl", "C ch", "Cc", "CC, C Cchd, C ch, or Cc", "CC or Cc", "C Cchd or C ch"},
          {"CC", "CCchd", "CCchl", "Cch", "Cc", "CchdC", "CchlC", "chC", "cC"}},
         {"C Series: Dark Chinchilla",
          "Dark Chinchilla",
          {"Cchd Cchd", "Cchd Cchl", "Cchd ch", "Cchd c", "Cchd Cchd, Cchd Cchl, Cchd ch, or Cchd c"},
          {"CchdCchd", "CchdCchl", "Cchdch", "Cchdc", "CchlCchd", "chCchd", "cCchd"}},
         {"C Series: Light Chinchilla",
          "Light Chinchilla",
          {"Cchl Cchl", "Cchl ch", "Cchl c", "Cchl C chl, Cchl ch, or Cchl c"},
          {"CchlCchl", "Cchlch", "Cchlc", "chCchl", "cCchl"}},
         {"C Series: Himilayan", "Himilayan", {"ch ch", "ch c", "ch ch or ch c"}, {"chch", "chc", "cch"}},
         {"C Series: Albino", "Albino", {"cc"}, {"cc"}}},
        CrossMethod::Allele,
        {},
        "(C: Full Color, C chd: Dark Chinchilla, C chl: Light Chinchilla, c h Himalayan,  c c "
        "Albino)",
    };

    t[indexOf(GeneSeries::D)] = SeriesTable{
        GeneSeries::D,
        "Dilution",
        "DSeries",
        "Dilutes:",
        "D",
        46,
        {"D", "d"},
        {Placeholder, "DD", "Dd", "DD or Dd", "dd"},
        {{"DD", "D", "D"}, {"Dd", "D", "d"}, {"dd", "d", "d"}},
        // The results list the recessive class first.
        {{"Dilute: Diluted", "Dilute", {"dd"}, {}},
         {"Dilute: Intense (normal)", "Intense", {"DD", "Dd", "DD or Dd"}, {}}},
        CrossMethod::Table,
        twoClassTable("DD", "Dd", "dd", true),
        "(D: Intense, d: Dilute)",
    };

    t[indexOf(GeneSeries::En)] = SeriesTable{
        GeneSeries::En,
        "Broken",
        "BrokenSeries",
        "Broken Gene:",
        "Broken",
        48,
        {"En", "en"},
        {Placeholder, "En En", "En en", "en en"},
        {{"En En", "En", "En"}, {"En en", "En", "en"}, {"en en", "en", "en"}},
        {{"Broken Gene: Charlie", "Charlie", {"En En"}, {}},
         {"Broken Gene: Broken", "Broken", {"En en"}, {}},
         {"Broken Gene: Solid", "Normal", {"en en"}, {}}},
        CrossMethod::Table,
        threeClassTable("En En", "En en", "en en"),
        "(En En: Charlie, En en: Broken, en en: Self)",
    };

    t[indexOf(GeneSeries::E)] = SeriesTable{
        GeneSeries::E,
        "Pigment Extension",
        "ESeries",
        "Pigment Extension:",
        "E",
        47,
        {"Es", "E", "ej", "e"},
        {Placeholder, "Es Es", "Es E", "Es ej", "Es e", "Es Es, Es E, Es ej, or Es e", "EE", "E ej", "Ee",
         "EE, E ej, or Ee", "ej ej", "ej e", "ej ej or ej e", "ee"},
        {{"Es Es", "Es", "Es"},
         {"Es E", "Es", "E"},
         {"Es ej", "Es", "ej"},
         {"Es e", "Es", "e"},
         {"EE", "E", "E"},
         {"E ej", "E", "ej"},
         {"Ee", "E", "e"},
         {"ej ej", "ej", "ej"},
         {"ej e", "ej", "e"},
         {"ee", "e", "e"}},
        {{"Pigment Extension: Steel",
          "Steel",
          {"Es Es", "Es E", "Es ej", "Es e", "Es Es, Es E, Es ej, or Es e"},
          {"EsEs", "EsE", "Esej", "Ese", "EEs", "ejEs", "eEs"}},
         {"Pigment Extension: Normal Color",
          "Normal",
          {"EE", "E ej", "Ee", "EE, E ej, or Ee"},
          {"EE", "Eej", "Ee", "ejE", "eE"}},
         {"Pigment Extension: Japanese (Harlequin or Tri)",
          "Japanese (Harlequin/Tri)",
          {"ej ej", "ej e", "ej ej or ej e"},
          {"ejej", "eje", "eej"}},
         {"Pigment Extension: Tort", "Tort", {"ee"}, {"ee"}}},
        CrossMethod::Allele,
        {},
        "(Es: Steel, E: Normal, ej: Japanese, e: Non-Extensions)",
    };

    t[indexOf(GeneSeries::V)] = SeriesTable{
        GeneSeries::V,
        "Vienna White",
        "VSeries",
        "Vienna White:",
        "V",
        49,
        {"V", "v"},
        {Placeholder, "VV", "Vv", "vv"},
        {{"VV", "V", "V"}, {"Vv", "V", "v"}, {"vv", "v", "v"}},
        // The trailing blank of the first effect line is part of the stored wording.
        {{"Vienna White: No effect ", "Normal", {"VV"}, {}},
         {"Vienna White: Dutch", "Dutch", {"Vv"}, {}},
         {"Vienna White: Blue-eyed white", "Blue-Eyed White", {"vv"}, {}}},
        CrossMethod::Table,
        threeClassTable("VV", "Vv", "vv"),
        "(V V: No Effect, V v: Dutch Broken, vv: Blue-Eyed White)",
    };

    t[indexOf(GeneSeries::W)] = SeriesTable{
        GeneSeries::W,
        "Wide Band",
        "WSeries",
        "Wide Band:",
        "W",
        50,
        {"W", "w"},
        {Placeholder, "WW", "Ww", "WW or Ww", "ww"},
        {{"WW", "W", "W"}, {"Ww", "W", "w"}, {"ww", "w", "w"}},
        {{"W Series: No effect", "Normal", {"WW", "Ww", "WW or Ww"}, {}},
         {"W Series: Wide Band", "Wide Band", {"ww"}, {}}},
        CrossMethod::Table,
        twoClassTable("WW", "Ww", "ww", false),
        "(W: No Effect, ww: Wide Band)",
    };

    return t;
}

const std::array<SeriesTable, SeriesCount> &tables()
{
    static const std::array<SeriesTable, SeriesCount> all = buildTables();
    return all;
}

} // namespace

const SeriesTable &table(GeneSeries s)
{
    return tables()[indexOf(s)];
}

const Genotype *exactGenotype(GeneSeries s, const QString &text)
{
    for (const Genotype &g : table(s).exactGenotypes)
        if (g.text == text)
            return &g;
    return nullptr;
}

const PhenotypeClass *phenotypeOf(GeneSeries s, const QString &text)
{
    for (const PhenotypeClass &c : table(s).classes)
        if (c.texts.contains(text))
            return &c;
    return nullptr;
}

std::optional<GeneSeries> seriesForGeneLabel(const QString &labelName)
{
    for (GeneSeries s : AllSeries)
        if (table(s).geneLabel == labelName)
            return s;
    return std::nullopt;
}

QStringList choicesForGeneLabel(const QString &labelName)
{
    const std::optional<GeneSeries> s = seriesForGeneLabel(labelName);
    return s ? table(*s).choices : QStringList();
}

std::optional<QString> effectLineFor(const QString &text)
{
    if (text == Placeholder)
        return UnknownEffect;
    // The gene dialog's search order; no text is listed by two series, but the
    // order is kept so that the first match is well defined.
    static constexpr GeneSeries order[] = {GeneSeries::A,  GeneSeries::B, GeneSeries::C, GeneSeries::D,
                                           GeneSeries::En, GeneSeries::W, GeneSeries::V, GeneSeries::E};
    for (GeneSeries s : order)
        if (const PhenotypeClass *c = phenotypeOf(s, text))
            return c->effectLine;
    return std::nullopt;
}

} // namespace Genetics
