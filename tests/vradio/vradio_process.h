// A talveron-vradio process for the tests: started with its arguments, its port path read
// from the first line of its stdout, its slave opened in raw mode, frames exchanged over it,
// stopped by a signal and its exit status collected.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace talveron::vradio::testing {

using Bytes = std::vector<std::uint8_t>;

// Generous safety limit for anything the tests wait for; never a measure of speed.
inline constexpr std::chrono::seconds kSafetyLimit{10};

class VradioProcess {
  public:
    ~VradioProcess();

    // Starts the program; returns false when it could not be started at all.
    bool Start(const std::vector<std::string>& args);
    // Reads the first stdout line (the port path); empty when the program ended first.
    std::string ReadPortLine();
    // Opens the port in raw mode; returns false on failure.
    bool OpenPort(const std::string& path);
    void ClosePort();

    // Writes bytes to the port.
    bool Send(const Bytes& bytes);
    // Reads until count bytes have arrived, the line hangs up, or the safety limit passes.
    Bytes Receive(std::size_t count);
    // Sends frame and receives count bytes.
    Bytes Exchange(const Bytes& frame, std::size_t count);
    // Waits up to limit for any byte; returns what arrived (empty when nothing did).
    Bytes ReceiveWithin(std::chrono::milliseconds limit);
    // True when the port reports a hang-up (the master was closed) within the safety limit.
    bool WaitHangUp();

    // Sends a signal and waits for the exit; returns the exit status, or -1 for a crash or
    // when the program does not end within the safety limit (it is then killed).
    int Stop(int signal);
    // True while the program has not ended.
    bool Running();
    // Waits for the program to end on its own; same result as Stop.
    int Wait();
    // What the program wrote to stdout after the port line (after it ended).
    std::string Stdout();
    // Everything the program wrote to stderr (after it ended).
    std::string Stderr();

    int PortFd() const { return port_; }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    int port_ = -1;
    std::string stdoutRest_;
};

// Runs the program to its end with args and no port use; returns the exit status and fills
// err with its stderr.
int RunToEnd(const std::vector<std::string>& args, std::string& err, std::string* out = nullptr);

}  // namespace talveron::vradio::testing
