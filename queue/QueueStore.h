#pragma once

#include "queue/Queue.h"
#include "core/Status.h"
#include "process/OutputGuard.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QSqlDatabase;

struct LoadedQueue {
    std::vector<zvm::queue::QueueItem> items;
    QString problem; // a damaged file: why, and where it was set aside, or that it could not be
    // The file could not be set aside, or could not be read for a reason that may pass, and still
    // stands where the queue is kept: nothing may write over it in this run.
    bool damagedInPlace = false;
};

// The queue kept between runs, in an SQLite database (Qt's SQL module): a row per unfinished item,
// holding it as a small JSON object, with its place in the queue. A change is kept by writing only
// the rows it touched, in one transaction, so keeping one video's start or end costs one row however
// long the queue is; SQLite's write-ahead log leaves the last committed queue whole whenever the
// program is killed. One window writes at a time (the runner's lock); readers never wait for it.
class QueueStore {
public:
    explicit QueueStore(QString path);
    ~QueueStore();
    QueueStore(const QueueStore&) = delete;
    QueueStore& operator=(const QueueStore&) = delete;

    // Nothing for a missing file. A file that is not a queue of this program, or whose rows cannot
    // be read, is renamed beside itself, never deleted, and said so.
    LoadedQueue load();
    // The whole queue in place of what the file kept. An empty queue makes no file where there is none.
    [[nodiscard]] zvm::Status replace(const std::vector<zvm::queue::QueueItem>& items);
    // What changed since the last keeping: the changed items written again, new ones after the
    // others, finished or removed ones taken out, and every place when the order changed. The whole
    // is written when this store has not written the file yet, or the file was replaced meanwhile.
    [[nodiscard]] zvm::Status keep(const zvm::queue::Queue& queue, const zvm::queue::QueueChanges& changes);

private:
    zvm::Status open();
    bool stillOpen() const;
    void close();
    QSqlDatabase database() const;
    // The rows' changes in one transaction; after a failure the file is opened again, and written
    // whole, the next time.
    zvm::Status write(const std::function<zvm::Status(QSqlDatabase&)>& rows);

    QString path_;
    QString connection_;
    std::optional<zvm::process::FileId> opened_;
    qint64 nextPosition_ = 0;
};

// One store's load or replace, for a caller that reads or writes the file once.
zvm::Status SaveQueue(const QString& path, std::vector<zvm::queue::QueueItem> items);
LoadedQueue LoadQueue(const QString& path);
// A queue kept by earlier versions as one JSON file, read once to bring it into the store.
LoadedQueue LoadQueueFile(const QString& path);

// How the queue runs, kept in its own small file beside the queue's (the program's settings file keeps
// the designed window's settings only). A missing or unreadable file gives the defaults.
struct QueueOptions {
    int parallel = 0; // encoders at once; 0 chooses from the machine
};
QString QueueOptionsBeside(const QString& queuePath);
QueueOptions LoadQueueOptions(const QString& path);
zvm::Status SaveQueueOptions(const QString& path, const QueueOptions& options);
