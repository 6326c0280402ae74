#include "shell/KindRegistry.h"

#include "records/LineFile.h"
#include "shell/DocumentWindow.h"
#include "shell/Frame.h"

#include <QMdiArea>

QString WindowKind::dialogFilter() const
{
    return QStringLiteral("%1 (*%2)|*%2").arg(filterTitle, extension);
}

FileDialogSpec WindowKind::dialog(const QString &title) const
{
    return {dialogFilter(), extension.mid(1), title};
}

KindRegistry &KindRegistry::instance()
{
    static KindRegistry registry;
    return registry;
}

void KindRegistry::add(WindowKind kind)
{
    for (WindowKind &known : m_kinds) {
        if (known.id == kind.id) {
            known = std::move(kind);
            return;
        }
    }
    m_kinds.append(std::move(kind));
}

const WindowKind *KindRegistry::find(const QString &id) const
{
    for (const WindowKind &kind : m_kinds)
        if (kind.id == id)
            return &kind;
    return nullptr;
}

const WindowKind *KindRegistry::byExtension(const QString &extension) const
{
    if (extension.isEmpty())
        return nullptr;
    for (const WindowKind &kind : m_kinds)
        if (kind.extension == extension)
            return &kind;
    return nullptr;
}

FileDialogSpec KindRegistry::dialogOf(const char *kindId, const QString &title)
{
    const WindowKind *kind = instance().find(QString::fromLatin1(kindId));
    Q_ASSERT_X(kind, "KindRegistry::dialogOf", kindId);
    return kind ? kind->dialog(title) : FileDialogSpec{};
}

QString KindRegistry::openFilter() const
{
    QStringList titled;
    QStringList patterns;
    QStringList each;
    for (const WindowKind &kind : m_kinds) {
        if (kind.extension.isEmpty())
            continue;
        const QString pattern = u'*' + kind.extension;
        patterns.append(pattern);
        if (kind.namedInOpenTitle)
            titled.append(pattern);
        each.append(QStringLiteral("%1 (%2)|%2").arg(kind.openFilterTitle, pattern));
    }
    return QStringLiteral("Rabbit Hutchlore Files (%1)|%2;|")
               .arg(titled.join(QStringLiteral(", ")), patterns.join(QStringLiteral("; "))) +
           each.join(u'|');
}

QList<const WindowKind *> KindRegistry::searched() const
{
    QList<const WindowKind *> kinds;
    for (const WindowKind &kind : m_kinds)
        if (!kind.findTitle.isEmpty() && !kind.extension.isEmpty())
            kinds.append(&kind);
    return kinds;
}

ChildWindow *KindRegistry::newWindow(const QString &id) const
{
    bool made = false;
    ChildWindow *window = makeWindow(id, made);
    if (auto *document = qobject_cast<DocumentWindow *>(window); document && made) {
        document->startEmpty();
        document->startHistory();
    }
    return window;
}

ChildWindow *KindRegistry::makeWindow(const QString &id, bool &made) const
{
    made = false;
    const WindowKind *kind = find(id);
    Frame *frame = Frame::instance();
    if (!kind || !kind->isAvailable() || !frame)
        return nullptr;
    if (kind->oneWindow) {
        for (QMdiSubWindow *open : frame->mdiArea()->subWindowList()) {
            auto *child = qobject_cast<ChildWindow *>(open);
            if (child && child->property(KindProperty).toString() == id) {
                child->show();
                frame->mdiArea()->setActiveSubWindow(child);
                return child;
            }
        }
    }
    // A tool may ask first which file it works on; cancelled, it makes nothing.
    ChildWindow *window = kind->create();
    if (!window)
        return nullptr;
    made = true;
    return place(*kind, window);
}

ChildWindow *KindRegistry::adoptWindow(const QString &id, ChildWindow *window) const
{
    const WindowKind *kind = find(id);
    if (!kind || !Frame::instance()) {
        delete window;
        return nullptr;
    }
    return place(*kind, window);
}

ChildWindow *KindRegistry::place(const WindowKind &kind, ChildWindow *window) const
{
    // Every window placed here carries its kind: the one window of a kind is found
    // again by it, and F1 finds the window's help page.
    window->setProperty(KindProperty, kind.id);
    Frame::instance()->adopt(window);
    if (!kind.defaultSize.isEmpty())
        window->resize(kind.defaultSize);
    if (auto *document = qobject_cast<DocumentWindow *>(window))
        document->startHistory();
    return window;
}

DocumentWindow *KindRegistry::openFile(const QString &id, const QString &path) const
{
    bool made = false;
    auto *window = qobject_cast<DocumentWindow *>(makeWindow(id, made));
    if (!window)
        return nullptr;
    try {
        window->loadFile(path);
    } catch (...) {
        // Nothing to show: the empty window would only be in the way.
        window->close();
        throw;
    }
    return window;
}

DocumentWindow *KindRegistry::restoreRecovered(const QString &id, const LineFile &lines, const QString &file) const
{
    bool made = false;
    auto *window = qobject_cast<DocumentWindow *>(makeWindow(id, made));
    if (!window || !made)
        throw RecordError(QStringLiteral("No window here shows records of the kind \"%1\".").arg(excerpt(id)));
    try {
        window->restoreRecovered(lines, file);
    } catch (...) {
        window->setModified(false);
        window->close();
        throw;
    }
    return window;
}

DocumentWindow *KindRegistry::openByExtension(const QString &path) const
{
    const WindowKind *kind = byExtension(extensionOf(path));
    return kind ? openFile(kind->id, path) : nullptr;
}

QString KindRegistry::createFile(const QString &id) const
{
    auto *window = qobject_cast<DocumentWindow *>(newWindow(id));
    // Should the window close while its dialog is open, the command guard ends the
    // command there.
    return window && window->saveAsLinkTarget() ? window->fileName() : QString();
}

DocumentWindow *KindRegistry::startRecord(const QString &id, const LineRecord &seed, int code, QObject *receiver,
                                          HandOff handOff) const
{
    bool made = false;
    auto *window = qobject_cast<DocumentWindow *>(makeWindow(id, made));
    if (!window)
        return nullptr;
    window->fillFrom(seed);
    window->setPositionCode(code);
    window->setHandOff(receiver, std::move(handOff));
    window->setModified(false);
    window->startHistory();
    return window;
}
