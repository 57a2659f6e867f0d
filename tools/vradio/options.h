// The command line of talveron-vradio and how it becomes a radio:
//   talveron-vradio [--model 0|1] [--memory small|large] [--load FILE.cfg] [--save FILE.cfg]
//                   [--baud N] [--fault FAULT]... [--help]
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/protocol.h"
#include "vradio/fault.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {

inline constexpr unsigned kDefaultBaud = kLineBaud;

struct Options {
    std::optional<int> model;           // --model; else the model byte of --load, else 0
    std::optional<std::size_t> memory;  // --memory in bytes; else from --load, else small
    std::string loadPath;               // --load
    std::string savePath;               // --save
    unsigned baud = kDefaultBaud;       // --baud; 0 = no pacing
    std::vector<Fault> faults;          // --fault, in the order given
    bool help = false;                  // --help
};

struct ParsedOptions {
    std::optional<Options> options;  // empty on a usage error
    std::string error;               // the message for stderr
};

// Reads the arguments after the program name. "--name value" and "--name=value" both work.
ParsedOptions ParseOptions(const std::vector<std::string>& args);

// The text --help prints.
std::string UsageText();

struct RadioSetup {
    std::optional<VirtualRadio> radio;  // empty when --load's file is refused
    std::string error;                  // the refusal message for stderr
};

// The radio the options describe: its memory from --load (read with every open-time check of
// a .cfg file) or the default configuration, fitted to the memory size, with the faults.
RadioSetup MakeRadio(const Options& options);

// Writes the radio's memory and model byte to path; returns the failure message, or empty.
std::string SaveRadio(const VirtualRadio& radio, const std::string& path);

}  // namespace talveron::vradio
