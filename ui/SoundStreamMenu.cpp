#include "ui/SoundStreamMenu.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QStringList>

namespace {
QString StreamLabel(const zvm::AudioStreamFacts& s, std::size_t at) {
    QStringList said;
    for (const std::string& part : {s.language, s.title}) {
        if (!part.empty()) {
            said << QString::fromStdString(part);
        }
    }
    if (s.channels > 0) {
        said << QCoreApplication::translate("frmZCM", "%n channel(s)", nullptr, s.channels);
    }
    if (s.isDefault) {
        said << QCoreApplication::translate("frmZCM", "default");
    }
    const QString number = at < 9 ? QStringLiteral("&%1").arg(at + 1) : QString::number(at + 1);
    return number + QStringLiteral(": ") + said.join(QStringLiteral(", "));
}
} // namespace

void FillSoundStreamMenu(QMenu* menu, QActionGroup* group, const std::vector<zvm::AudioStreamFacts>& streams,
                         int chosen) {
    menu->clear();
    for (QAction* old : group->actions()) {
        group->removeAction(old);
        old->deleteLater();
    }
    // The texts are the main window's, where the menu was first offered.
    menu->addAction(QCoreApplication::translate("frmZCM", "&Automatic (the video's own choice)"))->setData(-1);
    for (std::size_t at = 0; at < streams.size(); ++at) {
        menu->addAction(StreamLabel(streams[at], at))->setData(static_cast<int>(at));
    }
    const int checked = chosen >= 0 && chosen < static_cast<int>(streams.size()) ? chosen : -1;
    for (QAction* action : menu->actions()) {
        action->setCheckable(true);
        group->addAction(action);
        action->setChecked(action->data().toInt() == checked);
    }
}
