// Several radios at once: the radio commands run the same job on every port named, one worker
// thread per port, each with its own serial port, link state and answers, so a radio that
// fails stops no other. On a terminal each port has a progress line; at the end each port's
// messages follow, every line with the port's name in front, then a table of port, model,
// result and time.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/radio_session.h"

namespace talveron::cli {

struct PortResult {
    std::string port;    // the port as named
    int status = 0;      // the exit status of this radio alone
    std::string model;   // "VK-A1", or empty when no radio answered
    std::string result;  // "ok", a file, or what went wrong
    double seconds = 0;  // from the port's start to its end
};

// The work on one radio: through its session, with its own output streams; sets the status
// and the result text (the runner fills in the model and the time).
using PortJob = std::function<void(RadioSession& session, const link::PortChoice& port,
                                   PortResult& result, std::ostream& out, std::ostream& err)>;

// Runs job on every port and returns the results in port order. One port runs in this thread
// with out and err as they are and the one-line progress bar (as a single radio always did);
// several run at once, and the table is left out when quiet.
std::vector<PortResult> RunOnPorts(const std::vector<link::PortChoice>& ports,
                                   const RadioOptions& options, const PortJob& job,
                                   std::ostream& out, std::ostream& err);

// 0 when every radio succeeded; else 1 when any radio failed (it may hold a part of a write),
// else the status of the others (3: a write refused for a band warning).
int WorstStatus(const std::vector<PortResult>& results);

// For --all-ports: the numbered ports on which a radio answers "V" and "I", in order.
std::vector<link::PortChoice> AnsweringPorts(const RadioOptions& options);

// A port's name as a part of a file name: "/dev/pts/7" -> "pts-7", "COM3" -> "COM3",
// port number 3 -> "port3".
std::string PortFileText(const link::PortChoice& port);

}  // namespace talveron::cli
