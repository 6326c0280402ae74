// The browser module: the one place that links Qt WebEngine.
#include "browser/BrowserWindow.h"
#include "browser/BrowserPlugin.h"

#include <QObject>

class BrowserModule : public QObject, public BrowserPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID BrowserPlugin_iid)
    Q_INTERFACES(BrowserPlugin)
public:
    QWidget *createBrowser() override { return new TWebBrowser; }
};

#include "BrowserModule.moc"
