#include "browser/BrowserWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

TWebBrowser::TWebBrowser(QWidget *parent)
    : QMainWindow(parent), m_view(new QWebEngineView(this)), m_address(new QComboBox(this)), m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("WebBrowser"));
    setWindowTitle(QStringLiteral("Warrenby No-Frills Browser"));
    resize(900, 650);

    auto *tools = addToolBar(QStringLiteral("Browser"));
    tools->setObjectName(QStringLiteral("BrowserTools"));
    tools->setMovable(false);
    const auto button = [&](const char *name, const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, tools);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::NoFocus);
        tools->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    button("Back", QStringLiteral("Back"), [this] { m_view->back(); });
    button("Forward", QStringLiteral("Forward"), [this] { m_view->forward(); });
    button("Stop", QStringLiteral("Stop"), [this] {
        m_view->stop();
        m_status->setText(QStringLiteral("Done"));
    });
    // The page view reloads the last page it reached; while the address asked for is
    // still on its way, that is the page being left, so the address is asked for again.
    button("Reload", QStringLiteral("Reload"), [this] {
        if (!m_reached && m_asked.isValid())
            m_view->setUrl(m_asked);
        else
            m_view->reload();
    });
    button("HideBrowser", QStringLiteral("Back To Hutchlore"), [this] { hide(); });

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *addressRow = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("Address"), central);
    m_address->setObjectName(QStringLiteral("URLComboBox"));
    m_address->setEditable(true);
    // The history is kept by the rules of Go and Enter, never by the box itself.
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Keys reach the line through the box, which has the focus and hands them to the
    // line directly, past the line's own filters: Enter, copy and paste are caught on
    // the box (and on the line, for keys sent to it straight).
    m_address->installEventFilter(this);
    m_address->lineEdit()->installEventFilter(this);
    label->setBuddy(m_address);
    auto *go = new QPushButton(QStringLiteral("Go!"), central);
    go->setObjectName(QStringLiteral("Go"));
    connect(go, &QPushButton::clicked, this, &TWebBrowser::GoClick);
    connect(m_address, &QComboBox::activated, this, &TWebBrowser::GoClick);
    addressRow->addWidget(label);
    addressRow->addWidget(m_address);
    addressRow->addWidget(go);
    layout->addLayout(addressRow);
    m_view->setObjectName(QStringLiteral("PageView"));
    layout->addWidget(m_view, 1);
    setCentralWidget(central);

    m_status->setObjectName(QStringLiteral("BrowserStatus"));
    statusBar()->addWidget(m_status, 1);

    // Navigate complete: the address line follows the page reached, links included.
    // Only a finished navigation counts: the view's address also changes while one is
    // pending and when Reload or Stop take it back, and the line would then show a
    // page that was never reached, or the one left.
    connect(m_view->page(), &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus &&
            info.status() != QWebEngineLoadingInfo::LoadFailedStatus)
            return;
        m_reached = true;
        m_reachedUrl = info.url();
        m_address->setEditText(m_reachedUrl.toString());
    });
    // A link to a place in the same page moves no page and finishes no load.
    connect(m_view, &QWebEngineView::urlChanged, this, [this](const QUrl &url) {
        if (m_reached && url.adjusted(QUrl::RemoveFragment) == m_reachedUrl.adjusted(QUrl::RemoveFragment)) {
            m_reachedUrl = url;
            m_address->setEditText(url.toString());
        }
    });
    connect(m_view, &QWebEngineView::loadFinished, this, [this] { m_status->setText(QStringLiteral("Done")); });

    // The hidden menu entries.
    const auto hidden = [&](const char *name, const QKeySequence &key, auto slot) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    hidden("CloseBrowser", QKeySequence(Qt::CTRL | Qt::Key_W), [this] { hide(); });
    hidden("CopyAddress", QKeySequence(Qt::CTRL | Qt::Key_C), &TWebBrowser::CopyClick);
    hidden("PasteAddress", QKeySequence(Qt::CTRL | Qt::Key_V), &TWebBrowser::PasteClick);
}

void TWebBrowser::navigate(const QString &address)
{
    if (address.isEmpty())
        return;
    m_address->setEditText(address);
    GoClick();
}

void TWebBrowser::GoClick()
{
    const QString address = m_address->currentText();
    if (address.isEmpty())
        return;
    m_asked = QUrl::fromUserInput(address);
    m_reached = false;
    m_view->setUrl(m_asked);
    if (m_address->findText(address, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        // Adding an entry must not change what the line shows.
        m_address->addItem(address);
        m_address->setEditText(address);
    }
}

void TWebBrowser::addressEntered()
{
    const QString address = m_address->currentText();
    if (address.isEmpty())
        return;
    m_address->insertItem(0, address);
    m_address->setEditText(address);
    GoClick();
}

void TWebBrowser::CopyClick()
{
    const QString selected = m_address->lineEdit()->selectedText();
    if (!selected.isEmpty())
        QApplication::clipboard()->setText(selected);
}

void TWebBrowser::PasteClick()
{
    m_address->setEditText(QApplication::clipboard()->text());
}

bool TWebBrowser::eventFilter(QObject *watched, QEvent *event)
{
    // The address line's own Enter, copy and paste would keep other rules.
    if ((watched == m_address || watched == m_address->lineEdit()) &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool press = event->type() == QEvent::KeyPress;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (press)
                addressEntered();
            event->accept();
            return true;
        }
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_C || key->key() == Qt::Key_V)) {
            if (press)
                key->key() == Qt::Key_C ? CopyClick() : PasteClick();
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TWebBrowser::closeEvent(QCloseEvent *event)
{
    hide();
    event->ignore();
}
