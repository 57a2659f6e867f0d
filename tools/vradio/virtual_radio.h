// The radio on the far end of the serial line: its configuration memory, its model code, the
// faults it shows, and the engine that turns received bytes into the bytes it sends. No I/O
// and no clock: the caller moves the bytes (a pseudo-terminal, or a test).
//
// What the radio does with the bytes it receives is the protocol of link/protocol.h: every byte
// is echoed as it arrives, the answer follows the last byte of its frame. Bytes past the end
// of the memory read as 0xFF and are not written. A byte that starts no known command is only
// echoed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/eeprom_image.h"
#include "link/protocol.h"
#include "vradio/fault.h"

namespace talveron::vradio {

using Bytes = std::vector<std::uint8_t>;

// A frame whose bytes stop arriving for this long is forgotten (the caller, which has the
// clock, calls AbandonFrame), so a programmer interrupted half-way through a frame does not
// leave the radio out of step. The programmer's own pause inside a frame is 2 ms.
inline constexpr int kFrameGapMs = 1000;

class VirtualRadio {
  public:
    // memory holds the radio's configuration memory only (no model byte).
    VirtualRadio(int modelCode, EepromImage memory, std::vector<Fault> faults = {});

    // Takes one received byte and appends what the radio sends because of it to out.
    void Receive(std::uint8_t byte, Bytes& out);
    // Takes a run of received bytes; returns everything the radio sends because of them.
    Bytes Receive(std::span<const std::uint8_t> bytes);

    // Forgets a frame whose bytes stopped arriving half-way (the line went quiet).
    void AbandonFrame() { frame_.clear(); }
    bool FrameInProgress() const { return !frame_.empty(); }

    // True once a "dead@" fault has struck: the radio takes and sends nothing any more.
    bool Dead() const { return dead_; }

    int ModelCode() const { return model_; }
    std::uint8_t IdentityByte() const;
    const EepromImage& Memory() const { return memory_; }
    // The memory followed by the model byte, as a .cfg file keeps it.
    EepromImage SaveImage() const;

  private:
    void Answer(Bytes& out);
    Bytes MemoryAt(int address) const;
    void ApplyFaults(int address, Bytes& answer);
    // An "echo@" fault: the echo of the frame's last byte goes out wrong.
    void SpoilEcho(int address, std::uint8_t& echo);

    int model_ = 0;
    EepromImage memory_;
    std::vector<Fault> faults_;
    std::vector<bool> spent_;  // per fault: a once-only corruption has happened
    bool silent_ = false;
    bool dead_ = false;
    Bytes frame_;  // the bytes of the frame being received, its command letter first
};

}  // namespace talveron::vradio
