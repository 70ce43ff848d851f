// The baseline for the start-up measurement: an empty main window, built like the program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.resize(568, 566);
    window.show();
    return QApplication::exec();
}
