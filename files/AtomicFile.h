#pragma once

#include "core/Status.h"

#include <filesystem>
#include <functional>
#include <span>
#include <string_view>

namespace zvm::files {

// Replaces the whole content of the file at `path` so that a failure at any point, or the program
// killed at any moment, leaves either the old file or the new one, never half of one: the bytes go to
// a temporary file in the same folder, which is flushed to disk and renamed over the target. Every
// step is checked, and the temporary file is removed when one fails.
// - A symbolic link stays a link: the file it names is replaced.
// - The file's permissions carry over, but its owner can always read and write it and nobody else can
//   write it (a new file gets the usual ones of the umask, within the same limits).
// - Temporaries of interrupted earlier writes are cleared first (see RemoveStaleTemporaries).
// The folder must exist. beforeCommit lets tests fail the write between writing and renaming.
Status WriteAtomically(const std::filesystem::path& path, std::string_view bytes,
                       const std::function<bool()>& beforeCommit = {});

// One part of a file written whole from parts: bytes given, or the whole of another file, copied.
struct Piece {
    std::string_view bytes;
    std::filesystem::path file; // when not empty, its content instead of bytes
};
// The same, the file being the pieces one after another, each file copied a block at a time (a
// long video would not fit in memory). A piece's file that cannot be read fails the write.
Status WriteAtomically(const std::filesystem::path& path, std::span<const Piece> pieces,
                       const std::function<bool()>& beforeCommit = {});

// Temporary files of interrupted writes beside `target`: ours by name and owner, and older than a
// minute, so that a write running in another copy of the program is never touched.
void RemoveStaleTemporaries(const std::filesystem::path& target);

} // namespace zvm::files
