#include "cli/BatchTool.h"

#include "core/FileSize.h"
#include "core/Generate.h"
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

void Refuse(std::ostream& err, const std::string& video, const Refusal& refusal) {
    err << kName << video << ": " << refusal.title << ' ' << refusal.prompt << '\n';
}

// The window's checks on every request, with its words; a size still to be read is checked once it
// is known, by Generate.
bool Refused(const std::vector<ConversionRequest>& requests, std::ostream& err) {
    for (const ConversionRequest& r : requests) {
        if (const auto refusal = r.width.empty() ? CheckRequestBeforeSize(r) : CheckRequest(r)) {
            Refuse(err, r.sourceVideo, *refusal);
            return true;
        }
        // What no encoder can use, though the window's checks let it pass: refused before anything starts.
        Status unusable = CheckEncodableRates(r);
        if (unusable.ok() && !r.width.empty()) {
            const auto outcome = Generate(r);
            unusable = std::holds_alternative<GenerateResult>(outcome)
                           ? CheckEncodable(std::get<GenerateResult>(outcome))
                           : Status();
        }
        if (!unusable.ok()) {
            Refuse(err, r.sourceVideo, unusable.text());
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

// Each video's subtitles with --subtitles auto resolved: the file beside it, else (when it was read)
// its first subtitle stream, else none. False, said, when a named file is missing.
bool ChooseSubtitles(std::vector<ConversionRequest>& requests, const Reads& reads, std::ostream& err) {
    for (std::size_t i = 0; i < requests.size(); ++i) {
        ConversionRequest& r = requests[i];
        SubtitleChoice& s = r.subtitles;
        std::error_code ignored;
        if (s.mode == SubtitleMode::File && !std::filesystem::is_regular_file(s.file, ignored)) {
            Refuse(err, r.sourceVideo, "the subtitle file " + s.file + " was not found");
            return false;
        }
        const bool read = i < reads.size() && reads[i];
        s = media::ResolveSubtitles(s, r.sourceVideo, read ? reads[i]->subtitleStreams : 0);
    }
    return true;
}

// One line per video: its command, or with --json its JSON object (JSON Lines, so that a script can
// read each line as it comes and join the records of several runs by concatenation).
int Print(const ToolOptions& o, const std::vector<ConversionRequest>& requests, CommandStyle style,
          std::ostream& out, std::ostream& err) {
    std::string printed;
    for (const ConversionRequest& r : requests) {
        const auto outcome = Generate(r, style);
        if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
            Refuse(err, r.sourceVideo, *refusal);
            return kRefused;
        }
        const auto& result = std::get<GenerateResult>(outcome);
        const std::vector<std::string> words = CommandWords(*result.command, r.encoderPath);
        if (o.json) {
            printed += FitJson(result, words) + '\n';
            continue;
        }
        // Two passes print as two lines, their logs beside the output.
        for (const std::string& step :
             PassSteps(*result.command, r.outputPath, UsesTwoPasses(r), r.outputPath + ".pass")) {
            printed += ShellLine(step, r.encoderPath) + '\n';
        }
    }
    out << printed;
    return kConverted;
}

// Printing what the options give, the size included: no video is read.
int PrintGiven(const ToolOptions& options, CommandStyle style, std::ostream& out, std::ostream& err) {
    std::vector<ConversionRequest> requests = Requests(options);
    return Refused(requests, err) || !ChooseSubtitles(requests, {}, err) ? kRefused
                                                                         : Print(options, requests, style, out, err);
}
} // namespace

bool PrintsWithoutFiles(const ToolOptions& options) {
    return (options.print || options.json) && options.width.has_value() && !options.fileSizeMB &&
           options.form != FormChoice::Automatic;
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
                           files::PathToQString(requests[i].encoderPath),
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

// A file size the video cannot have is refused before anything starts.
bool FileSizesFit(const std::vector<ConversionRequest>& requests, const Reads& reads, std::ostream& err) {
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const ConversionRequest& r = requests[i];
        if (!r.fileSizeMB) {
            continue;
        }
        ConversionRequest sized = r;
        if (const Status size = ApplyFileSize(sized, reads[i] ? reads[i]->duration : std::nullopt); !size.ok()) {
            Refuse(err, r.sourceVideo, size.text());
            return false;
        }
    }
    return true;
}
} // namespace

int Run(const ToolOptions& options, media::Outside& outside, std::ostream& out, std::ostream& err) {
    if ((options.print || options.json) && options.width.has_value() && !options.fileSizeMB) {
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
    const CommandStyle style = StyleFor(options, outside);
    // Printing reads every video first; a conversion reads now only those whose subtitles or file
    // size must be known before anything starts, and hands what it read on, so no video is read twice.
    const Reads reads = ReadSources(outside, requests, [printing](const ConversionRequest& r) {
        return printing || r.fileSizeMB ||
               (r.subtitles.mode == SubtitleMode::Auto && media::SubtitleBeside(r.sourceVideo).empty());
    });
    if (!ChooseSubtitles(requests, reads, err)) {
        return kRefused;
    }
    if (printing) {
        for (std::size_t i = 0; i < requests.size(); ++i) {
            ConversionRequest& r = requests[i];
            const SizeDetection& found = *reads[i];
            if (!found.size) {
                Refuse(err, r.sourceVideo, "the size could not be read: " + files::ToStd(found.error));
                return kRefused;
            }
            if (r.width.empty()) {
                r.width = std::to_string(found.size->width());
                r.height = std::to_string(found.size->height());
            }
            if (const Status size = ApplyFileSize(r, found.duration); !size.ok()) {
                Refuse(err, r.sourceVideo, size.text());
                return kRefused;
            }
        }
        return Print(options, requests, style, out, err);
    }
    if (!FileSizesFit(requests, reads, err) || !MakeOutputFolder(options, err)) {
        return kRefused;
    }
    return ConvertAll(options, requests, style, outside, err, reads);
}

} // namespace zvm::cli
