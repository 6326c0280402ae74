#include "app/CommandLine.h"
#include "app/Kinds.h"
#include "shell/AboutPopUp.h"
#include "shell/BigBadParent.h"
#include "shell/HiddenPrint.h"
#include "shell/Platform.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    // The browser module's page engine, loaded later, shares the program's GL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hutchlore"));
    QApplication::setApplicationDisplayName(QStringLiteral("Hutchlore"));
    QApplication::setDesktopFileName(QStringLiteral("hutchlore"));
    registerKinds();
    try {
        TBigBadParent parent;
        THiddenPrint print;
        TAboutPopUp about(&parent);
        parent.show();
        // Files given on the command line (a double-click in the file manager).
        openCommandLine(&parent, commandLinePaths(QApplication::arguments()));
        return QApplication::exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Hutchlore"), QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
