#pragma once

#include "Queue.h"

#include <QString>

#include <vector>

// The queue kept between runs: the unfinished items as a small JSON file, written whole and
// atomically, so that a program killed at any moment leaves the old file or the new one.
bool SaveQueue(const QString& path, const std::vector<zvm::queue::QueueItem>& items, QString* error = nullptr);

struct LoadedQueue {
    std::vector<zvm::queue::QueueItem> items;
    QString problem; // a damaged file was set aside: why, and where it now is
};

// Nothing for a missing file. A file that cannot be read as a queue is renamed beside itself, never
// deleted, and said so.
LoadedQueue LoadQueue(const QString& path);
