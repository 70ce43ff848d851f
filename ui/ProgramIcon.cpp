#include "ProgramIcon.h"

QIcon ProgramIcon() {
    Q_INIT_RESOURCE(resources);
    return QIcon(QStringLiteral(":/icons/zarnik-video-maker.png"));
}
