#include "cli/BatchTool.h"

#include "core/DeviceLimits.h"
#include "core/FileSize.h"
#include "core/Generate.h"
#include "core/PrepareRun.h"
#include "core/RunReasons.h"
#include "process/OutputGuard.h"
#include "core/OutputName.h"
#include "media/Outside.h"
#include "process/ProgramLookup.h"
#include "queue/Queue.h"
#include "process/ShellText.h"
#include "media/SourceFacts.h"
#include "media/SubtitleSource.h"
#include "files/TextCrossing.h"
#include "cli/ToolOutput.h"
#include "cli/ToolRun.h"
#include "core/Validation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <set>

namespace zvm::cli {

namespace {
constexpr std::string_view kName = "zarnik-video-maker-cli: ";

// Whether -o names a folder: an existing one, a name ending in a slash, or any name for several videos.
bool OutputIsFolder(const ToolOptions& o) {
    std::error_code ignored;
    return !o.output.empty() &&
           (o.videos.size() > 1 || o.output.back() == '/' || std::filesystem::is_directory(o.output, ignored));
}

// One video with -o: that file, or the folder it names; several: -o is their folder.
std::vector<ConversionRequest> Requests(const ToolOptions& o) {
    const bool folder = OutputIsFolder(o);
    std::vector<ConversionRequest> requests;
    for (const std::string& video : o.videos) {
        const std::string output = !o.output.empty() && !folder
                                       ? o.output
                                       : SuggestOutputName(video, o.preset, folder ? o.output : "");
        requests.push_back(ToolRequest(o, video, output));
    }
    return requests;
}

// How long the tool waits for the encoder's answer to the form question before it goes on as for an
// encoder that did not answer.
constexpr int kFormAnswerMilliseconds = 5000;

// As the window decides: an explicit form holds; otherwise the encoder's answer, remembered from an
// earlier question or asked now, waited for in the tool's event loop (it has nothing else to do).
CommandStyle StyleFor(const ToolOptions& o, media::Outside& outside) {
    if (o.form != FormChoice::Automatic) {
        return DecideForm(o.form, EncoderAnswer::Unknown).style;
    }
    QEventLoop wait;
    std::optional<EncoderAnswer> answer;
    // The answer may come after the wait gave up: it then finds nothing to fill.
    auto filled = std::make_shared<std::optional<EncoderAnswer>*>(&answer);
    outside.askForm(files::PathToQString(o.encoder), [filled, &wait](EncoderAnswer given) {
        if (*filled != nullptr) {
            **filled = given;
            wait.quit();
        }
    });
    if (!answer) {
        QTimer::singleShot(kFormAnswerMilliseconds, &wait, &QEventLoop::quit);
        wait.exec();
    }
    *filled = nullptr;
    return DecideForm(o.form, answer.value_or(EncoderAnswer::Unknown)).style;
}

void Refuse(std::ostream& err, const std::string& video, const std::string& why) {
    err << kName << video << ": " << why << '\n';
}

// What the command does beyond what was asked, said before anything starts.
void SayNote(std::ostream& err, const PreparedRun& run) {
    if (!run.note.empty()) {
        err << kName << run.request.sourceVideo << ": " << run.note << '\n';
    }
    if (!run.cropWhy.empty()) {
        err << kName << run.request.sourceVideo << ": no black bars cropped: " << run.cropWhy << '\n';
    }
}

// A target whose file needs sound must know whether its source has any, so its video is read even
// when its size is given.
bool NeedsAudioRead(int preset) {
    const TargetPreset* target = FindPreset(preset);
    return target != nullptr && NeedsAudio(*target);
}

// A target after the designed rows, where an interlaced source is deinterlaced unasked.
bool LaterTarget(int preset) {
    const TargetPreset* target = FindPreset(preset);
    return target != nullptr && NeedsModernForm(*target);
}

// What the options ask to be read of a video even when its size is given: its black bars, its sound
// streams for a language list, or its field order for deinterlacing asked for.
bool AsksForReads(const ConversionRequest& r) {
    return r.crop.mode == CropMode::Auto || !r.audio.languages.empty() || r.deinterlace == DeinterlaceMode::On;
}
bool AsksForReads(const ToolOptions& o) {
    return o.crop.mode == CropMode::Auto || !o.audio.languages.empty() || o.deinterlace == DeinterlaceMode::On;
}

// A refusal of the window's checks says its title first, as its message box does.
void Refuse(std::ostream& err, const std::string& video, const Status& refusal) {
    Refuse(err, video, refusal.title().empty() ? refusal.text() : refusal.title() + ' ' + refusal.message());
}

// The window's checks on the request, with its words (a double quote in a name is taken: the tool
// starts its commands without a shell), and what no encoder can use of its rates, before anything is
// read; the rest is checked once its size is known, as its run is prepared. True when refused, said.
bool Refused(const ConversionRequest& r, std::ostream& err) {
    Status refusal = r.width.empty() ? CheckRequestBeforeSize(r, NameQuotes::Taken) : CheckRequest(r, NameQuotes::Taken);
    if (refusal.ok()) {
        refusal = CheckEncodableRates(r);
    }
    if (!refusal.ok()) {
        Refuse(err, r.sourceVideo, refusal);
    }
    return !refusal.ok();
}

// What was read of each video before anything starts; nothing for one not read.
using Reads = std::vector<std::optional<SizeDetection>>;

// The batch as it goes on: each video `refuses` (which says why) is left out, with what was read of
// it, and counted in `left`; one refused video never holds up the others.
void LeaveOut(std::vector<ConversionRequest>& requests, Reads& reads, std::size_t& left,
              const std::function<bool(std::size_t)>& refuses) {
    std::vector<ConversionRequest> kept;
    Reads keptReads;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (refuses(i)) {
            ++left;
            continue;
        }
        kept.push_back(std::move(requests[i]));
        if (i < reads.size()) {
            keptReads.push_back(std::move(reads[i]));
        }
    }
    requests = std::move(kept);
    reads = std::move(keptReads);
}

// The exit status once the videos left have run (or printed) with `result`: refused, when every
// video was; otherwise some failed, when any was left out.
int WithLeftOut(int result, std::size_t left, bool noneLeft, std::ostream& err) {
    if (left == 0) {
        return result;
    }
    if (noneLeft) {
        return kRefused;
    }
    err << kName << left << (left == 1 ? " video was" : " videos were") << " refused before anything started: see above\n";
    return result == kConverted ? kSomeFailed : result;
}

// One place on disk: the same existing file (links and all), or the same absolute path, normalised.
bool SamePlace(const std::string& a, const std::string& b) {
    const auto absolute = [](const std::string& path) {
        std::error_code ignored;
        return std::filesystem::absolute(path, ignored).lexically_normal();
    };
    return absolute(a) == absolute(b) || process::OutputIsSource(a, b);
}

// What could lose a file: an output that is any video of the batch, that another video's output
// collides with, or that exists (without --overwrite). A source is never overwritten, whatever
// --overwrite says, nor is the subtitle file or the encoder the command reads. Such a batch is
// refused whole: its outputs are not what the user meant.
bool Endangers(const std::vector<ConversionRequest>& requests, bool overwrite, std::ostream& err) {
    bool refused = false;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const ConversionRequest& r = requests[i];
        const auto refuse = [&](const std::string& why) {
            Refuse(err, r.sourceVideo, why);
            refused = true;
        };
        const auto source = std::find_if(requests.begin(), requests.end(), [&](const ConversionRequest& other) {
            return SamePlace(other.sourceVideo, r.outputPath);
        });
        const auto earlier = std::find_if(requests.begin(), requests.begin() + static_cast<std::ptrdiff_t>(i),
                                          [&](const ConversionRequest& other) {
                                              return SamePlace(other.outputPath, r.outputPath);
                                          });
        const RunFacts files = media::FilesOf(r);
        if (SamePlace(r.sourceVideo, r.outputPath)) {
            refuse(std::string(queue::kOutputIsSource) + ": " + r.outputPath);
        } else if (files.outputIsSubtitleFile || files.outputIsEncoder) {
            refuse(std::string(files.outputIsEncoder ? kOutputIsEncoder : kOutputIsSubtitleFile) + ": " + r.outputPath);
        } else if (source != requests.end()) {
            refuse("the output file " + r.outputPath + " is the video " + source->sourceVideo +
                   " of this batch, which is never overwritten");
        } else if (earlier != requests.begin() + static_cast<std::ptrdiff_t>(i)) {
            refuse("the output file " + r.outputPath + " is also the output of " + earlier->sourceVideo);
        } else if (!overwrite && std::filesystem::exists(r.outputPath)) {
            refuse("the output file " + r.outputPath + " exists; give --overwrite to replace it");
        }
    }
    return refused;
}

// The output folder -o names, made when it is missing, before anything starts; false, with the reason
// said, when it cannot be made.
bool MakeOutputFolder(const ToolOptions& o, std::ostream& err) {
    if (!OutputIsFolder(o)) {
        return true;
    }
    std::error_code error;
    std::filesystem::create_directories(o.output, error);
    if (error || !std::filesystem::is_directory(o.output)) {
        err << kName << "the output folder " << o.output << " cannot be made: "
            << (error ? error.message() : "a file of that name is in the way") << '\n';
        return false;
    }
    return true;
}

// A subtitle file named on the command line must be there; true, said, when it is not.
bool SubtitleFileMissing(const ConversionRequest& r, std::ostream& err) {
    if (!media::FilesOf(r).subtitleFileFound) {
        Refuse(err, r.sourceVideo, "the subtitle file " + r.subtitles.file + " was not found");
        return true;
    }
    return false;
}

// The checks every video gets before anything is read.
void LeaveOutRefused(std::vector<ConversionRequest>& requests, Reads& reads, std::size_t& left, std::ostream& err) {
    LeaveOut(requests, reads, left,
             [&](std::size_t i) { return Refused(requests[i], err) || SubtitleFileMissing(requests[i], err); });
}

const std::optional<SizeDetection>& ReadOf(const Reads& reads, std::size_t i) {
    static const std::optional<SizeDetection> kNotRead;
    return i < reads.size() ? reads[i] : kNotRead;
}

// Every video's run prepared as the queue prepares it; one refused is said and left out, counted in
// `left`.
std::vector<PreparedRun> PrepareAll(const std::vector<ConversionRequest>& requests, CommandStyle style,
                                    const Reads& reads, std::size_t& left, std::ostream& err) {
    std::vector<PreparedRun> runs;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const ConversionRequest& r = requests[i];
        RunFacts facts = media::FactsOf(r, ReadOf(reads, i));
        // Printing writes nothing, so no output can lose a file the command reads.
        facts.outputIsSource = facts.outputIsSubtitleFile = facts.outputIsEncoder = false;
        Result<PreparedRun> prepared = PrepareRun(r, style, facts);
        if (!prepared.ok()) {
            Refuse(err, r.sourceVideo, prepared.status());
            ++left;
            continue;
        }
        SayNote(err, prepared.value());
        runs.push_back(std::move(prepared).value());
    }
    return runs;
}

// One line per video: its command, or with --json its JSON object (JSON Lines, so that a script can
// read each line as it comes and join the records of several runs by concatenation).
int Print(const ToolOptions& o, const std::vector<PreparedRun>& runs, std::size_t left, std::ostream& out,
          std::ostream& err) {
    std::string printed;
    for (const PreparedRun& run : runs) {
        const std::string& encoder = run.request.encoderPath;
        if (o.json) {
            printed += FitJson(run, process::CommandWords(run.command, encoder)) + '\n';
            continue;
        }
        // Two passes print as two lines, their logs beside the output.
        for (const std::string& step : PassCommands(run, run.request.outputPath + ".pass")) {
            printed += process::ShellLine(step, encoder) + '\n';
        }
    }
    out << printed;
    return WithLeftOut(kConverted, left, runs.empty(), err);
}

// Printing what the options give, the size included: no video is read.
int PrintGiven(const ToolOptions& options, CommandStyle style, std::ostream& out, std::ostream& err) {
    std::vector<ConversionRequest> requests = Requests(options);
    Reads none;
    std::size_t left = 0;
    LeaveOutRefused(requests, none, left, err);
    const std::vector<PreparedRun> runs = PrepareAll(requests, style, {}, left, err);
    return Print(options, runs, left, out, err);
}
} // namespace

bool PrintsWithoutFiles(const ToolOptions& options) {
    return (options.print || options.json) && options.width.has_value() && !options.fileSizeMB &&
           options.form != FormChoice::Automatic && !NeedsAudioRead(options.preset) && !AsksForReads(options);
}

int PrintKnown(const ToolOptions& options, std::ostream& out, std::ostream& err) {
    return PrintGiven(options, DecideForm(options.form, EncoderAnswer::Unknown).style, out, err);
}

namespace {
// The videos `wanted` picks, each read once and all asked for at once: the media worker answers one
// after another without waiting for the tool in between. The tool has nothing else to do meanwhile.
// Each read gives the size, the duration and the subtitle streams, for whatever needs them.
Reads ReadSources(media::Outside& outside, const std::vector<ConversionRequest>& requests,
                  const std::function<bool(const ConversionRequest&)>& wanted) {
    QEventLoop wait;
    Reads found(requests.size());
    std::size_t asked = 0;
    std::size_t answered = 0;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (!wanted(requests[i])) {
            continue;
        }
        ++asked;
        const ConversionRequest& r = requests[i];
        outside.detectSize(files::PathToQString(r.sourceVideo), [&, i](const SizeDetection& answer) {
            found[i] = answer;
            if (NeedsLook(requests[i], media::ReadFacts(answer))) { // a second answer to wait for, of the same video
                outside.lookAtPicture(files::PathToQString(requests[i].sourceVideo), [&, i](const PictureLook& look) {
                    found[i]->look = look;
                    if (++answered == asked) {
                        wait.quit();
                    }
                });
                return;
            }
            if (++answered == asked) {
                wait.quit();
            }
        });
    }
    if (answered < asked) { // answers that came at once need no waiting
        wait.exec();
    }
    return found;
}

// The requests as the conversion takes them. What can be prepared now (its size known, or a file size
// that needs the read duration) is, so a request no encoder can use is refused before anything
// starts; the others have their subtitles resolved, and are prepared as each one's size is read.
std::vector<ConversionRequest> ForConversion(std::vector<ConversionRequest> requests, CommandStyle style, Reads& reads,
                                             std::size_t& left, std::ostream& err) {
    LeaveOut(requests, reads, left, [&](std::size_t i) {
        ConversionRequest& r = requests[i];
        const RunFacts facts = media::FactsOf(r, ReadOf(reads, i));
        if (r.width.empty() && !facts.width && !r.fileSizeMB) {
            r.subtitles = ResolveSubtitles(r.subtitles, facts);
            return false;
        }
        Result<PreparedRun> prepared = PrepareRun(r, style, facts);
        if (!prepared.ok()) {
            Refuse(err, r.sourceVideo, prepared.status());
            return true;
        }
        SayNote(err, prepared.value());
        r = std::move(prepared).value().request;
        return false;
    });
    return requests;
}
} // namespace

int Run(const ToolOptions& options, media::Outside& outside, std::ostream& out, std::ostream& err) {
    if ((options.print || options.json) && options.width.has_value() && !options.fileSizeMB &&
        !NeedsAudioRead(options.preset) && !AsksForReads(options)) {
        return PrintGiven(options, StyleFor(options, outside), out, err);
    }
    const bool printing = options.print || options.json;
    std::vector<ConversionRequest> requests = Requests(options);
    Reads none;
    std::size_t left = 0;
    LeaveOutRefused(requests, none, left, err);
    if (requests.empty() || (!printing && Endangers(requests, options.overwrite, err))) {
        return kRefused;
    }
    if (!printing && !process::FindEncoder(options.encoder, process::ProgramFinder::FromSystem())) {
        err << kName << "the encoder " << options.encoder << " was not found; give its path with --encoder\n";
        return kRefused;
    }
    const CommandStyle style = StyleFor(options, outside);
    // Printing reads every video first; a conversion reads now only those whose subtitles, file size,
    // cut's start (refused at or past the video's end) or sound (a target that needs an audio stream)
    // must be known before anything starts, and hands what it read on, so no video is read twice.
    Reads reads = ReadSources(outside, requests, [printing](const ConversionRequest& r) {
        return printing || r.fileSizeMB || r.cutStart || NeedsAudioRead(r.preset) || AsksForReads(r) ||
               (r.width.empty() && r.deinterlace == DeinterlaceMode::Auto && LaterTarget(r.preset)) ||
               (r.subtitles.mode == SubtitleMode::Auto && media::SubtitleBeside(r.sourceVideo).empty());
    });
    if (printing) {
        LeaveOut(requests, reads, left, [&](std::size_t i) {
            const bool unsized = !reads[i]->size && requests[i].width.empty(); // a size given stands
            if (unsized) {
                Refuse(err, requests[i].sourceVideo, "the size could not be read: " + reads[i]->error.text());
            }
            return unsized;
        });
        const std::vector<PreparedRun> runs = PrepareAll(requests, style, reads, left, err);
        return Print(options, runs, left, out, err);
    }
    const std::vector<ConversionRequest> converted = ForConversion(std::move(requests), style, reads, left, err);
    if (converted.empty() || !MakeOutputFolder(options, err)) {
        return kRefused;
    }
    return WithLeftOut(ConvertAll(options, converted, style, outside, err, reads), left, false, err);
}

} // namespace zvm::cli
