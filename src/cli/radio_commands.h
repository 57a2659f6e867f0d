// The radio commands of talveron-cli: identify, read, write and verify over serial ports
// named by number (1..8) or device path; read, write and verify serve several radios at once
// (fleet.h), and write takes a backup of each radio first (backup.h). They run the same link
// as the desktop program; the questions it asks are answered from the command's flags
// (--retries, --force).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace talveron::cli {

int RunIdentify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunRead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunWrite(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace talveron::cli
