#pragma once

// Texts crossing between the Qt layers and the plain C++ ones, by one rule: a file name crosses as
// the system's bytes (what open(2) and exec(2) take: QFile::encodeName), every other text as UTF-8.
// A command line counts as file names (its words go to exec(2) as they are), and so do the system's
// own messages (strerror), which come in its encoding. Built only with Qt.

#include <QString>

#include <string>
#include <string_view>

namespace zvm::files {

// Texts: messages, numbers typed into boxes, codec and screen names.
QString ToQString(std::string_view text);
std::string ToStd(const QString& text);

// File and program names, command lines, and the system's messages.
QString PathToQString(std::string_view path);
std::string PathToStd(const QString& path);

} // namespace zvm::files
