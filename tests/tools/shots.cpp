// Takes screenshots of real windows so a person can look at what a breeder sees:
//   hutchlore_shots OUT_DIR [record files...]
// Each file is opened through the main window; the frame and each sheet are
// saved as PNG, and each sheet is printed to a PDF.
#include "ScriptedPlatform.h"
#include "records/LineFile.h"
#include "shell/BigBadParent.h"
#include "shell/DocumentWindow.h"
#include "shell/HiddenPrint.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    TBigBadParent parent;
    THiddenPrint print;
    parent.show();
    for (int i = 2; i < argc; ++i)
        parent.openByExtension(QString::fromLocal8Bit(argv[i]));
    if (argc == 2)
        parent.MMRabbitEditorClick();
    QTimer::singleShot(300, [&] {
        parent.grab().save(out + QStringLiteral("/main.png"));
        int n = 0;
        for (QMdiSubWindow *window : parent.mdiArea()->subWindowList()) {
            auto *document = qobject_cast<DocumentWindow *>(window);
            if (!document)
                continue;
            ++n;
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
