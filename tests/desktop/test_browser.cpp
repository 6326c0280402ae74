#include "Input.h"
#include "WindowFixture.h"
#include "frame/AboutPopUp.h"
#include "frame/BigBadParent.h"
#include "browser/BrowserLoader.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The browser window driven on local pages, offscreen; nothing needs a network.
class TestBrowser : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
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
    void init()
    {
        address()->clear();
        address()->setEditText(QString());
        m_browser->show();
    }
    void cleanup() { m_browser->hide(); }

    // Go keeps one entry per address and an entry chosen from the list adds nothing;
    // Enter puts the address on top every time, also when it is in the list already.
    // An empty line does nothing either way.
    void goAndEnterFillTheAddressList()
    {
        press("Go");
        Input::focus(address());
        Input::key(Qt::Key_Return);
        QCOMPARE(history(), QStringList());
        const QString one = page(QStringLiteral("one.html"));
        const QString two = page(QStringLiteral("two.html"));
        for (const QString &url : {one, one, two}) {
            typeAddress(url);
            press("Go");
            QVERIFY(reaches(url));
        }
        QCOMPARE(history(), QStringList({one, two}));

        // F4 drops the list down; a click on an entry goes there.
        Input::focus(address());
        Input::key(Qt::Key_F4);
        QVERIFY(QTest::qWaitFor([&] { return address()->view()->isVisible(); }));
        Input::clickRow(address()->view(), 0);
        QVERIFY(reaches(one));
        QCOMPARE(history(), QStringList({one, two}));

        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            typeAddress(two);
            Input::key(key);
            QVERIFY(reaches(two));
        }
        QCOMPARE(history(), QStringList({two, two, one, two}));
    }
    // Ctrl+C copies only the selected part of the line; Ctrl+V replaces the whole line
    // wherever the cursor stands, and goes nowhere.
    void copyTakesOnlyTheSelectionAndPasteReplacesTheLine()
    {
        QClipboard *clipboard = QApplication::clipboard();
        typeAddress(QStringLiteral("file:///farm/rabbits.html"));
        clipboard->setText(QStringLiteral("before"));
        Input::key(Qt::Key_End);
        Input::key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("before"));
        Input::key(Qt::Key_Home);
        for (int i = 0; i < 8; ++i)
            Input::key(Qt::Key_Right);
        for (int i = 0; i < 4; ++i)
            Input::key(Qt::Key_Right, Qt::ShiftModifier);
        Input::key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), QStringLiteral("farm"));

        clipboard->setText(QStringLiteral("file:///other.html"));
        Input::key(Qt::Key_Home);
        for (int i = 0; i < 3; ++i)
            Input::key(Qt::Key_Right);
        Input::key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(address()->currentText(), QStringLiteral("file:///other.html"));
        QCOMPARE(history(), QStringList()); // nothing navigated
    }
    // Back and Forward; the frame's close, Back To Hutchlore and Ctrl+W only hide the
    // one window, which keeps its page and history.
    void backForwardAndHiding()
    {
        const QString one = page(QStringLiteral("one.html"));
        const QString two = page(QStringLiteral("two.html"));
        for (const QString &url : {one, two}) {
            typeAddress(url);
            Input::key(Qt::Key_Return);
            QVERIFY(reaches(url));
        }
        press("Back");
        QVERIFY(reaches(one));
        press("Forward");
        QVERIFY(reaches(two));

        QVERIFY(!m_browser->close());
        QVERIFY(!m_browser->isVisible());
        m_browser->show();
        press("HideBrowser");
        QVERIFY(!m_browser->isVisible());
        m_browser->show();
        Input::focus(address());
        Input::key(Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!m_browser->isVisible());
        QCOMPARE(webBrowser(), m_browser);
        QCOMPARE(history(), QStringList({two, one}));
        QCOMPARE(address()->currentText(), two);
    }
    // Help > About, a click on the web address: the browser opens in front of the box,
    // which stays open behind it, and takes clicks and keys. A page gone to and at once
    // reloaded and stopped keeps the line, and Reload then goes there.
    void aboutBoxAddressOpensABrowserThatTakesInput()
    {
        m_browser->hide();
        WindowFixture fx;
        QVERIFY(QTest::qWaitForWindowExposed(&fx.parent()));
        const QString one = page(QStringLiteral("one.html"));
        const QString two = page(QStringLiteral("two.html"));
        QPointer<TAboutPopUp> box;
        const bool shown = Input::whileModal(
            [&] { Input::chooseFromMenuBar(&fx.parent(), "MMHelp", "MMAbout"); },
            [&](QWidget *modal) {
                box = qobject_cast<TAboutPopUp *>(modal);
                QVERIFY(box);
                // The maker's page is replaced by a local one here, as no test may need a network.
                auto *web = box->findChild<QLabel *>(QStringLiteral("WebAddress"));
                web->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(one));
                Input::clickText(web, one);
                QVERIFY(m_browser->isVisible());
                QVERIFY(!Input::blockedByModal(m_browser));
                QVERIFY(reaches(one));

                typeAddress(two);
                press("Go");
                press("Reload");
                press("Stop");
                QTest::qWait(1000); // whatever the page view still had on its way
                QCOMPARE(address()->currentText(), two);
                status()->clear();
                press("Reload");
                QVERIFY(reaches(two));

                Input::focus(address());
                Input::key(Qt::Key_W, Qt::ControlModifier);
                QVERIFY(!m_browser->isVisible());
                QVERIFY(box->isVisible());
                Input::click(box->findChild<QPushButton *>(QStringLiteral("AboutOk")));
            });
        QVERIFY(shown);
        QVERIFY(box && !box->isVisible());
        QCOMPARE(fx.platform().takeErrors(), QStringList());
    }

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
    QLabel *status() const { return m_browser->findChild<QLabel *>(QStringLiteral("BrowserStatus")); }
    void press(const char *button) const { Input::click(m_browser->findChild<QPushButton *>(QLatin1String(button))); }
    // Replaces the address line's text by typing into the box, which has the focus.
    void typeAddress(const QString &text) const
    {
        Input::focus(address());
        QCOMPARE(Input::focused(), address());
        Input::key(Qt::Key_A, Qt::ControlModifier);
        Input::type(text);
    }
    // Waits until the page view has finished loading `url` and the line shows it; the
    // status line is emptied afterwards, so only a new "Done" counts.
    bool reaches(const QString &url) const
    {
        const QWidget *view = m_browser->findChild<QWidget *>(QStringLiteral("PageView"));
        const bool done = QTest::qWaitFor(
            [&] {
                return address()->currentText() == url && view->property("url").toUrl() == QUrl(url) &&
                       status()->text() == u"Done";
            },
            20000);
        status()->clear();
        return done;
    }

    QTemporaryDir m_dir;
    QWidget *m_browser = nullptr;
};

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
