#pragma once

#include "CommandLine.h"

#include <optional>
#include <string>
#include <string_view>

namespace zvm {

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

// The one vocabulary for form choices on command lines: "auto", "modern", "classic".
std::string_view FormWord(FormChoice choice);
std::optional<FormChoice> FormFromWord(std::string_view word);
// A form in use, in the same words; any word but "modern" reads as the classic form, as designed.
std::string_view StyleWord(CommandStyle style);
CommandStyle StyleFromWord(std::string_view word);

} // namespace zvm
