// Any byte string must either load as a breeding record or fail with a RecordError,
// a record that loads must save and load again to the same values, and the rabbit
// records started from its positions must be built without a fault.
#include "breeding/BreedingFormat.h"
#include "breeding/BreedingLinks.h"
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const LineFile file = LineFile::fromBytes(bytes);
    try {
        const LineRecord record = BreedingFile::parse(file);
        if (file.count() < BreedingFile::LineCount)
            std::abort();
        const LineRecord reread = BreedingFile::parse(LineFile::fromBytes(record.toLines().toBytes()));
        if (reread.values() != record.values())
            std::abort();
        for (int position = -1; position <= BreedingFile::RowCount + 1; ++position) {
            if (BreedingLinks::positionToRabbit(record, position).values().size() != RabbitFile::LineCount)
                std::abort();
        }
        // Sex decides the side but never the outcome when a link is missing.
        (void)BreedingLinks::subjectIsFather(record);
    } catch (const RecordError &) {
        // Refused files are fine; crashes and other exceptions are not.
    }
    return 0;
}
