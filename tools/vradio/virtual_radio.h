// The radio on the far end of the serial line: its configuration memory, its model code, the
// faults it shows, and the engine that turns received bytes into the bytes it sends. No I/O
// and no clock: the caller moves the bytes (a pseudo-terminal, or a test).
//
// What the radio does with the bytes it receives:
//   every byte is echoed as it arrives;
//   "V" (0x56)                  answers 0x11;
//   "I" (0x49) + one data byte  answers the identity byte, 0x0F minus the model code;
//   "R" (0x52) + high + low     answers the four memory bytes at A..A+3;
//   "W" (0x57) + high + low + four data bytes
//                               stores the four bytes and answers A..A+3 as now held.
// The answer follows the last byte of its frame. Bytes past the end of the memory read as
// 0xFF and are not written. A byte that starts no known command is only echoed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/eeprom_image.h"
#include "vradio/fault.h"

namespace talveron::vradio {

inline constexpr std::uint8_t kCmdVersion = 0x56;   // "V"
inline constexpr std::uint8_t kCmdIdentify = 0x49;  // "I"
inline constexpr std::uint8_t kCmdRead = 0x52;      // "R"
inline constexpr std::uint8_t kCmdWrite = 0x57;     // "W"
inline constexpr std::uint8_t kPresent = 0x11;      // the answer to "V"
inline constexpr std::uint8_t kIdentityBase = 0x0F;

inline constexpr std::size_t kSmallMemory = MemorySize(kSmallChannels);  // 144 bytes
inline constexpr std::size_t kLargeMemory = MemorySize(kLargeChannels);  // 808 bytes
inline constexpr std::uint8_t kLargeMemoryBit = 0x02;                    // in the byte at 0x0A

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

// Bytes of a frame with its command letter, 0 for a byte that starts no known command.
std::size_t FrameLength(std::uint8_t letter);

}  // namespace talveron::vradio
