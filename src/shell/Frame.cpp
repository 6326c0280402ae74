#include "shell/Frame.h"

#include "records/WindowRegistry.h"

namespace {
const QString Key = QStringLiteral("Frame");
} // namespace

Frame *Frame::instance()
{
    // Guarded by the registry: a frame that has been freed is never returned, and
    // one being torn down is no Frame any more.
    return dynamic_cast<Frame *>(WindowRegistry::newest(Key));
}

void Frame::setNewest(QObject *window)
{
    WindowRegistry::setNewest(Key, window);
}
