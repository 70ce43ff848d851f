#pragma once

#include <chrono>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace zvm::process {

// A process as the kernel names it while it lives: its id and its start (clock ticks after boot). An
// id given out again comes with a later start, so the pair never names another process.
struct ProcessMark {
    pid_t pid = -1;
    unsigned long long started = 0;

    bool operator==(const ProcessMark&) const = default;
};

// The mark of a running process; none once it has ended (a zombie has ended).
std::optional<ProcessMark> MarkOf(pid_t pid);

// The mark of this program's own child, which it has not waited for yet: its number stays its own even
// once it has ended, so a leader that ended at once still names the group its children may hold.
std::optional<ProcessMark> MarkOfChild(pid_t pid);

// The running members of the process group that `leader` leads or led: while the leader runs, its
// whole group; when its id now names another process, none; once it has ended, the members of its
// group that started no earlier than it did (the kernel gives a group's id to no new process while
// the group has members). Never group 0 or 1.
std::vector<pid_t> GroupMembers(const ProcessMark& leader);

// Ends those groups: SIGTERM to each, up to `grace` for every member to end, then SIGKILL to what is
// left. This program's own group is never touched.
void EndGroups(const std::vector<ProcessMark>& leaders, std::chrono::milliseconds grace);

} // namespace zvm::process
