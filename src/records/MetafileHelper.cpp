// hutchlore-metafile: converts one metafile, read from standard input, to SVG on
// standard output (MetafileConverter.h). The program starts it for each metafile and
// bounds its memory, time and output, so whatever a hostile file does to the
// converter libraries happens in here.
#include "records/MetafileConverter.h"
#include "records/RecordError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

bool writeAll(const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool answer(char mark, const QByteArray &text)
{
    return writeAll(&mark, 1) && writeAll(text.constData(), text.size());
}

// Standard input up to one byte past the bound, so that a larger file is refused
// rather than cut.
bool readInput(QByteArray &input)
{
    char buffer[64 * 1024];
    while (input.size() <= MaxMetafileBytes) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        input.append(buffer, qsizetype(std::min<qint64>(got, MaxMetafileBytes + 1 - input.size())));
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const bool wmf = argc == 2 && std::strcmp(argv[1], "wmf") == 0;
    const bool emf = argc == 2 && std::strcmp(argv[1], "emf") == 0;
    if (!wmf && !emf) {
        std::fprintf(stderr, "usage: hutchlore-metafile wmf|emf < metafile > reply\n");
        return 2;
    }
    QByteArray input;
    if (!readInput(input)) {
        std::perror("hutchlore-metafile: reading the metafile");
        return 1;
    }
    bool written = false;
    try {
        written = answer(ConverterSvgMark, convertMetafile(input, wmf ? MetafileKind::Wmf : MetafileKind::Emf));
    } catch (const RecordError &e) {
        written = answer(ConverterRefusalMark, e.message().toUtf8().left(MaxConverterReasonBytes));
    } catch (const std::bad_alloc &) {
        written = answer(ConverterRefusalMark, "not enough memory to convert the metafile");
    }
    return written ? 0 : 1;
}
