#pragma once

#include "core/CommandLine.h"

#include <optional>
#include <string>
#include <string_view>

namespace zvm {

// Whether the encoder can write the later targets' H.264 files: it has libx264 and knows -fpsmax
// (ffmpeg 4.4 and later), it lacks libx264, it is too old for -fpsmax, or it could not be asked.
enum class H264Answer { Serves, NoLibx264, TooOld, Unknown };

// The user's choice of command form: none (decided from the encoder), or one of the two forms.
enum class FormChoice { Automatic, Modern, Classic };

// What the encoder said when asked whether it knows the classic options.
enum class EncoderAnswer { Accepts, Rejects, Unknown };

struct FormDecision {
    CommandStyle style = CommandStyle::Classic;
    std::string reason; // for the user: which form is in use and why
};

// An explicit choice holds. Otherwise an encoder that rejects the classic options gets the modern
// form; one that accepts them, or that could not be asked, gets the classic form, as designed.
FormDecision DecideForm(FormChoice choice, EncoderAnswer answer);

// Why this encoder cannot write the target, for the list beside it; empty when it can, or when it
// could not be asked (its own words then say what went wrong). Only the later targets need more
// than the designed forms.
std::string CannotServe(const TargetPreset& target, EncoderAnswer form, H264Answer h264);

// The one vocabulary for form choices on command lines: "auto", "modern", "classic".
std::string_view FormWord(FormChoice choice);
std::optional<FormChoice> FormFromWord(std::string_view word);
// A form in use, in the same words; any word but "modern" reads as the classic form, as designed.
std::string_view StyleWord(CommandStyle style);
CommandStyle StyleFromWord(std::string_view word);

} // namespace zvm
