#pragma once

#include "EncoderGroups.h"
#include "EncoderOutput.h"
#include "Outside.h"
#include "Queue.h"
#include "QueueStore.h"
#include "Status.h"
#include "WrittenFile.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <deque>
#include <memory>
#include <optional>

class QLockFile;
class QTimer;

// Runs the queue: detects the sizes of added videos (two at a time), starts one encoder at a time
// through the same run layer as Convert, follows it, checks what it wrote, and starts the next at
// once. Keeps the unfinished items in storePath (when given) after every change, with their paths
// made absolute, while it holds the file's lock: one window at a time keeps the queue. Its encoders end
// with the thread that made it (the GUI thread), and, with a storePath, the process groups they lead
// are kept beside it: making the runner ends those a killed program left behind. The outside must
// outlive the runner.
class QueueRunner : public QObject {
    Q_OBJECT

public:
    static constexpr int kParallelDetections = 2;
    static constexpr int kLockRetryMs = 3000;

    explicit QueueRunner(zvm::media::Outside& outside, QString storePath = {}, QObject* parent = nullptr);
    ~QueueRunner() override;
    QueueRunner(const QueueRunner&) = delete;
    QueueRunner& operator=(const QueueRunner&) = delete;

    const zvm::queue::Queue& queue() const { return queue_; }

    // Videos with their settings; those without a width are detected first. All are one change.
    void add(const std::vector<zvm::ConversionRequest>& requests, zvm::CommandStyle style);
    int addReady(zvm::ConversionRequest request, zvm::CommandStyle style);
    void restore(std::vector<zvm::queue::QueueItem> kept);
    void setSize(int id, int width, int height);
    void setOutput(int id, const QString& output);
    // The size the item's output should reach, or none; the source's duration is read when unknown.
    void setFileSize(int id, std::optional<double> megabytes);

    void start();
    void pauseAfterCurrent();
    // The current encoder is stopped (at once, with atOnce) and its partial output removed; the
    // queue pauses.
    void stopCurrent(bool atOnce = false);
    void remove(int id);
    void move(int id, int by);
    void clearFinished();
    void skip(const std::vector<int>& ids);
    // Before the program quits: the current encoder is stopped and its partial output removed; it
    // and everything else unfinished are kept for the next start.
    void stopForQuit();

    bool isRunning() const { return queue_.isRunning() || job_ != nullptr; }
    // Whether this runner holds the queue file. While another window holds it, the queue lives in
    // memory only, the lock is tried again every kLockRetryMs, and once it is had what the file holds
    // joins this queue (each work once) and the whole is kept.
    bool holdsStore() const { return holdsStore_; }
    // What the held file keeps from an earlier run, read once. A damaged file is set aside; one that
    // cannot be is never written over in this run.
    LoadedQueue loadStore();
    // Waiting items whose output file exists already.
    std::vector<int> existingOutputs() const;
    // How keeping the queue in storePath went the last time: a failure stands until a later keeping
    // succeeds, so a window says it once rather than after every change.
    const zvm::Status& storeStatus() const { return storeStatus_; }

signals:
    void changed();
    void finishedAll(const zvm::queue::QueueSummary& summary);

private:
    enum class StopFor { Nothing, Request, Removal, Quit };

    void detectNext();
    void launchNext();
    void follow(const QByteArray& bytes);
    void ended(int exitCode, int signal);
    void endStopped(int id);
    void check(int id);
    void touch(bool structural);
    void claimStore();
    void retryStore();
    // Sets the paths of a kept queue's request absolute: the next start may be in another folder.
    void anchor(zvm::ConversionRequest& request) const;
    // Removes the current item's output when this run wrote it; true when something was removed.
    bool removePartial(int id);

    zvm::queue::Queue queue_;
    zvm::media::Outside& outside_;
    QString storePath_;
    zvm::Status storeStatus_;
    EncoderGroups groups_;
    std::unique_ptr<QLockFile> lock_;
    QTimer* lockRetry_ = nullptr;
    bool holdsStore_ = false;
    // What stood at the running item's output before its encoder started.
    std::optional<zvm::files::FileStamp> outputBefore_;
    std::unique_ptr<EncoderJob> job_;
    int runningId_ = 0;
    StopFor stopFor_ = StopFor::Nothing;
    zvm::media::EncoderOutput output_;
    QElapsedTimer clock_;
    std::deque<int> toDetect_;
    int detecting_ = 0;
    bool announced_ = true;
};
