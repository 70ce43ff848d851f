#include "media/SubtitleSource.h"

#include "process/OutputGuard.h"
#include "process/ProgramLookup.h"

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

RunFacts FilesOf(const ConversionRequest& request) {
    RunFacts facts;
    facts.subtitleBeside = request.subtitles.mode == SubtitleMode::Auto ? SubtitleBeside(request.sourceVideo) : "";
    std::error_code ignored;
    facts.subtitleFileFound = request.subtitles.mode != SubtitleMode::File ||
                              std::filesystem::is_regular_file(request.subtitles.file, ignored);
    facts.outputIsSource = process::OutputIsSource(request.sourceVideo, request.outputPath);
    // Only an output that exists already can be one of the files the command reads.
    if (process::FileIdentity(request.outputPath)) {
        const std::string& subtitles =
            request.subtitles.mode == SubtitleMode::File ? request.subtitles.file : facts.subtitleBeside;
        facts.outputIsSubtitleFile = !subtitles.empty() && process::OutputIsSource(subtitles, request.outputPath);
        const std::optional<std::string> encoder =
            process::FindEncoder(request.encoderPath, process::ProgramFinder::FromSystem());
        facts.outputIsEncoder = encoder && process::OutputIsSource(*encoder, request.outputPath);
    }
    return facts;
}

} // namespace zvm::media
