#include "cli/BatchTool.h"
#include "media/Outside.h"
#include "settings/TargetsFile.h"

#include <QCoreApplication>

#include <iostream>
#include <sys/prctl.h>

namespace {
// The user's own targets join the table before any option names one. A damaged file is said on
// standard error and the built-in targets serve.
void ReadUserTargets() {
    QCoreApplication::setApplicationName(QStringLiteral("Zarnik Video Maker")); // where its folder is
    const zvm::settings::LoadedTargets loaded = zvm::settings::UseTargetsFile(zvm::settings::TargetsFilePath());
    if (!loaded.problem.ok()) {
        std::cerr << "zarnik-video-maker-cli: " << zvm::settings::TargetsFilePath().native()
                  << " could not be read: " << loaded.problem.text()
                  << (loaded.damagedInPlace ? ". It could not be set aside as " : ". It was set aside as ")
                  << loaded.asideAs.native() << "; only the built-in targets are used.\n";
    }
}
} // namespace

int main(int argc, char* argv[]) {
    ReadUserTargets();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = zvm::ParseToolArguments(arguments);
    if (!parsed.ok()) {
        std::cerr << "zarnik-video-maker-cli: " << parsed.status().text()
                  << "\nTry 'zarnik-video-maker-cli --help' for more information.\n";
        return zvm::cli::kRefused;
    }
    const zvm::ToolOptions& options = parsed.value();
    if (options.help) {
        std::cout << zvm::ToolHelp("zarnik-video-maker-cli");
        return zvm::cli::kConverted;
    }
    if (options.listTargets) {
        std::cout << zvm::TargetListing(options.json);
        return zvm::cli::kConverted;
    }
    if (zvm::cli::PrintsWithoutFiles(options)) {
        return zvm::cli::PrintKnown(options, std::cout, std::cerr); // no Qt: just the start-up cost
    }
    // What an encoder leaves behind comes to this process rather than to init, so its end can be
    // waited for and reaped.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    QCoreApplication app(argc, argv);
    zvm::media::RealOutside outside; // the tool's one way out
    return zvm::cli::Run(options, outside, std::cout, std::cerr);
}
