#include "frame/RecentFilesMenu.h"

#include "records/LineFile.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"
#include "frame/RecentFiles.h"

#include <QFileInfo>

namespace {

constexpr qsizetype ShownChars = 70;

// A cut that does not split a surrogate pair.
qsizetype safeCut(const QString &text, qsizetype at)
{
    return at > 0 && at < text.size() && text.at(at - 1).isHighSurrogate() ? at - 1 : at;
}

} // namespace

RecentFilesMenu::RecentFilesMenu(const QString &objectName, QWidget *owner)
    : QMenu(QStringLiteral("&Recent Files"), owner), m_owner(owner)
{
    setObjectName(objectName);
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &RecentFilesMenu::refresh);
}

QString RecentFilesMenu::entryText(int index, const QString &path)
{
    QString shown = path;
    // A file name may hold anything a menu would misread: line breaks, tabs.
    for (QChar &c : shown)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    if (shown.size() > ShownChars) {
        const qsizetype head = safeCut(shown, 25);
        const qsizetype tail = safeCut(shown, shown.size() - (ShownChars - 26));
        shown = shown.left(head) + u'\u2026' + shown.mid(tail);
    }
    shown.replace(u'&', QStringLiteral("&&"));
    const QString number =
        index < 10 ? u'&' + QString::number(index) : QString::number(index / 10) + u'&' + QString::number(index % 10);
    return number + u' ' + shown;
}

void RecentFilesMenu::refresh()
{
    clear();
    const QStringList paths = RecentFiles::list();
    if (paths.isEmpty()) {
        QAction *none = addAction(QStringLiteral("(none)"));
        none->setObjectName(QStringLiteral("RecentFilesEmpty"));
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        QAction *entry = addAction(entryText(i + 1, path));
        entry->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        entry->setToolTip(path);
        entry->setData(path);
        connect(entry, &QAction::triggered, m_owner, [this, path] { runCommand(m_owner, [&] { openRecent(path); }); });
    }
}

void RecentFilesMenu::openRecent(const QString &path)
{
    openRecentFile(m_owner, path);
}

void openRecentFile(QWidget *owner, const QString &path)
{
    const QString shown = excerpt(path, 200);
    if (!QFileInfo(path).isFile()) {
        RecentFiles::remove(path);
        Platform::instance().ask(
            owner,
            QStringLiteral("\"%1\" could not be found. It has been removed from the Recent Files list.").arg(shown),
            Platform::Buttons::Ok);
        return;
    }
    if (!KindRegistry::instance().byExtension(extensionOf(path))) {
        RecentFiles::remove(path);
        Platform::instance().ask(
            owner,
            QStringLiteral("\"%1\" is not a record file. It has been removed from the Recent Files list.").arg(shown),
            Platform::Buttons::Ok);
        return;
    }
    KindRegistry::instance().openByExtension(path);
}
