// The faults the virtual radio can be told to show, one per --fault option, and the parser of
// their texts. Addresses are decimal or 0x-hex; a fault at an address hits the four-byte frame
// that covers it (the frame at that address when it is a multiple of four).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talveron::vradio {

struct Fault {
    enum class Kind {
        Silent,    // "silent": no answer at all, not even the echo
        Short,     // "short@ADDR": the reply of an "R"/"W" frame lacks its last byte
        Long,      // "long@ADDR": the reply of an "R"/"W" frame has one byte too many
        Corrupt,   // "corrupt@ADDR[:always]": the data byte at ADDR of a reply is inverted
        Identity,  // "identity=0xNN": the "I" answer carries NN
        Dead,      // "dead@ADDR": the line goes dead when a frame at ADDR arrives
        Echo,      // "echo@ADDR[:always]": the echo of the last byte of an "R"/"W" frame is wrong
    };
    Kind kind = Kind::Silent;
    std::uint16_t address = 0;  // Short, Long, Corrupt, Dead, Echo
    bool always = false;        // Corrupt, Echo: every time instead of the first time only
    std::uint8_t identity = 0;  // Identity

    // True when the frame at frameAddress carries the byte at this fault's address.
    bool Covers(int frameAddress) const {
        return frameAddress <= address && address < frameAddress + 4;
    }
};

// Reads a number as the options give it: decimal or 0x-hex, at most max.
std::optional<unsigned> ParseNumber(std::string_view text, unsigned max);

// Reads one fault text; on a bad text sets error to a message naming it.
std::optional<Fault> ParseFault(std::string_view text, std::string& error);

}  // namespace talveron::vradio
