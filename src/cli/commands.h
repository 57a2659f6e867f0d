// The commands of talveron-cli. Each takes its arguments (without the command name) and the
// streams to write to, and returns the exit status:
//   0 success, 1 a fault found or a radio operation failed, 2 a usage error or a refused
//   file, 3 a download refused for a band warning.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace talveron::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFault = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitBandWarning = 3;

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

int RunShow(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPrint(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunSystem(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// All commands, in the order the usage text lists them.
const std::vector<Command>& Commands();

// The whole tool: argv without the program name.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace talveron::cli
