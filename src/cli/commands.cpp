#include "cli/commands.h"

#include <iostream>

#include "cli/compare_commands.h"
#include "cli/radio_commands.h"

namespace talveron::cli {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"show", "print a configuration as the document window shows it", RunShow},
        {"check", "check every channel against the band and the raster", RunCheck},
        {"export", "write the channels of a configuration as CSV", RunExport},
        {"import", "replace the channels of a configuration from CSV", RunImport},
        {"print", "write the channel plan of a configuration as a PDF file", RunPrint},
        {"system", "show or set the radio's system settings of a configuration", RunSystem},
        {"identify", "look for the radio on a serial port and name it", RunIdentify},
        {"read", "read the radio's memory into a .cfg file", RunRead},
        {"write", "write a .cfg file into the radio, checking every block", RunWrite},
        {"verify", "compare the radio's memory with a .cfg file", RunVerify},
        {"diff", "list what differs between two .cfg files, in radio terms", RunDiff},
    };
    return commands;
}

namespace {

void PrintUsage(std::ostream& out) {
    out << "usage: talveron-cli COMMAND [ARGS] (talveron-cli COMMAND --help for more)\n\n";
    for (const Command& c : Commands()) {
        out << "  " << c.name << std::string(10 - std::string(c.name).size(), ' ') << c.summary
            << "\n";
    }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(out);
        return kExitOk;
    }
    for (const Command& c : Commands()) {
        if (args[0] == c.name) return c.run({args.begin() + 1, args.end()}, out, err);
    }
    err << "talveron-cli: unknown command " << args[0] << "\n";
    PrintUsage(err);
    return kExitUsage;
}

}  // namespace talveron::cli
