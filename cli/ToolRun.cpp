#include "ToolRun.h"

#include "ClockText.h"
#include "EncoderOutput.h"
#include "EncoderProcess.h"
#include "FileSize.h"
#include "Generate.h"
#include "Outside.h"
#include "Passes.h"
#include "StepJob.h"
#include "TextCrossing.h"
#include "Validation.h"
#include "WrittenFile.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
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

// What was at a path before a run, so that only what the run wrote is removed.
struct Item {
    enum class State { Waiting, Running, Finished, Failed, Stopped };
    ConversionRequest request;
    State state = State::Waiting;
    std::string why; // a failure's reason, or the after-check's line
    std::string log; // the encoder's last words, for a failed run
    bool removed = false;
    std::optional<double> duration;
    double encoded = 0;
    double runSeconds = 0;
};

// Follows the run on standard error: a progress bar on a terminal, one line per ended video
// elsewhere.
class Reporter {
public:
    Reporter(const ToolOptions& options, std::ostream& err)
        : options_(options), err_(err), bar_(::isatty(2) == 1) {}

    void started(const std::string& command) {
        if (options_.verbose) {
            err_ << command << '\n';
        }
    }

    void progress(const Item& item) {
        if (!bar_ || options_.quiet || !item.duration || *item.duration <= 0) {
            return;
        }
        const double fraction = std::min(1.0, item.encoded / *item.duration);
        const int filled = static_cast<int>(fraction * 20);
        std::ostringstream line;
        line << '\r' << std::setw(3) << static_cast<int>(fraction * 100) << "% [" << std::string(filled, '#')
             << std::string(20 - filled, '-') << "] ";
        if (item.runSeconds > 0 && item.encoded > 0) {
            const double speed = item.encoded / item.runSeconds;
            line << std::fixed << std::setprecision(1) << speed << "x "
                 << ClockText(std::max(0.0, *item.duration - item.encoded) / speed) << " left ";
        }
        line << files::PathToStd(QFileInfo(PathToQString(item.request.sourceVideo)).fileName()) << "\x1b[K";
        err_ << line.str() << std::flush;
    }

    void ended(const Item& item) {
        if (bar_ && !options_.quiet) {
            err_ << "\r\x1b[K";
        }
        const bool good = item.state == Item::State::Finished;
        if (options_.quiet && good) {
            return;
        }
        const char* const word = good ? "finished" : item.state == Item::State::Stopped ? "stopped" : "failed";
        err_ << item.request.sourceVideo << " -> " << item.request.outputPath << ": " << word
             << (item.why.empty() ? "" : ": " + item.why)
             << (item.removed ? "; the file it wrote was removed" : "") << '\n';
        if (options_.verbose && !item.log.empty()) {
            err_ << item.log << '\n';
        }
    }

private:
    const ToolOptions& options_;
    std::ostream& err_;
    bool bar_;
};

class Batch {
public:
    Batch(const ToolOptions& options, CommandStyle style, std::ostream& err)
        : style_(style), reporter_(options, err) {}

    // The first stopping signal's number, or 0.
    int run(std::vector<Item>& items);

private:
    void waitUntil(const std::function<bool()>& done);
    void wake() {
        if (loop_ != nullptr) {
            loop_->quit();
        }
    }
    // Asks the outside something and waits for the answer; none when a signal came first.
    template <class Answer, class Ask> std::optional<Answer> await(Ask ask);
    void signalled();
    void convert(Item& item);
    void encode(Item& item, const std::string& command);
    void awaitGroup(pid_t group);
    static void fail(Item& item, std::string why);
    static void removeWritten(Item& item, const std::optional<files::FileStamp>& before);

    CommandStyle style_;
    Reporter reporter_;
    media::RealOutside outside_;
    QEventLoop* loop_ = nullptr;
    EncoderJob* job_ = nullptr;
    int signal_ = 0;
    int signals_ = 0;
};

void Batch::waitUntil(const std::function<bool()>& done) {
    while (!done()) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
}

template <class Answer, class Ask> std::optional<Answer> Batch::await(Ask ask) {
    auto answer = std::make_shared<std::optional<Answer>>();
    ask([this, answer](const Answer& given) {
        *answer = given;
        wake();
    });
    waitUntil([&] { return answer->has_value() || signal_ != 0; });
    return *answer;
}

void Batch::signalled() {
    char byte = 0;
    while (::read(gSignalPipe[0], &byte, 1) == 1) {
        signal_ = signal_ != 0 ? signal_ : byte;
        if (job_ != nullptr && ++signals_ > 1) {
            job_->kill(); // a second signal does not wait
        } else if (job_ != nullptr) {
            job_->stop();
        }
    }
    wake();
}

int Batch::run(std::vector<Item>& items) {
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
    for (Item& item : items) {
        if (signal_ != 0) {
            break;
        }
        convert(item);
        reporter_.ended(item);
    }
    return signal_;
}

void Batch::fail(Item& item, std::string why) {
    item.state = Item::State::Failed;
    item.why = std::move(why);
}

// Only a regular file this run wrote or replaced; one it had not yet touched stays.
void Batch::removeWritten(Item& item, const std::optional<files::FileStamp>& before) {
    item.removed = files::RemoveWritten(item.request.outputPath, before);
}

void Batch::convert(Item& item) {
    ConversionRequest& r = item.request;
    if (r.width.empty() || (r.fileSizeMB && !item.duration)) { // a file size needs the duration
        const auto found = await<SizeDetection>([&](auto done) {
            outside_.detectSize(PathToQString(r.sourceVideo), PathToQString(r.encoderPath), std::move(done));
        });
        if (!found) {
            item.state = Item::State::Stopped;
            return;
        }
        if (!found->size) {
            return fail(item, "the size could not be read: " + files::PathToStd(found->error));
        }
        if (r.width.empty()) {
            r.width = std::to_string(found->size->width());
            r.height = std::to_string(found->size->height());
        }
        item.duration = found->duration;
    }
    ConversionRequest sized = r;
    if (const Status size = ApplyFileSize(sized, item.duration); !size.ok()) {
        return fail(item, size.text());
    }
    const auto outcome = Generate(sized, style_);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
        return fail(item, refusal->title + ' ' + refusal->prompt);
    }
    const auto& result = std::get<GenerateResult>(outcome);
    if (const Status unusable = CheckEncodable(result); !unusable.ok()) {
        return fail(item, unusable.text());
    }
    r.videoBitrate = result.request.videoBitrate; // what a file size made of it, for the after-check
    encode(item, result.command.value_or(""));
}

void Batch::encode(Item& item, const std::string& command) {
    const ConversionRequest& r = item.request;
    const std::optional<files::FileStamp> before = files::StampOf(r.outputPath);
    reporter_.started(command);
    // Tied: an encoder never outlives the tool, however the tool ends.
    auto started = media::StartEncoding(outside_, PathToQString(command), PathToQString(r.outputPath),
                                        UsesTwoPasses(r), PathToQString(r.encoderPath), process::Lifetime::Tied);
    if (!started.ok()) {
        return fail(item, "the encoder could not be started: " + started.status().text());
    }
    const std::unique_ptr<EncoderJob> job = std::move(started).value();
    item.state = Item::State::Running;
    media::EncoderOutput output;
    QElapsedTimer clock;
    clock.start();
    std::optional<std::pair<int, int>> end; // exit code, signal
    QObject::connect(job.get(), &EncoderJob::outputArrived, job.get(), [&](const QByteArray& bytes) {
        output.append(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        item.encoded = output.time().value_or(0);
        item.duration = item.duration ? item.duration : output.duration();
        item.runSeconds = static_cast<double>(clock.elapsed()) / 1000;
        reporter_.progress(item);
    });
    QObject::connect(job.get(), &EncoderJob::finished, job.get(), [&](int exitCode, int signal) {
        end = {exitCode, signal};
        wake();
    });
    job_ = job.get();
    if (signal_ != 0) {
        job_->stop();
    }
    waitUntil([&] { return end.has_value(); });
    job_ = nullptr;
    const auto* steps = qobject_cast<StepJob*>(job.get());
    if (const auto* process = qobject_cast<EncoderProcess*>(steps != nullptr ? steps->current() : job.get())) {
        awaitGroup(process->groupId());
    }
    if (signal_ == 0 && (end->first != 0 || end->second != 0)) {
        fail(item, end->second != 0 ? "the encoder was ended by signal " + std::to_string(end->second)
                                    : "the encoder ended with exit code " + std::to_string(end->first));
        item.log = output.screen();
    }
    const auto target = TargetFor(r, style_);
    if (signal_ == 0 && item.state == Item::State::Running && target) {
        const SourceFacts source{item.duration, output.inputHasAudio().value_or(true), std::nullopt};
        const auto report = await<CheckReport>([&](auto done) {
            outside_.checkOutput(PathToQString(r.outputPath), PathToQString(r.encoderPath), *target, source,
                                 std::move(done));
        });
        if (report) {
            item.why = ToStd(report->line);
            const bool bad = report->verdict == CheckVerdict::Differs || report->verdict == CheckVerdict::Missing;
            item.state = bad ? Item::State::Failed : Item::State::Finished;
        }
    }
    if (signal_ != 0) {
        item.state = Item::State::Stopped;
        item.why = "on signal " + std::to_string(signal_);
    } else if (item.state == Item::State::Running) {
        item.state = Item::State::Finished;
    }
    if (item.state != Item::State::Finished) {
        removeWritten(item, before);
    }
}

// Until no process of the encoder's group is left: what the encoder left behind may still be
// writing its output. This process adopts them (see ConvertAll) and reaps them here. Past the grace
// time, or once a signal came, they are killed.
void Batch::awaitGroup(pid_t group) {
    QElapsedTimer clock;
    clock.start();
    bool killed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [this] { wake(); });
    poll.start(kGroupPollMilliseconds);
    waitUntil([&] {
        while (::waitpid(-group, nullptr, WNOHANG) > 0) {
        }
        if (::kill(-group, 0) != 0 && errno == ESRCH) {
            return true;
        }
        if (!killed && (signal_ != 0 || clock.elapsed() > kGroupGraceMilliseconds)) {
            ::kill(-group, SIGKILL);
            killed = true;
            clock.restart();
        }
        return killed && clock.elapsed() > kKilledGraceMilliseconds; // one not ours to reap
    });
}
} // namespace

int ConvertAll(const ToolOptions& options, const std::vector<ConversionRequest>& requests, CommandStyle style,
               std::ostream& err) {
    // What an encoder leaves behind comes to this process rather than to init, so its end can be
    // waited for and reaped.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // A closed standard error must not end the tool before it has cleaned up.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<Item> items;
    for (const ConversionRequest& r : requests) {
        items.emplace_back().request = r;
    }
    Batch batch(options, style, err);
    const int signal = batch.run(items);
    if (signal != 0) {
        return 128 + signal;
    }
    const auto converted = std::count_if(items.begin(), items.end(),
                                         [](const Item& item) { return item.state == Item::State::Finished; });
    const auto unconverted = static_cast<std::ptrdiff_t>(items.size()) - converted;
    if (unconverted > 0) {
        err << "zarnik-video-maker-cli: " << converted << " converted, " << unconverted << " not: see above\n";
    } else if (!options.quiet) {
        err << converted << " converted\n";
    }
    return unconverted > 0 ? 1 : 0;
}

} // namespace zvm::cli
