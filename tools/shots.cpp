// Takes screenshots of real windows so a person can look at what a breeder sees:
//   hutchlore_shots OUT_DIR [--click LABEL] [--action NAME] [--genetics FATHER.rab MOTHER.rab]
//                   [--tool KIND]... [--press BUTTON]... [record files...]
// Each file is opened through the main window; the frame and each sheet are
// saved as PNG, and each sheet is printed to a PDF through its window's Print.
// --click left-clicks the named value on every sheet first, to show the panel it
// opens; --action triggers the named menu entry of every document window first
// (SetFileLinks). --genetics opens a colour genetics calculator, loads the two
// parents, calculates and saves it too. --tool opens a tool window by its kind
// ("herdtable", "testmating", "calendar") after the files, and every window that is
// not a sheet is saved as window<N>.png; --press clicks the named button of every such
// window first (MatingCalculate, RankBucks).
#include "ScriptedPlatform.h"
#include "app/Kinds.h"
#include "genetics/ColorCombiner.h"
#include "rabbit/RabbitSheet.h"
#include "records/LineFile.h"
#include "frame/BigBadParent.h"
#include "shell/HiddenPrint.h"
#include "shell/SheetWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QStringList files;
    QString click;
    QString action;
    QStringList parents;
    QStringList tools;
    QStringList presses;
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--click") && i + 1 < argc)
            click = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--action") && i + 1 < argc)
            action = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--genetics") && i + 2 < argc) {
            parents = {QString::fromLocal8Bit(argv[i + 1]), QString::fromLocal8Bit(argv[i + 2])};
            i += 2;
        } else if (arg == QLatin1String("--press") && i + 1 < argc)
            presses.append(QString::fromLocal8Bit(argv[++i]));
        else if (arg == QLatin1String("--tool") && i + 1 < argc)
            tools.append(QString::fromLocal8Bit(argv[++i]));
        else
            files.append(arg);
    }

    registerKinds();
    TBigBadParent parent;
    THiddenPrint print;
    parent.show();
    for (const QString &file : files)
        parent.openByExtension(file);
    for (const QString &tool : std::as_const(tools))
        parent.runTool(tool);
    if (files.isEmpty() && parents.isEmpty() && tools.isEmpty())
        parent.runTool(QString::fromLatin1(TRabbitSheet::KindId));
    if (!parents.isEmpty()) {
        ScriptedPlatform::Installed platform;
        auto *combiner = static_cast<TColorCombiner *>(parent.runTool(QString::fromLatin1(TColorCombiner::KindId)));
        platform->expectFile(parents.at(0));
        combiner->findChild<QToolButton *>(QStringLiteral("OpenFather"))->click();
        platform->expectFile(parents.at(1));
        combiner->findChild<QToolButton *>(QStringLiteral("OpenMother"))->click();
        combiner->findChild<QPushButton *>(QStringLiteral("Calculate"))->click();
    }
    // Long enough for a herd's rows to be read.
    QTimer::singleShot(tools.isEmpty() ? 300 : 1500, [&] {
        parent.grab().save(out + QStringLiteral("/main.png"));
        int n = 0;
        int c = 0;
        int w = 0;
        for (QMdiSubWindow *window : parent.mdiArea()->subWindowList()) {
            if (qobject_cast<TColorCombiner *>(window))
                window->grab().save(out + QStringLiteral("/combiner%1.png").arg(++c));
            else if (!qobject_cast<SheetWindow *>(window)) {
                for (const QString &press : std::as_const(presses))
                    if (auto *button = window->findChild<QPushButton *>(press))
                        button->click();
                window->grab().save(out + QStringLiteral("/window%1.png").arg(++w));
            }
            auto *document = qobject_cast<SheetWindow *>(window);
            if (!document)
                continue;
            ++n;
            if (!click.isEmpty()) {
                if (auto *label = document->sheet()->findChild<QWidget *>(click))
                    QTest::mouseClick(label, Qt::LeftButton);
            }
            if (!action.isEmpty()) {
                if (auto *entry = document->findChild<QAction *>(action))
                    entry->trigger();
            }
            document->sheet()->grab().save(out + QStringLiteral("/sheet%1.png").arg(n));
            // Printed through the window's own Print command, as the breeder prints it.
            ScriptedPlatform::Installed platform;
            platform->expectPrinter(out + QStringLiteral("/sheet%1.pdf").arg(n));
            document->findChild<QAction *>(QStringLiteral("FilePrint"))->trigger();
        }
        for (QMdiSubWindow *window : parent.mdiArea()->subWindowList())
            if (auto *document = qobject_cast<DocumentWindow *>(window))
                document->setModified(false);
        app.quit();
    });
    return app.exec();
}
