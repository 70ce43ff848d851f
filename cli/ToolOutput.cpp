#include "cli/ToolOutput.h"

#include "files/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace zvm {

using files::Utf8SequenceLength;

namespace {

std::string Base64(std::string_view bytes) {
    constexpr std::string_view kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned value = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            value = (value << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0U);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? kDigits[(value >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return out;
}

// A JSON string literal, quotes included; what is not UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view text) {
    std::string json = "\"";
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length != 1) {
            json += length == 0 ? "\uFFFD" : std::string(text.substr(0, length));
            text.remove_prefix(std::max<std::size_t>(length, 1));
            continue;
        }
        const char c = text.front();
        text.remove_prefix(1);
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                json += escaped;
            } else {
                json += c;
            }
        }
    }
    return json + "\"";
}

// ", "name": "text"", and its exact bytes beside it when they are not UTF-8.
std::string NameField(const char* name, std::string_view bytes) {
    std::string field = std::string(", \"") + name + "\": " + JsonString(bytes);
    if (!IsUtf8(bytes)) {
        field += std::string(", \"") + name + "Bytes\": \"" + Base64(bytes) + "\"";
    }
    return field;
}

std::string ArgumentsField(const std::vector<std::string>& arguments) {
    std::string texts;
    std::string bytes;
    bool allUtf8 = true;
    for (const std::string& a : arguments) {
        texts += (texts.empty() ? "" : ", ") + JsonString(a);
        bytes += (bytes.empty() ? "\"" : ", \"") + Base64(a) + "\"";
        allUtf8 = allUtf8 && IsUtf8(a);
    }
    return ", \"arguments\": [" + texts + "]" + (allUtf8 ? "" : ", \"argumentsBytes\": [" + bytes + "]");
}
} // namespace

bool IsUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

std::string FitJson(const PreparedRun& run, const std::vector<std::string>& arguments) {
    const FrameGeometry& g = run.geometry;
    const auto number = [](const char* name, int value) {
        return std::string(", \"") + name + "\": " + std::to_string(value);
    };
    const std::string ratio = std::isfinite(g.ratio) ? FormatRatio(g.ratio) : "null";
    // Appended piece by piece: "{" + a temporary trips GCC 12's -Wrestrict in optimised builds.
    std::string json = "{";
    json += NameField("source", run.request.sourceVideo).substr(2);
    json += NameField("output", run.request.outputPath);
    // What was chosen of the source, only when anything was: the fit that follows is the kept picture's.
    const CropChoice& crop = run.request.crop;
    if (crop.mode == CropMode::Rect) {
        json += R"(, "crop": {"width": )" + std::to_string(crop.width) + number("height", crop.height) +
                number("x", crop.x) + number("y", crop.y) + "}";
    } else if (!run.cropWhy.empty()) {
        json += R"(, "crop": null, "cropWhy": )" + JsonString(run.cropWhy);
    }
    if (run.request.audio.track >= 0) {
        json += number("audioStream", run.request.audio.track);
    }
    if (run.request.deinterlace == DeinterlaceMode::On) {
        json += ", \"deinterlaced\": true";
    }
    json += ", \"ratio\": " + ratio;
    json += number("newWidth", g.newWidth) + number("newHeight", g.newHeight) + number("padTop", g.padTop) +
            number("padBottom", g.padBottom) + number("padLeft", g.padLeft) + number("padRight", g.padRight);
    json += ", \"command\": " + JsonString(run.command) + ArgumentsField(arguments) + "}";
    return json;
}

} // namespace zvm
