#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int status = talveron::cli::kExitFault;
    try {
        status = talveron::cli::RunCli(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "talveron-cli: " << e.what() << "\n";
        return talveron::cli::kExitFault;
    }
    // Output that could not be written (a full disk, a closed pipe) is a failure, not a result.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "talveron-cli: cannot write the output\n";
        return talveron::cli::kExitFault;
    }
    return status;
}
