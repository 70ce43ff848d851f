#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace zvm::media {

// Follows the encoder's output as it arrives, in pieces of any size, and keeps what the encoder
// window shows: the last lines as a terminal would show them (a carriage return starts its line
// again, as progress lines do), the input's duration and the latest progress time.
class EncoderOutput {
public:
    explicit EncoderOutput(std::size_t keptLines = 500);

    // The longest line kept; a longer one keeps its end. With the kept lines, this bounds memory.
    static constexpr std::size_t kMaxLineLength = 2000;

    void append(std::string_view bytes);

    // The kept lines joined with newlines, the line being written last.
    std::string screen() const;
    // Seconds of the first input's "Duration:", once known.
    std::optional<double> duration() const { return duration_; }
    // Seconds of the latest "time=" that held a time ("N/A" is passed over).
    std::optional<double> time() const { return time_; }
    // A pass of `passes` over the input begins (from 0): its time counts from 0 again.
    void startPass(std::size_t pass, std::size_t passes) {
        time_.reset();
        pass_ = pass;
        passes_ = passes;
    }
    // Seconds of the kept part done over all passes, each pass an equal share; with one pass, or the
    // kept part's length unknown, the latest time as it stands.
    double encodedOverPasses(std::optional<double> kept) const;
    // Whether the encoder's input has a sound stream, once its description has been read.
    std::optional<bool> inputHasAudio() const;
    // Whether a kept line says the encoder does not know an option it was given: an encoder that
    // turns down the classic command's options needs the modern one.
    bool rejectedAnOption() const;
    // What the kept lines say went wrong, in plain words (a fixed English text, marked for
    // translation); nothing when they name no failure this program knows. Read on any ending, a
    // signal's too: an encoder may abort after saying why.
    const char* failureCause() const;

private:
    void finishLine();
    void scan(std::string_view line);

    std::size_t keptLines_;
    std::deque<std::string> lines_;
    std::string current_;
    bool returnPending_ = false;
    std::optional<double> duration_;
    std::optional<double> time_;
    std::size_t pass_ = 0;
    std::size_t passes_ = 1;
    bool inputAudio_ = false;
    bool outputDescribed_ = false; // past the inputs' description
};

// "HH:MM:SS.xx" (hours may have more digits) to seconds; nothing for anything else, or for a clock
// beyond a million hours.
std::optional<double> ParseClockTime(std::string_view text);

} // namespace zvm::media
