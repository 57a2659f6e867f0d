#include "cli/args.h"

#include <ostream>

#include "cli/commands.h"

namespace talveron::cli {

Args::Args(const std::vector<std::string>& argv, std::set<std::string> valued,
           std::set<std::string> flags) {
    bool onlyPositional = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (onlyPositional || a.size() < 2 || a[0] != '-') {
            positional_.push_back(a);
            continue;
        }
        if (a == "--") {
            onlyPositional = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> inlineValue;
        if (const auto eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            inlineValue = a.substr(eq + 1);
        }
        if (valued.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= argv.size()) {
                    error_ = "option " + name + " needs a value";
                    return;
                }
                inlineValue = argv[++i];
            }
            values_.emplace(name, *inlineValue);
            present_.insert(name);
        } else if (flags.count(name) && !inlineValue) {
            present_.insert(name);
        } else {
            error_ = "unknown option " + a;
            return;
        }
    }
}

std::optional<std::string> Args::value(const std::string& name) const {
    auto range = values_.equal_range(name);
    if (range.first == range.second) return std::nullopt;
    return std::prev(range.second)->second;
}

std::vector<std::string> Args::values(const std::string& name) const {
    std::vector<std::string> out;
    auto range = values_.equal_range(name);
    for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
    return out;
}

bool WantsHelp(const std::vector<std::string>& args) {
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

int Usage(std::ostream& err, const char* usage, const std::string& problem) {
    err << "talveron-cli: " << problem << "\n" << usage;
    return kExitUsage;
}

}  // namespace talveron::cli
