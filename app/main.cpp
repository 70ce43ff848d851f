#include "media/Outside.h"
#include "ui/QtPlatform.h"
#include "ui/StartOptions.h"
#include "ui/Translations.h"
#include "ui/frmZCM.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <thread>
#include <unistd.h>

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
    window.stopOnSignals();
    window.show();
    // From the event loop, once the window has been drawn.
    QTimer::singleShot(0, &window, [&window, &options] { window.startUpShown(options.videos); });
    const int code = QApplication::exec();
    // The program ends at once and saves nothing on the way out, so nothing may hold its end up: the
    // helpers still running are killed as their owners go, a converting encoder goes on by design,
    // and a desktop service that is slow to take the clipboard over gets a moment, not seconds.
    std::thread([code] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        _exit(code);
    }).detach();
    return code;
}
