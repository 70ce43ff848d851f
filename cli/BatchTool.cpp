#include "cli/BatchTool.h"

#include "core/DeviceLimits.h"
#include "core/FileSize.h"
#include "core/Generate.h"
#include "core/PrepareRun.h"
#include "process/OutputGuard.h"
#include "core/OutputName.h"
#include "media/Outside.h"
#include "process/ProgramLookup.h"
#include "queue/Queue.h"
#include "cli/ShellText.h"
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
}

// A target whose file needs sound must know whether its source has any, so its video is read even
// when its size is given.
bool NeedsAudioRead(int preset) {
    const TargetPreset* target = FindPreset(preset);
    return target != nullptr && NeedsAudio(*target);
}

// A refusal of the window's checks says its title first, as its message box does.
void Refuse(std::ostream& err, const std::string& video, const Status& refusal) {
    Refuse(err, video, refusal.title().empty() ? refusal.text() : refusal.title() + ' ' + refusal.message());
}

// The window's checks on every request, with its words, and what no encoder can use of its rates,
// before anything is read; the rest is checked once its size is known, as its run is prepared.
bool Refused(const std::vector<ConversionRequest>& requests, std::ostream& err) {
    for (const ConversionRequest& r : requests) {
        Status refusal = r.width.empty() ? CheckRequestBeforeSize(r) : CheckRequest(r);
        if (refusal.ok()) {
            refusal = CheckEncodableRates(r);
        }
        if (!refusal.ok()) {
            Refuse(err, r.sourceVideo, refusal);
            return true;
        }
    }
    return false;
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
// --overwrite says.
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
        if (SamePlace(r.sourceVideo, r.outputPath)) {
            refuse(std::string(queue::kOutputIsSource) + ": " + r.outputPath);
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

// What was read of each video before anything starts; nothing for one not read.
using Reads = std::vector<std::optional<SizeDetection>>;

// A subtitle file named on the command line must be there; false, said, when one is not.
bool SubtitleFilesFound(const std::vector<ConversionRequest>& requests, std::ostream& err) {
    for (const ConversionRequest& r : requests) {
        if (!media::FilesOf(r).subtitleFileFound) {
            Refuse(err, r.sourceVideo, "the subtitle file " + r.subtitles.file + " was not found");
            return false;
        }
    }
    return true;
}

// What is known of the video before its run: its files, and what was read of it.
RunFacts FactsOf(const ConversionRequest& r, const std::optional<SizeDetection>& read) {
    RunFacts facts = media::FilesOf(r);
    if (read) {
        if (read->size) {
            facts.width = read->size->width();
            facts.height = read->size->height();
        }
        facts.duration = read->duration;
        facts.subtitleStreams = read->subtitleStreams;
        if (read->size) {
            facts.hasAudio = read->hasAudio;
        }
    }
    return facts;
}

const std::optional<SizeDetection>& ReadOf(const Reads& reads, std::size_t i) {
    static const std::optional<SizeDetection> kNotRead;
    return i < reads.size() ? reads[i] : kNotRead;
}

// Every video's run prepared as the queue prepares it; nothing, with the first refusal said.
std::optional<std::vector<PreparedRun>> PrepareAll(const std::vector<ConversionRequest>& requests,
                                                   CommandStyle style, const Reads& reads, std::ostream& err) {
    std::vector<PreparedRun> runs;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const ConversionRequest& r = requests[i];
        RunFacts facts = FactsOf(r, ReadOf(reads, i));
        facts.outputIsSource = false; // printing writes nothing, so no output can lose its source
        Result<PreparedRun> prepared = PrepareRun(r, style, facts);
        if (!prepared.ok()) {
            Refuse(err, r.sourceVideo, prepared.status());
            return std::nullopt;
        }
        SayNote(err, prepared.value());
        runs.push_back(std::move(prepared).value());
    }
    return runs;
}

// One line per video: its command, or with --json its JSON object (JSON Lines, so that a script can
// read each line as it comes and join the records of several runs by concatenation).
int Print(const ToolOptions& o, const std::optional<std::vector<PreparedRun>>& runs, std::ostream& out) {
    if (!runs) {
        return kRefused;
    }
    std::string printed;
    for (const PreparedRun& run : *runs) {
        const std::string& encoder = run.request.encoderPath;
        if (o.json) {
            printed += FitJson(run, CommandWords(run.command, encoder)) + '\n';
            continue;
        }
        // Two passes print as two lines, their logs beside the output.
        for (const std::string& step : PassCommands(run, run.request.outputPath + ".pass")) {
            printed += ShellLine(step, encoder) + '\n';
        }
    }
    out << printed;
    return kConverted;
}

// Printing what the options give, the size included: no video is read.
int PrintGiven(const ToolOptions& options, CommandStyle style, std::ostream& out, std::ostream& err) {
    const std::vector<ConversionRequest> requests = Requests(options);
    return Refused(requests, err) || !SubtitleFilesFound(requests, err)
               ? kRefused
               : Print(options, PrepareAll(requests, style, {}, err), out);
}
} // namespace

bool PrintsWithoutFiles(const ToolOptions& options) {
    return (options.print || options.json) && options.width.has_value() && !options.fileSizeMB &&
           options.form != FormChoice::Automatic && !NeedsAudioRead(options.preset);
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
        outside.detectSize(files::PathToQString(requests[i].sourceVideo),
                           [&found, &answered, &asked, &wait, i](const SizeDetection& answer) {
                               found[i] = answer;
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
std::optional<std::vector<ConversionRequest>> ForConversion(std::vector<ConversionRequest> requests,
                                                            CommandStyle style, const Reads& reads,
                                                            std::ostream& err) {
    for (std::size_t i = 0; i < requests.size(); ++i) {
        ConversionRequest& r = requests[i];
        const RunFacts facts = FactsOf(r, ReadOf(reads, i));
        if (r.width.empty() && !facts.width && !r.fileSizeMB) {
            r.subtitles = ResolveSubtitles(r.subtitles, facts);
            continue;
        }
        Result<PreparedRun> prepared = PrepareRun(r, style, facts);
        if (!prepared.ok()) {
            Refuse(err, r.sourceVideo, prepared.status());
            return std::nullopt;
        }
        SayNote(err, prepared.value());
        r = std::move(prepared).value().request;
    }
    return requests;
}
} // namespace

int Run(const ToolOptions& options, media::Outside& outside, std::ostream& out, std::ostream& err) {
    if ((options.print || options.json) && options.width.has_value() && !options.fileSizeMB &&
        !NeedsAudioRead(options.preset)) {
        return PrintGiven(options, StyleFor(options, outside), out, err);
    }
    std::vector<ConversionRequest> requests = Requests(options);
    const bool printing = options.print || options.json;
    if (Refused(requests, err) || (!printing && Endangers(requests, options.overwrite, err))) {
        return kRefused;
    }
    if (!printing && !process::FindEncoder(options.encoder, process::ProgramFinder::FromSystem())) {
        err << kName << "the encoder " << options.encoder << " was not found; give its path with --encoder\n";
        return kRefused;
    }
    if (!SubtitleFilesFound(requests, err)) {
        return kRefused;
    }
    const CommandStyle style = StyleFor(options, outside);
    // Printing reads every video first; a conversion reads now only those whose subtitles or file
    // size must be known before anything starts, and hands what it read on, so no video is read twice.
    const Reads reads = ReadSources(outside, requests, [printing](const ConversionRequest& r) {
        return printing || r.fileSizeMB || NeedsAudioRead(r.preset) ||
               (r.subtitles.mode == SubtitleMode::Auto && media::SubtitleBeside(r.sourceVideo).empty());
    });
    if (printing) {
        for (std::size_t i = 0; i < requests.size(); ++i) {
            if (!reads[i]->size && requests[i].width.empty()) { // a size given stands
                Refuse(err, requests[i].sourceVideo, "the size could not be read: " + reads[i]->error.text());
                return kRefused;
            }
        }
        return Print(options, PrepareAll(requests, style, reads, err), out);
    }
    const auto converted = ForConversion(std::move(requests), style, reads, err);
    if (!converted || !MakeOutputFolder(options, err)) {
        return kRefused;
    }
    return ConvertAll(options, *converted, style, outside, err, reads);
}

} // namespace zvm::cli
