#include "media/SubtitleSource.h"

#include <array>
#include <filesystem>

namespace zvm::media {

std::string SubtitleBeside(const std::string& video) {
    constexpr std::array<std::string_view, 4> kExtensions{".srt", ".ass", ".ssa", ".vtt"};
    std::filesystem::path base(video);
    for (const std::string_view extension : kExtensions) {
        std::string upper(extension);
        for (char& c : upper) {
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        for (const std::string_view spelling : {extension, std::string_view(upper)}) {
            std::filesystem::path beside = base;
            beside.replace_extension(spelling);
            std::error_code ignored;
            if (beside != base && std::filesystem::is_regular_file(beside, ignored)) {
                return beside.string();
            }
        }
    }
    return {};
}

int SubtitleStreams(std::string_view streams) {
    int count = 0;
    while (!streams.empty()) {
        const std::size_t comma = streams.find(',');
        count += streams.substr(0, comma) == "subtitle" ? 1 : 0;
        streams = comma == std::string_view::npos ? std::string_view() : streams.substr(comma + 1);
    }
    return count;
}

SubtitleChoice ResolveSubtitles(const SubtitleChoice& choice, const std::string& video, int subtitleStreams) {
    if (choice.mode != SubtitleMode::Auto) {
        return choice;
    }
    SubtitleChoice resolved{SubtitleMode::None, {}, -1, choice.size};
    if (std::string beside = SubtitleBeside(video); !beside.empty()) {
        resolved.mode = SubtitleMode::File;
        resolved.file = std::move(beside);
    } else if (subtitleStreams > 0) {
        resolved.mode = SubtitleMode::Stream;
        resolved.stream = 0;
    }
    return resolved;
}

} // namespace zvm::media
