// Any byte string must either load as a pedigree or fail with a RecordError, and a
// record that loads must save and load again to the same values.
#include "pedigree/PedigreeFormat.h"
#include "records/LineFile.h"
#include "records/RecordError.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const LineRecord parsed = PedigreeFile::parse(LineFile::fromBytes(bytes));
        const LineRecord state = PedigreeFile::loadedState(parsed, PedigreeFile::newRecord());
        for (const LineRecord &record : {parsed, state}) {
            const QByteArray saved = record.toLines().toBytes();
            const LineRecord again = PedigreeFile::parse(LineFile::fromBytes(saved));
            if (again.values() != record.values() || again.toLines().toBytes() != saved)
                std::abort();
        }
        // The window's reading of a file is settled: loading its own save changes nothing.
        if (PedigreeFile::loadedState(state, PedigreeFile::newRecord()).values() != state.values())
            std::abort();
    } catch (const RecordError &) {
        // A file the loader refuses is fine; a crash or another exception is not.
    }
    return 0;
}
