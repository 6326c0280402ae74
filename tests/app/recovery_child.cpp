// A program that stops without saving, for the recovery tests: the real main window
// and kinds with a recovery store in the folder given, a record opened and a value
// typed into it through real input. Once the record's recovery copy is on disk it says
// "written" on its standard output and waits to be killed.
//
//   recovery_child <recovery folder> <record file> <text>

#include "Input.h"
#include "ScriptedPlatform.h"
#include "WindowFixture.h"
#include "app/Kinds.h"
#include "frame/BigBadParent.h"
#include "records/RecoveryStore.h"
#include "shell/KindRegistry.h"
#include "shell/SheetWidgets.h"
#include "shell/SheetWindow.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4)
        return 2;
    registerKinds();
    RecoveryStore store(args.at(1));
    if (!store.start())
        return 3;
    ScriptedPlatform::Installed platform;
    TBigBadParent parent;
    parent.show();
    auto *window = qobject_cast<SheetWindow *>(KindRegistry::instance().openByExtension(args.at(2)));
    if (!window)
        return 4;
    ValueLabel *label = nullptr;
    for (ValueLabel *candidate : window->sheet()->findChildren<ValueLabel *>())
        if (!label && candidate->isVisible())
            label = candidate;
    if (!label)
        return 5;
    typeInto(window, label, args.at(3));

    const QDir folder(args.at(1));
    const auto written = [&] {
        for (const QString &index : folder.entryList({QStringLiteral("*.index")}, QDir::Files)) {
            QFile lines(folder.filePath(index.chopped(6) + QStringLiteral(".lines")));
            if (lines.open(QIODevice::ReadOnly) && lines.readAll().contains(args.at(3).toLatin1()))
                return true;
        }
        return false;
    };
    if (!QTest::qWaitFor(written, 10000))
        return 6;
    std::printf("written\n");
    std::fflush(stdout);
    return QApplication::exec();
}
