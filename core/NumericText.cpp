#include "core/NumericText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zvm {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// True when the whole text is digits with an optional point (at least one digit) and an
// optional exponent. This grammar is stricter than from_chars, which would also take inf/nan/hex.
bool IsPlainDecimal(std::string_view text) {
    std::size_t pos = SkipDigits(text, 0);
    std::size_t digits = pos;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t afterPoint = SkipDigits(text, pos + 1);
        digits += afterPoint - pos - 1;
        pos = afterPoint;
    }
    if (digits == 0) {
        return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            ++pos;
        }
        const std::size_t expEnd = SkipDigits(text, pos);
        if (expEnd == pos) {
            return false;
        }
        pos = expEnd;
    }
    return pos == text.size();
}
} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text = TrimBlanks(text.substr(1));
    }
    if (!IsPlainDecimal(text)) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace zvm
