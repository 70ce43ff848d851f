#include "core/TwoPassFloor.h"

#include "core/FileSize.h"
#include "core/NumericText.h"
#include "core/OutputTarget.h"
#include "core/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace zvm {

namespace {
// libavcodec's rate control as the program runs it (no option of the commands changes these): its
// quantisers in lambda units, 118 to a step, between steps 2 and 31; key frames at 0.8 of the
// quantiser around them and B-frames at 1.25 of it plus 1.25; at most 3 steps from one frame of a
// kind to the next; each quantiser blurred with its neighbours of the same kind (weight e^-4); the
// key frames tied to the 300 last frames before all are tied again backwards. The entries it adds
// for B-frames still to come are left out: no two-pass command writes B-frames.
constexpr double kLambdaPerStep = 118;
constexpr double kLeastLambda = 2 * kLambdaPerStep;
constexpr double kMostLambda = 31 * kLambdaPerStep;
constexpr double kKeyFactor = 0.8;
constexpr double kBFactor = 1.25;
constexpr double kBOffset = 1.25;
constexpr double kMostChange = 3 * kLambdaPerStep;
constexpr double kBlurWeight = 0.018315638888734179; // e^-(1 / 0.5^2)
constexpr std::size_t kTiedFirst = 300;
constexpr int kKey = 1;
constexpr int kP = 2;
constexpr int kB = 3;

// Pass 2 aborts only when even its coarsest plan overshoots; planning is not exact to the bit, and
// a few hundredths more cost nothing against a run that cannot finish.
constexpr double kMargin = 0.03;

struct Frame {
    int type = 0;             // libavcodec's picture type: 1 key, 2 P, 3 B
    double lambda = 0;        // pass 1's quantiser
    double texture = 0;       // bits that scale with the quantiser
    double constantBits = 0;  // motion, headers and the rest
};

std::optional<double> NumberOf(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end != text.data() ? std::optional(value) : std::nullopt;
}

// One entry's "name:value" fields, each name preceded by a blank or the entry's start.
std::optional<double> Field(std::string_view entry, std::string_view name) {
    for (std::size_t at = entry.find(name); at != std::string_view::npos; at = entry.find(name, at + 1)) {
        const bool starts = at == 0 || entry[at - 1] == ' ' || entry[at - 1] == '\n';
        if (starts && entry.substr(at + name.size()).starts_with(':')) {
            return NumberOf(entry.substr(at + name.size() + 1));
        }
    }
    return std::nullopt;
}

double FieldOr0(std::string_view entry, std::string_view name) {
    return Field(entry, name).value_or(0);
}

// libx264 names its rate in its options line: "fps=30000/1001".
std::optional<double> RateOfOptions(std::string_view statistics) {
    const std::size_t at = statistics.find(" fps=");
    if (!statistics.starts_with("#options:") || at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rate = statistics.substr(at + 5);
    const std::optional<double> across = NumberOf(rate);
    const std::size_t slash = rate.find('/');
    const std::optional<double> down =
        slash != std::string_view::npos && slash < rate.find(' ') ? NumberOf(rate.substr(slash + 1)) : 1.0;
    return across && down && *down > 0 ? std::optional(*across / *down) : std::nullopt;
}

// The quantiser bounds of a frame's kind.
std::pair<double, double> Bounds(int type) {
    const auto scaled = [type](double lambda) {
        return type == kKey ? std::floor(lambda * kKeyFactor + 0.5)
               : type == kB ? std::floor(lambda * kBFactor + kBOffset + 0.5)
                            : lambda;
    };
    return {scaled(kLeastLambda), scaled(kMostLambda)};
}

// Ties each quantiser to the one before it (in the order walked): a key frame after a P frame to
// that one's, every frame of a kind within a few steps of the last of its kind.
class Tying {
public:
    explicit Tying(const std::vector<double>& planned, const std::vector<Frame>& frames) {
        for (std::size_t i = 0; i < frames.size(); ++i) {
            last_[Kind(frames[i].type)] = planned[i];
        }
        lastNotB_ = frames.front().type != kB ? frames.front().type : 0;
    }
    double tie(int type, double lambda) {
        if (type == kKey && lastNotB_ == kP) {
            lambda = last_[kP] * kKeyFactor;
        }
        lambda = std::max(lambda, 1.0);
        if (lastNotB_ == type || type != kKey) {
            const double last = last_[Kind(type)];
            lambda = std::clamp(lambda, last - kMostChange, last + kMostChange);
        }
        last_[Kind(type)] = lambda;
        if (type != kB) {
            lastNotB_ = type;
        }
        return lambda;
    }

private:
    static std::size_t Kind(int type) { return static_cast<std::size_t>(std::clamp(type, 0, 7)); }
    std::array<double, 8> last_{};
    int lastNotB_ = 0;
};

// The bits of the coarsest plan: the rate control's factor near 0 leaves every frame one bit of
// texture to aim at, so each frame's quantiser is as coarse as its ties and bounds let it be.
double CoarsestBits(const std::vector<Frame>& frames) {
    std::vector<double> lambdas;
    lambdas.reserve(frames.size());
    for (const Frame& f : frames) {
        const double aimed = f.lambda * (f.texture + 1);
        lambdas.push_back(std::max(1.0, f.type == kKey ? aimed * kKeyFactor : aimed));
    }
    Tying tying(lambdas, frames);
    for (std::size_t i = frames.size() - std::min(frames.size(), kTiedFirst); i < frames.size(); ++i) {
        lambdas[i] = tying.tie(frames[i].type, lambdas[i]);
    }
    for (std::size_t i = frames.size(); i-- > 0;) {
        lambdas[i] = tying.tie(frames[i].type, lambdas[i]);
    }
    double bits = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        double sum = lambdas[i];
        double weight = 1;
        for (const std::size_t j : {i - 1, i + 1}) { // i - 1 wraps past the end for the first
            if (j < frames.size() && frames[j].type == frames[i].type) {
                sum += lambdas[j] * kBlurWeight;
                weight += kBlurWeight;
            }
        }
        const auto [least, most] = Bounds(frames[i].type);
        const double lambda = std::clamp(sum / weight, least, most);
        bits += frames[i].lambda * (frames[i].texture + 1) / lambda + frames[i].constantBits;
    }
    return bits;
}
} // namespace

std::optional<double> SecondPassFloorKbps(std::string_view statistics, double framesPerSecond) {
    const double rate = RateOfOptions(statistics).value_or(framesPerSecond);
    std::vector<Frame> frames;
    bool scaled = false; // libavcodec's: its texture scales with the quantiser
    double constantBits = 0;
    for (std::size_t start = 0; start < statistics.size();) {
        const std::size_t end = std::min(statistics.find(';', start), statistics.size());
        std::string_view entry = statistics.substr(start, end - start);
        start = end + 1;
        if (const std::size_t line = entry.rfind('\n'); line != std::string_view::npos) {
            entry.remove_prefix(line + 1); // the first frame follows libx264's options line
        }
        if (!entry.starts_with("in:")) {
            continue;
        }
        const double constant = FieldOr0(entry, "mv") + FieldOr0(entry, "misc");
        constantBits += constant;
        if (Field(entry, "itex")) {
            scaled = true;
            frames.push_back({static_cast<int>(FieldOr0(entry, "type")), FieldOr0(entry, "q"),
                              FieldOr0(entry, "itex") + FieldOr0(entry, "ptex"), constant});
        } else {
            frames.push_back({});
        }
    }
    if (frames.empty() || !(rate > 0)) {
        return std::nullopt;
    }
    // libx264 scales all but these bits down to nothing within its wide quantiser range.
    const double bits = scaled ? CoarsestBits(frames) : constantBits;
    return bits * rate / static_cast<double>(frames.size()) / 1000;
}

Status CheckSecondPass(const ConversionRequest& request, std::optional<double> keptSeconds, double floorKbps) {
    const std::optional<double> asked = ParseNumber(request.videoBitrate);
    if (!asked || *asked >= floorKbps * (1 + kMargin)) {
        return {};
    }
    // A first pass at a higher rate measures the pictures at finer quantisers, which the second pass
    // then counts as costlier: the floor rises with the rate asked. As much again as the shortfall
    // covered the rise on the clips measured, so the smallest named is one that passes its own run.
    const double smallest = std::ceil(std::max(floorKbps, 2 * floorKbps - *asked) * (1 + kMargin));
    const std::string kbps = NumberText(smallest);
    if (request.fileSizeMB && keptSeconds && *keptSeconds > 0) {
        return Status::Failure(
            FailureKind::Refused,
            ZVM_TEXT("zvm", "The first pass found this video needs more than this file size holds; the smallest "
                            "file size that works is %1"),
            NumberText(SizeForVideoBitrate(smallest, *keptSeconds, AudioKbpsOf(request))) + " MB (" + kbps +
                " kbit/s)");
    }
    return Status::Failure(
        FailureKind::Refused,
        ZVM_TEXT("zvm", "The first pass found this video needs more than this bitrate; the smallest video bitrate "
                        "that works is %1 kbit/s"),
        kbps);
}

} // namespace zvm
