#include "ui/ProgramIcon.h"

QIcon ProgramIcon() {
    // One icon for every window: a new QIcon per window fills the pixmap cache with fresh copies of
    // the same picture under X11 (about 19 KB a window, kept until the cache's limit). Never
    // destroyed, so that no pixmap outlives the application object at exit.
    static const QIcon* const icon = [] {
        Q_INIT_RESOURCE(resources);
        return new QIcon(QStringLiteral(":/icons/zarnik-video-maker.png"));
    }();
    return *icon;
}
