#include "Outside.h"
#include "QtPlatform.h"
#include "StartOptions.h"
#include "Translations.h"
#include "frmZCM.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zarnik Video Maker"));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZVM_APP_ID));
    // Encoder windows may stay open; the main window alone decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallTranslations(app);
    const StartOptions options = ReadStartOptions(QApplication::arguments());

    QtPlatform platform;
    zvm::media::RealOutside outside;
    frmZCM window(platform, outside);
    if (options.userSettings) {
        window.keepSettingsIn(UserSettingsFolder());
    }
    window.Form_Load();
    window.openVideos(options.videos);
    window.show();
    return QApplication::exec();
}
