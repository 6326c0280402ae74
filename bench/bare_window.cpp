// The yardstick of bench_startup: a bare Qt main window of the program's size with the
// same menu bar and multi-document area, and nothing behind them, shown and closed as
// soon as the event loop has run once, as `hutchlore --quit-after-start`.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1032, 748);
    window.setCentralWidget(new QMdiArea);
    for (const char *menu : {"&File", "&Tools", "&Window", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("Entry"));
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
