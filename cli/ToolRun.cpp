#include "cli/ToolRun.h"

#include "core/ClockText.h"
#include "files/TextCrossing.h"
#include "process/Spawn.h"
#include "process/StoppingSignals.h"
#include "queue/EncoderGroups.h"
#include "queue/QueueRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <iomanip>
#include <map>
#include <ostream>
#include <sstream>

namespace zvm::cli {

namespace {
using files::PathToQString;
using queue::ItemState;
using queue::JobEnd;
using queue::JobResult;
using queue::QueueItem;

// How one video ended, as the tool says it.
struct Ended {
    const char* word = "failed"; // finished, failed, stopped
    std::string why;             // a failure's reason, or the after-check's line
    std::string log;             // the encoder's last words, for a failed run
    bool removed = false;
};

Ended FromJob(const JobResult& result, int signal) {
    Ended ended;
    ended.removed = result.removed;
    switch (result.end) {
    case JobEnd::Converted:
        // A check that was asked for and could not run leaves the file, but not the promise that it fits.
        ended.word = result.checked && result.verdict == CheckVerdict::NotChecked ? "not checked" : "finished";
        ended.why = result.checkLine;
        break;
    case JobEnd::Misfit:
        ended.why = result.checkLine;
        break;
    case JobEnd::NotStarted:
        ended.why = result.startFailure.kind() == FailureKind::Refused
                        ? result.startFailure.text()
                        : "the encoder could not be started: " + result.startFailure.text();
        break;
    case JobEnd::Stopped:
        ended.word = "stopped";
        ended.why = "on signal " + std::to_string(signal);
        break;
    case JobEnd::EncoderFailed:
        ended.log = result.log;
        ended.why = result.signal != 0 ? "the encoder was ended by signal " + std::to_string(result.signal)
                                       : "the encoder ended with exit code " + std::to_string(result.exitCode);
        ended.why += result.cause.empty() ? "" : ": " + result.cause;
        break;
    }
    return ended;
}

// An item the queue will not run as it is: its size unread, or a check its facts failed.
Ended FromAttention(const QueueItem& item) {
    Ended ended;
    ended.why = item.reason == queue::kNoSize ? "the size could not be read: " + item.detail : ReasonText(item);
    return ended;
}

// Follows the run on standard error: a progress line on a terminal, one line per ended video
// elsewhere.
class Reporter {
public:
    Reporter(const ToolOptions& options, std::ostream& err)
        : options_(options), err_(err), bar_(::isatty(2) == 1) {}

    void started(const std::string& command) {
        if (options_.verbose) {
            clearBar();
            err_ << command << '\n';
        }
    }

    // One video running: its bar, speed and time left; several: each one's share done. The encoder's
    // time counts from the cut's start: so do the bars.
    void progress(const std::vector<QueueItem>& items) {
        if (!bar_ || options_.quiet) {
            return;
        }
        std::vector<std::pair<const QueueItem*, double>> running; // with the seconds it keeps
        for (const QueueItem& item : items) {
            const auto kept = queue::KeptDuration(item);
            if (item.state == ItemState::Running && kept && *kept > 0) {
                running.emplace_back(&item, *kept);
            }
        }
        if (running.empty()) {
            return;
        }
        std::ostringstream line;
        line << '\r';
        if (running.size() == 1) {
            const auto [item, kept] = running.front();
            const double fraction = std::min(1.0, item->encoded / kept);
            const int filled = static_cast<int>(fraction * 20);
            line << std::setw(3) << static_cast<int>(fraction * 100) << "% [" << std::string(filled, '#')
                 << std::string(20 - filled, '-') << "] ";
            if (item->runSeconds > 0 && item->encoded > 0) {
                const double speed = item->encoded / item->runSeconds;
                line << std::fixed << std::setprecision(1) << speed << "x "
                     << ClockText(std::max(0.0, kept - item->encoded) / speed) << " left ";
            }
            line << fileName(item->request);
        } else {
            line << running.size() << " running:";
            for (const auto& [item, kept] : running) {
                line << ' ' << static_cast<int>(std::min(1.0, item->encoded / kept) * 100) << "% "
                     << fileName(item->request);
            }
        }
        err_ << line.str() << "\x1b[K" << std::flush;
    }

    void ended(const ConversionRequest& request, const Ended& ended) {
        clearBar();
        const bool good = std::string_view(ended.word) == "finished";
        if (options_.quiet && good) {
            return;
        }
        err_ << request.sourceVideo << " -> " << request.outputPath << ": " << ended.word
             << (ended.why.empty() ? "" : ": " + ended.why)
             << (ended.removed ? "; the file it wrote was removed" : "") << '\n';
        if (options_.verbose && !ended.log.empty()) {
            err_ << ended.log << '\n';
        }
    }

private:
    void clearBar() {
        if (bar_ && !options_.quiet) {
            err_ << "\r\x1b[K";
        }
    }
    static std::string fileName(const ConversionRequest& request) {
        return files::PathToStd(QFileInfo(PathToQString(request.sourceVideo)).fileName());
    }

    const ToolOptions& options_;
    std::ostream& err_;
    bool bar_;
};

// Where the queue records its encoders' groups (beside its file in the data folder): the tool's join
// them, so the window's next start, or the tool's, ends what a killed run left behind.
std::filesystem::path GroupsFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? std::filesystem::path()
                            : EncoderGroups::BesideQueue(std::filesystem::path(files::PathToStd(folder)) / "queue.sqlite");
}

// The runner's queue as the tool follows it: each video's result by its index in the order given.
class Batch {
public:
    Batch(const ToolOptions& options, media::Outside& outside, std::ostream& err)
        : jobs_(std::max(1, options.jobs.value_or(process::AutomaticEncoders()))), reporter_(options, err),
          // With one job, each video is done, from its size to its check, before the next begins: the
          // results come in the order given. With more, a check holds no encoder's place.
          runner_(outside, RunnerSetup{{}, GroupsFile(), jobs_ == 1, true}) {
        runner_.runAtOnce(jobs_);
    }

    // The first stopping signal's number, or 0.
    int run(const std::vector<ConversionRequest>& requests, CommandStyle style,
            const std::vector<std::optional<SizeDetection>>& read);
    const std::vector<std::optional<Ended>>& results() const { return results_; }

private:
    void add(std::size_t index, CommandStyle style, const std::optional<SizeDetection>& read);
    void follow();
    void jobEnded(int id, const JobResult& result);
    void say(int id, const Ended& ended);
    void signalled(int signal);

    int jobs_;
    Reporter reporter_;
    QueueRunner runner_;
    std::vector<ConversionRequest> requests_;
    std::map<int, std::size_t> indexOf_; // by the queue's item id
    std::vector<std::optional<Ended>> results_;
    QEventLoop loop_;
    bool done_ = false;
    int signal_ = 0;
    int signals_ = 0;
};

int Batch::run(const std::vector<ConversionRequest>& requests, CommandStyle style,
               const std::vector<std::optional<SizeDetection>>& read) {
    StoppingSignals stopping;
    QObject::connect(&stopping, &StoppingSignals::arrived, [this](int signal) { signalled(signal); });
    QObject::connect(&runner_, &QueueRunner::jobStarted, [this](int id) {
        reporter_.started(runner_.queue().find(id)->command);
    });
    QObject::connect(&runner_, &QueueRunner::changed, [this] { follow(); });
    QObject::connect(&runner_, &QueueRunner::itemChanged, [this] { follow(); });
    QObject::connect(&runner_, &QueueRunner::jobEnded, [this](int id, const JobResult& r) { jobEnded(id, r); });
    QObject::connect(&runner_, &QueueRunner::finishedAll, [this] {
        done_ = true;
        loop_.quit();
    });
    requests_ = requests;
    results_.resize(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        add(i, style, i < read.size() ? read[i] : std::nullopt);
    }
    runner_.start();
    if (!done_) {
        loop_.exec();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the ended runs' objects
    return signal_;
}

void Batch::add(std::size_t index, CommandStyle style, const std::optional<SizeDetection>& read) {
    const ConversionRequest& request = requests_[index];
    if (read) {
        indexOf_[runner_.addRead(request, style, *read)] = index;
    } else if (request.width.empty()) {
        runner_.add({request}, style); // its size is read first
        indexOf_[runner_.queue().items().back().id] = index;
    } else {
        indexOf_[runner_.addReady(request, style)] = index;
    }
}

// A video the queue will not run is said as it is found; the running ones' progress is drawn.
void Batch::follow() {
    for (const QueueItem& item : runner_.queue().items()) {
        const auto at = indexOf_.find(item.id);
        if (item.state == ItemState::NeedsAttention && at != indexOf_.end() && !results_[at->second]) {
            say(item.id, FromAttention(item));
        }
    }
    reporter_.progress(runner_.queue().items());
}

void Batch::jobEnded(int id, const JobResult& result) {
    say(id, FromJob(result, signal_));
}

void Batch::say(int id, const Ended& ended) {
    const std::size_t at = indexOf_.at(id);
    results_[at] = ended;
    reporter_.ended(requests_[at], ended);
}

void Batch::signalled(int signal) {
    signal_ = signal_ != 0 ? signal_ : signal;
    runner_.stopAll(++signals_ > 1); // a second signal does not wait
}
} // namespace

int ConvertAll(const ToolOptions& options, const std::vector<ConversionRequest>& requests, CommandStyle style,
               media::Outside& outside, std::ostream& err, const std::vector<std::optional<SizeDetection>>& read) {
    // A closed standard error must not end the tool before it has cleaned up.
    std::signal(SIGPIPE, SIG_IGN);
    Batch batch(options, outside, err);
    const int signal = batch.run(requests, style, read);
    const auto& results = batch.results();
    const auto word = [&](std::size_t i) { return results[i] ? results[i]->word : "not started"; };
    const auto converted = std::count_if(results.begin(), results.end(), [](const std::optional<Ended>& ended) {
        return ended && std::string_view(ended->word) == "finished";
    });
    const auto unconverted = static_cast<std::ptrdiff_t>(results.size()) - converted;
    // Results came as each ended; the summary names them in the order given.
    if (requests.size() > 1 && !options.quiet) {
        err << "In the order given:\n";
        for (std::size_t i = 0; i < requests.size(); ++i) {
            err << "  " << requests[i].sourceVideo << " -> " << requests[i].outputPath << ": " << word(i) << '\n';
        }
    }
    if (signal != 0) {
        return 128 + signal;
    }
    if (unconverted > 0) {
        err << "zarnik-video-maker-cli: " << converted << " converted, " << unconverted << " not: see above\n";
    } else if (!options.quiet) {
        err << converted << " converted\n";
    }
    return unconverted > 0 ? 1 : 0;
}

} // namespace zvm::cli
