#include "media/WorkerWire.h"

#include "core/Text.h"

#include <algorithm>
#include <charconv>

namespace zvm::media::wire {

namespace {
Status Malformed(std::string detail) {
    return Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "the media reader's message is malformed: %1"),
                           std::move(detail));
}

// "<word> <count>\n" at `at`: the word and the count, and `at` moved past the line. Nothing while the
// line is incomplete; a failure when it cannot become one.
Result<std::optional<std::pair<std::string, std::size_t>>> Line(std::string_view buffer, std::size_t& at,
                                                                std::size_t longest) {
    const std::size_t end = buffer.find('\n', at);
    if (end == std::string_view::npos) {
        if (buffer.size() - at > longest + 21) {
            return Malformed("a line without its end");
        }
        return std::optional<std::pair<std::string, std::size_t>>();
    }
    const std::string_view line = buffer.substr(at, end - at);
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const bool wordOk =
        space != std::string_view::npos && !word.empty() && word.size() <= longest &&
        std::all_of(word.begin(), word.end(), [](char c) { return (c >= 'a' && c <= 'z') || c == '_'; });
    std::size_t count = 0;
    const std::string_view digits = wordOk ? line.substr(space + 1) : std::string_view();
    const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    // One spelling for each number (no leading zeros), so a message reads back as the bytes it came from.
    if (!wordOk || digits.empty() || (digits.size() > 1 && digits[0] == '0') || error != std::errc() ||
        last != digits.data() + digits.size()) {
        return Malformed("a bad line");
    }
    at = end + 1;
    return std::optional(std::pair(std::string(word), count));
}
} // namespace

std::string Message::get(std::string_view name) const {
    for (const auto& [key, value] : fields) {
        if (key == name) {
            return value;
        }
    }
    return {};
}

bool Message::has(std::string_view name) const {
    return std::any_of(fields.begin(), fields.end(),
                       [name](const auto& field) { return field.first == name; });
}

Message& Message::add(std::string name, std::string value) {
    fields.emplace_back(std::move(name), std::move(value));
    return *this;
}

std::string Encode(const Message& message) {
    std::string out = "zvm " + std::to_string(message.fields.size()) + "\n";
    for (const auto& [name, value] : message.fields) {
        out += name + " " + std::to_string(value.size()) + "\n";
        out += value;
    }
    return out;
}

Result<std::optional<Message>> Reader::next() {
    if (!failed_.ok()) {
        return failed_;
    }
    std::size_t at = 0;
    auto fail = [this](Status why) {
        failed_ = std::move(why);
        buffer_.clear();
        return failed_;
    };
    const auto header = Line(buffer_, at, 3);
    if (!header.ok()) {
        return fail(header.status());
    }
    if (!header.value()) {
        return std::optional<Message>();
    }
    if (header.value()->first != "zvm" || header.value()->second > kMaxFields) {
        return fail(Malformed("not a message header"));
    }
    Message message;
    for (std::size_t i = 0; i < header.value()->second; ++i) {
        const auto field = Line(buffer_, at, kMaxName);
        if (!field.ok()) {
            return fail(field.status());
        }
        if (!field.value()) {
            return std::optional<Message>();
        }
        const std::size_t length = field.value()->second;
        if (length > maxBytes_ || at + length > maxBytes_ + 64 * (kMaxFields + 1)) {
            return fail(Malformed("a message longer than allowed"));
        }
        if (buffer_.size() - at < length) {
            return std::optional<Message>();
        }
        message.add(field.value()->first, buffer_.substr(at, length));
        at += length;
    }
    buffer_.erase(0, at);
    return std::optional(std::move(message));
}

} // namespace zvm::media::wire
