#include "queue/Queue.h"

#include "core/Cut.h"
#include "core/FileSize.h"
#include "core/PrepareRun.h"
#include "media/SubtitleSource.h"
#include "core/Words.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace zvm::queue {

namespace {
constexpr Words<ItemState, 8> kWords{{
    {ItemState::Detecting, "detecting"},
    {ItemState::Waiting, "waiting"},
    {ItemState::NeedsAttention, "needs-attention"},
    {ItemState::Running, "running"},
    {ItemState::Finished, "finished"},
    {ItemState::Failed, "failed"},
    {ItemState::Stopped, "stopped"},
    {ItemState::Skipped, "skipped"},
}};

std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

} // namespace

bool Unfinished(ItemState state) {
    return state == ItemState::Detecting || state == ItemState::Waiting ||
           state == ItemState::NeedsAttention || state == ItemState::Running || state == ItemState::Stopped;
}

Status OutputConflict(const ConversionRequest& request, const Queue::SameFile& sameFile,
                      const std::function<bool(const std::string&)>& writtenElsewhere) {
    const std::string output = Normal(request.outputPath);
    if (Normal(request.sourceVideo) == output || sameFile(request.sourceVideo, request.outputPath)) {
        return Status::Failure(FailureKind::Refused, kOutputIsSource);
    }
    if (writtenElsewhere(output)) {
        return Status::Failure(FailureKind::Refused, kSharedOutput);
    }
    return {};
}

bool SameWork(const QueueItem& a, const QueueItem& b) {
    return a.style == b.style && a.request == b.request;
}

std::optional<double> KeptDuration(const QueueItem& item) {
    return KeptSeconds(item.request.cutStart, item.request.cutEnd, item.duration);
}

bool NeedsSubtitleStreams(const QueueItem& item) {
    return item.request.subtitles.mode == SubtitleMode::Auto && !item.subtitleStreams;
}

std::string ReasonText(const QueueItem& item) {
    std::string text = item.reason;
    if (const std::size_t at = text.find("%1"); at != std::string::npos) {
        text = text.substr(0, at) + item.detail + text.substr(at + 2);
    }
    return item.cause.empty() ? text : text + ": " + item.cause;
}

std::string_view StateWord(ItemState state) {
    return WordFor(kWords, state);
}

std::optional<ItemState> StateFromWord(std::string_view word) {
    return ValueFor(kWords, word);
}

Queue::Queue(Identify identify) : identify_(std::move(identify)) {}

std::optional<std::size_t> Queue::indexOf(int id) const {
    if (positionsStale_) {
        positions_.clear();
        for (std::size_t at = 0; at < items_.size(); ++at) {
            positions_.emplace(items_[at].id, at);
        }
        positionsStale_ = false;
    }
    const auto found = positions_.find(id);
    return found != positions_.end() ? std::optional(found->second) : std::nullopt;
}

QueueItem* Queue::item(int id) {
    const auto at = indexOf(id);
    if (!at) {
        return nullptr;
    }
    touched(id);
    return &items_[*at];
}

QueueChanges Queue::takeChanges() {
    QueueChanges taken{{changed_.begin(), changed_.end()}, orderChanged_};
    changed_.clear();
    orderChanged_ = false;
    return taken;
}

const QueueItem* Queue::find(int id) const {
    const auto at = indexOf(id);
    return at ? &items_[*at] : nullptr;
}

int Queue::add(ConversionRequest snapshot, CommandStyle style) {
    QueueItem added;
    added.id = nextId_++;
    added.request = std::move(snapshot);
    added.style = style;
    items_.push_back(std::move(added));
    positions_.emplace(items_.back().id, items_.size() - 1);
    touched(items_.back().id);
    reindex(items_.back());
    guardSource(items_.back());
    return items_.back().id;
}

NamedFile Queue::named(const std::string& path, const NamedFile* kept) const {
    std::string normal = Normal(path);
    if (kept != nullptr && kept->normal == normal) {
        return *kept;
    }
    return {std::move(normal), identify_(path)};
}

void Queue::reindex(const QueueItem& it, bool fresh) {
    const ConflictIndex::Entry* kept = fresh ? nullptr : index_.entry(it.id);
    index_.put(it.id, {named(it.request.sourceVideo, kept != nullptr ? &kept->source : nullptr),
                       named(it.request.outputPath, kept != nullptr ? &kept->output : nullptr)});
}

bool Queue::sourceFound(int id) const {
    const ConflictIndex::Entry* kept = index_.entry(id);
    return kept != nullptr && kept->source.file.has_value();
}

Status Queue::losesSource(int id, const NamedFile& source, const NamedFile& output) const {
    if (source.normal == output.normal || (source.file && source.file == output.file)) {
        return Status::Failure(FailureKind::Refused, kOutputIsSource);
    }
    return index_.readByAnother(id, output) ? Status::Failure(FailureKind::Refused, kOutputIsOtherSource)
                                            : Status();
}

// An item added later may be the source that a waiting one would write over: that one waits no more.
void Queue::guardSource(const QueueItem& added) {
    for (const int writer : index_.writersOver(added.id, index_.entry(added.id)->source)) {
        if (QueueItem* it = item(writer); it != nullptr && it->state == ItemState::Waiting) {
            it->state = ItemState::NeedsAttention;
            it->reason = kOutputIsOtherSource;
            it->command.clear();
        }
    }
}

int Queue::addReady(ConversionRequest request, CommandStyle style, std::optional<int> subtitleStreams) {
    const int id = add(std::move(request), style);
    item(id)->subtitleStreams = subtitleStreams;
    prepare(*item(id));
    return id;
}

// What Generate writes for the item, checked so that nothing it writes overwrites its source or
// another item's output.
void Queue::prepare(QueueItem& it) {
    it.command.clear();
    it.detail.clear();
    // The files are looked at again whenever the command is made: a subtitle file beside the video
    // may have come or gone.
    RunFacts facts = media::FilesOf(it.request);
    if (it.read) {
        AddRead(facts, *it.read);
    }
    facts.duration = it.duration;
    facts.hasAudio = it.hasAudio;
    facts.frameRate = it.frameRate;
    facts.subtitleStreams = it.subtitleStreams.value_or(0);
    const ConflictIndex::Entry* kept = index_.entry(it.id);
    const NamedFile source = named(it.request.sourceVideo, &kept->source);
    const NamedFile output = named(it.request.outputPath, &kept->output);
    const bool sameFile = source.file && source.file == output.file;
    facts.outputIsSource = facts.outputIsSource || sameFile;
    const Result<PreparedRun> prepared = PrepareRun(it.request, it.style, facts);
    it.burned = ResolveSubtitles(it.request.subtitles, facts);
    Status refused = prepared.status();
    if (refused.ok()) {
        refused = OutputConflict(
            prepared.value().request, [sameFile](const std::string&, const std::string&) { return sameFile; },
            [&](const std::string& normal) { return index_.writtenByAnother(it.id, normal); });
    }
    if (refused.ok()) {
        refused = losesSource(it.id, source, output);
    }
    if (!refused.ok()) {
        it.state = ItemState::NeedsAttention;
        it.reason = refused.message();
        it.detail = refused.detail();
        return;
    }
    const ConversionRequest chosen = it.request;
    it.state = ItemState::Waiting;
    it.reason.clear();
    it.note = prepared.value().note;
    it.request = prepared.value().request;
    // Kept as chosen: Automatic is resolved again as it starts.
    it.request.subtitles = chosen.subtitles;
    it.request.crop = chosen.crop;
    it.request.audio = chosen.audio;
    it.request.deinterlace = chosen.deinterlace;
    it.command = prepared.value().command;
    index_.put(it.id, {source, output});
}

void Queue::sizeKnown(int id, int width, int height, std::optional<double> duration,
                      std::optional<int> subtitleStreams, std::optional<bool> hasAudio,
                      std::optional<double> frameRate) {
    if (QueueItem* it = item(id); it != nullptr && it->state == ItemState::Detecting) {
        it->duration = duration;
        it->hasAudio = hasAudio ? hasAudio : it->hasAudio;
        it->frameRate = frameRate ? frameRate : it->frameRate;
        it->subtitleStreams = subtitleStreams ? subtitleStreams : it->subtitleStreams;
        if (it->request.width.empty()) {
            setSize(id, width, height);
        } else {
            prepare(*it);
        }
    }
}

void Queue::sizeUnknown(int id, const std::string& reason) {
    if (QueueItem* it = item(id); it != nullptr && it->state == ItemState::Detecting) {
        it->state = ItemState::NeedsAttention;
        it->reason = kNoSize;
        it->detail = reason;
    }
}

void Queue::setSize(int id, int width, int height) {
    QueueItem* it = item(id);
    if (it != nullptr && it->state != ItemState::Running) {
        it->request.width = std::to_string(width);
        it->request.height = std::to_string(height);
        prepare(*it);
    }
}

void Queue::setFileSize(int id, std::optional<double> megabytes, std::optional<double> duration) {
    QueueItem* it = item(id);
    if (it != nullptr && it->state != ItemState::Running && it->state != ItemState::Detecting) {
        it->request.fileSizeMB = megabytes;
        it->duration = duration ? duration : it->duration;
        prepare(*it);
    }
}

void Queue::setSubtitles(int id, const SubtitleChoice& choice, std::optional<int> subtitleStreams) {
    if (QueueItem* it = item(id); it != nullptr && subtitleStreams) {
        it->subtitleStreams = subtitleStreams;
    }
    change(id, [&choice](ConversionRequest& r) { r.subtitles = choice; });
}

void Queue::change(int id, const std::function<void(ConversionRequest&)>& edit) {
    QueueItem* it = item(id);
    if (it == nullptr || it->state == ItemState::Running) {
        return;
    }
    edit(it->request);
    if (it->state != ItemState::Detecting) {
        prepare(*it);
    }
}

void Queue::sourceRead(int id, const RunFacts& read) {
    if (QueueItem* it = item(id); it != nullptr) {
        it->read = read;
    }
}

void Queue::setOutput(int id, const std::string& output) {
    QueueItem* it = item(id);
    if (it != nullptr && it->state != ItemState::Running && it->state != ItemState::Detecting) {
        it->request.outputPath = output;
        prepare(*it);
    }
}

void Queue::start() {
    running_ = true;
}

void Queue::setParallel(int count) {
    parallel_ = std::max(1, count);
}

std::vector<int> Queue::runningIds() const {
    std::vector<int> ids;
    for (const QueueItem& it : items_) {
        if (it.state == ItemState::Running) {
            ids.push_back(it.id);
        }
    }
    return ids;
}

// In the queue's order: an item whose size is still being read holds back the ones after it.
std::optional<int> Queue::next() {
    const std::size_t running = runningIds().size();
    if (!running_ || running >= static_cast<std::size_t>(parallel_)) {
        return std::nullopt;
    }
    for (QueueItem& it : items_) {
        if (it.state == ItemState::Detecting) {
            return std::nullopt;
        }
        if (it.state == ItemState::Waiting) {
            touched(it.id); // it starts, or it waits no more
            // Checked again as it starts: links and files may have changed since it was added, and a
            // subtitle file beside the video may have come or gone.
            if (it.request.subtitles.mode != SubtitleMode::None) {
                prepare(it);
                if (it.state != ItemState::Waiting) {
                    continue;
                }
            }
            reindex(it, true);
            const ConflictIndex::Entry& now = *index_.entry(it.id);
            if (const Status loses = losesSource(it.id, now.source, now.output); !loses.ok()) {
                it.state = ItemState::NeedsAttention;
                it.reason = loses.message();
                continue;
            }
            it.state = ItemState::Running;
            it.encoded = 0;
            it.runSeconds = 0;
            return it.id;
        }
    }
    // Nothing more will come: the run is over once the last running item ends. Until then an item
    // added now still starts.
    running_ = running > 0;
    return std::nullopt;
}

void Queue::pauseAfterCurrent() {
    running_ = false;
}

void Queue::progressed(int id, double encodedSeconds, std::optional<double> duration, double runSeconds) {
    if (QueueItem* it = item(id); it != nullptr && it->state == ItemState::Running) {
        it->encoded = encodedSeconds;
        it->runSeconds = runSeconds;
        if (duration) {
            it->duration = duration;
        }
    }
}

void Queue::ended(int id, int exitCode, const std::string& log, bool partialRemoved, const std::string& cause) {
    QueueItem* it = item(id);
    if (it == nullptr || it->state != ItemState::Running) {
        return;
    }
    if (exitCode == 0) {
        it->state = ItemState::Finished;
        it->encoded = KeptDuration(*it).value_or(it->encoded);
    } else {
        it->state = ItemState::Failed;
        it->reason = exitCode < 0 ? (partialRemoved ? kEndedBySignalRemoved : kEndedBySignal)
                                  : (partialRemoved ? kExitCodeRemoved : kExitCode);
        it->detail = std::to_string(exitCode);
        it->log = log;
        it->cause = cause;
    }
}

void Queue::failedToStart(int id, const Status& failure) {
    if (QueueItem* it = item(id); it != nullptr && it->state == ItemState::Running) {
        const bool refused = failure.kind() == FailureKind::Refused;
        it->state = ItemState::Failed;
        it->reason = refused ? failure.message() : kNotStarted;
        it->detail = refused ? failure.detail() : failure.message();
    }
}

void Queue::checked(int id, CheckVerdict verdict, const std::string& line) {
    if (QueueItem* it = item(id); it != nullptr) {
        it->check = line;
        it->verdict = verdict;
        if (it->state == ItemState::Finished && verdict == CheckVerdict::Missing) {
            it->state = ItemState::Failed; // a clean exit without a file is no success
            it->reason = "%1";
            it->detail = line;
        }
    }
}

void Queue::stopped(int id, const std::string& reason) {
    if (QueueItem* it = item(id); it != nullptr && it->state == ItemState::Running) {
        it->state = ItemState::Stopped;
        it->reason = reason;
    }
    running_ = false;
}

void Queue::interrupted(int id) {
    if (QueueItem* it = item(id); it != nullptr && it->state == ItemState::Running) {
        it->state = ItemState::Waiting;
        it->encoded = 0;
    }
    running_ = false;
}

void Queue::skip(const std::vector<int>& ids, const std::string& reason) {
    for (const int id : ids) {
        if (QueueItem* it = item(id); it != nullptr && it->state == ItemState::Waiting) {
            it->state = ItemState::Skipped;
            it->reason = reason;
        }
    }
}

void Queue::remove(int id) {
    if (const QueueItem* it = find(id); it != nullptr && it->state != ItemState::Running) {
        withdraw(id);
    }
}

void Queue::withdraw(int id) {
    if (const auto at = indexOf(id)) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*at));
        index_.drop(id);
        touched(id);
        reordered();
    }
}

void Queue::move(int id, int by) {
    const auto at = indexOf(id);
    if (!at) {
        return;
    }
    const auto from = static_cast<std::ptrdiff_t>(*at);
    const auto to = std::clamp<std::ptrdiff_t>(from + by, 0, std::ssize(items_) - 1);
    if (to < from) {
        std::rotate(items_.begin() + to, items_.begin() + from, items_.begin() + from + 1);
    } else {
        std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + to + 1);
    }
    reordered();
    orderChanged_ = true;
}

void Queue::clearFinished() {
    std::erase_if(items_, [this](const QueueItem& i) {
        const bool finished = i.state == ItemState::Finished;
        if (finished) {
            index_.drop(i.id);
            touched(i.id);
        }
        return finished;
    });
    reordered();
}

std::vector<QueueItem> Queue::unfinished() const {
    std::vector<QueueItem> kept;
    std::copy_if(items_.begin(), items_.end(), std::back_inserter(kept),
                 [](const QueueItem& i) { return Unfinished(i.state); });
    return kept;
}

// The command is never kept: it is built again here by the same call as for a new item, so a kept
// item runs exactly as one added now would, and is refused for the same reasons.
void Queue::restore(std::vector<QueueItem> kept) {
    for (QueueItem& it : kept) {
        it.id = nextId_++;
        it.encoded = 0;
        it.runSeconds = 0;
        if (it.state == ItemState::Running) {
            it.state = ItemState::Waiting; // interrupted: it starts again from the beginning
        }
        items_.push_back(std::move(it));
        positions_.emplace(items_.back().id, items_.size() - 1);
        touched(items_.back().id);
        QueueItem& added = items_.back();
        reindex(added);
        guardSource(added);
        const bool sized = !added.request.width.empty() && !NeedsSubtitleStreams(added);
        if (sized && (added.state == ItemState::Waiting || added.state == ItemState::NeedsAttention)) {
            prepare(added);
        } else if (added.state == ItemState::Waiting) {
            added.state = ItemState::Detecting; // no size (or stream count) kept: it is read again
        }
    }
}

void Queue::needsAttention(int id, const std::string& reason, const std::string& detail) {
    if (QueueItem* it = item(id); it != nullptr && it->state != ItemState::Running) {
        it->state = ItemState::NeedsAttention;
        it->reason = reason;
        it->detail = detail;
        it->command.clear();
    }
}

QueueSummary Queue::summary() const {
    QueueSummary s;
    for (const QueueItem& it : items_) {
        const bool finished = it.state == ItemState::Finished;
        s.misfits += finished && it.verdict == CheckVerdict::Differs ? 1 : 0;
        s.finished += finished && it.verdict != CheckVerdict::Differs ? 1 : 0;
        s.failed += it.state == ItemState::Failed ? 1 : 0;
        s.skipped += it.state == ItemState::Stopped || it.state == ItemState::Skipped ||
                             it.state == ItemState::NeedsAttention
                         ? 1
                         : 0;
    }
    return s;
}

std::optional<double> Queue::secondsLeft(int id) const {
    const QueueItem* it = find(id);
    if (it == nullptr || it->state != ItemState::Running || !KeptDuration(*it) || it->encoded <= 0 ||
        it->runSeconds < kSteadySeconds) {
        return std::nullopt;
    }
    return std::max(0.0, *KeptDuration(*it) - it->encoded) / (it->encoded / it->runSeconds);
}

std::optional<double> Queue::totalSecondsLeft() const {
    double encoded = 0;
    double seconds = 0;
    double remaining = 0;
    double slowest = 0; // a running item's time cannot be shared out
    int toRun = 0;
    for (const QueueItem& it : items_) {
        if (it.state == ItemState::Running) {
            slowest = std::max(slowest, secondsLeft(it.id).value_or(0));
        }
        if (it.state == ItemState::Finished || it.state == ItemState::Running) {
            encoded += it.encoded;
            seconds += it.runSeconds;
        }
        if (it.state == ItemState::Waiting || it.state == ItemState::Running ||
            it.state == ItemState::Detecting) {
            const std::optional<double> kept = KeptDuration(it);
            if (!kept) {
                return std::nullopt;
            }
            remaining += std::max(0.0, *kept - it.encoded);
            ++toRun;
        }
    }
    if (encoded <= 0 || seconds < kSteadySeconds) {
        return std::nullopt;
    }
    const int lanes = std::clamp(toRun, 1, parallel_);
    return std::max(slowest, remaining / (encoded / seconds) / lanes);
}

} // namespace zvm::queue
