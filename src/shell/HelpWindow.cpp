#include "shell/HelpWindow.h"

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

void showHelpContents(QWidget *parent)
{
    Q_INIT_RESOURCE(shell);
    static QPointer<QDialog> window;
    if (!window) {
        window = new QDialog(parent);
        window->setObjectName(QStringLiteral("HelpWindow"));
        window->setWindowTitle(QStringLiteral("Hutchlore Help - Contents"));
        window->resize(620, 560);
        auto *layout = new QVBoxLayout(window);
        auto *browser = new QTextBrowser(window);
        browser->setObjectName(QStringLiteral("HelpText"));
        QFile file(QStringLiteral(":/help/RABBITHELP.html"));
        if (file.open(QIODevice::ReadOnly))
            browser->setHtml(QString::fromUtf8(file.readAll()));
        layout->addWidget(browser);
    }
    window->show();
    window->raise();
    window->activateWindow();
}
