// A stand-in for the encoder in tests. Asked for its -version, it answers like an old encoder that
// knows the classic options. Otherwise it records its arguments, one per line, into
// "arguments.txt" in its working directory, prints output shaped like the real encoder's (with
// carriage-return progress lines), writes "encoded" into its last argument as the output file, and
// exits with FAKE_ENCODER_EXIT (default 0) after FAKE_ENCODER_SECONDS (default 0) seconds.
// FAKE_ENCODER_FLOOD=N first writes N MB without a line break; FAKE_ENCODER_IGNORE_TERM=1 ignores
// SIGTERM; FAKE_ENCODER_FORK=1 leaves a child running (its pid in "child.pid") that ignores it too;
// FAKE_ENCODER_FAIL_ON=TEXT fails (exit 1, no output file) when the output's name contains TEXT.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {
double EnvNumber(const char* name, double fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::atof(value) : fallback;
}

void Flood(int megabytes) {
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < megabytes; ++i) {
        if (write(STDERR_FILENO, block.data(), block.size()) < 0) {
            return;
        }
    }
}

void LeaveAChild() {
    const pid_t child = fork();
    if (child == 0) {
        std::this_thread::sleep_for(std::chrono::seconds(60));
        _exit(0);
    }
    std::ofstream("child.pid") << child << '\n';
}
} // namespace

int main(int argc, char* argv[]) {
    // Asked which options it knows, it answers as an encoder that knows them all.
    if (argc > 1 && std::string(argv[argc - 1]) == "-version") {
        std::printf("ffmpeg version fake\n");
        return 0;
    }
    {
        std::ofstream record("arguments.txt", std::ios::binary);
        for (int i = 1; i < argc; ++i) {
            record << argv[i] << '\n';
        }
    }
    if (EnvNumber("FAKE_ENCODER_IGNORE_TERM", 0) != 0 || EnvNumber("FAKE_ENCODER_FORK", 0) != 0) {
        std::signal(SIGTERM, SIG_IGN);
    }
    if (EnvNumber("FAKE_ENCODER_FORK", 0) != 0) {
        LeaveAChild();
        std::signal(SIGTERM, SIG_DFL); // the encoder itself is polite; its child is not
    }
    Flood(static_cast<int>(EnvNumber("FAKE_ENCODER_FLOOD", 0)));
    const double seconds = EnvNumber("FAKE_ENCODER_SECONDS", 0);
    std::fprintf(stderr, "Input #0, avi, from 'input':\n  Duration: 00:00:%05.2f, start: 0.000000\n",
                 seconds);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds / steps));
        std::fprintf(stderr,
                     "frame=%4d fps=25 q=2.0 size=%6dkB time=00:00:%05.2f bitrate=1.0kbits/s speed=1x    \r",
                     i * 10, i * 4, seconds * i / steps);
        std::fflush(stderr);
    }
    std::fprintf(stderr, "\nvideo:40kB audio:4kB\n");
    const char* failOn = std::getenv("FAKE_ENCODER_FAIL_ON");
    if (failOn != nullptr && argc > 1 && std::string(argv[argc - 1]).find(failOn) != std::string::npos) {
        std::fprintf(stderr, "Conversion failed!\n");
        return 1;
    }
    if (argc > 1) {
        std::ofstream(argv[argc - 1], std::ios::binary) << "encoded\n";
    }
    return static_cast<int>(EnvNumber("FAKE_ENCODER_EXIT", 0));
}
