#include "CommandForm.h"

#include "Text.h"

#include <array>
#include <utility>

namespace zvm {

namespace {
constexpr std::array<std::pair<FormChoice, std::string_view>, 3> kWords{{
    {FormChoice::Automatic, "auto"},
    {FormChoice::Modern, "modern"},
    {FormChoice::Classic, "classic"},
}};
} // namespace

FormDecision DecideForm(FormChoice choice, EncoderAnswer answer) {
    switch (choice) {
    case FormChoice::Modern:
        return {CommandStyle::Modern, ZVM_TEXT("modern form, chosen by you")};
    case FormChoice::Classic:
        return {CommandStyle::Classic, ZVM_TEXT("classic form, chosen by you")};
    case FormChoice::Automatic:
        break;
    }
    switch (answer) {
    case EncoderAnswer::Rejects:
        return {CommandStyle::Modern, ZVM_TEXT("modern form, chosen automatically: this ffmpeg rejects the classic options")};
    case EncoderAnswer::Accepts:
        return {CommandStyle::Classic, ZVM_TEXT("classic form, chosen automatically: this ffmpeg accepts the classic options")};
    case EncoderAnswer::Unknown:
        break;
    }
    return {CommandStyle::Classic, ZVM_TEXT("classic form, as designed: the encoder could not be asked which options it knows")};
}

std::string_view FormWord(FormChoice choice) {
    for (const auto& [known, word] : kWords) {
        if (known == choice) {
            return word;
        }
    }
    return {};
}

std::optional<FormChoice> FormFromWord(std::string_view word) {
    for (const auto& [choice, known] : kWords) {
        if (known == word) {
            return choice;
        }
    }
    return std::nullopt;
}

} // namespace zvm
