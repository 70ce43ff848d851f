#include "ui/StartOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStandardPaths>

StartOptions ReadStartOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "StartOptions", "Fits videos to the screens of handheld players with ffmpeg."));
    parser.addHelpOption();
    const QCommandLineOption userSettings(
        QStringLiteral("user-settings"),
        QCoreApplication::translate(
            "StartOptions", "Keep settings.ini in the per-user configuration folder, not the current one."));
    parser.addOption(userSettings);
    parser.addPositionalArgument(QStringLiteral("videos"),
                                 QCoreApplication::translate("StartOptions",
                                                             "Videos to open: one is opened in the "
                                                             "window, several go to the queue."),
                                 QStringLiteral("[VIDEO...]"));
    parser.process(arguments);
    return {parser.isSet(userSettings), parser.positionalArguments()};
}

QString UserSettingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}
