#pragma once

#include "genetics/GeneTables.h"

#include <QString>
#include <QStringList>

#include <array>

namespace Genetics {

// One genotype text per series, indexed by indexOf(GeneSeries): exactly the texts a
// window holds (exact genotypes, the placeholder, grouped choices, anything else).
using GenotypeTexts = std::array<QString, SeriesCount>;

inline const QString CannotCalculate = QStringLiteral("Cannot Calculate");

// The result lines of every series, in the order of the window's result labels.
class CrossResult
{
public:
    const QStringList &lines(GeneSeries s) const { return m_lines[indexOf(s)]; }
    QStringList &lines(GeneSeries s) { return m_lines[indexOf(s)]; }
    // All 24 lines, series after series (A, B, C, D, En, E, V, W), matching resultLabels().
    QStringList allLines() const;

private:
    std::array<QStringList, SeriesCount> m_lines;
};

// The lines of one series: one per phenotype class, "<share>% <word>", the shares in
// steps of 25. When the pair cannot be calculated, line 1 is CannotCalculate and the
// others are empty. The allele method (A, C, E) accepts only exact genotypes; the
// table method (B, D, En, V, W) only the nine tabled pairs.
QStringList crossSeries(GeneSeries s, const QString &father, const QString &mother);

// Why a series cannot be calculated, one line per parent whose text holds no single
// genotype of the series: "Father, Color Base: 'BB or Bb' is two genotypes; choose
// one to calculate", "Mother, Dilution: not set". Empty when crossSeries() gives
// shares.
QString cannotCalculateReason(GeneSeries s, const QString &father, const QString &mother);

// Every series of a father and a mother; each series is calculated on its own.
CrossResult calculateCross(const GenotypeTexts &father, const GenotypeTexts &mother);

// Control names of the colour genetics window.
QString fatherLabel(GeneSeries s);      // "FatherA", "FatherBroken", ...
QString motherLabel(GeneSeries s);      // "MotherA", "MotherBroken", ...
QStringList resultLabels(GeneSeries s); // "KidA1", "KidA2", "KidA3"
QStringList resultLabels();             // all 24, in the order of CrossResult::allLines()

} // namespace Genetics
