#pragma once

#include "process/EncoderJob.h"
#include "media/Outside.h"
#include "process/Spawn.h"
#include "core/Status.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace zvm::media {

// Where the private folders of two passes' logs are made: the per-user cache folder.
QString PassFolderBase();

// Removes the pass folders under folderBase whose program is gone (killed before it could remove
// them): each folder's name holds its program's mark (process id and start), so a folder of a
// program still running, this one included, stays, and so does any folder not named so.
void RemoveStalePassFolders(const QString& folderBase);

// Judges what the first of two passes measured (the encoder's statistics, as it wrote them) before
// the second starts: a failure ends the run there.
using PassOneCheck = std::function<Status(const std::string& statistics)>;

// Starts a command as the encoder's job: at once as one step, or, with twoPass, as its two passes
// (see PassSteps) run one after the other. Each two-pass run keeps its logs (the encoder's .log and
// libx264's .mbtree) under a prefix of its own in a private folder (mode 0700) made under
// folderBase, and the whole folder is removed when the run ends, however it ends: failed, stopped,
// killed or cut short by a signal to this program that stops it. Folders that programs killed
// outright left behind are removed first (see RemoveStalePassFolders). With a check, pass 1's
// statistics are read and judged before pass 2 starts; a refusal is the StepJob's refusal().
Result<std::unique_ptr<EncoderJob>> StartEncoding(Outside& outside, const QString& command, const QString& output,
                                                  bool twoPass, const QString& encoder, process::Lifetime lifetime,
                                                  const QString& folderBase = PassFolderBase(),
                                                  PassOneCheck check = {});

} // namespace zvm::media
