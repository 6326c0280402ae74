#include "frame/HelpWindow.h"

#include "shell/KindRegistry.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QPointer<QDialog> &window()
{
    static QPointer<QDialog> help;
    return help;
}

QString resourcePath(const QString &page)
{
    return QStringLiteral(":/help/") + page;
}

} // namespace

QTextBrowser *helpText()
{
    return window() ? window()->findChild<QTextBrowser *>(QStringLiteral("HelpText")) : nullptr;
}

void showHelpContents(QWidget *parent)
{
    showHelpPage(parent, QStringLiteral("RABBITHELP.html"));
}

void showHelpPage(QWidget *parent, const QString &page)
{
    Q_INIT_RESOURCE(help);
    QPointer<QDialog> &help = window();
    if (!help) {
        help = new QDialog(parent);
        help->setObjectName(QStringLiteral("HelpWindow"));
        help->resize(640, 600);
        auto *layout = new QVBoxLayout(help);
        auto *browser = new QTextBrowser(help);
        browser->setObjectName(QStringLiteral("HelpText"));
        QObject::connect(browser, &QTextBrowser::sourceChanged, help, [browser] {
            browser->window()->setWindowTitle(QStringLiteral("Hutchlore Help - ") + browser->documentTitle());
        });
        layout->addWidget(browser);
    }
    const QString shown = QFile::exists(resourcePath(page)) ? page : QStringLiteral("RABBITHELP.html");
    helpText()->setSource(QUrl(QStringLiteral("qrc") + resourcePath(shown)));
    help->show();
    help->raise();
    help->activateWindow();
}

QString helpPageFor(const QWidget *window)
{
    // Windows made through the kind registry carry their kind's id.
    for (const QWidget *w = window; w; w = w->parentWidget()) {
        const WindowKind *kind = KindRegistry::instance().find(w->property(KindRegistry::KindProperty).toString());
        if (kind && !kind->helpPage.isEmpty() && QFile::exists(resourcePath(kind->helpPage)))
            return kind->helpPage;
    }
    return QStringLiteral("main.html");
}

void installHelpKey(QMainWindow *frame)
{
    Q_INIT_RESOURCE(help);
    auto *key = new QAction(frame);
    key->setObjectName(QStringLiteral("HelpKey"));
    key->setShortcut(QKeySequence(Qt::Key_F1));
    key->setShortcutContext(Qt::ApplicationShortcut);
    frame->addAction(key);
    QObject::connect(key, &QAction::triggered, frame, [frame] {
        const auto *area = frame->findChild<QMdiArea *>();
        const QMdiSubWindow *active = area ? area->activeSubWindow() : nullptr;
        showHelpPage(frame, helpPageFor(active));
    });
}
