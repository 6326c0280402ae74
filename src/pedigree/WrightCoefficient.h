#pragma once

#include <optional>
#include <vector>

// Wright's coefficient of inbreeding over a pedigree numbered as a heap: place 0 the
// rabbit, the sire and dam of place i at 2i+1 and 2i+2. Every pair of paths to a common
// ancestor, one from the sire and one from the dam, that share no other rabbit and
// pass no rabbit twice, adds (1/2)^(n1+n2+1) (1 + F_A); F_A comes from the ancestor's
// own parents where the pedigree shows them, and is 0 beyond it.
//
// Who is the same rabbit as whom is the caller's to say (a chart and a planned litter
// decide it from their own fields); each place is always the same as itself.
namespace Wright {

class HeapPedigree
{
public:
    // `generations` 1..6: the rabbit alone, up to five generations above it.
    explicit HeapPedigree(int generations);

    int places() const { return m_places; }
    // Places below this have parents in the pedigree.
    int withParents() const { return m_places / 2; }

    void setSame(int a, int b, bool same);
    bool same(int a, int b) const { return m_same[std::size_t(a * m_places + b)] != 0; }

    // The coefficient of the rabbit at `place`; `through`, when given (sized places()),
    // receives each common ancestor's share at the place on the sire's line where
    // the path reaches it.
    double coefficient(int place, std::vector<double> *through = nullptr);

private:
    bool independent(int father, int a, int mother, int b) const;

    int m_places;
    std::vector<char> m_same;
    std::vector<std::optional<double>> m_coefficient;
};

} // namespace Wright
