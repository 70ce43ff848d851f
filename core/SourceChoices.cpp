#include "core/SourceChoices.h"

#include "core/Words.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace zvm {

namespace {
// The languages whose bibliographic code differs from their terminology code, and the common ones
// whose three letters are not their two letters' start: two-letter code, terminology, bibliographic.
struct Language {
    std::string_view two;
    std::string_view terminology;
    std::string_view bibliographic;
};
constexpr std::array<Language, 48> kLanguages{{
    {"sq", "sqi", "alb"}, {"hy", "hye", "arm"}, {"eu", "eus", "baq"}, {"bo", "bod", "tib"},
    {"my", "mya", "bur"}, {"cs", "ces", "cze"}, {"zh", "zho", "chi"}, {"cy", "cym", "wel"},
    {"de", "deu", "ger"}, {"nl", "nld", "dut"}, {"el", "ell", "gre"}, {"fa", "fas", "per"},
    {"fr", "fra", "fre"}, {"ka", "kat", "geo"}, {"is", "isl", "ice"}, {"mk", "mkd", "mac"},
    {"mi", "mri", "mao"}, {"ms", "msa", "may"}, {"ro", "ron", "rum"}, {"sk", "slk", "slo"},
    {"en", "eng", "eng"}, {"es", "spa", "spa"}, {"it", "ita", "ita"}, {"ja", "jpn", "jpn"},
    {"ko", "kor", "kor"}, {"pt", "por", "por"}, {"ru", "rus", "rus"}, {"pl", "pol", "pol"},
    {"sv", "swe", "swe"}, {"da", "dan", "dan"}, {"nb", "nob", "nob"}, {"no", "nor", "nor"},
    {"fi", "fin", "fin"}, {"hu", "hun", "hun"}, {"tr", "tur", "tur"}, {"ar", "ara", "ara"},
    {"he", "heb", "heb"}, {"hi", "hin", "hin"}, {"th", "tha", "tha"}, {"vi", "vie", "vie"},
    {"uk", "ukr", "ukr"}, {"bg", "bul", "bul"}, {"hr", "hrv", "hrv"}, {"sr", "srp", "srp"},
    {"sl", "slv", "slv"}, {"et", "est", "est"}, {"lv", "lav", "lav"}, {"lt", "lit", "lit"},
}};

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

// The terminology code of a tag the table knows, else the tag itself in lower case.
std::string Canonical(std::string_view tag) {
    std::string lower = Lower(tag);
    for (const Language& l : kLanguages) {
        if (lower == l.two || lower == l.terminology || lower == l.bibliographic) {
            return std::string(l.terminology);
        }
    }
    return lower;
}

std::optional<int> Whole(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

constexpr Words<DeinterlaceMode, 3> kDeinterlaceWords{{
    {DeinterlaceMode::Auto, "auto"},
    {DeinterlaceMode::On, "on"},
    {DeinterlaceMode::Off, "off"},
}};
} // namespace

bool SameLanguage(std::string_view a, std::string_view b) {
    return !a.empty() && !b.empty() && Canonical(a) == Canonical(b);
}

int ChooseAudioStream(const AudioChoice& choice, const std::vector<AudioStreamFacts>& streams) {
    if (streams.empty()) {
        return -1;
    }
    if (choice.track >= 0) {
        return choice.track;
    }
    if (choice.languages.empty()) {
        return -1;
    }
    for (const std::string& wanted : choice.languages) {
        for (std::size_t i = 0; i < streams.size(); ++i) {
            if (SameLanguage(wanted, streams[i].language)) {
                return static_cast<int>(i);
            }
        }
    }
    const auto preferred = std::find_if(streams.begin(), streams.end(), [](const auto& s) { return s.isDefault; });
    return preferred == streams.end() ? 0 : static_cast<int>(preferred - streams.begin());
}

std::optional<std::vector<std::string>> ParseLanguages(std::string_view text) {
    std::vector<std::string> languages;
    std::string part;
    const auto take = [&]() {
        const bool letters = std::all_of(part.begin(), part.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        });
        if (!letters || part.size() < 2 || part.size() > 3) {
            return false;
        }
        languages.push_back(Lower(part));
        part.clear();
        return true;
    };
    for (const char c : text) {
        if (c == ',') {
            if (!take()) {
                return std::nullopt;
            }
        } else if (c != ' ') {
            part += c;
        }
    }
    if (!take()) {
        return std::nullopt;
    }
    return languages;
}

std::optional<CropChoice> ParseCrop(std::string_view text) {
    if (text == "auto") {
        return CropChoice{CropMode::Auto};
    }
    if (text == "none") {
        return CropChoice{};
    }
    std::array<int, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t colon = text.find(':');
        const std::optional<int> value = Whole(i + 1 < values.size() ? text.substr(0, colon) : text);
        if (!value || (i + 1 < values.size() && colon == std::string_view::npos)) {
            return std::nullopt;
        }
        values[i] = *value;
        text.remove_prefix(colon == std::string_view::npos ? text.size() : colon + 1);
    }
    if (values[0] <= 0 || values[1] <= 0 || values[2] < 0 || values[3] < 0) {
        return std::nullopt;
    }
    return CropChoice{CropMode::Rect, values[0], values[1], values[2], values[3]};
}

std::string CropText(const CropChoice& crop) {
    switch (crop.mode) {
    case CropMode::Auto:
        return "auto";
    case CropMode::Rect:
        return std::to_string(crop.width) + ":" + std::to_string(crop.height) + ":" + std::to_string(crop.x) + ":" +
               std::to_string(crop.y);
    case CropMode::None:
        break;
    }
    return "none";
}

std::string_view DeinterlaceWord(DeinterlaceMode mode) {
    return WordFor(kDeinterlaceWords, mode);
}

std::optional<DeinterlaceMode> DeinterlaceFromWord(std::string_view word) {
    return ValueFor(kDeinterlaceWords, word);
}

double ScreenShare(int newWidth, int newHeight, int targetWidth, int targetHeight) {
    if (targetWidth <= 0 || targetHeight <= 0) {
        return 0;
    }
    return static_cast<double>(newWidth) * newHeight / (static_cast<double>(targetWidth) * targetHeight);
}

} // namespace zvm
