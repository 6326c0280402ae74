// Any byte string must either load as a rabbitry list or fail with a RecordError,
// and a list that loads must save and load again to the same rabbits and details.
#include "rabbitry/RabbitryFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const LineFile file = LineFile::fromBytes(bytes);
    Rabbitry::Record record;
    try {
        record = Rabbitry::parse(file, QStringLiteral("fuzz.rbty"));
    } catch (const RecordError &) {
        // Refused files are fine; crashes and other exceptions are not.
        return 0;
    }
    // The pedigree's lenient reading agrees wherever the list has its details.
    if (record.details && Rabbitry::trailer(file) != record.details)
        std::abort();
    const Rabbitry::Details details = record.details.value_or(Rabbitry::Details{});
    // Lines read from a file hold no line feed, so saving cannot refuse them.
    const QByteArray saved = Rabbitry::toLines(record.rabbits, details).toBytes();
    const Rabbitry::Record again = Rabbitry::parse(LineFile::fromBytes(saved), QStringLiteral("again.rbty"));
    if (again.details != details || again.rabbits != Rabbitry::fileOrder(record.rabbits))
        std::abort();
    if (Rabbitry::fileOrder(again.rabbits) != again.rabbits)
        std::abort();
    if (Rabbitry::displayOrder(again.rabbits).size() != again.rabbits.size())
        std::abort();
    return 0;
}
