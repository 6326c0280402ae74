// Any byte string must either load as a rabbit record or fail with a RecordError,
// and a record that loads must save and load again to the same bytes.
#include "rabbit/RabbitFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const LineFile file = LineFile::fromBytes(bytes);
    // Splitting and joining keep every byte but the line ends.
    const LineFile again = LineFile::fromBytes(file.toBytes());
    if (again.lines() != file.lines())
        std::abort();
    try {
        const LineRecord record = RabbitFile::parse(file);
        if (record.present() > file.count())
            std::abort();
        const QByteArray saved = record.toLines().toBytes();
        const LineRecord reread = RabbitFile::parse(LineFile::fromBytes(saved));
        if (reread.values() != record.values() || reread.present() != RabbitFile::LineCount)
            std::abort();
    } catch (const RecordError &) {
        // Refused files are fine; crashes and other exceptions are not.
    }
    return 0;
}
