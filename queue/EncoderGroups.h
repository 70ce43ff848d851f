#pragma once

#include "core/Status.h"
#include "process/ProcessGroups.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// The process groups of the encoders the queue started, kept in a small file beside the queue's own.
// The kernel ends a queue encoder with the program (process::SpawnTied), but not what the encoder
// started in turn: the next start ends what a program that is gone left behind, before anything runs.
// One line per group: the owning program's mark, then the group leader's, "pid start pid start",
// then, for a run that writes under a partial name, that name and the machine's name, each as
// hexadecimal bytes: the next start on this machine removes the partials of the groups it ends; a
// folder shared with other machines keeps theirs.
class EncoderGroups {
public:
    static constexpr std::chrono::milliseconds kGrace{3000};

    // An empty path keeps nothing.
    explicit EncoderGroups(std::filesystem::path file);
    static std::filesystem::path BesideQueue(const std::filesystem::path& queueFile);

    // Ends the groups kept by programs that no longer run (SIGTERM, then SIGKILL after `grace`) and
    // forgets them, removing the partial files they were writing; those of a program still running
    // stay, and so do those of another machine. A damaged line is dropped unheeded.
    void endLeftOvers(std::chrono::milliseconds grace = kGrace);
    // partial: the hidden name the group's encoder writes, or empty.
    void started(const zvm::process::ProcessMark& leader, const std::string& partial = {});
    // Forgets this program's groups of which nothing runs any more.
    void forgetEnded();
    // How the last write of the file went: a failure stands until a later write succeeds.
    const zvm::Status& status() const { return status_; }

private:
    struct Entry {
        zvm::process::ProcessMark owner;
        zvm::process::ProcessMark leader;
        std::string partial;
        std::string machine;
    };
    std::vector<Entry> read() const;
    // The file holds the given entries of other programs and this program's own.
    void write(std::vector<Entry> entries);
    std::vector<Entry> others() const;

    std::filesystem::path file_;
    zvm::process::ProcessMark self_;
    std::string machine_;
    std::vector<Entry> mine_;
    zvm::Status status_;
};
