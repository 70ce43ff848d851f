#pragma once

#include "core/Status.h"
#include "media/Outside.h"
#include "queue/ConversionJob.h"
#include "queue/EncoderGroups.h"
#include "queue/Queue.h"
#include "queue/QueueStore.h"
#include "queue/StorePacing.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QLockFile;
class QTimer;

// How a runner keeps and runs its queue. The window's: kept in storePath under its lock, the encoders'
// groups beside it. The command-line tool's (headless): no store, but the groups recorded in the same
// file as the window's, so that either's next start ends what a killed run left behind.
struct RunnerSetup {
    QString storePath;
    // Where the encoders' process groups are recorded: beside storePath when empty; none without either.
    std::filesystem::path groupsFile;
    // An after-check holds its encoder's place: with one at a time, each video ends before the next starts.
    bool checksHoldPlaces = false;
    // A file the after-check finds missing or not fitting is removed, and its video failed.
    bool misfitsFail = false;
};

// Runs the queue: detects the sizes of added videos (two at a time), starts up to parallel()
// conversions at a time (each a ConversionJob: encoder, its process group, after-check, clean-up),
// follows them, and starts the next as soon as an encoder's place is free. Keeps the unfinished items in
// storePath (when given), with their paths made absolute, while it holds the file's lock: one window
// at a time keeps the queue. A user's edit and an item's start and end are kept at once, the rest at
// most once a second (see StorePacing), and what waits is kept before the runner goes. Its encoders end
// with the thread that made it (the GUI thread), and, with a storePath, the process groups they lead
// are kept beside it: making the runner ends those a killed program left behind. The outside must
// outlive the runner.
class QueueRunner : public QObject {
    Q_OBJECT

public:
    static constexpr int kParallelDetections = 2;
    static constexpr int kLockRetryMs = 3000;
    static constexpr int kMaxParallel = 8;

    explicit QueueRunner(zvm::media::Outside& outside, QString storePath = {}, QObject* parent = nullptr);
    QueueRunner(zvm::media::Outside& outside, RunnerSetup setup, QObject* parent = nullptr);
    ~QueueRunner() override;
    QueueRunner(const QueueRunner&) = delete;
    QueueRunner& operator=(const QueueRunner&) = delete;

    const zvm::queue::Queue& queue() const { return queue_; }

    // Videos with their settings; those without a width, or with automatic subtitles, are read first.
    // All are one change.
    void add(const std::vector<zvm::ConversionRequest>& requests, zvm::CommandStyle style);
    // With its size given; automatic subtitles need the source's subtitle stream count, read first
    // unless given (the preview has read it).
    int addReady(zvm::ConversionRequest request, zvm::CommandStyle style,
                 std::optional<int> subtitleStreams = std::nullopt);
    // With what a read of its source found (a failed read leaves a given size standing).
    int addRead(const zvm::ConversionRequest& request, zvm::CommandStyle style, const SizeDetection& read);
    void restore(std::vector<zvm::queue::QueueItem> kept);
    void setSize(int id, int width, int height);
    void setOutput(int id, const QString& output);
    // The size the item's output should reach, or none; the source's duration is read when unknown.
    void setFileSize(int id, std::optional<double> megabytes);
    // The subtitles the item's output draws; for Automatic the source's subtitle streams are counted
    // first when no read of it has yet.
    void setSubtitles(int id, const zvm::SubtitleChoice& choice);
    // The item's other choices. An automatic crop, or deinterlacing that the source's field order
    // does not settle, has its source looked at first.
    void setCrop(int id, const zvm::CropChoice& crop);
    void setAudio(int id, const zvm::AudioChoice& audio);
    void setBestQuality(int id, bool best);
    // Reads the item's source for its streams when no read of it is kept (a restored item).
    void readStreams(int id);

    // How many encoders run at once: 0 is automatic (see AutomaticParallel). Kept beside the queue
    // file when there is one, and read back by the next runner made with it.
    void setParallel(int setting);
    int parallelSetting() const { return parallelSetting_; }
    static int AutomaticParallel();
    // As many at once as the caller says, unbounded and not kept (the tool's -j).
    void runAtOnce(int count);

    void start();
    // Starts no more: the running encoders finish.
    void pauseAfterCurrent();
    // The item's encoder is stopped (at once, with atOnce) and its partial output removed; the queue
    // pauses, and the other running encoders finish. False when the item is not running.
    bool stop(int id, bool atOnce = false);
    // Stops the only running item; false when none runs or several do, and so it is not clear which.
    bool stopCurrent(bool atOnce = false);
    void remove(int id);
    void move(int id, int by);
    void clearFinished();
    void skip(const std::vector<int>& ids);
    // Before the program quits: the running encoders are stopped and their partial outputs removed;
    // they and everything else unfinished are kept for the next start.
    void stopForQuit();
    // Stops every conversion (at once, with atOnce), its encoder or its after-check, and starts no
    // other: what is still waiting is skipped.
    void stopAll(bool atOnce);

    bool isRunning() const { return queue_.isRunning() || encoding() > 0; }
    // Whether this runner holds the queue file. While another window holds it, the queue lives in
    // memory only, the lock is tried again every kLockRetryMs, and once it is had what the file holds
    // joins this queue (each work once) and the whole is kept.
    bool holdsStore() const { return holdsStore_; }
    // What the held file keeps from an earlier run, read once. A damaged file is set aside; one that
    // cannot be is never written over in this run.
    LoadedQueue loadStore();
    // Waiting items whose output file exists already.
    std::vector<int> existingOutputs() const;
    // How keeping the queue in storePath went the last time, or, when that went well, keeping the
    // record of the encoders' groups beside it: a failure stands until a later keeping succeeds, so a
    // window says it once rather than after every change.
    const zvm::Status& storeStatus() const { return storeStatus_.ok() ? groups_.status() : storeStatus_; }
    // How often the queue was kept in this run: what the store costs.
    int storesMade() const { return storesMade_; }
    // A finished item's first frame, kThumbnailHeight pixels high, as PNG once the media worker has
    // drawn it; empty before, and for a file it could not read.
    QByteArray thumbnail(int id) const;
    static constexpr int kThumbnailHeight = 36;

signals:
    // The queue changed: its rows, or what several of them show.
    void changed();
    // Only what this one item shows changed (its progress, its small picture).
    void itemChanged(int id);
    // Once nothing runs, nothing more will start, and every after-check has answered.
    void finishedAll(const zvm::queue::QueueSummary& summary);
    void jobStarted(int id);
    // After the queue was told.
    void jobEnded(int id, const zvm::queue::JobResult& result);

private:
    enum class StopFor { Nothing, Request, Removal, Quit };
    // One running conversion, and why it is being stopped.
    struct Run {
        std::unique_ptr<zvm::queue::ConversionJob> job;
        StopFor stopFor = StopFor::Nothing;
    };

    void detectNext();
    // A change that needs a fact of the source its first read did not give (it came with its size):
    // the source is read, and the change made with what was found.
    using ReadChange = std::function<void(zvm::queue::Queue&, int, const SizeDetection&)>;
    void readThen(const zvm::queue::QueueItem& item, ReadChange change);
    // Reads the source (and looks at its frames where the item's choices need it), keeps the read
    // with the item, then calls `then`.
    void readSource(int id, ReadChange then);
    using Looked = std::function<void(zvm::queue::Queue&, int)>;
    void lookIfNeeded(int id, zvm::RunFacts read, const Looked& then);
    // An item changed: read again when its choices now need a look that its last read lacks.
    void readForChoices(int id);
    void launchNext();
    void launch(int id);
    bool placeFree() const;
    int encoding() const;
    void announceIfDone();
    void encoded(int id, const std::string& log);
    void ended(int id, const zvm::queue::JobResult& result);
    void endStopped(int id, StopFor stopFor, bool removed);
    // Of the file the run left: the asked name, or where a file that did not pass is kept.
    void drawThumbnail(int id, const std::string& file);
    // Every change is shown; one that changes what a restart would find is also kept, at once or soon.
    // A change of one item alone is told as that item's.
    void touch(zvm::queue::Keep keep, std::optional<int> only = std::nullopt);
    void touch(bool structural) { touch(structural ? zvm::queue::Keep::AtOnce : zvm::queue::Keep::Shown); }
    void follow(const zvm::queue::StorePacing::Plan& plan);
    void store();
    void claimStore();
    void retryStore();
    // Sets the paths of a kept queue's request absolute: the next start may be in another folder.
    void anchor(zvm::ConversionRequest& request) const;
    QString optionsPath() const;

    zvm::queue::Queue queue_;
    zvm::media::Outside& outside_;
    QString storePath_;
    RunnerSetup setup_;
    zvm::Status storeStatus_;
    EncoderGroups groups_;
    std::unique_ptr<QLockFile> lock_;
    zvm::queue::StorePacing pacing_;
    QElapsedTimer sinceMade_; // the pacing's clock
    QTimer* storeTimer_ = nullptr;
    int storesMade_ = 0;
    std::unique_ptr<QueueStore> store_;
    bool storeWhole_ = true; // the store's rows are not known to match the queue's: write them all
    QString legacyFile_;     // an earlier version's queue file, read, and removed once kept here
    QTimer* lockRetry_ = nullptr;
    bool holdsStore_ = false;
    std::map<int, Run> runs_; // by item id, from the encoder's start to the run's result
    int parallelSetting_ = 0;
    std::deque<int> toDetect_;
    int detecting_ = 0;
    std::map<int, QByteArray> thumbnails_;
    bool announced_ = true;
    bool launchPosted_ = false; // a launch waits for the next turn of the event loop
};
