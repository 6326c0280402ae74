#include "frame/RecoveryOffer.h"

#include "records/RecoveryStore.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"

void offerRecovery(QWidget *parent)
{
    RecoveryStore *store = RecoveryStore::active();
    if (!store)
        return;
    RecoveryStore::Leftovers left = store->leftovers();
    QStringList problems = left.unreadable;
    runCommand(parent, [&] {
        if (left.copies.isEmpty())
            return;
        const qsizetype count = left.copies.size();
        const QString question =
            count == 1 ? QStringLiteral("Hutchlore closed without saving 1 record. Restore it?")
                       : QStringLiteral("Hutchlore closed without saving %1 records. Restore them?").arg(count);
        const bool restore =
            Platform::instance().ask(parent, question, Platform::Buttons::YesNo) == Platform::Answer::Yes;
        for (const RecoveryCopy &copy : std::as_const(left.copies)) {
            if (!restore) {
                store->discard(copy);
                continue;
            }
            try {
                KindRegistry::instance().restoreRecovered(copy.kind, copy.lines, copy.file);
                // The window keeps a copy of its own from now on.
                store->discard(copy);
            } catch (const RecordError &e) {
                problems.append(
                    QStringLiteral("The recovery copy of \"%1\" could not be restored and was set aside. %2")
                        .arg(copy.file.isEmpty() ? QStringLiteral("an untitled record") : shownPath(copy.file),
                             e.message()));
                store->setAside(copy.name);
            }
        }
    });
    store->release();
    if (!problems.isEmpty())
        runCommand(parent, [&] { Platform::instance().showError(parent, problems.join(QStringLiteral("\n\n"))); });
}
