#include "files/TextCrossing.h"

#include "files/Utf8.h"

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace zvm::files {

namespace {
constexpr char16_t kEscapedByte = 0xDC00; // + the byte, for bytes 0x80 to 0xFF

bool IsEscapedByte(QChar c) {
    return c.unicode() >= kEscapedByte + 0x80 && c.unicode() <= kEscapedByte + 0xFF;
}
} // namespace

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStd(const QString& text) {
    return text.toStdString();
}

QString PathToQString(std::string_view path) {
    QString text;
    while (!path.empty()) {
        std::size_t valid = 0; // the well-formed stretch at the start
        while (valid < path.size()) {
            const std::size_t length = Utf8SequenceLength(path.substr(valid));
            if (length == 0) {
                break;
            }
            valid += length;
        }
        text += QString::fromUtf8(path.data(), static_cast<qsizetype>(valid));
        if (valid < path.size()) {
            text += QChar(static_cast<char16_t>(kEscapedByte + static_cast<unsigned char>(path[valid])));
            ++valid;
        }
        path.remove_prefix(valid);
    }
    return text;
}

std::string PathToStd(const QString& path) {
    std::string bytes;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsEscapedByte(path[i])) {
            bytes += path.mid(from, i - from).toStdString();
            if (i < path.size()) {
                bytes += static_cast<char>(path[i].unicode() - kEscapedByte);
            }
            from = i + 1;
        }
    }
    return bytes;
}

ReachableName::ReachableName(const QString& path)
    : file_(std::any_of(path.begin(), path.end(), IsEscapedByte)
                ? ::open(PathToStd(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)
                : -1),
      name_(file_.isOpen() ? QStringLiteral("/proc/%1/fd/%2").arg(::getpid()).arg(file_.get()) : path) {}

} // namespace zvm::files
