// A small argument reader for the commands of talveron-cli: positionals, "--flag",
// "--name VALUE", "--name=VALUE" and "-o VALUE".
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace talveron::cli {

class Args {
  public:
    // valued: option names that take a value ("-o", "--port"); flags: those that do not.
    Args(const std::vector<std::string>& argv, std::set<std::string> valued,
         std::set<std::string> flags);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const { return present_.count(name) > 0; }
    std::optional<std::string> value(const std::string& name) const;
    std::vector<std::string> values(const std::string& name) const;

  private:
    std::vector<std::string> positional_;
    std::multimap<std::string, std::string> values_;
    std::set<std::string> present_;
    std::string error_;
};

// True when the arguments ask for a command's help text ("--help" or "-h").
bool WantsHelp(const std::vector<std::string>& args);

// Prints the problem and the command's usage text to err; returns the usage exit status.
int Usage(std::ostream& err, const char* usage, const std::string& problem);

}  // namespace talveron::cli
