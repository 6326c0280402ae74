// The yardstick of bench_startup: a bare Qt main window of the program's size, shown
// and closed as soon as the event loop has run once, as `hutchlore --quit-after-start`.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1032, 748);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
