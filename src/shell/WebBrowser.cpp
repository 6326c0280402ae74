#include "shell/WebBrowser.h"

#include "records/RecordError.h"
#include "records/WindowRegistry.h"
#include "shell/BrowserPlugin.h"

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
    const QString name = QStringLiteral("hutchlore_browser.so");
    // A build tree is known by what CMake writes into it: its cache at the top, where
    // the program is built, and an install script in every folder below, where the
    // test programs are. Climbing stops at the first folder that is neither, so an
    // installed program never looks above its own folder.
    QDir dir(programDir);
    for (;;) {
        if (QFileInfo(dir.filePath(QStringLiteral("CMakeCache.txt"))).isFile())
            return {dir.filePath(QStringLiteral(HUTCHLORE_PLUGIN_BUILD_SUBDIR "/") + name)};
        if (!QFileInfo(dir.filePath(QStringLiteral("cmake_install.cmake"))).isFile() || !dir.cdUp())
            break;
    }
    // Installed: the module folder of the program's own prefix, and nowhere else.
    return {QDir::cleanPath(QDir(programDir).filePath(QStringLiteral(HUTCHLORE_PLUGIN_RELATIVE "/") + name))};
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
