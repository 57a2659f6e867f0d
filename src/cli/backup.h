// The backup a write takes first: the radio's whole memory read into an ordinary .cfg file,
// so that writing that file gives the radio back what it held.
#pragma once

#include <ctime>
#include <iosfwd>
#include <string>

#include "cli/fleet.h"

namespace talveron::cli {

// "VK-A1_20240501-142233_pts-7.cfg": the model, the local date and time, and the port.
std::string BackupFileName(const std::string& model, const std::tm& when,
                           const link::PortChoice& port);

// Makes folder (and its parents) when it is missing, reads the radio's whole memory and keeps
// it there under BackupFileName (with "-2", "-3", ... before ".cfg" when that name is taken);
// prints "backup: PATH" on out. On failure prints why on err, sets result and returns false:
// the write must not start then.
bool TakeBackup(RadioSession& session, const link::PortChoice& port, const std::string& folder,
                PortResult& result, std::ostream& out, std::ostream& err);

}  // namespace talveron::cli
