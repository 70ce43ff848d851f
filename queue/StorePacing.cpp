#include "queue/StorePacing.h"

namespace zvm::queue {

StorePacing::Plan StorePacing::changed(Keep keep, Ms now) {
    if (keep == Keep::Shown) {
        return {};
    }
    pending_ = true;
    if (keep == Keep::AtOnce || !lastStore_ || now - *lastStore_ >= gap_) {
        return {true, std::nullopt};
    }
    if (armed_) {
        return {};
    }
    armed_ = true;
    return {false, gap_ - (now - *lastStore_)};
}

StorePacing::Plan StorePacing::woke(Ms now) {
    armed_ = false;
    return pending_ ? changed(Keep::Soon, now) : Plan{};
}

void StorePacing::stored(Ms now) {
    lastStore_ = now;
    pending_ = false;
}

} // namespace zvm::queue
