#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace zvm {

// A fixed vocabulary: each value of an enum and the stable word that stands for it in files and on
// command lines. Looked up both ways, so a word is written once.
template <class T, std::size_t N> using Words = std::array<std::pair<T, std::string_view>, N>;

template <class T, std::size_t N> constexpr std::string_view WordFor(const Words<T, N>& words, T value) {
    for (const auto& [known, word] : words) {
        if (known == value) {
            return word;
        }
    }
    return {};
}

template <class T, std::size_t N>
constexpr std::optional<T> ValueFor(const Words<T, N>& words, std::string_view word) {
    for (const auto& [value, known] : words) {
        if (known == word) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace zvm
