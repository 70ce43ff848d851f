#include "QtPlatform.h"
#include "frmZCM.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zarnik Video Maker"));
    // Encoder windows may stay open; the main window alone decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    frmZCM window(platform);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
