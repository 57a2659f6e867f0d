// The programs under test run as processes: talveron-cli (or any program) run to its end with
// its output and exit status captured, and talveron-vradio serving on its pseudo-terminal,
// which the test opens as a programmer would. Also the samples.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "image/eeprom_image.h"

namespace talveron::test {

using Bytes = std::vector<std::uint8_t>;

struct RunResult {
    int status = -1;  // the exit status; -1 for a crash or a run past its limit
    std::string out;
    std::string err;
};

// Runs program with args (stdin from /dev/null) to its end, at most two minutes; env adds to
// or replaces variables of the test's own environment.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& env = {});
// The path of the built talveron-cli.
std::string CliProgram();
RunResult RunCli(const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& env = {});
RunResult RunVradio(const std::vector<std::string>& args);

// The path of a file in samples/.
std::string SamplePath(const std::string& name);
// Reads a .cfg file the way the program opens it; an empty image when that fails.
EepromImage ReadImage(const std::string& path);

// talveron-vradio started with args ("--baud 0" added unless a --baud is given); its port
// path is the first line of its stdout. Killed at the end if it still runs. Every wait ends
// after at most ten seconds, a safety limit, never a measure of speed.
class VradioProcess {
  public:
    explicit VradioProcess(std::vector<std::string> args = {});
    ~VradioProcess();
    VradioProcess(const VradioProcess&) = delete;
    VradioProcess& operator=(const VradioProcess&) = delete;

    bool Started() const { return !path_.empty(); }
    // The pty slave the radio serves on.
    const std::string& Path() const { return path_; }

    // Sends a signal and waits for the exit; returns the exit status, or -1 for a crash or
    // when the program does not end (it is then killed).
    int Stop(int signal = SIGTERM);

  private:
    pid_t pid_ = -1;
    std::FILE* stdout_ = nullptr;
    std::string path_;
};

}  // namespace talveron::test
