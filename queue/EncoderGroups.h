#pragma once

#include "core/Status.h"
#include "process/ProcessGroups.h"

#include <chrono>
#include <filesystem>
#include <vector>

// The process groups of the encoders the queue started, kept in a small file beside the queue's own.
// The kernel ends a queue encoder with the program (process::SpawnTied), but not what the encoder
// started in turn: the next start ends what a program that is gone left behind, before anything runs.
// One line per group: the owning program's mark, then the group leader's, "pid start pid start".
class EncoderGroups {
public:
    static constexpr std::chrono::milliseconds kGrace{3000};

    // An empty path keeps nothing.
    explicit EncoderGroups(std::filesystem::path file);
    static std::filesystem::path BesideQueue(const std::filesystem::path& queueFile);

    // Ends the groups kept by programs that no longer run (SIGTERM, then SIGKILL after `grace`) and
    // forgets them; those of a program still running stay. A damaged line is dropped unheeded.
    void endLeftOvers(std::chrono::milliseconds grace = kGrace);
    void started(const zvm::process::ProcessMark& leader);
    // Forgets this program's groups of which nothing runs any more.
    void forgetEnded();
    // How the last write of the file went: a failure stands until a later write succeeds.
    const zvm::Status& status() const { return status_; }

private:
    struct Entry {
        zvm::process::ProcessMark owner;
        zvm::process::ProcessMark leader;
    };
    std::vector<Entry> read() const;
    // The file holds the given entries of other programs and this program's own.
    void write(std::vector<Entry> entries);
    std::vector<Entry> others() const;

    std::filesystem::path file_;
    zvm::process::ProcessMark self_;
    std::vector<zvm::process::ProcessMark> mine_;
    zvm::Status status_;
};
