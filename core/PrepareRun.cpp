#include "core/PrepareRun.h"

#include "core/CommandLine.h"
#include "core/Cut.h"
#include "core/FileSize.h"
#include "core/Generate.h"
#include "core/RunReasons.h"

#include <utility>

namespace zvm {

SubtitleChoice ResolveSubtitles(const SubtitleChoice& choice, const RunFacts& facts) {
    if (choice.mode != SubtitleMode::Auto) {
        return choice;
    }
    SubtitleChoice resolved{SubtitleMode::None, {}, -1, choice.size};
    if (!facts.subtitleBeside.empty()) {
        resolved.mode = SubtitleMode::File;
        resolved.file = facts.subtitleBeside;
    } else if (facts.subtitleStreams > 0) {
        resolved.mode = SubtitleMode::Stream;
        resolved.stream = 0;
    }
    return resolved;
}

namespace {
// The request with what the facts add: the size read, and the subtitles resolved.
ConversionRequest Completed(const ConversionRequest& request, const RunFacts& facts) {
    ConversionRequest completed = request;
    if (completed.width.empty() && facts.width && facts.height) {
        completed.width = std::to_string(*facts.width);
        completed.height = std::to_string(*facts.height);
    }
    completed.subtitles = ResolveSubtitles(request.subtitles, facts);
    if (facts.hasAudio) {
        completed.silentSource = *facts.hasAudio ? std::nullopt
                                                 : std::optional(ConversionRequest::Silent{
                                                       KeptSeconds(request.cutStart, request.cutEnd, facts.duration)});
    }
    return completed;
}

// What an unattended encoder cannot use, now that the source's duration is known too.
Status CheckUnattended(const GenerateResult& result, const RunFacts& facts) {
    if (Status unusable = CheckEncodable(result); !unusable.ok()) {
        return unusable;
    }
    return CheckCut(result.request, facts.duration);
}
} // namespace

Result<PreparedRun> PrepareRun(const ConversionRequest& request, CommandStyle style, const RunFacts& facts,
                               RunChecks checks) {
    ConversionRequest completed = Completed(request, facts);
    if (request.subtitles.mode == SubtitleMode::File && !facts.subtitleFileFound) {
        return Status::Failure(FailureKind::NotFound, kSubtitleMissing, request.subtitles.file);
    }
    if (Status size = ApplyFileSize(completed, facts.duration); !size.ok()) {
        return size;
    }
    // The window's Convert starts the command box's text, which cannot carry a quote in a name; the
    // queue and the tool start their own commands, which can.
    Result<GenerateResult> generated =
        Generate(completed, style, checks == RunChecks::Unattended ? NameQuotes::Taken : NameQuotes::Refused);
    if (!generated.ok()) {
        return generated.status();
    }
    GenerateResult& result = generated.value();
    if (!result.command) {
        return Status::Failure(FailureKind::BadInput, kNoMovieType);
    }
    if (checks == RunChecks::Unattended) {
        if (Status unusable = CheckUnattended(result, facts); !unusable.ok()) {
            return unusable;
        }
    }
    if (facts.outputIsSource) {
        return Status::Failure(FailureKind::Refused, kOutputIsSource);
    }
    if (facts.outputIsSubtitleFile || facts.outputIsEncoder) {
        return Status::Failure(FailureKind::Refused,
                               facts.outputIsEncoder ? kOutputIsEncoder : kOutputIsSubtitleFile);
    }
    PreparedRun run;
    run.target = TargetFor(result.request, style);
    run.twoPasses = UsesTwoPasses(result.request);
    run.request = std::move(result.request);
    run.geometry = result.geometry;
    run.command = std::move(*result.command);
    if (GetsSilentTrack(run.request)) {
        run.note = kSilentTrack;
    }
    return run;
}

std::vector<std::string> PassCommands(const PreparedRun& run, std::string_view logPrefix) {
    return PassSteps(run.command, run.request.outputPath, run.twoPasses, logPrefix);
}

} // namespace zvm
