#pragma once

#include <QtPlugin>

class QWidget;

// The web browser lives in a module of its own (src/browser/), loaded on the first
// use: Qt WebEngine is a very large library and would slow every start of the program.
class BrowserPlugin
{
public:
    virtual ~BrowserPlugin() = default;
    // A new, hidden browser window, "WebBrowser" by object name. It has the slot
    // navigate(QString): go to an address and keep it in the history, as Go does.
    virtual QWidget *createBrowser() = 0;
};

#define BrowserPlugin_iid "org.hutchlore.BrowserPlugin/1"
Q_DECLARE_INTERFACE(BrowserPlugin, BrowserPlugin_iid)
