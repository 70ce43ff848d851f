#pragma once

#include <QStringList>

// What the window program was started with: from the desktop's menu it keeps its settings per user,
// and a file manager's "Open with" gives it videos.
struct StartOptions {
    bool userSettings = false;
    QStringList videos;
};

// Prints usage and ends the program for --help or an unknown option, as programs do.
StartOptions ReadStartOptions(const QStringList& arguments);

// The per-user configuration folder, where --user-settings keeps settings.ini.
QString UserSettingsFolder();
