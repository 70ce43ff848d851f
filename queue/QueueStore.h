#pragma once

#include "queue/Queue.h"
#include "core/Status.h"

#include <QString>

#include <vector>

// The queue kept between runs: the unfinished items as a small JSON file, written whole and
// atomically (files::WriteAtomically), so that a program killed at any moment leaves the old file or
// the new one. An empty queue makes no file where there is none.
zvm::Status SaveQueue(const QString& path, const std::vector<zvm::queue::QueueItem>& items);

struct LoadedQueue {
    std::vector<zvm::queue::QueueItem> items;
    QString problem; // a damaged file: why, and where it was set aside, or that it could not be
    // The damaged file could not be set aside and still stands where the queue is kept: nothing may
    // write over it in this run.
    bool damagedInPlace = false;
};

// Nothing for a missing file. A file that cannot be read as a queue is renamed beside itself, never
// deleted, and said so.
LoadedQueue LoadQueue(const QString& path);

// How the queue runs, kept in its own small file beside the queue's (the program's settings file keeps
// the designed window's settings only). A missing or unreadable file gives the defaults.
struct QueueOptions {
    int parallel = 0; // encoders at once; 0 chooses from the machine
};
QString QueueOptionsBeside(const QString& queuePath);
QueueOptions LoadQueueOptions(const QString& path);
zvm::Status SaveQueueOptions(const QString& path, const QueueOptions& options);
