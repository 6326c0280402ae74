#include "app/CommandLine.h"
#include "app/Kinds.h"
#include "browser/BrowserLoader.h"
#include "frame/AboutPopUp.h"
#include "frame/BigBadParent.h"
#include "frame/RecentFiles.h"
#include "shell/HiddenPrint.h"
#include "shell/Platform.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>
#include <QTimer>

int main(int argc, char **argv)
{
    // The browser module's page engine, loaded later, shares the program's GL contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hutchlore"));
    QApplication::setApplicationDisplayName(QStringLiteral("Hutchlore"));
    QApplication::setDesktopFileName(QStringLiteral("hutchlore"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("hutchlore")));
    // The recent-files list lives in the user's configuration folder, under these names.
    QApplication::setOrganizationName(QStringLiteral("Hutchlore"));
    // Where this copy of the program looks for its browser module, for checking an
    // installed layout; nothing is opened.
    if (QApplication::arguments().contains(QStringLiteral("--browser-module-path"))) {
        QTextStream out(stdout);
        for (const QString &path : browserModulePaths())
            out << path << '\n';
        return 0;
    }
    RecentFiles::useUserSettings();
    registerKinds();
    try {
        TBigBadParent parent;
        THiddenPrint print;
        TAboutPopUp about(&parent);
        parent.show();
        // Files given on the command line (a double-click in the file manager).
        openCommandLine(&parent, commandLinePaths(QApplication::arguments()));
        // For bench_startup: end as soon as the main window is up.
        if (QApplication::arguments().contains(QStringLiteral("--quit-after-start")))
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        return QApplication::exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Hutchlore"), QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
