#pragma once

#include "core/SourceChoices.h"

#include <vector>

class QActionGroup;
class QMenu;

// A source's sound streams as a menu of choices, as a player lists them: "Automatic" (the video's
// own choice, data -1) first, then each stream by its number, language, title, channels and whether
// it is the file's default (data: its number from 0). The window's Options menu and the queue's
// item menu offer the same entries. `chosen` is checked; a choice beyond the streams checks Automatic.
void FillSoundStreamMenu(QMenu* menu, QActionGroup* group, const std::vector<zvm::AudioStreamFacts>& streams,
                         int chosen);
