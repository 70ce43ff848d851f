#include "process/OutputGuard.h"

#include <sys/stat.h>

namespace zvm::process {

bool OutputIsSource(const std::string& source, const std::string& output) {
    struct stat a {};
    struct stat b {};
    return stat(source.c_str(), &a) == 0 && stat(output.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace zvm::process
