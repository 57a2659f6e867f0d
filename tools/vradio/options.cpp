#include "vradio/options.h"

#include "image/cfg_file.h"
#include "vradio/default_memory.h"

namespace talveron::vradio {

std::string UsageText() {
    return "usage: talveron-vradio [--model 0|1] [--memory small|large] [--load FILE.cfg]\n"
           "                       [--save FILE.cfg] [--baud N] [--fault FAULT]... [--help]\n"
           "\n"
           "A virtual radio on a pseudo-terminal. Prints the path of the port to open as its\n"
           "first line, then answers the programmer until SIGTERM or SIGINT.\n"
           "\n"
           "  --model 0|1           model code (default 0, or the model byte of --load)\n"
           "  --memory small|large  144 or 808 bytes of configuration memory (default small,\n"
           "                        or the size of --load's image)\n"
           "  --load FILE.cfg       starting memory (default: a sample configuration)\n"
           "  --save FILE.cfg       write the memory and the model byte here on exit\n"
           "  --baud N              time both ways as an 8N1 line at N baud (default 9600,\n"
           "                        0 = no line timing at all)\n"
           "  --fault FAULT         repeatable; ADDR is decimal or 0x-hex:\n"
           "      silent                no answer at all, not even the echo\n"
           "      short@ADDR            the reply of an R/W frame at ADDR lacks its last byte\n"
           "      long@ADDR             the reply of an R/W frame at ADDR has a byte too many\n"
           "      corrupt@ADDR          the byte at ADDR in a read or read-back is inverted\n"
           "                            the first time\n"
           "      corrupt@ADDR:always   ... every time\n"
           "      identity=0xNN         answer \"I\" with NN instead of 0x0F minus the model\n"
           "      dead@ADDR             close the line when a frame at ADDR arrives\n"
           "      echo@ADDR             the echo of the last byte of an R/W frame at ADDR is\n"
           "                            wrong the first time\n"
           "      echo@ADDR:always      ... every time\n";
}

namespace {

bool TakesValue(const std::string& name) {
    return name == "--model" || name == "--memory" || name == "--load" || name == "--save" ||
           name == "--baud" || name == "--fault";
}

// Applies one option with its value; returns the error message, or empty.
std::string Apply(Options& o, const std::string& name, const std::string& value) {
    if (name == "--model") {
        if (value != "0" && value != "1") return "--model takes 0 or 1, not '" + value + "'";
        o.model = value == "1" ? 1 : 0;
    } else if (name == "--memory") {
        if (value == "small") {
            o.memory = kSmallMemory;
        } else if (value == "large") {
            o.memory = kLargeMemory;
        } else {
            return "--memory takes small or large, not '" + value + "'";
        }
    } else if (name == "--load") {
        if (value.empty()) return "--load needs a file name";
        o.loadPath = value;
    } else if (name == "--save") {
        if (value.empty()) return "--save needs a file name";
        o.savePath = value;
    } else if (name == "--baud") {
        const auto baud = ParseNumber(value, 4'000'000);
        if (!baud || value.rfind("0x", 0) == 0)
            return "--baud takes a whole number, not '" + value + "'";
        o.baud = *baud;
    } else if (name == "--fault") {
        std::string error;
        const auto fault = ParseFault(value, error);
        if (!fault) return error;
        o.faults.push_back(*fault);
    }
    return {};
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
    ParsedOptions result;
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--help" || name == "-h") {
            o.help = true;
            continue;
        }
        std::string value;
        const std::size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            if (!TakesValue(name)) {
                result.error = "unknown option '" + name + "'";
                return result;
            }
        } else if (TakesValue(name)) {
            if (i + 1 >= args.size()) {
                result.error = name + " needs a value";
                return result;
            }
            value = args[++i];
        } else {
            result.error = "unknown option '" + name + "'";
            return result;
        }
        const std::string error = Apply(o, name, value);
        if (!error.empty()) {
            result.error = error;
            return result;
        }
    }
    result.options = std::move(o);
    return result;
}

RadioSetup MakeRadio(const Options& options) {
    RadioSetup setup;
    int model = options.model.value_or(0);
    EepromImage memory;
    if (!options.loadPath.empty()) {
        CfgReadResult read = ReadCfgFile(options.loadPath);
        if (!read.ok()) {
            setup.error = read.message.empty() ? "cannot load " + options.loadPath : read.message;
            return setup;
        }
        if (!options.model) model = read.modelCode;
        memory = std::move(read.image);
        if (!memory.empty()) memory.pop_back();  // the model byte
        const std::size_t size =
            options.memory.value_or(memory.size() > kSmallMemory ? kLargeMemory : kSmallMemory);
        memory = FitMemory(std::move(memory), size);
    } else {
        memory = DefaultMemory(model, options.memory.value_or(kSmallMemory));
    }
    setup.radio.emplace(model, std::move(memory), options.faults);
    return setup;
}

std::string SaveRadio(const VirtualRadio& radio, const std::string& path) {
    const CfgWriteResult written = WriteCfgFile(path, radio.SaveImage());
    if (written.ok()) return {};
    return written.message.empty() ? "cannot write " + path : written.message;
}

}  // namespace talveron::vradio
