#include "BatchTool.h"

#include "ClockText.h"
#include "FormQuestion.h"
#include "Generate.h"
#include "OutputGuard.h"
#include "OutputName.h"
#include "ProgramLookup.h"
#include "Queue.h"
#include "QueueRunner.h"
#include "ShellText.h"
#include "TextCrossing.h"
#include "ToolOutput.h"
#include "Validation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <set>
#include <unistd.h>

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

// As the window decides: an explicit form holds; otherwise the encoder's answer, remembered from an
// earlier question or asked now.
CommandStyle StyleFor(const ToolOptions& o) {
    EncoderAnswer answer = EncoderAnswer::Unknown;
    if (o.form == FormChoice::Automatic) {
        if (const auto program = process::FindEncoder(o.encoder, process::ProgramFinder::FromSystem())) {
            answer = media::AskClassicOptions(*program);
        }
    }
    return DecideForm(o.form, answer).style;
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

// What could lose a file: an output that is its source, is another video's output, or exists. Said
// with the queue's words, as the queue would refuse it.
bool Endangers(const std::vector<ConversionRequest>& requests, bool overwrite, std::ostream& err) {
    std::set<std::string> outputs;
    bool refused = false;
    for (const ConversionRequest& r : requests) {
        const Status conflict =
            queue::OutputConflict(r, &process::OutputIsSource, [&outputs](const std::string& output) {
                return !outputs.insert(output).second;
            });
        if (!conflict.ok()) {
            Refuse(err, r.sourceVideo, conflict.text() + ": " + r.outputPath);
            refused = true;
        } else if (!overwrite && std::filesystem::exists(r.outputPath)) {
            Refuse(err, r.sourceVideo,
                   "the output file " + r.outputPath + " exists; give --overwrite to replace it");
            refused = true;
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

int Print(const ToolOptions& o, const std::vector<ConversionRequest>& requests, CommandStyle style,
          std::ostream& out, std::ostream& err) {
    std::string printed = o.json ? "[" : "";
    for (const ConversionRequest& r : requests) {
        const auto outcome = Generate(r, style);
        if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
            Refuse(err, r.sourceVideo, *refusal);
            return kRefused;
        }
        const auto& result = std::get<GenerateResult>(outcome);
        const std::vector<std::string> words = CommandWords(*result.command, r.encoderPath);
        printed += o.json ? (printed.size() > 1 ? ",\n " : "") + FitJson(result, words)
                          : ShellLine(*result.command, r.encoderPath) + '\n';
    }
    out << printed << (o.json ? "]\n" : "");
    return kConverted;
}
} // namespace

bool PrintsWithoutFiles(const ToolOptions& options) {
    return (options.print || options.json) && options.width.has_value();
}

int PrintKnown(const ToolOptions& options, std::ostream& out, std::ostream& err) {
    const std::vector<ConversionRequest> requests = Requests(options);
    return Refused(requests, err) ? kRefused : Print(options, requests, StyleFor(options), out, err);
}

namespace {
// The video's size, waited for: the tool has nothing else to do meanwhile.
SizeDetection ReadSize(media::Outside& outside, const ConversionRequest& request) {
    QEventLoop wait;
    std::optional<SizeDetection> found;
    outside.detectSize(files::PathToQString(request.sourceVideo), files::PathToQString(request.encoderPath),
                       [&found, &wait](const SizeDetection& answer) {
                           found = answer;
                           wait.quit();
                       });
    if (!found) { // an answer that came at once needs no waiting
        wait.exec();
    }
    return *found;
}

int gInterruptPipe[2] = {-1, -1};

void OnInterrupt(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gInterruptPipe[1], &byte, 1);
}

// Follows the queue on standard error: a progress bar on a terminal, one line per finished video
// elsewhere.
class Reporter {
public:
    Reporter(const ToolOptions& options, std::ostream& err)
        : options_(options), err_(err), bar_(::isatty(2) == 1) {}

    void show(const queue::Queue& queue) {
        for (const queue::QueueItem& item : queue.items()) {
            if (item.state == queue::ItemState::Running && options_.verbose &&
                started_.insert(item.id).second) {
                err_ << (bar_ ? "\r\x1b[K" : "") << item.command << '\n';
            }
            if (item.state == queue::ItemState::Running) {
                progress(queue, item);
            } else if (Ended(item.state) && reported_.insert(item.id).second) {
                ended(item);
            }
        }
    }

private:
    static bool Ended(queue::ItemState s) {
        return s == queue::ItemState::Finished || s == queue::ItemState::Failed || s == queue::ItemState::Stopped ||
               s == queue::ItemState::NeedsAttention;
    }

    void progress(const queue::Queue& queue, const queue::QueueItem& item) {
        if (!bar_ || options_.quiet || !item.duration || *item.duration <= 0) {
            return;
        }
        const double fraction = std::min(1.0, item.encoded / *item.duration);
        const int filled = static_cast<int>(fraction * 20);
        std::ostringstream line;
        line << '\r' << std::setw(3) << static_cast<int>(fraction * 100) << "% [" << std::string(filled, '#')
             << std::string(20 - filled, '-') << "] ";
        if (item.runSeconds > 0 && item.encoded > 0) {
            line << std::fixed << std::setprecision(1) << item.encoded / item.runSeconds << "x ";
        }
        if (const auto left = queue.secondsLeft(item.id)) {
            line << ClockText(*left) << " left ";
        }
        line << files::PathToStd(QFileInfo(files::PathToQString(item.request.sourceVideo)).fileName())
             << "\x1b[K";
        err_ << line.str() << std::flush;
    }

    void ended(const queue::QueueItem& item) {
        if (bar_ && !options_.quiet) {
            err_ << "\r\x1b[K";
        }
        const bool good = item.state == queue::ItemState::Finished;
        if (options_.quiet && good) {
            return;
        }
        err_ << item.request.sourceVideo << " -> " << item.request.outputPath << ": "
             << (good ? "finished" : std::string(queue::StateWord(item.state)) + ": " + queue::ReasonText(item))
             << '\n';
        if (options_.verbose && !item.log.empty()) {
            err_ << item.log << '\n';
        }
    }

    const ToolOptions& options_;
    std::ostream& err_;
    bool bar_;
    std::set<int> reported_;
    std::set<int> started_;
};
} // namespace

int Run(const ToolOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<ConversionRequest> requests = Requests(options);
    const bool printing = options.print || options.json;
    if (Refused(requests, err) || (!printing && Endangers(requests, options.overwrite, err))) {
        return kRefused;
    }
    if (!printing && !process::FindEncoder(options.encoder, process::ProgramFinder::FromSystem())) {
        err << kName << "the encoder " << options.encoder << " was not found; give its path with --encoder\n";
        return kRefused;
    }
    const CommandStyle style = StyleFor(options);
    media::RealOutside outside;
    if (printing) { // the sizes are read first
        for (ConversionRequest& r : requests) {
            const SizeDetection found = ReadSize(outside, r);
            if (!found.size) {
                Refuse(err, r.sourceVideo, "the size could not be read: " + files::ToStd(found.error));
                return kRefused;
            }
            r.width = std::to_string(found.size->width());
            r.height = std::to_string(found.size->height());
        }
        return Print(options, requests, style, out, err);
    }

    if (!MakeOutputFolder(options, err)) {
        return kRefused;
    }
    QueueRunner runner(outside);
    Reporter reporter(options, err);
    QObject::connect(&runner, &QueueRunner::changed, [&] { reporter.show(runner.queue()); });
    int interrupts = 0;
    if (::pipe(gInterruptPipe) == 0) {
        std::signal(SIGINT, OnInterrupt);
    }
    QSocketNotifier interrupted(gInterruptPipe[0], QSocketNotifier::Read);
    QObject::connect(&interrupted, &QSocketNotifier::activated, [&] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(gInterruptPipe[0], &byte, 1);
        runner.stopCurrent(++interrupts > 1); // a second Ctrl+C does not wait
        if (!runner.isRunning()) {
            QCoreApplication::exit(kInterrupted);
        }
    });
    int status = kConverted;
    QObject::connect(&runner, &QueueRunner::finishedAll, [&](const queue::QueueSummary& s) {
        reporter.show(runner.queue());
        const int unconverted = s.failed + s.skipped;
        if (unconverted > 0 && interrupts == 0) {
            err << kName << s.finished << " converted, " << unconverted << " not: see above\n";
        } else if (!options.quiet && interrupts == 0) {
            err << s.finished << " converted\n";
        }
        status = interrupts > 0 ? kInterrupted : unconverted > 0 ? kSomeFailed : kConverted;
        QCoreApplication::exit(status);
    });
    runner.add(requests, style);
    runner.start();
    return QCoreApplication::exec();
}

} // namespace zvm::cli
