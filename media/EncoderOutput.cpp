#include "media/EncoderOutput.h"

#include "core/Cut.h"
#include "core/Text.h"
#include "media/FormQuestion.h"

#include <algorithm>
#include <charconv>

namespace zvm::media {

namespace {
// The clock text that follows `key` in a line, up to the next blank or comma.
std::string_view ValueAfter(std::string_view line, std::string_view key) {
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view rest = line.substr(at + key.size());
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    return rest.substr(0, rest.find_first_of(" ,\r\n"));
}

bool ParseUnsigned(std::string_view text, long long& value) {
    if (text.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

// An encoder may write without line breaks; a line keeps only its end, where progress figures are.
void KeepTail(std::string& line) {
    constexpr std::string_view kCut = "[...] ";
    line.erase(0, line.size() - (EncoderOutput::kMaxLineLength - kCut.size()));
    line.insert(0, kCut);
}
} // namespace

std::optional<double> ParseClockTime(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (negative || second == std::string_view::npos) {
        return std::nullopt;
    }
    long long hours = 0;
    long long minutes = 0;
    double seconds = 0;
    const std::string_view secondsText = text.substr(second + 1);
    const auto [end, error] =
        std::from_chars(secondsText.data(), secondsText.data() + secondsText.size(), seconds);
    // A clock the encoder could print: anything else is not a time, and the sum cannot overflow.
    constexpr long long kMaxHours = 1'000'000;
    if (!ParseUnsigned(text.substr(0, first), hours) ||
        !ParseUnsigned(text.substr(first + 1, second - first - 1), minutes) || error != std::errc{} ||
        end != secondsText.data() + secondsText.size() || hours > kMaxHours || minutes >= 60 ||
        !(seconds >= 0 && seconds < 60)) {
        return std::nullopt;
    }
    return static_cast<double>(hours) * 3600 + static_cast<double>(minutes) * 60 + seconds;
}

EncoderOutput::EncoderOutput(std::size_t keptLines) : keptLines_(keptLines == 0 ? 1 : keptLines) {}

void EncoderOutput::append(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == '\n') {
            returnPending_ = false;
            finishLine();
        } else if (c == '\r') {
            if (!returnPending_) {
                scan(current_);
            }
            returnPending_ = true;
        } else {
            if (returnPending_) {
                // A lone carriage return: the encoder rewrites its progress line in place.
                current_.clear();
                returnPending_ = false;
            }
            current_ += c;
            if (current_.size() >= 2 * kMaxLineLength) {
                KeepTail(current_);
            }
        }
    }
}

void EncoderOutput::finishLine() {
    scan(current_);
    if (current_.size() > kMaxLineLength) {
        KeepTail(current_);
    }
    lines_.push_back(std::move(current_));
    current_.clear();
    if (lines_.size() > keptLines_) {
        lines_.pop_front();
    }
}

void EncoderOutput::scan(std::string_view line) {
    if (line.starts_with("Output #")) {
        outputDescribed_ = true;
    } else if (!outputDescribed_ && line.find("Stream #") != line.npos &&
               line.find(": Audio:") != line.npos) {
        inputAudio_ = true;
    }
    if (!duration_) {
        duration_ = ParseClockTime(ValueAfter(line, "Duration:"));
    }
    if (const auto t = ParseClockTime(ValueAfter(line, "time="))) {
        time_ = t;
    }
}

double EncoderOutput::encodedOverPasses(std::optional<double> kept) const {
    const double encoded = time_.value_or(0);
    return kept ? EncodedOverPasses(encoded, pass_, passes_, *kept) : encoded;
}

std::optional<bool> EncoderOutput::inputHasAudio() const {
    return outputDescribed_ ? std::optional(inputAudio_) : std::nullopt;
}

std::string EncoderOutput::screen() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += '\n';
    }
    text += current_;
    return text;
}

namespace {
// The encoder's own words for its usual failures, as the builds this program meets print them (the
// same in 4.1, 5.1 and 7.1 unless a row says otherwise), and what they mean for the user. The first
// row a line matches wins, so the most telling rows come first.
struct FailureWords {
    std::string_view words;
    const char* cause;
};
constexpr FailureWords kFailureWords[] = {
    {"No space left on device", ZVM_TEXT("zvm", "the disk is full")},
    {"Read-only file system", ZVM_TEXT("zvm", "the output's folder is on a read-only disk")},
    {"Permission denied", ZVM_TEXT("zvm", "this user may not write the output there")},
    {"PSP mode need one video and one audio stream", ZVM_TEXT("zvm", "the target's format needs a sound track")},
    // 4.1 and 5.1 ("requested bitrate is too low"), 5.1 with a buffer size, which then aborts.
    {"bitrate is too low", ZVM_TEXT("zvm", "the bitrate is too low for this encoder")},
    {"bitrate too low", ZVM_TEXT("zvm", "the bitrate is too low for this encoder")},
    {"Unknown encoder", ZVM_TEXT("zvm", "this ffmpeg lacks an encoder the command needs")},
    {"Encoder not found", ZVM_TEXT("zvm", "this ffmpeg lacks an encoder the command needs")}, // 7.1
    {"No such filter", ZVM_TEXT("zvm", "this ffmpeg lacks a filter the command needs")},
    {"Requested output format", ZVM_TEXT("zvm", "this ffmpeg cannot write the target's format")},
    {"Unrecognized option", ZVM_TEXT("zvm", "this ffmpeg does not know an option of the command")},
    {"Option not found", ZVM_TEXT("zvm", "this ffmpeg does not know an option of the command")},
};

} // namespace

const char* EncoderOutput::failureCause() const {
    const auto says = [](std::string_view words) {
        return [words](const std::string& line) { return line.find(words) != std::string::npos; };
    };
    for (const FailureWords& row : kFailureWords) {
        if (says(row.words)(current_) || std::any_of(lines_.begin(), lines_.end(), says(row.words))) {
            return row.cause;
        }
    }
    return nullptr;
}

bool EncoderOutput::rejectedAnOption() const {
    return NamesUnknownOption(current_) ||
           std::any_of(lines_.begin(), lines_.end(), [](const std::string& line) { return NamesUnknownOption(line); });
}

} // namespace zvm::media
