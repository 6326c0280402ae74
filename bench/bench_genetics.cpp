// Cross calculation over every ordered pair of exact genotypes, series by series
// and as whole eight-series crosses.
#include "genetics/CrossCalculation.h"

#include <benchmark/benchmark.h>

using namespace Genetics;

namespace {

struct Pair
{
    GeneSeries series;
    QString father;
    QString mother;
};

QList<Pair> allPairs()
{
    QList<Pair> pairs;
    for (GeneSeries s : AllSeries)
        for (const Genotype &f : table(s).exactGenotypes)
            for (const Genotype &m : table(s).exactGenotypes)
                pairs.append({s, f.text, m.text});
    return pairs;
}

// One series at a time: all 377 ordered pairs of the eight series per iteration.
void BM_SeriesCross(benchmark::State &state)
{
    const QList<Pair> pairs = allPairs();
    for (auto _ : state)
        for (const Pair &p : pairs)
            benchmark::DoNotOptimize(crossSeries(p.series, p.father, p.mother));
    state.SetItemsProcessed(state.iterations() * pairs.size());
    state.counters["pairs"] = double(pairs.size());
    state.counters["per_cross"] = benchmark::Counter(
        double(pairs.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SeriesCross);

// What the Calculate button does: all eight series of a father and a mother. Each
// series walks through its own ordered pairs; C, with the most (196), sets the count.
void BM_WholeCross(benchmark::State &state)
{
    qsizetype crosses = 0;
    for (GeneSeries s : AllSeries)
        crosses = std::max(crosses, table(s).exactGenotypes.size() * table(s).exactGenotypes.size());
    QList<std::pair<GenotypeTexts, GenotypeTexts>> parents;
    for (qsizetype k = 0; k < crosses; ++k) {
        GenotypeTexts father, mother;
        for (GeneSeries s : AllSeries) {
            const QList<Genotype> &g = table(s).exactGenotypes;
            const qsizetype pair = k % (g.size() * g.size());
            father[indexOf(s)] = g[pair / g.size()].text;
            mother[indexOf(s)] = g[pair % g.size()].text;
        }
        parents.append({father, mother});
    }
    for (auto _ : state)
        for (const auto &[father, mother] : parents)
            benchmark::DoNotOptimize(calculateCross(father, mother));
    state.SetItemsProcessed(state.iterations() * parents.size());
    state.counters["per_cross"] = benchmark::Counter(
        double(parents.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WholeCross);

} // namespace
