#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvesk"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tarvesk"));
    window.setFixedSize(513, 424);
    window.show();
    return QApplication::exec();
}
