#include "BatchTool.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char* argv[]) {
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
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zarnik Video Maker"));
    return zvm::cli::Run(options, std::cout, std::cerr);
}
