#pragma once

#include "core/CommandForm.h"
#include "core/Status.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zvm::settings {

inline constexpr std::string_view kFileName = "settings.ini";
inline constexpr std::string_view kSavedMarker = "Saved";
// An optional tenth field for an explicit choice of command form; without one the form is decided
// automatically, and the file is exactly the designed nine-field record. A nine-field reader reads
// either.
inline constexpr std::string_view kModernMarker = "Modern";
inline constexpr std::string_view kClassicMarker = "Classic";
// The most a settings file may hold. A larger one is not ours: it is neither read nor written.
inline constexpr std::size_t kMaxReadBytes = std::size_t{64} * 1024;

// The eight saved texts in file order, as bytes in the system's 8-bit encoding.
enum Field : std::size_t {
    Width,
    Height,
    VideoBitrate,
    AudioBitrate,
    SampleRate,
    SourceVideo,
    OutputPath,
    EncoderPath,
    FieldCount
};

struct SettingsRecord {
    std::array<std::string, FieldCount> values;
    std::string marker;
    FormChoice formChoice = FormChoice::Automatic;

    bool operator==(const SettingsRecord&) const = default;
};

// What a read found: the fields it had values for (the rest stay empty) and how many there were.
struct ParsedSettings {
    SettingsRecord record;
    std::size_t fieldsRead = 0;

    // Saved only when all nine fields were there and the ninth is exactly "Saved".
    bool countsAsSaved() const { return fieldsRead > FieldCount && record.marker == kSavedMarker; }
};

// One line of nine double-quoted fields separated by commas, ending in CR LF (ten with an explicit
// form). The marker is always "Saved": writing the file is what marks it saved.
std::string FormatRecord(const SettingsRecord& record);

// Fields end at a comma or a line end; blanks before a field are skipped; a quoted field runs to the
// next quote, commas included; a tenth field of exactly "Modern" or "Classic" chooses that form (any
// other tenth field leaves it automatic), and anything after it is ignored.
ParsedSettings ParseRecord(std::string_view bytes);

// Whether the bytes are this program's record, so that a save may replace them: the nine fields
// quoted as the writer quotes them, each closed before its separator (the last may be cut off, for a
// record that ends early), whatever follows the ninth. An empty file holds nothing to lose and counts.
// Another program's file (an INI section, a list of keys) does not.
bool IsSettingsRecord(std::string_view bytes);

// Why a record cannot be saved so that it reads back the same: a value with a double quote (the
// reader would cut it there), or a record longer than the reader reads (blamed on its longest value).
enum class StoreProblem { DoubleQuote, TooLong };
struct Unstorable {
    Field field;
    StoreProblem problem;
};
std::optional<Unstorable> CheckStorable(const SettingsRecord& record);

// What was found where the settings file should be. Only a missing file is a first run; anything
// else that could not be read is left alone, so that no start overwrites a file it did not read.
enum class FileState { Loaded, Missing, Unreadable, NotAFile, TooLarge, NotARecord };
struct LoadResult {
    FileState state = FileState::Missing;
    ParsedSettings parsed; // filled when Loaded
    std::string reason;    // why it was not loaded
};

// Never blocks: a FIFO or device in the file's place is reported, not read.
LoadResult LoadSettings(const std::filesystem::path& path);

// Writes the record whole and atomically (see files::WriteAtomically): a failure at any point leaves
// the old file as it was, a symbolic link is kept, and the file is never writable by group or others.
// beforeCommit lets tests fail the save between writing and renaming.
Status SaveSettings(const std::filesystem::path& path, const SettingsRecord& record,
                    const std::function<bool()>& beforeCommit = {});

} // namespace zvm::settings
