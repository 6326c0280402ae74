#include "records/WindowRegistry.h"

QHash<QString, QPointer<QObject>> &WindowRegistry::table()
{
    static QHash<QString, QPointer<QObject>> registry;
    return registry;
}

void WindowRegistry::setNewest(const QString &className, QObject *window)
{
    table().insert(className, window);
}

QObject *WindowRegistry::newest(const QString &className)
{
    return table().value(className).data();
}
