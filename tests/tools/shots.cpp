// Takes screenshots of real windows so a person can look at what a breeder sees:
//   hutchlore_shots OUT_DIR [--click LABEL] [--genetics FATHER.rab MOTHER.rab] [record files...]
// Each file is opened through the main window; the frame and each sheet are
// saved as PNG, and each sheet is printed to a PDF. --click left-clicks the named
// value on every sheet first, to show the panel it opens. --genetics opens a colour
// genetics calculator, loads the two parents, calculates and saves it too.
#include "ScriptedPlatform.h"
#include "genetics/ColorCombiner.h"
#include "records/LineFile.h"
#include "shell/BigBadParent.h"
#include "shell/DocumentWindow.h"
#include "shell/HiddenPrint.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
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
    QStringList parents;
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--click") && i + 1 < argc)
            click = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--genetics") && i + 2 < argc) {
            parents = {QString::fromLocal8Bit(argv[i + 1]), QString::fromLocal8Bit(argv[i + 2])};
            i += 2;
        } else
            files.append(arg);
    }

    TBigBadParent parent;
    THiddenPrint print;
    parent.show();
    for (const QString &file : files)
        parent.openByExtension(file);
    if (files.isEmpty() && parents.isEmpty())
        parent.MMRabbitEditorClick();
    if (!parents.isEmpty()) {
        ScriptedPlatform::Installed platform;
        auto *combiner = static_cast<TColorCombiner *>(parent.runTool(TBigBadParent::Tool::Genetics));
        platform->expectFile(parents.at(0));
        combiner->findChild<QToolButton *>(QStringLiteral("OpenFather"))->click();
        platform->expectFile(parents.at(1));
        combiner->findChild<QToolButton *>(QStringLiteral("OpenMother"))->click();
        combiner->findChild<QPushButton *>(QStringLiteral("Calculate"))->click();
    }
    QTimer::singleShot(300, [&] {
        parent.grab().save(out + QStringLiteral("/main.png"));
        int n = 0;
        int c = 0;
        for (QMdiSubWindow *window : parent.mdiArea()->subWindowList()) {
            if (qobject_cast<TColorCombiner *>(window))
                window->grab().save(out + QStringLiteral("/combiner%1.png").arg(++c));
            auto *document = qobject_cast<DocumentWindow *>(window);
            if (!document)
                continue;
            ++n;
            if (!click.isEmpty()) {
                if (auto *label = document->sheet()->findChild<QWidget *>(click))
                    QTest::mouseClick(label, Qt::LeftButton);
            }
            document->sheet()->grab().save(out + QStringLiteral("/sheet%1.png").arg(n));
            QPrinter printer(QPrinter::ScreenResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out + QStringLiteral("/sheet%1.pdf").arg(n));
            print.printSheet(document->sheet(), printer);
        }
        for (QMdiSubWindow *window : parent.mdiArea()->subWindowList())
            if (auto *document = qobject_cast<DocumentWindow *>(window))
                document->setModified(false);
        app.quit();
    });
    return app.exec();
}
