#include "browser/BrowserLoader.h"

#include "browser/BrowserPlugin.h"
#include "records/OwnFiles.h"
#include "records/RecordError.h"
#include "records/WindowRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>
#include <QPointer>
#include <QWidget>

#include <unistd.h>

namespace {

// Chromium refuses to start its sandbox for the root user; only then is it turned
// off, and only unless the user chose otherwise.
void allowRootWithoutSandbox()
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

BrowserPlugin *loadPlugin()
{
    static BrowserPlugin *plugin = nullptr;
    if (plugin)
        return plugin;
    allowRootWithoutSandbox();
    QStringList failures;
    const QStringList paths = browserModulePaths();
    for (const QString &path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        // The loader stays alive (and the module loaded) for the rest of the run.
        auto *loader = new QPluginLoader(path, QCoreApplication::instance());
        if (auto *found = qobject_cast<BrowserPlugin *>(loader->instance())) {
            plugin = found;
            return plugin;
        }
        failures.append(loader->errorString());
        delete loader;
    }
    throw RecordError(QStringLiteral("The web browser could not be loaded: %1")
                          .arg(failures.isEmpty() ? QStringLiteral("its module is not installed (looked for \"%1\")")
                                                                        .arg(paths.join(QStringLiteral("\", \"")))
                                                  : failures.join(QStringLiteral("; "))));
}

} // namespace

QStringList browserModulePaths(const QString &programDir)
{
    return {ownFilePath(programDir, QStringLiteral("hutchlore_browser.so"))};
}

QStringList browserModulePaths()
{
    return browserModulePaths(QCoreApplication::applicationDirPath());
}

QWidget *webBrowser()
{
    static QPointer<QWidget> browser;
    if (!browser) {
        browser = loadPlugin()->createBrowser();
        WindowRegistry::setNewest(QStringLiteral("TWebBrowser"), browser);
        // A single window for the whole run. It is never deleted: the page engine
        // does not survive having its view torn down while the application ends.
    }
    return browser;
}

void openWebAddress(const QString &address)
{
    QWidget *browser = webBrowser();
    QMetaObject::invokeMethod(browser, "navigate", Q_ARG(QString, address));
    browser->showMaximized();
    browser->raise();
    browser->activateWindow();
}
