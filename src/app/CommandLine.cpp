#include "app/CommandLine.h"

#include "records/LineFile.h"
#include "records/RecordError.h"
#include "shell/CommandGuard.h"
#include "shell/KindRegistry.h"

#include <QFileInfo>

QStringList commandLinePaths(const QStringList &arguments)
{
    QStringList paths;
    bool optionsEnded = false;
    for (const QString &argument : arguments.mid(1)) {
        if (!optionsEnded && argument == u"--")
            optionsEnded = true;
        else if (optionsEnded || !argument.startsWith(u'-'))
            paths.append(argument);
    }
    return paths;
}

void openCommandLine(QWidget *frame, const QStringList &paths)
{
    for (const QString &path : paths) {
        runCommand(frame, [&] {
            // Records link one another by full path.
            const QString full = QFileInfo(path).absoluteFilePath();
            const KindRegistry &kinds = KindRegistry::instance();
            if (!kinds.byExtension(extensionOf(full))) {
                QStringList known;
                for (const WindowKind &kind : kinds.kinds())
                    if (!kind.extension.isEmpty())
                        known.append(kind.extension);
                throw FileError(QStringLiteral("Cannot open \"%1\": Hutchlore opens only record files (%2).")
                                    .arg(shownPath(full), known.join(QStringLiteral(", "))));
            }
            kinds.openByExtension(full);
        });
    }
}
