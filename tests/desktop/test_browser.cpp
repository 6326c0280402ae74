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
    }

    // Go keeps one entry per address and chosen entries add nothing; Enter puts the
    // address on top every time. An empty line does nothing either way.
    void goAndEnterFillTheAddressList()
    {
        press("Go");
        QTest::keyClick(address()->lineEdit(), Qt::Key_Return);
        QCOMPARE(history(), QStringList());
        const QString one = page(QStringLiteral("one.html"));
        const QString two = page(QStringLiteral("two.html"));
        for (const QString &url : {one, one, two}) {
            address()->setEditText(url);
            press("Go");
            QVERIFY(reaches(url));
        }
        QCOMPARE(history(), QStringList({one, two}));
        address()->setCurrentIndex(0);
        emit address()->activated(0);
        QVERIFY(reaches(one));
        QCOMPARE(history(), QStringList({one, two}));

        address()->clear();
        address()->setEditText(two);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(address()->lineEdit(), key);
            QVERIFY(reaches(two));
        }
        QCOMPARE(history(), QStringList({two, two}));
    }
    void copyTakesOnlyTheSelectionAndPasteReplacesTheLine()
    {
        QClipboard *clipboard = QApplication::clipboard();
        QLineEdit *line = address()->lineEdit();
        QAction *copy = m_browser->findChild<QAction *>(QStringLiteral("CopyAddress"));
        address()->setEditText(QStringLiteral("file:///farm/rabbits.html"));
        clipboard->setText(QStringLiteral("before"));
        line->deselect();
        copy->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("before"));
        line->setSelection(8, 4); // "farm"
        copy->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("farm"));
        clipboard->setText(QStringLiteral("file:///other.html"));
        line->setCursorPosition(3);
        m_browser->findChild<QAction *>(QStringLiteral("PasteAddress"))->trigger();
        QCOMPARE(address()->currentText(), QStringLiteral("file:///other.html"));
        QCOMPARE(history(), QStringList()); // nothing navigated
    }
    // The frame's close and Back To Hutchlore only hide the one window.
    void closingOnlyHidesAndKeepsPageAndHistory()
    {
        const QString one = page(QStringLiteral("one.html"));
        m_browser->show();
        QMetaObject::invokeMethod(m_browser, "navigate", Q_ARG(QString, one));
        QVERIFY(reaches(one));
        QVERIFY(!m_browser->close());
        QVERIFY(!m_browser->isVisible());
        m_browser->show();
        press("HideBrowser");
        QVERIFY(!m_browser->isVisible());
        QCOMPARE(webBrowser(), m_browser);
        QCOMPARE(history(), QStringList({one}));
        QCOMPARE(address()->currentText(), one);
    }
    void aboutBoxAddressOpensTheBrowser()
    {
        ScriptedPlatform::Installed platform;
        TAboutPopUp about;
        // The maker's page is replaced by a local one here, as no test may need a network.
        const QString one = page(QStringLiteral("one.html"));
        emit about.findChild<QLabel *>(QStringLiteral("WebAddress"))->linkActivated(one);
        QVERIFY(m_browser->isVisible());
        QVERIFY(reaches(one));
        QCOMPARE(platform->takeErrors(), QStringList());
        m_browser->hide();
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
    void press(const char *button) const { m_browser->findChild<QPushButton *>(QLatin1String(button))->click(); }
    // Waits until the page view has finished loading `url`; the status line is
    // emptied first, so only a new "Done" counts.
    bool reaches(const QString &url) const
    {
        const bool done =
            QTest::qWaitFor([&] { return address()->currentText() == url && status()->text() == u"Done"; }, 20000);
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
