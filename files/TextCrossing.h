#pragma once

// Texts crossing between the Qt layers and the plain C++ ones, by one rule: a file name crosses as
// the system's bytes (what open(2) and exec(2) take), every other text as UTF-8. A command line
// counts as file names (its words go to exec(2) as they are), and so do the system's own messages
// (strerror), which come in its encoding. Built only with Qt.

#include "files/Descriptor.h"

#include <QString>

#include <string>
#include <string_view>

namespace zvm::files {

// Texts: messages, numbers typed into boxes, codec and screen names.
QString ToQString(std::string_view text);
std::string ToStd(const QString& text);

// File and program names, command lines, and the system's messages. A name's bytes survive the
// round trip whole: a byte that is not part of UTF-8 crosses as the lone code unit U+DC80 + byte
// (QFile::decodeName would make it U+FFFD, and the file could no longer be reached), and comes back
// as that byte. Qt's own file and process calls cannot carry such a unit: see ReachableName.
QString PathToQString(std::string_view path);
std::string PathToStd(const QString& path);

// A name by which Qt's file and process calls reach the file a path names: the path itself when Qt
// can carry it; otherwise the file is held open here and named through /proc (a helper program
// opens it again through this process), for as long as this object lives. The path itself when the
// file cannot be opened, so the failure is the helper's own.
class ReachableName {
public:
    explicit ReachableName(const QString& path);
    const QString& name() const { return name_; }

private:
    Descriptor file_;
    QString name_;
};

} // namespace zvm::files
