// Any bytes under any picture extension must decode or fail with a PictureError,
// and a decoded picture stays within the memory limit whatever its header claims.
#include "records/Picture.h"
#include "records/RecordError.h"

#include <QImageReader>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A smaller limit than the program's keeps each run fast; the checks are the same.
    QImageReader::setAllocationLimit(16);
    return 0;
}

// The first byte picks the extension, the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString extensions[] = {".jpg", ".bmp", ".png", ".gif", ".ico"};
    if (size < 1)
        return 0;
    const QString &extension = extensions[data[0] % std::size(extensions)];
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    try {
        const QImage image = decodePicture(bytes, extension);
        if (image.isNull() || qint64(image.sizeInBytes()) > pictureMemoryLimit())
            std::abort();
    } catch (const PictureError &) {
        // A refused picture is fine; a crash, a hang or another exception is not.
    }
    return 0;
}
