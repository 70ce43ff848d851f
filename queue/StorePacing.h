#pragma once

#include <chrono>
#include <optional>

namespace zvm::queue {

// How soon a change of the queue is kept. A user's edit and an item's start and end are kept at once:
// a kill must not bring back a finished video or undo what the user did, and the file says what ran.
// A size read and an after-check's answer change nothing a restart would do otherwise (a size is read
// again, a checked item is no longer kept), so they wait and are kept together, at most once per gap.
// Progress is never kept: a restored item starts from the beginning.
enum class Keep { Shown, Soon, AtOnce };

// When to write the queue, from the changes and the time alone (the caller owns the clock and the timer).
class StorePacing {
public:
    using Ms = std::chrono::milliseconds;
    static constexpr Ms kGap{1000};

    struct Plan {
        bool storeNow = false;
        std::optional<Ms> wakeIn; // arm the timer: call woke() then
    };

    explicit StorePacing(Ms gap = kGap) : gap_(gap) {}

    Plan changed(Keep keep, Ms now);
    Plan woke(Ms now);
    void stored(Ms now);
    // Whether a change waits to be kept (before the program ends, it is kept at once).
    bool pending() const { return pending_; }

private:
    Ms gap_;
    std::optional<Ms> lastStore_;
    bool pending_ = false;
    bool armed_ = false;
};

} // namespace zvm::queue
