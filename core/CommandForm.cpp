#include "core/CommandForm.h"

#include "core/Text.h"
#include "core/Words.h"

namespace zvm {

namespace {
constexpr Words<FormChoice, 3> kWords{{
    {FormChoice::Automatic, "auto"},
    {FormChoice::Modern, "modern"},
    {FormChoice::Classic, "classic"},
}};
} // namespace

FormDecision DecideForm(FormChoice choice, EncoderAnswer answer) {
    switch (choice) {
    case FormChoice::Modern:
        return {CommandStyle::Modern, ZVM_TEXT("zvm", "modern form, chosen by you")};
    case FormChoice::Classic:
        return {CommandStyle::Classic, ZVM_TEXT("zvm", "classic form, chosen by you")};
    case FormChoice::Automatic:
        break;
    }
    switch (answer) {
    case EncoderAnswer::Rejects:
        return {CommandStyle::Modern,
                ZVM_TEXT("zvm", "modern form, chosen automatically: this ffmpeg rejects the classic options")};
    case EncoderAnswer::Accepts:
        return {CommandStyle::Classic,
                ZVM_TEXT("zvm", "classic form, chosen automatically: this ffmpeg accepts the classic options")};
    case EncoderAnswer::Unknown:
        break;
    }
    return {CommandStyle::Classic,
            ZVM_TEXT("zvm", "classic form, as designed: the encoder could not be asked which options it knows")};
}

std::string CannotServe(const TargetPreset& target, EncoderAnswer form, H264Answer h264) {
    if (!NeedsModernForm(target)) {
        return {};
    }
    if (form == EncoderAnswer::Accepts) {
        return ZVM_TEXT("zvm", "needs an encoder that takes today's options; this one takes only the classic ones");
    }
    if (target.video == VideoKind::Vcd) {
        return {};
    }
    if (h264 == H264Answer::TooOld && !FixedFrameRate(target)) { // the frame-by-frame kinds use -r
        return ZVM_TEXT("zvm", "needs ffmpeg 4.4 or later, which can keep a slower source's frame rate (-fpsmax)");
    }
    if (h264 == H264Answer::NoLibx264 && (target.video == VideoKind::H264 || target.video == VideoKind::H264Baseline)) {
        return ZVM_TEXT("zvm", "needs an ffmpeg with the libx264 H.264 encoder; this one has none");
    }
    return {};
}

std::string_view FormWord(FormChoice choice) {
    return WordFor(kWords, choice);
}

std::optional<FormChoice> FormFromWord(std::string_view word) {
    return ValueFor(kWords, word);
}

std::string_view StyleWord(CommandStyle style) {
    return FormWord(style == CommandStyle::Modern ? FormChoice::Modern : FormChoice::Classic);
}

CommandStyle StyleFromWord(std::string_view word) {
    return FormFromWord(word) == FormChoice::Modern ? CommandStyle::Modern : CommandStyle::Classic;
}

} // namespace zvm
