#include "core/Cut.h"

#include "core/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace zvm {

namespace {
// Ten thousand hours: longer than any video, short enough that milliseconds stay exact in a double.
constexpr long long kMostMilliseconds = 10000LL * 3600 * 1000;

constexpr const char* kNotATime =
    ZVM_TEXT("zvm", "'%1' is not a time: give seconds (90 or 12.5) or [[H:]MM:]SS[.mmm] (2:05 or 1:02:03.250)");

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Whole digits only, and not too many to add up: nothing otherwise.
std::optional<long long> Whole(std::string_view digits) {
    long long value = 0;
    if (digits.empty() || digits.size() > 12 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc{} && end == digits.data() + digits.size() ? std::optional(value) : std::nullopt;
}

// "12", "12.5", ".5", "12." as milliseconds, rounded; the digits past the third only round.
std::optional<long long> SecondsMilliseconds(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) {
        return std::nullopt;
    }
    if (fraction.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<long long> seconds = whole.empty() ? std::optional(0LL) : Whole(whole);
    if (!seconds) {
        return std::nullopt;
    }
    long long thousandths = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        thousandths = thousandths * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    const bool roundUp = fraction.size() > 3 && fraction[3] >= '5';
    return *seconds * 1000 + thousandths + (roundUp ? 1 : 0);
}

long long Milliseconds(double seconds) {
    return std::llround(seconds * 1000);
}

std::string Fraction(long long milliseconds) {
    if (milliseconds % 1000 == 0) {
        return {};
    }
    char text[8];
    std::snprintf(text, sizeof text, ".%03lld", milliseconds % 1000);
    std::string trimmed = text;
    while (trimmed.back() == '0') {
        trimmed.pop_back();
    }
    return trimmed;
}

// A time that is no time, short: "1e+308", "inf", never hundreds of digits.
std::string Unusable(const std::optional<double>& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", time.value_or(0));
    return text;
}

bool Usable(const std::optional<double>& time) {
    return !time || (std::isfinite(*time) && std::fabs(*time) * 1000 < double(kMostMilliseconds));
}
} // namespace

Result<double> ParseCutTime(std::string_view text) {
    std::string_view trimmed = TrimBlanks(text);
    const bool negative = trimmed.starts_with('-');
    trimmed.remove_prefix(negative ? 1 : 0);
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t colon = trimmed.find(':', from);
        fields.push_back(trimmed.substr(from, colon == std::string_view::npos ? colon : colon - from));
        if (colon == std::string_view::npos) {
            break;
        }
        from = colon + 1;
    }
    const Status notATime = Status::Failure(FailureKind::BadInput, kNotATime, std::string(text));
    if (fields.size() > 3) {
        return notATime;
    }
    const std::optional<long long> seconds = SecondsMilliseconds(fields.back());
    long long total = seconds.value_or(0);
    bool belowSixty = !seconds || fields.size() == 1 || *seconds < 60000;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        const std::optional<long long> part = Whole(fields[i]);
        if (!part) {
            return notATime;
        }
        const bool minutes = i + 2 == fields.size();
        belowSixty = belowSixty && (!minutes || fields.size() == 2 || *part < 60);
        total += *part * (minutes ? 60000 : 3600000);
    }
    if (!seconds || total >= kMostMilliseconds) {
        return notATime;
    }
    if (negative) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "A time cannot be negative: %1"), std::string(text));
    }
    if (!belowSixty) {
        return Status::Failure(FailureKind::BadInput,
                               ZVM_TEXT("zvm", "Minutes and seconds after a colon must be below 60: %1"), std::string(text));
    }
    return double(total) / 1000;
}

std::string CutSecondsText(double seconds) {
    const long long ms = Milliseconds(seconds);
    return std::to_string(ms / 1000) + Fraction(ms);
}

std::string CutClockText(double seconds) {
    const long long ms = Milliseconds(std::fmax(seconds, 0));
    const long long whole = ms / 1000;
    char text[48];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    }
    return text + Fraction(ms);
}

bool UsableSeconds(double seconds) {
    return Usable(seconds);
}

bool HasCut(const ConversionRequest& request) {
    return request.cutStart || request.cutEnd;
}

Status CheckCut(const ConversionRequest& request, std::optional<double> sourceDuration) {
    const std::optional<double>& start = request.cutStart;
    const std::optional<double>& end = request.cutEnd;
    if (!Usable(start) || !Usable(end)) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "The cut's times cannot be used: %1"),
                               Unusable(start) + ", " + Unusable(end));
    }
    for (const std::optional<double>& time : {start, end}) {
        if (time && Milliseconds(*time) < 0) {
            std::string given = "-";
            given += CutClockText(-*time);
            return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "A time cannot be negative: %1"), given);
        }
    }
    // Without a start the cut starts at 0, so an end of 0 keeps nothing (and "-t 0" would be no limit).
    if (end && Milliseconds(*end) <= Milliseconds(start.value_or(0))) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "The cut must end after it starts: %1"),
                               CutClockText(start.value_or(0)) + " - " + CutClockText(*end));
    }
    if (start && sourceDuration && Milliseconds(*start) >= Milliseconds(*sourceDuration)) {
        return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "The cut starts after the video's end: %1"),
                               CutClockText(*start) + " > " + CutClockText(*sourceDuration));
    }
    return {};
}

std::optional<double> KeptSeconds(std::optional<double> cutStart, std::optional<double> cutEnd,
                                  std::optional<double> sourceDuration) {
    const double start = double(Milliseconds(cutStart.value_or(0))) / 1000;
    std::optional<double> end = cutEnd ? std::optional(double(Milliseconds(*cutEnd)) / 1000) : sourceDuration;
    if (end && sourceDuration) {
        end = std::fmin(*end, *sourceDuration);
    }
    return end ? std::optional(std::fmax(0.0, *end - start)) : std::nullopt;
}

double EncodedOverPasses(double encoded, std::size_t step, std::size_t steps, double kept) {
    if (steps < 2) {
        return encoded;
    }
    const double done = static_cast<double>(std::min(step, steps - 1)) * kept + std::clamp(encoded, 0.0, kept);
    return done / static_cast<double>(steps);
}

bool ExactCut(std::optional<double> cutEnd, std::optional<double> sourceDuration) {
    return cutEnd && (!sourceDuration || *cutEnd <= *sourceDuration);
}

double CutTolerance(double frameRate) {
    return 2 / std::fmax(frameRate, 1.0) + 0.15;
}

std::string CutOptions(const ConversionRequest& request) {
    const long long start = Milliseconds(request.cutStart.value_or(0));
    std::string options;
    if (start > 0) {
        options.append("-ss ").append(CutSecondsText(double(start) / 1000)).append(" ");
    }
    if (request.cutEnd) {
        // As a length rather than -to: -t before the input is understood by old encoders too.
        options.append("-t ").append(CutSecondsText(double(Milliseconds(*request.cutEnd) - start) / 1000)).append(" ");
    }
    return options;
}

} // namespace zvm
