// The state the radio link keeps between its routines, in two parts: what belongs to the
// machine (the usable ports, which of them answered, those refused) and what belongs to one
// connection with a radio (the last exchange, the address, the transfer in progress). One
// object of both, owned by whoever runs the link; routines that only talk to the radio on the
// open port need the connection's part alone, so several connections can run at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/serial_port.h"

namespace talveron::link {

// A port as the link names it: a number 1..8, or a device path given by the user.
struct PortChoice {
    int number = 0;      // 1..8 when no device is given
    std::string device;  // a device path ("/dev/pts/7", "COM3"); wins over the number

    std::string Name() const;  // "3" or the device path
};

// Reads a port as a user names it: "1".."8" is a port number, anything else a device path.
// An empty text gives no port.
bool ParsePortChoice(const std::string& text, PortChoice& out);

// The machine's ports.
struct PortState {
    // Ports DetectRS could open, in ascending order (PortList).
    std::vector<PortChoice> portList;
    // After DetectRS the number of usable ports; while connecting the 1-based position in
    // portList of the port being tried or in use (PortIndex).
    int portIndex = 0;
    // Ports that could not be opened for lack of permission, with the reason to show.
    std::vector<OpenResult> refused;
};

// One connection with a radio over the open port.
struct ConnectionState {
    bool linkDown = true;        // the last connection found no radio (LinkDown)
    std::uint8_t modelCode = 0;  // the model code the radio reported (ModelCode)
    Bytes reply;                 // bytes of the last successful exchange, echo included
    bool replyOk = false;        // the last exchange succeeded (ReplyOk)
    std::uint8_t addrHigh = 0;   // address of the next "R" or "W" frame (AddrHigh, AddrLow)
    std::uint8_t addrLow = 0;
    bool linkAbort = false;    // the user answered No to "Try Again ?" (LinkAbort)
    int blockCount = 0;        // channel records of the memory being read (BlockCount)
    int imageLast = 0;         // last address (exclusive) of the transfer (ImageLast)
    bool largeMemory = false;  // the last probe found the 808-byte memory
    // "Upload Err" or "Download Err" of the pass under way; empty while its probe runs.
    std::string errorName;

    int Address() const { return addrHigh * 256 + addrLow; }
    void SetAddress(int address) {
        addrHigh = static_cast<std::uint8_t>((address >> 8) & 0xFF);
        addrLow = static_cast<std::uint8_t>(address & 0xFF);
    }
};

struct LinkState : PortState, ConnectionState {};

// Makes one explicitly named port the only candidate (PortList of one, PortIndex 1), as
// when the user names a port instead of letting DetectRS search.
void UsePort(PortState& state, const PortChoice& port);

}  // namespace talveron::link
