// The yardstick for the desktop program's cold start: a Qt Widgets window and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.show();
    return QApplication::exec();
}
