#include "process/ProcessGroups.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace zvm::process {

namespace {
struct StatFields {
    char state = '?';
    pid_t group = -1;
    unsigned long long started = 0;
};

// The fields of /proc/PID/stat this needs: the state (3), the process group (5), the start (22). The
// name before them is in parentheses and may hold blanks or parentheses itself.
std::optional<StatFields> ReadStat(const std::string& pid) {
    std::ifstream file("/proc/" + pid + "/stat");
    // Through the stream, not a buffer iterator: a process that ends while its file is read fails the
    // read (ESRCH), which the stream turns into its bad state; the iterator would throw it at the caller.
    std::string text;
    std::getline(file, text, '\0');
    const std::size_t nameEnd = text.rfind(')');
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(text.substr(nameEnd + 1));
    StatFields found;
    std::string skipped;
    fields >> found.state >> skipped >> found.group;
    for (int field = 6; field < 22; ++field) {
        fields >> skipped;
    }
    fields >> found.started;
    return fields ? std::optional(found) : std::nullopt;
}

bool Ended(const StatFields& stat) {
    return stat.state == 'Z' || stat.state == 'X';
}
} // namespace

std::optional<ProcessMark> MarkOf(pid_t pid) {
    const auto stat = ReadStat(std::to_string(pid));
    if (!stat || Ended(*stat)) {
        return std::nullopt;
    }
    return ProcessMark{pid, stat->started};
}

std::optional<ProcessMark> MarkOfChild(pid_t pid) {
    const auto stat = ReadStat(std::to_string(pid));
    return stat ? std::optional(ProcessMark{pid, stat->started}) : std::nullopt;
}

std::vector<pid_t> GroupMembers(const ProcessMark& leader) {
    std::vector<pid_t> members;
    const auto now = MarkOf(leader.pid);
    if (leader.pid < 2 || (now && *now != leader)) {
        return members;
    }
    std::error_code error;
    for (auto entry = std::filesystem::directory_iterator("/proc", error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
            continue;
        }
        const auto stat = ReadStat(name);
        if (stat && !Ended(*stat) && stat->group == leader.pid && (now || stat->started >= leader.started)) {
            members.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return members;
}

void EndGroups(const std::vector<ProcessMark>& leaders, std::chrono::milliseconds grace) {
    std::vector<ProcessMark> running;
    for (const ProcessMark& leader : leaders) {
        if (leader.pid != getpgrp() && !GroupMembers(leader).empty()) {
            running.push_back(leader);
            ::kill(-leader.pid, SIGTERM);
        }
    }
    const auto until = std::chrono::steady_clock::now() + grace;
    while (true) {
        std::erase_if(running, [](const ProcessMark& leader) { return GroupMembers(leader).empty(); });
        if (running.empty()) {
            return;
        }
        if (std::chrono::steady_clock::now() >= until) {
            for (const ProcessMark& leader : running) {
                ::kill(-leader.pid, SIGKILL);
            }
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // a few polls within the grace time
    }
}

} // namespace zvm::process
