#include "cli/ToolRun.h"

#include "core/ClockText.h"
#include "core/Cut.h"
#include "media/EncoderOutput.h"
#include "process/EncoderProcess.h"
#include "core/FileSize.h"
#include "media/MediaWorker.h"
#include "core/PrepareRun.h"
#include "media/Outside.h"
#include "media/Passes.h"
#include "process/Spawn.h"
#include "process/StepJob.h"
#include "files/TextCrossing.h"
#include "cli/ToolOptions.h"
#include "core/Validation.h"
#include "files/WrittenFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <iomanip>
#include <memory>
#include <ostream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zvm::cli {

namespace {
using files::PathToQString;
using files::ToStd;

constexpr int kStoppingSignals[] = {SIGINT, SIGTERM, SIGHUP};
// How long what an encoder left behind may go on writing after it ended, and how long killed ones
// may take to be gone, before the run goes on without them.
constexpr int kGroupGraceMilliseconds = 20000;
constexpr int kKilledGraceMilliseconds = 5000;
constexpr int kGroupPollMilliseconds = 50;

int gSignalPipe[2] = {-1, -1};

// Only what is safe in a handler: the signal's number into a pipe, which the event loop reads.
void OnSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[1], &byte, 1);
    errno = saved;
}

// One video of the batch, from its size to its verdict.
struct Item {
    // Waiting: not begun; Sizing: its size asked of the media worker; Ready: its command made;
    // Running: its encoder, or what that left behind, still runs; Checking: its output being read back.
    // Skipped: never started, for a signal came first.
    enum class State { Waiting, Sizing, Ready, Running, Checking, Finished, Failed, Stopped, Skipped };
    ConversionRequest request;
    State state = State::Waiting;
    std::string command;
    std::string why; // a failure's reason, or the after-check's line
    std::string log; // the encoder's last words, for a failed run
    bool removed = false;
    std::optional<double> duration;
    std::optional<SizeDetection> read; // read before the run: not asked again
    double encoded = 0; // over all its passes, in seconds of the kept part
    double runSeconds = 0;

    // While it runs: what was at the output before (so that only what the run wrote is removed), the
    // encoder, what it says, and how it ended (exit code, signal).
    std::optional<files::FileStamp> before;
    std::unique_ptr<EncoderJob> job;
    media::EncoderOutput output;
    QElapsedTimer clock;
    std::optional<std::pair<int, int>> end;
    // The wait for what the encoder left behind.
    std::unique_ptr<QTimer> groupPoll;
    QElapsedTimer groupClock;
    bool groupKilled = false;

    bool ended() const {
        return state == State::Finished || state == State::Failed || state == State::Stopped ||
               state == State::Skipped;
    }
};

const char* Word(Item::State state) {
    switch (state) {
    case Item::State::Finished:
        return "finished";
    case Item::State::Stopped:
        return "stopped";
    case Item::State::Skipped:
        return "not started";
    default:
        return "failed";
    }
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
    void progress(const std::deque<Item>& items) {
        if (!bar_ || options_.quiet) {
            return;
        }
        std::vector<std::pair<const Item*, double>> running; // with the seconds it keeps
        for (const Item& item : items) {
            const auto kept = KeptSeconds(item.request.cutStart, item.request.cutEnd, item.duration);
            if (item.state == Item::State::Running && kept && *kept > 0) {
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
            line << fileName(*item);
        } else {
            line << running.size() << " running:";
            for (const auto& [item, kept] : running) {
                line << ' ' << static_cast<int>(std::min(1.0, item->encoded / kept) * 100) << "% "
                     << fileName(*item);
            }
        }
        err_ << line.str() << "\x1b[K" << std::flush;
    }

    void ended(const Item& item) {
        clearBar();
        const bool good = item.state == Item::State::Finished;
        if (options_.quiet && good) {
            return;
        }
        err_ << item.request.sourceVideo << " -> " << item.request.outputPath << ": " << Word(item.state)
             << (item.why.empty() ? "" : ": " + item.why)
             << (item.removed ? "; the file it wrote was removed" : "") << '\n';
        if (options_.verbose && !item.log.empty()) {
            err_ << item.log << '\n';
        }
    }

private:
    void clearBar() {
        if (bar_ && !options_.quiet) {
            err_ << "\r\x1b[K";
        }
    }
    static std::string fileName(const Item& item) {
        return files::PathToStd(QFileInfo(PathToQString(item.request.sourceVideo)).fileName());
    }

    const ToolOptions& options_;
    std::ostream& err_;
    bool bar_;
};

// Runs the items side by side: every size is asked of the media worker at once (it answers one after
// another, while encoders run), and up to `jobs` encoders run at a time, started in the order given.
// After-checks do not hold an encoder's place. With one job, each video is done, from its size to its
// check, before the next begins: one after another, results in the order given. Everything is driven
// by callbacks from one event loop.
class Batch {
public:
    Batch(const ToolOptions& options, CommandStyle style, std::ostream& err)
        : jobs_(std::max(1, options.jobs.value_or(process::AutomaticEncoders()))), ahead_(jobs_ > 1), style_(style),
          reporter_(options, err) {}
    ~Batch() { *alive_ = false; }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // The first stopping signal's number, or 0.
    int run(std::deque<Item>& items);

private:
    void signalled();
    void askSize(Item& item);
    void sized(Item& item, const SizeDetection& found);
    void prepare(Item& item);
    void startMore();
    void encode(Item& item);
    void encoderEnded(Item& item);
    void pollGroup(Item& item, pid_t group);
    void afterEncode(Item& item);
    void finish(Item& item);
    void finish(Item& item, Item::State state, std::string why);
    void quitWhenDone();

    int jobs_;
    bool ahead_; // sizes read and outputs checked while other videos encode
    CommandStyle style_;
    Reporter reporter_;
    media::RealOutside outside_;
    std::deque<Item>* items_ = nullptr;
    QEventLoop loop_;
    int signal_ = 0;
    int signals_ = 0;
    // Answers of the media worker may come after the batch is gone: they are then dropped.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

int Batch::run(std::deque<Item>& items) {
    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        struct sigaction action {};
        action.sa_handler = OnSignal;
        action.sa_flags = SA_RESTART;
        for (const int signal : kStoppingSignals) {
            ::sigaction(signal, &action, nullptr);
        }
    }
    QSocketNotifier notifier(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [this] { signalled(); });
    items_ = &items;
    for (Item& item : items) {
        const bool sizeGiven = !item.request.width.empty() && !item.request.fileSizeMB;
        if (item.read && (item.read->size || !sizeGiven)) {
            sized(item, *item.read);
        } else if (item.read || (!item.request.width.empty() && (!item.request.fileSizeMB || item.duration))) {
            prepare(item); // a read for its subtitles alone that failed: the size given stands, as unread
        } else if (ahead_) {
            askSize(item);
        }
    }
    startMore();
    quitWhenDone();
    if (!std::all_of(items.begin(), items.end(), [](const Item& item) { return item.ended(); })) {
        loop_.exec();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the ended encoders' objects
    items_ = nullptr;
    return signal_;
}

void Batch::signalled() {
    char byte = 0;
    while (::read(gSignalPipe[0], &byte, 1) == 1) {
        signal_ = signal_ != 0 ? signal_ : byte;
        const bool again = ++signals_ > 1; // a second signal does not wait
        for (Item& item : *items_) {
            if (item.state == Item::State::Running && item.job && item.job->isRunning() && again) {
                item.job->kill();
            } else if (item.state == Item::State::Running && item.job && item.job->isRunning()) {
                item.job->stop();
            } else if (item.state == Item::State::Checking) { // as for a running one: its output goes
                finish(item, Item::State::Stopped, "on signal " + std::to_string(signal_));
            } else if (!item.ended() && item.state != Item::State::Running) {
                item.state = Item::State::Skipped;
            }
        }
    }
    quitWhenDone();
}

void Batch::askSize(Item& item) {
    item.state = Item::State::Sizing;
    outside_.detectSize(PathToQString(item.request.sourceVideo), PathToQString(item.request.encoderPath),
                        [this, alive = alive_, &item](const SizeDetection& found) {
                            if (*alive && item.state == Item::State::Sizing) {
                                sized(item, found);
                                startMore();
                            }
                        });
}

void Batch::sized(Item& item, const SizeDetection& found) {
    if (!found.size) {
        return finish(item, Item::State::Failed, "the size could not be read: " + files::PathToStd(found.error));
    }
    if (item.request.width.empty()) { // a file size alone asks for the duration
        item.request.width = std::to_string(found.size->width());
        item.request.height = std::to_string(found.size->height());
    }
    item.duration = found.duration;
    prepare(item);
}

void Batch::prepare(Item& item) {
    RunFacts facts; // its subtitles resolved and its files checked before the batch began
    facts.duration = item.duration;
    const Result<PreparedRun> prepared = PrepareRun(item.request, style_, facts);
    if (!prepared.ok()) {
        const Status why = prepared.status();
        return finish(item, Item::State::Failed, why.title().empty() ? why.text() : why.title() + ' ' + why.message());
    }
    item.request.videoBitrate = prepared.value().request.videoBitrate; // what a file size made of it, for the after-check
    item.command = prepared.value().command;
    item.state = Item::State::Ready;
}

// Fills the free places with the next videos, in the order given; none once a signal came.
void Batch::startMore() {
    const auto busy = [this] {
        return std::count_if(items_->begin(), items_->end(), [this](const Item& item) {
            return item.state == Item::State::Running ||
                   (!ahead_ && (item.state == Item::State::Sizing || item.state == Item::State::Checking));
        });
    };
    for (Item& item : *items_) {
        if (signal_ != 0 || busy() >= jobs_) {
            return;
        }
        if (item.state == Item::State::Waiting) { // its size not yet asked for
            askSize(item);
        }
        if (item.state == Item::State::Ready) {
            encode(item);
        }
    }
}

void Batch::encode(Item& item) {
    const ConversionRequest& r = item.request;
    item.before = files::StampOf(r.outputPath);
    reporter_.started(item.command);
    // Tied: an encoder never outlives the tool, however the tool ends.
    auto started = media::StartEncoding(outside_, PathToQString(item.command), PathToQString(r.outputPath),
                                        UsesTwoPasses(r), PathToQString(r.encoderPath), process::Lifetime::Tied);
    if (!started.ok()) {
        return finish(item, Item::State::Failed,
                      "the encoder could not be started: " + started.status().text());
    }
    item.job = std::move(started).value();
    item.output.startPass(0, item.job->stepCount());
    item.state = Item::State::Running;
    item.clock.start();
    if (TargetFor(r, style_)) { // its after-check will need the media worker: it starts while this encodes
        media::MediaWorker::Shared().startEarly();
    }
    EncoderJob* const job = item.job.get();
    QObject::connect(job, &EncoderJob::outputArrived, job, [this, &item](const QByteArray& bytes) {
        item.output.append(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        item.duration = item.duration ? item.duration : item.output.duration();
        item.encoded =
            item.output.encodedOverPasses(KeptSeconds(item.request.cutStart, item.request.cutEnd, item.duration));
        item.runSeconds = static_cast<double>(item.clock.elapsed()) / 1000;
        reporter_.progress(*items_);
    });
    QObject::connect(job, &EncoderJob::stepStarted, job,
                     [&item](std::size_t step, std::size_t steps) { item.output.startPass(step, steps); });
    QObject::connect(job, &EncoderJob::finished, job, [this, &item](int exitCode, int signal) {
        item.end = {exitCode, signal};
        encoderEnded(item);
    });
}

// What the encoder left behind may still be writing its output: its whole group is waited for. This
// process adopts them (see ConvertAll) and reaps them. Past the grace time, or once a signal came,
// they are killed.
void Batch::encoderEnded(Item& item) {
    const auto* steps = qobject_cast<StepJob*>(item.job.get());
    const auto* process = qobject_cast<EncoderProcess*>(steps != nullptr ? steps->current() : item.job.get());
    if (process == nullptr) {
        return afterEncode(item);
    }
    const pid_t group = process->groupId();
    item.groupClock.start();
    item.groupPoll = std::make_unique<QTimer>();
    QObject::connect(item.groupPoll.get(), &QTimer::timeout, [this, &item, group] { pollGroup(item, group); });
    item.groupPoll->start(kGroupPollMilliseconds);
    pollGroup(item, group);
}

void Batch::pollGroup(Item& item, pid_t group) {
    while (::waitpid(-group, nullptr, WNOHANG) > 0) {
    }
    bool gone = ::kill(-group, 0) != 0 && errno == ESRCH;
    if (!gone && !item.groupKilled && (signal_ != 0 || item.groupClock.elapsed() > kGroupGraceMilliseconds)) {
        ::kill(-group, SIGKILL);
        item.groupKilled = true;
        item.groupClock.restart();
    }
    gone = gone || (item.groupKilled && item.groupClock.elapsed() > kKilledGraceMilliseconds); // not ours to reap
    if (gone && item.groupPoll) {
        item.groupPoll->stop();
        item.groupPoll.release()->deleteLater(); // it may be the one calling
        afterEncode(item);
    }
}

void Batch::afterEncode(Item& item) {
    const auto [exitCode, signal] = *item.end;
    if (signal_ != 0) {
        return finish(item, Item::State::Stopped, "on signal " + std::to_string(signal_));
    }
    if (exitCode != 0 || signal != 0) {
        item.log = item.output.screen();
        return finish(item, Item::State::Failed,
                      signal != 0 ? "the encoder was ended by signal " + std::to_string(signal)
                                  : "the encoder ended with exit code " + std::to_string(exitCode));
    }
    const auto target = TargetFor(item.request, style_);
    if (!target) {
        return finish(item, Item::State::Finished, {});
    }
    item.state = Item::State::Checking;
    const SourceFacts source{item.duration, item.output.inputHasAudio().value_or(true), std::nullopt};
    outside_.checkOutput(PathToQString(item.request.outputPath), PathToQString(item.request.encoderPath), *target,
                         source, [this, alive = alive_, &item](const CheckReport& report) {
                             if (!*alive || item.state != Item::State::Checking) {
                                 return;
                             }
                             const bool bad = report.verdict == CheckVerdict::Differs ||
                                              report.verdict == CheckVerdict::Missing;
                             finish(item, bad ? Item::State::Failed : Item::State::Finished, ToStd(report.line));
                         });
    startMore(); // the check holds no encoder's place
}

void Batch::finish(Item& item, Item::State state, std::string why) {
    item.state = state;
    item.why = std::move(why);
    finish(item);
}

// A video's end: what a failed or stopped run wrote is removed (only a regular file this run wrote
// or replaced; one it had not yet touched stays), the result said, and the next video started.
void Batch::finish(Item& item) {
    if (item.state != Item::State::Finished && item.job) {
        item.removed = files::RemoveWritten(item.request.outputPath, item.before);
    }
    if (item.job) {
        item.job.release()->deleteLater(); // its own signal may be what ended it
    }
    reporter_.ended(item);
    startMore();
    quitWhenDone();
}

// Done once every video has ended, or, after a signal, once no encoder is left.
void Batch::quitWhenDone() {
    if (items_ != nullptr &&
        std::all_of(items_->begin(), items_->end(), [](const Item& item) { return item.ended(); })) {
        loop_.quit();
    }
}
} // namespace

int ConvertAll(const ToolOptions& options, const std::vector<ConversionRequest>& requests, CommandStyle style,
               std::ostream& err, const std::vector<std::optional<SizeDetection>>& read) {
    // What an encoder leaves behind comes to this process rather than to init, so its end can be
    // waited for and reaped.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // A closed standard error must not end the tool before it has cleaned up.
    std::signal(SIGPIPE, SIG_IGN);
    std::deque<Item> items; // never moved: the running ones' callbacks hold them
    for (std::size_t i = 0; i < requests.size(); ++i) {
        Item& item = items.emplace_back();
        item.request = requests[i];
        item.read = i < read.size() ? read[i] : std::nullopt;
    }
    const int signal = Batch(options, style, err).run(items);
    const auto converted = std::count_if(items.begin(), items.end(),
                                         [](const Item& item) { return item.state == Item::State::Finished; });
    const auto unconverted = static_cast<std::ptrdiff_t>(items.size()) - converted;
    // Results came as each ended; the summary names them in the order given.
    if (items.size() > 1 && !options.quiet) {
        err << "In the order given:\n";
        for (const Item& item : items) {
            err << "  " << item.request.sourceVideo << " -> " << item.request.outputPath << ": "
                << Word(item.state) << '\n';
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
