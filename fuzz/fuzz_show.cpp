// Any byte string must either load as a show record or fail with a RecordError; a
// record that loads must save and load again to the same values, and its winnings
// summary must be built from the chosen row without a fault.
#include "records/LineFile.h"
#include "records/RecordError.h"
#include "show/ShowFormat.h"
#include "show/ShowLinks.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const LineFile file = LineFile::fromBytes(bytes);
    try {
        const LineRecord parsed = ShowFile::parse(file);
        const std::optional<QString> summary = ShowFile::winningsSummary(parsed);
        if (summary && summary->isEmpty())
            std::abort();
        const LineRecord state = ShowFile::loadedState(parsed, ShowFile::newRecord());
        const LineRecord reread = ShowFile::loadedState(ShowFile::parse(LineFile::fromBytes(state.toLines().toBytes())),
                                                        ShowFile::newRecord());
        if (reread.values() != state.values() || reread.present() != ShowFile::LineCount)
            std::abort();
        // What the window shows on line 65 is what the summary used.
        if (ShowFile::chosenRow(state.value(ShowFile::WinningsNum)) !=
            ShowFile::chosenRow(parsed.value(ShowFile::WinningsNum)))
            std::abort();
        (void)ShowLinks::showToRabbit(state);
    } catch (const RecordError &) {
        // Refused files are fine; crashes and other exceptions are not.
    }
    return 0;
}
