#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

// Names the newest window of each class. A window that has been closed and freed
// is never returned: the references are guarded pointers.
class WindowRegistry
{
public:
    static void setNewest(const QString &className, QObject *window);
    static QObject *newest(const QString &className);

    template <typename T> static T *newest()
    {
        return qobject_cast<T *>(newest(QString::fromLatin1(T::staticMetaObject.className())));
    }
    template <typename T> static void setNewest(T *window)
    {
        setNewest(QString::fromLatin1(T::staticMetaObject.className()), window);
    }

private:
    static QHash<QString, QPointer<QObject>> &table();
};
