#include "app/Kinds.h"
#include "shell/AboutPopUp.h"
#include "shell/BigBadParent.h"
#include "shell/HiddenPrint.h"
#include "shell/Platform.h"
#include "shell/RecentFiles.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hutchlore"));
    QApplication::setApplicationDisplayName(QStringLiteral("Hutchlore"));
    // The recent-files list lives in the user's configuration folder, under these names.
    QApplication::setOrganizationName(QStringLiteral("Hutchlore"));
    RecentFiles::useUserSettings();
    registerKinds();
    try {
        TBigBadParent parent;
        THiddenPrint print;
        TAboutPopUp about(&parent);
        parent.show();
        return QApplication::exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Hutchlore"), QString::fromLocal8Bit(e.what()));
        return 0;
    }
}
