#include "ScriptedPlatform.h"
#include "shell/AboutPopUp.h"
#include "shell/WebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The browser window driven on local pages, offscreen; nothing needs a network.
class TestBrowser : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void namesAndLayout();
    void goKeepsOneEntryPerAddressAndEmptyDoesNothing();
    void enterPutsTheAddressOnTopEveryTime();
    void linksFollowedUpdateTheAddressLineAndStatus();
    void copyTakesOnlyTheSelectionAndPasteReplacesTheLine();
    void hidingKeepsPageAndHistory();
    void aboutBoxAddressOpensTheBrowser();

private:
    QComboBox *address() const { return m_browser->findChild<QComboBox *>(QStringLiteral("URLComboBox")); }
    QStringList history() const
    {
        QStringList items;
        for (int i = 0; i < address()->count(); ++i)
            items.append(address()->itemText(i));
        return items;
    }
    QString page(const QString &name) const { return QUrl::fromLocalFile(m_dir.filePath(name)).toString(); }
    QString status() const { return m_browser->findChild<QLabel *>(QStringLiteral("BrowserStatus"))->text(); }
    // Waits until the page view has finished loading `url`; the status line is
    // emptied first, so only a new "Done" counts.
    bool reaches(const QString &url) const
    {
        const bool done =
            QTest::qWaitFor([&] { return address()->currentText() == url && status() == u"Done"; }, 20000);
        m_browser->findChild<QLabel *>(QStringLiteral("BrowserStatus"))->clear();
        return done;
    }
    void clearHistory() const { address()->clear(); }

    QTemporaryDir m_dir;
    QWidget *m_browser = nullptr;
};

void TestBrowser::initTestCase()
{
    const auto write = [&](const char *name, const QByteArray &html) {
        QFile file(m_dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(html);
    };
    write("one.html", "<html><body><h1>One</h1><a id=\"next\" href=\"two.html\">two</a></body></html>");
    write("two.html", "<html><body><h1>Two</h1></body></html>");
    try {
        m_browser = webBrowser();
    } catch (const std::exception &e) {
        QSKIP(qPrintable(QStringLiteral("the browser module cannot start here: %1").arg(e.what())));
    }
    QVERIFY(m_browser);
}

void TestBrowser::init()
{
    clearHistory();
    address()->setEditText(QString());
}

void TestBrowser::namesAndLayout()
{
    QCOMPARE(m_browser->objectName(), QStringLiteral("WebBrowser"));
    QCOMPARE(m_browser->windowTitle(), QStringLiteral("Warrenby No-Frills Browser"));
    const QList<std::pair<const char *, const char *>> buttons = {{"Back", "Back"},
                                                                  {"Forward", "Forward"},
                                                                  {"Stop", "Stop"},
                                                                  {"Reload", "Reload"},
                                                                  {"HideBrowser", "Back To Hutchlore"},
                                                                  {"Go", "Go!"}};
    for (const auto &[name, caption] : buttons) {
        auto *button = m_browser->findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(button, name);
        QCOMPARE(button->text(), QLatin1String(caption));
    }
    QVERIFY(address()->isEditable());
    QCOMPARE(m_browser->findChild<QAction *>(QStringLiteral("CloseBrowser"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+W")));
    // Closing by the frame only hides; the single window lives on.
    m_browser->show();
    QVERIFY(!m_browser->close());
    QVERIFY(!m_browser->isVisible());
    QCOMPARE(webBrowser(), m_browser);
}

void TestBrowser::goKeepsOneEntryPerAddressAndEmptyDoesNothing()
{
    auto *go = m_browser->findChild<QPushButton *>(QStringLiteral("Go"));
    go->click();
    QCOMPARE(history(), QStringList());
    const QString one = page(QStringLiteral("one.html"));
    address()->setEditText(one);
    go->click();
    QVERIFY(reaches(one));
    go->click();
    QVERIFY(reaches(one));
    QCOMPARE(history(), QStringList({one}));
    const QString two = page(QStringLiteral("two.html"));
    address()->setEditText(two);
    go->click();
    QVERIFY(reaches(two));
    QCOMPARE(history(), QStringList({one, two}));
    // Choosing an entry from the list goes there and adds nothing.
    address()->setCurrentIndex(0);
    emit address()->activated(0);
    QVERIFY(reaches(one));
    QCOMPARE(history(), QStringList({one, two}));
}

void TestBrowser::enterPutsTheAddressOnTopEveryTime()
{
    QLineEdit *line = address()->lineEdit();
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(history(), QStringList());
    const QString two = page(QStringLiteral("two.html"));
    address()->setEditText(two);
    QTest::keyClick(line, Qt::Key_Return);
    QVERIFY(reaches(two));
    QTest::keyClick(line, Qt::Key_Enter);
    QVERIFY(reaches(two));
    QCOMPARE(history(), QStringList({two, two}));
}

void TestBrowser::linksFollowedUpdateTheAddressLineAndStatus()
{
    QLabel *label = m_browser->findChild<QLabel *>(QStringLiteral("BrowserStatus"));
    const QString one = page(QStringLiteral("one.html"));
    QMetaObject::invokeMethod(m_browser, "navigate", Q_ARG(QString, one));
    QVERIFY(reaches(one));
    // A link followed in the page: the address line follows, history stays.
    auto *view = m_browser->findChild<QWidget *>(QStringLiteral("PageView"));
    view->setProperty("url", QUrl(page(QStringLiteral("two.html"))));
    QVERIFY(reaches(page(QStringLiteral("two.html"))));
    QCOMPARE(history(), QStringList({one}));
    // Back and Forward are the page view's own, and the line follows them too.
    m_browser->findChild<QPushButton *>(QStringLiteral("Back"))->click();
    QVERIFY(reaches(one));
    m_browser->findChild<QPushButton *>(QStringLiteral("Forward"))->click();
    m_browser->findChild<QPushButton *>(QStringLiteral("Stop"))->click();
    QCOMPARE(label->text(), QStringLiteral("Done"));
}

void TestBrowser::copyTakesOnlyTheSelectionAndPasteReplacesTheLine()
{
    QClipboard *clipboard = QApplication::clipboard();
    QLineEdit *line = address()->lineEdit();
    QAction *copy = m_browser->findChild<QAction *>(QStringLiteral("CopyAddress"));
    QAction *paste = m_browser->findChild<QAction *>(QStringLiteral("PasteAddress"));
    address()->setEditText(QStringLiteral("file:///farm/rabbits.html"));
    clipboard->setText(QStringLiteral("before"));
    line->deselect();
    copy->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    line->setSelection(8, 4); // "farm"
    copy->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("farm"));
    // The keys in the line itself keep the same rules.
    line->setSelection(13, 7); // "rabbits"
    QTest::keyClick(line, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("rabbits"));
    clipboard->setText(QStringLiteral("file:///other.html"));
    line->setCursorPosition(3);
    paste->trigger();
    QCOMPARE(address()->currentText(), QStringLiteral("file:///other.html"));
    clipboard->setText(QStringLiteral("x"));
    QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(address()->currentText(), QStringLiteral("x"));
    QCOMPARE(history(), QStringList()); // nothing navigated
}

void TestBrowser::hidingKeepsPageAndHistory()
{
    const QString one = page(QStringLiteral("one.html"));
    m_browser->show();
    QMetaObject::invokeMethod(m_browser, "navigate", Q_ARG(QString, one));
    QVERIFY(reaches(one));
    m_browser->findChild<QPushButton *>(QStringLiteral("HideBrowser"))->click();
    QVERIFY(!m_browser->isVisible());
    m_browser->show();
    m_browser->findChild<QAction *>(QStringLiteral("CloseBrowser"))->trigger();
    QVERIFY(!m_browser->isVisible());
    QCOMPARE(history(), QStringList({one}));
    QCOMPARE(address()->currentText(), one);
}

void TestBrowser::aboutBoxAddressOpensTheBrowser()
{
    ScriptedPlatform::Installed platform;
    TAboutPopUp about;
    auto *web = about.findChild<QLabel *>(QStringLiteral("WebAddress"));
    QVERIFY(web);
    QCOMPARE(web->text(), QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(TAboutPopUp::WebAddress)));
    QCOMPARE(web->cursor().shape(), Qt::PointingHandCursor);
    // The maker's page is replaced by a local one here, as no test may need a network.
    const QString one = page(QStringLiteral("one.html"));
    emit web->linkActivated(one);
    QVERIFY(m_browser->isVisible());
    QVERIFY(reaches(one));
    QCOMPARE(platform->takeErrors(), QStringList());
    m_browser->hide();
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Offscreen there is no GPU; the page engine draws in software.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --single-process");
    QApplication app(argc, argv);
    TestBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browser.moc"
