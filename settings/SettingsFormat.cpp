#include "settings/SettingsFile.h"

namespace zvm::settings {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Reads the fields of the file one at a time.
class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

    // The next field, or nothing at the end of the data.
    std::optional<std::string> next() {
        while (pos_ < bytes_.size() && IsBlank(bytes_[pos_])) {
            ++pos_;
        }
        if (pos_ >= bytes_.size()) {
            return std::nullopt;
        }
        std::string value = bytes_[pos_] == '"' ? quoted() : unquoted();
        skipToSeparator();
        return value;
    }

private:
    std::string quoted() {
        const std::size_t start = pos_ + 1;
        const std::size_t close = bytes_.find('"', start);
        const std::size_t end = close == std::string_view::npos ? bytes_.size() : close;
        pos_ = close == std::string_view::npos ? end : close + 1;
        return std::string(bytes_.substr(start, end - start));
    }

    // Trailing blanks of an unquoted value are not part of it, as leading blanks are not.
    std::string unquoted() {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) {
            ++pos_;
        }
        std::size_t end = pos_;
        while (end > start && IsBlank(bytes_[end - 1])) {
            --end;
        }
        return std::string(bytes_.substr(start, end - start));
    }

    // Passes over whatever follows a closing quote, then one separator; CR LF counts as one line end.
    void skipToSeparator() {
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) {
            ++pos_;
        }
        if (pos_ >= bytes_.size()) {
            return;
        }
        const bool carriageReturn = bytes_[pos_] == '\r';
        ++pos_;
        if (carriageReturn && pos_ < bytes_.size() && bytes_[pos_] == '\n') {
            ++pos_;
        }
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};
} // namespace

std::string FormatRecord(const SettingsRecord& record) {
    std::string line;
    for (const std::string& value : record.values) {
        line += '"';
        line += value;
        line += "\",";
    }
    line += '"';
    line += kSavedMarker;
    line += '"';
    if (record.formChoice != FormChoice::Automatic) {
        line += ",\"";
        line += record.formChoice == FormChoice::Modern ? kModernMarker : kClassicMarker;
        line += '"';
    }
    line += "\r\n";
    return line;
}

ParsedSettings ParseRecord(std::string_view bytes) {
    ParsedSettings parsed;
    FieldReader reader(bytes.substr(0, kMaxReadBytes));
    while (parsed.fieldsRead <= FieldCount) {
        std::optional<std::string> value = reader.next();
        if (!value) {
            break;
        }
        std::string& slot =
            parsed.fieldsRead < FieldCount ? parsed.record.values[parsed.fieldsRead] : parsed.record.marker;
        slot = std::move(*value);
        ++parsed.fieldsRead;
    }
    if (parsed.fieldsRead > FieldCount) {
        const std::optional<std::string> tenth = reader.next();
        parsed.record.formChoice = tenth == kModernMarker    ? FormChoice::Modern
                                   : tenth == kClassicMarker ? FormChoice::Classic
                                                             : FormChoice::Automatic;
    }
    return parsed;
}

bool IsSettingsRecord(std::string_view bytes) {
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < bytes.size() && IsBlank(bytes[pos])) {
            ++pos;
        }
    };
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return true;
    }
    for (std::size_t field = 0; field <= FieldCount; ++field) {
        skipBlanks();
        if (pos >= bytes.size()) {
            return true; // ended early, after a separator
        }
        if (bytes[pos] != '"') {
            return false;
        }
        const std::size_t close = bytes.find('"', pos + 1);
        if (close == std::string_view::npos) {
            return true; // cut off inside its last value
        }
        pos = close + 1;
        if (field == FieldCount || pos >= bytes.size()) {
            return true;
        }
        if (bytes[pos] != ',' && !IsLineEnd(bytes[pos])) {
            return false;
        }
        const bool crLf = bytes.substr(pos, 2) == "\r\n";
        pos += crLf ? 2 : 1;
    }
    return true;
}

std::optional<Unstorable> CheckStorable(const SettingsRecord& record) {
    std::size_t longest = 0;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        if (record.values[i].find('"') != std::string::npos) {
            return Unstorable{static_cast<Field>(i), StoreProblem::DoubleQuote};
        }
        if (record.values[i].size() > record.values[longest].size()) {
            longest = i;
        }
    }
    if (FormatRecord(record).size() > kMaxReadBytes) {
        return Unstorable{static_cast<Field>(longest), StoreProblem::TooLong};
    }
    return std::nullopt;
}

} // namespace zvm::settings
