#include "records/LineCopy.h"

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

void requireLines(const LineFile &source, std::span<const LinePair> pairs)
{
    for (const LinePair &pair : pairs)
        source.at(pair.source);
}
