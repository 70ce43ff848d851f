#include "core/ConversionRequest.h"

#include "core/Words.h"

namespace zvm {

namespace {
constexpr Words<MovieType, 3> kWords{{
    {MovieType::None, "none"},
    {MovieType::LiveAction, "live"},
    {MovieType::Animation, "animation"},
}};
} // namespace

std::string_view MovieTypeWord(MovieType type) {
    return WordFor(kWords, type);
}

std::optional<MovieType> MovieTypeFromWord(std::string_view word) {
    return ValueFor(kWords, word);
}

} // namespace zvm
