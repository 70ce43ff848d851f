#include "ToolOutput.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace zvm {

namespace {
// A JSON string literal, quotes included.
std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
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
} // namespace

std::string FitJson(const GenerateResult& result) {
    const FrameGeometry& g = result.geometry;
    const auto number = [](const char* name, int value) {
        return std::string(", \"") + name + "\": " + std::to_string(value);
    };
    const std::string ratio = std::isfinite(g.ratio) ? FormatRatio(g.ratio) : "null";
    return "{\"source\": " + JsonString(result.request.sourceVideo) +
           ", \"output\": " + JsonString(result.request.outputPath) + ", \"ratio\": " + ratio +
           number("newWidth", g.newWidth) + number("newHeight", g.newHeight) + number("padTop", g.padTop) +
           number("padBottom", g.padBottom) + number("padLeft", g.padLeft) + number("padRight", g.padRight) +
           ", \"command\": " + JsonString(result.command.value_or("")) + "}";
}

} // namespace zvm
