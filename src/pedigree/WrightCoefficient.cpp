#include "pedigree/WrightCoefficient.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>

namespace Wright {

namespace {

// A few places, kept on the stack: this runs for every chart of a herd.
struct Places
{
    std::array<int, 64> at;
    int size = 0;
    void add(int place) { at[std::size_t(size++)] = place; }
};

// The place and all its ancestors in the pedigree, nearest first.
Places lineOf(int place, int withParents)
{
    Places found;
    found.add(place);
    for (int i = 0; i < found.size; ++i)
        if (found.at[std::size_t(i)] < withParents) {
            found.add(2 * found.at[std::size_t(i)] + 1);
            found.add(2 * found.at[std::size_t(i)] + 2);
        }
    return found;
}

// The places on the way from the ancestor `to` down to `from`, `from` included and
// `to` left out; nothing when they are one place.
void between(int from, int to, Places &into)
{
    for (int at = to; at != from;) {
        at = (at - 1) / 2;
        into.add(at);
    }
}

} // namespace

HeapPedigree::HeapPedigree(int generations)
    : m_places((1 << generations) - 1), m_same(std::size_t(m_places * m_places), 0),
      m_coefficient(std::size_t(m_places))
{
    assert(generations >= 1 && generations <= 6);
    for (int p = 0; p < m_places; ++p)
        m_same[std::size_t(p * m_places + p)] = 1;
}

void HeapPedigree::setSame(int a, int b, bool same)
{
    char &value = m_same[std::size_t(a * m_places + b)];
    if (a == b || value == char(same))
        return;
    value = m_same[std::size_t(b * m_places + a)] = char(same);
    std::fill(m_coefficient.begin(), m_coefficient.end(), std::nullopt);
}

// Two paths, from `father` up to `a` and from `mother` up to `b` (a and b the same
// rabbit), count when no rabbit other than that one stands on both, and neither passes
// through a rabbit twice.
bool HeapPedigree::independent(int father, int a, int mother, int b) const
{
    Places on;
    between(father, a, on);
    between(mother, b, on);
    for (int i = 0; i < on.size; ++i) {
        const int p = on.at[std::size_t(i)];
        if (same(p, a) || same(p, b))
            return false;
        for (int j = i + 1; j < on.size; ++j)
            if (same(p, on.at[std::size_t(j)]))
                return false;
    }
    return true;
}

double HeapPedigree::coefficient(int place, std::vector<double> *through)
{
    if (place >= withParents())
        return 0;
    std::optional<double> &known = m_coefficient[std::size_t(place)];
    if (known && !through)
        return *known;
    const int father = 2 * place + 1, mother = 2 * place + 2;
    const Places fatherLine = lineOf(father, withParents()), motherLine = lineOf(mother, withParents());
    double f = 0;
    for (int i = 0; i < fatherLine.size; ++i) {
        const int a = fatherLine.at[std::size_t(i)];
        for (int j = 0; j < motherLine.size; ++j) {
            const int b = motherLine.at[std::size_t(j)];
            if (!same(a, b) || !independent(father, a, mother, b))
                continue;
            // Generations from each parent up to the ancestor: the heap depth apart.
            const auto depth = [](int p) { return int(std::bit_width(unsigned(p + 1))); };
            const int n1 = depth(a) - depth(father), n2 = depth(b) - depth(mother);
            // The ancestor's own inbreeding, from whichever place shows more of it.
            const double ownF = std::max(coefficient(a), coefficient(b));
            const double share = std::ldexp(1.0, -(n1 + n2 + 1)) * (1.0 + ownF);
            f += share;
            if (through)
                (*through)[std::size_t(a)] += share;
        }
    }
    known = f;
    return f;
}

} // namespace Wright
