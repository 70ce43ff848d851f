#pragma once

// What a run wrote at a path, told apart from what stood there before it, so that only the run's own
// partial output is ever removed.

#include "core/Status.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zvm::files {

// A file's identity, size and times: any write, truncation or replacement changes it.
using FileStamp = std::array<std::int64_t, 7>;

// The stamp of what stands at path (a link itself, not what it names); nothing when nothing does.
std::optional<FileStamp> StampOf(const std::string& path);

// Removes the plain file at path when it is not the one stamped before the run: a file the run
// created or changed. A file the run never touched, and anything but a plain file, stay. True when
// a file was removed. The path is the system's bytes, so any name can be removed.
bool RemoveWritten(const std::string& path, const std::optional<FileStamp>& before);

// Whether the folder a file goes into can take it: this user may write there, and it has room for
// about `megabytes` (0: not known). A refusal (FailureKind::Refused) names the folder.
Status RoomToWrite(const std::string& file, double megabytes);

// Where a run writes before its output is whole and checked: a hidden name beside the file the
// output names (through a symbolic link, beside the file it names, so the link stays and the file it
// names is replaced), on the same file system so the last step is a rename. The whole name follows
// the prefix: the encoder chooses some formats by the extension, and raw frames are read by their
// name's end. Empty when the output has no file name or names a device.
std::string PartialPathFor(const std::string& output);
// The file a name stands for: a symbolic link's target (relative to the link's folder), followed as
// the system would; the name itself when it is no link.
std::string FileNamedBy(const std::string& output);
// Whether a name is one PartialPathFor gives.
bool IsPartialPath(const std::string& path);
// Where a finished file is kept that its check did not pass: "clip.not-fitting.mp4" for the asked
// "clip.mp4" and the word "not-fitting".
std::string KeptPathFor(const std::string& output, const std::string& word);
// The file a run wrote at partial takes the name destination, replacing what stood there in one
// step. An empty reason when it did; else the system's words.
std::string Publish(const std::string& partial, const std::string& destination);

} // namespace zvm::files
