#pragma once

#include <QMainWindow>
#include <QUrl>

class QComboBox;
class QLabel;
class QWebEngineView;

// "Warrenby No-Frills Browser": a page view with Back, Forward, Stop, Reload, an
// address line that keeps a history of addresses for the run, and a status line.
// Closing it only hides it.
class TWebBrowser : public QMainWindow
{
    Q_OBJECT
public:
    explicit TWebBrowser(QWidget *parent = nullptr);

    QWebEngineView *view() const { return m_view; }
    QComboBox *addressLine() const { return m_address; }

public slots:
    // Goes to `address` and appends it to the history unless it is there already.
    void navigate(const QString &address);

    void GoClick();
    // Enter in the address line: the address goes to the top of the history, then Go.
    void addressEntered();
    void CopyClick();
    void PasteClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWebEngineView *m_view;
    QComboBox *m_address;
    QLabel *m_status;
    // The address Go last asked for, whether a navigation has finished since, and
    // the page the last one reached.
    QUrl m_asked;
    bool m_reached = true;
    QUrl m_reachedUrl;
};
