// The byte search must find exactly the lines that decoding each line and asking
// QString::contains(text, Qt::CaseInsensitive) finds. The first byte says how many
// of the following bytes make the text; the rest is the file.
#include "find/FindEngine.h"
#include "records/LineFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype textSize = std::min<qsizetype>(1 + data[0] % 8, qsizetype(size) - 1);
    const auto *chars = reinterpret_cast<const char *>(data + 1);
    const QString text = LineFile::fromBytes(QByteArray(chars, textSize)).lines().value(0);
    if (text.isEmpty())
        return 0;
    const QByteArray bytes(chars + textSize, qsizetype(size) - 1 - textSize);

    QList<int> expected;
    const QStringList lines = LineFile::fromBytes(bytes).lines();
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(text, Qt::CaseInsensitive))
            expected.append(i);
    }
    if (FindEngine::Search(text).searchBytes(bytes) != expected)
        std::abort();
    return 0;
}
