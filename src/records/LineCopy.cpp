#include "records/LineCopy.h"

#include <algorithm>

void copyLines(const LineFile &source, const LineFormat &sourceFormat, std::span<const LinePair> pairs,
               LineRecord &target, Placeholders rule)
{
    for (const LinePair &pair : pairs) {
        const QString &text = source.at(pair.source);
        if (rule == Placeholders::Skip && text == sourceFormat.field(pair.source).placeholder)
            continue;
        target.setValue(pair.target, text);
    }
}

int linesRead(std::span<const LinePair> pairs)
{
    int count = 0;
    for (const LinePair &pair : pairs)
        count = std::max(count, pair.source + 1);
    return count;
}

void requireLines(const LineFile &source, std::span<const LinePair> pairs)
{
    for (const LinePair &pair : pairs)
        source.at(pair.source);
}
