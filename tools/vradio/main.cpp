// talveron-vradio: a virtual radio on a pseudo-terminal. Prints the port's path as its first
// line, serves the radio until SIGTERM or SIGINT, then writes --save if given.
// Exit status: 0 after a clean run, 1 when the pseudo-terminal or --save fails, 2 for a bad
// option or a refused --load file.
#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/pty.h"
#include "vradio/options.h"
#include "vradio/serve.h"

namespace {

volatile sig_atomic_t gStop = 0;

extern "C" void OnStopSignal(int) {
    gStop = 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace talveron;
    using namespace talveron::vradio;

    const ParsedOptions parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::fprintf(stderr, "talveron-vradio: %s\n(try --help)\n", parsed.error.c_str());
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }

    RadioSetup setup = MakeRadio(options);
    if (!setup.radio) {
        std::fprintf(stderr, "talveron-vradio: %s\n", setup.error.c_str());
        return 2;
    }

    // The stop signals stay blocked except while the server waits, so none slips between a
    // check and a wait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    PtyPair pty;
    std::string error;
    if (!pty.Open(error)) {
        std::fprintf(stderr, "talveron-vradio: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", pty.SlavePath().c_str());
    std::fflush(stdout);

    int status = 0;
    if (!Serve(*setup.radio, pty, options.baud, gStop, waitMask, error)) {
        std::fprintf(stderr, "talveron-vradio: %s\n", error.c_str());
        status = 1;
    }
    pty.Close();

    if (!options.savePath.empty()) {
        const std::string failure = SaveRadio(*setup.radio, options.savePath);
        if (!failure.empty()) {
            std::fprintf(stderr, "talveron-vradio: %s\n", failure.c_str());
            status = 1;
        }
    }
    return status;
}
