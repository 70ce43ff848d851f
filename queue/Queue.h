#pragma once

#include "core/CommandLine.h"
#include "core/ConversionRequest.h"
#include "core/OutputTarget.h"
#include "core/RunReasons.h"
#include "core/Status.h"
#include "core/PrepareRun.h"
#include "core/Text.h"
#include "queue/ConflictIndex.h"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zvm::queue {

// Where an item is on its way. Waiting items run in order, up to the queue's parallel count at once;
// the others are not run.
enum class ItemState { Detecting, Waiting, NeedsAttention, Running, Finished, Failed, Stopped, Skipped };

// One video of the queue: the window's settings as they were when it was added, its command once
// its size is known, and how its run went.
struct QueueItem {
    int id = 0;
    ConversionRequest request;
    CommandStyle style = CommandStyle::Classic;
    std::string command;
    ItemState state = ItemState::Detecting;
    // Why it needs attention, failed, was stopped or skipped: a fixed text, whose %1 stands for the
    // detail (so a window can show the text in the user's language).
    std::string reason;
    std::string detail;
    std::optional<double> duration; // of the source, in seconds
    std::optional<bool> hasAudio;   // whether the source has sound, from the read of its size
    std::optional<double> frameRate; // the source's frames a second, from the same read
    double encoded = 0;             // seconds of the part kept encoded so far (from 0 with a cut too)
    double runSeconds = 0;          // wall-clock seconds of its run so far
    std::string log;                // the encoder's last words, for a failed item
    std::string cause;              // what those words say went wrong, a fixed text; or empty
    std::string check;              // the after-check's line for a finished item
    CheckVerdict verdict = CheckVerdict::NotChecked;
    // Subtitles: the user's choice is request.subtitles (none unless asked for); this is what the
    // command draws, with Automatic resolved as the item was last prepared (again as it starts).
    SubtitleChoice burned;
    // How many subtitle streams the source has, from the read of its size; unknown until read.
    std::optional<int> subtitleStreams;
    // What its command does beyond what was asked (see RunReasons.h), as it was last prepared.
    std::string note;
    // The last read of its source (its streams, field order and, when its choices needed a look,
    // its black bars). Not kept: a restored item's command stands as it was prepared until the
    // source is read again.
    std::optional<RunFacts> read;
};

// What changed in a queue since it was last asked: the items changed, added or gone (by id), and
// whether their order changed. A store keeps what changed and no more.
struct QueueChanges {
    std::vector<int> items;
    bool order = false;
};

struct QueueSummary {
    int finished = 0; // and, as far as checked, fitting its target
    int misfits = 0;  // finished, but the after-check says the file does not fit its target
    int failed = 0;
    int skipped = 0; // stopped, skipped, and those still needing attention
};

// The queue's logic, with no window and no process: items, their states and order, and the time
// arithmetic. Whoever runs encoders tells it what happened, and asks it what to start next.
class Queue {
public:
    // Whether two paths name the same existing file (the source is never overwritten).
    using SameFile = std::function<bool(const std::string&, const std::string&)>;
    // The file a path reaches, nothing where there is none: looked at once per item and change, and
    // kept, so that the checks of an item against the others look at no other file.
    using Identify = std::function<std::optional<process::FileId>(const std::string&)>;
    explicit Queue(Identify identify);

    // An item whose size is still to be detected, or one complete now.
    int add(ConversionRequest snapshot, CommandStyle style);
    int addReady(ConversionRequest request, CommandStyle style, std::optional<int> subtitleStreams = std::nullopt);
    // A size already given (an item read for its subtitle streams alone) is kept.
    void sizeKnown(int id, int width, int height, std::optional<double> duration,
                   std::optional<int> subtitleStreams = std::nullopt, std::optional<bool> hasAudio = std::nullopt,
                   std::optional<double> frameRate = std::nullopt);
    void sizeUnknown(int id, const std::string& reason);
    // A read of the source, kept for the commands made from now on.
    void sourceRead(int id, const RunFacts& read);
    // The user mends an item: a new size or output, checked again.
    void setSize(int id, int width, int height);
    void setOutput(int id, const std::string& output);
    // The size its output should reach (none: its bitrates as given), with the source's duration
    // when it was read only now.
    void setFileSize(int id, std::optional<double> megabytes, std::optional<double> duration = std::nullopt);
    // The subtitles to burn in (None, Automatic or a file, and their size), with the source's subtitle
    // stream count when it was read only now.
    void setSubtitles(int id, const SubtitleChoice& choice, std::optional<int> subtitleStreams = std::nullopt);
    // Any other choice of the item (its crop, sound stream, quality), made by `edit`, and checked
    // again; an item being read is prepared once its size is known, a running one is left alone.
    void change(int id, const std::function<void(ConversionRequest&)>& edit);

    // Running. start() lets the queue run; next() names the item to start while fewer than
    // parallel() run, and marks it Running: items may end in any order, and next() may be asked
    // again at any time. One at a time unless told otherwise.
    void setParallel(int count);
    int parallel() const { return parallel_; }
    void start();
    std::optional<int> next();
    // Starts no more: the running items finish.
    void pauseAfterCurrent();
    bool isRunning() const { return running_; }
    std::vector<int> runningIds() const;
    void progressed(int id, double encodedSeconds, std::optional<double> duration, double runSeconds);
    // partialRemoved: the file it had begun to write is gone, and its reason says so.
    // cause: what the encoder's words say went wrong, a fixed text, or empty.
    void ended(int id, int exitCode, const std::string& log, bool partialRemoved = false,
               const std::string& cause = {});
    // A refusal before the start (its output's folder cannot take it) says its own words; any other
    // failure is the encoder's that could not be started.
    void failedToStart(int id, const Status& failure);
    void checked(int id, CheckVerdict verdict, const std::string& line);
    // A running item was stopped on request: the queue pauses, and the others running finish.
    void stopped(int id, const std::string& reason);
    // A running item was cut short by the program's end: it waits to run again from the beginning.
    void interrupted(int id);
    void skip(const std::vector<int>& ids, const std::string& reason);

    void remove(int id); // not the running item: it is stopped first
    // A running item the user removed, once its encoder has stopped: it goes, and the queue runs on.
    void withdraw(int id);
    void move(int id, int by);
    void clearFinished();

    const std::vector<QueueItem>& items() const { return items_; }
    const QueueItem* find(int id) const;
    // Items a later start would run: waiting, detecting, needing attention, stopped or interrupted.
    std::vector<QueueItem> unfinished() const;
    // Puts back items kept from an earlier run, or held by another window: each command is built
    // again and each item checked again as a new one is; one that was running starts again from the
    // beginning.
    void restore(std::vector<QueueItem> kept);
    // Whether the item's source was there when it was last looked at (as it was added, restored or changed).
    bool sourceFound(int id) const;
    // An item that cannot run as it is, for a reason only the caller can see (its source is gone).
    void needsAttention(int id, const std::string& reason, const std::string& detail);
    QueueSummary summary() const;

    // Seconds left: of one running item, from its own speed; of the whole queue, the source seconds
    // still to encode at the speed one encoder showed so far (side by side, as they ran), shared over
    // the encoders that can run at once, and never less than the slowest running item's own time.
    // Nothing while there is no speed to go by.
    std::optional<double> secondsLeft(int id) const;
    // An encoder's first moments (its start, its first frames) say little of its speed: until it has
    // run this long, no time left is shown rather than a wild one.
    static constexpr double kSteadySeconds = 2.0;
    std::optional<double> totalSecondsLeft() const;

    // Where the item with this id stands in items(), if it is there.
    std::optional<std::size_t> indexOf(int id) const;

    // What changed since the last call (a progress figure counts: its item is rewritten, unchanged).
    QueueChanges takeChanges();

private:
    // The item to change: every change of an item goes through here or through touched().
    QueueItem* item(int id);
    void touched(int id) { changed_.insert(id); }
    void prepare(QueueItem& item);
    // The path as the checks compare it; what the index keeps of it when its name is the same.
    NamedFile named(const std::string& path, const NamedFile* kept = nullptr) const;
    // Puts the item's paths into the index as they stand now: a path whose normal name has not
    // changed is not looked at again unless `fresh`.
    void reindex(const QueueItem& item, bool fresh = false);
    // Refused when writing `output` would lose a source of the queue: the item's own or any other
    // item's, whatever its state.
    Status losesSource(int id, const NamedFile& source, const NamedFile& output) const;
    // Items waiting to write over the source of the one just added need attention now.
    void guardSource(const QueueItem& added);
    // items_ were erased or reordered: positions are found again at the next look-up.
    void reordered() { positionsStale_ = true; }
    int nextId_ = 1;
    int parallel_ = 1;
    bool running_ = false;
    Identify identify_;
    std::vector<QueueItem> items_;
    ConflictIndex index_;
    // Where each id stands in items_, so a look-up by id is not a walk over the queue.
    mutable std::unordered_map<int, std::size_t> positions_;
    mutable bool positionsStale_ = false;
    std::unordered_set<int> changed_;
    bool orderChanged_ = false;
};

// Reasons an item does not run, in every face's words (see core/RunReasons.h).
using zvm::kEndedBySignal;
using zvm::kEndedBySignalRemoved;
using zvm::kExitCode;
using zvm::kExitCodeRemoved;
using zvm::kNoMovieType;
using zvm::kNoSize;
using zvm::kNotStarted;
using zvm::kOutputExists;
using zvm::kOutputIsOtherSource;
using zvm::kOutputIsSource;
using zvm::kSharedOutput;
using zvm::kSourceMissing;
using zvm::kStoppedNothingWritten;
using zvm::kStoppedOnRequest;
using zvm::kSubtitleMissing;
// Why a window keeps no queue file while another holds it (after "The queue could not be saved: ").
inline constexpr const char* kQueueInUse =
    ZVM_TEXT("zvm", "it is in use by another window; this window keeps its videos in memory until that one closes");

// Whether writing the request's output would lose a file: refused, with kOutputIsSource or
// kSharedOutput as the message, when the output is its source (by name, or `sameFile`) or another run
// writes it (`writtenElsewhere` is asked with the output's normal form); ok when it is safe.
Status OutputConflict(const ConversionRequest& request, const Queue::SameFile& sameFile,
                      const std::function<bool(const std::string&)>& writtenElsewhere);

// Whether two items are the same work: the same source and output (as absolute paths) and the same
// settings. A queue merged from two windows holds each such work once.
bool SameWork(const QueueItem& a, const QueueItem& b);

// How long the part the item keeps is: its source's duration, or its cut's; nothing while unknown.
// Progress and the time left count this part only, as the encoder's time does.
std::optional<double> KeptDuration(const QueueItem& item);

// Whether the item's subtitles wait for its source to be read: Automatic, with its streams not yet counted.
bool NeedsSubtitleStreams(const QueueItem& item);

// The reason in English words, the detail in its place.
std::string ReasonText(const QueueItem& item);

// Stable words for states, for the persisted form and the window.
std::string_view StateWord(ItemState state);
// Whether a later start would run an item in this state (what the store keeps).
bool Unfinished(ItemState state);
std::optional<ItemState> StateFromWord(std::string_view word);

} // namespace zvm::queue
