// The radio's serial protocol as both ends speak it: the programmer (src/link) and the virtual
// radio (tools/vradio). Every frame starts with a command letter; the radio echoes every byte
// it receives and answers after the frame's last byte:
//   "V"                               answers kVAnswer;
//   "I" + kIArgument                  answers kIdentityBase minus the model code;
//   "R" + high + low                  answers the four memory bytes at the address;
//   "W" + high + low + four bytes     stores them and answers the four bytes now held.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/eeprom_image.h"

namespace talveron {

// The line: 9600 baud, 8N1, so ten bits (start, eight data, stop) to a byte.
inline constexpr long long kLineBaud = 9600;
inline constexpr long long kLineBitsPerByte = 10;

inline constexpr std::uint8_t kLetterV = 'V';  // is a radio there?
inline constexpr std::uint8_t kLetterI = 'I';  // which model is it?
inline constexpr std::uint8_t kLetterR = 'R';  // read four bytes
inline constexpr std::uint8_t kLetterW = 'W';  // write four bytes

inline constexpr std::uint8_t kVAnswer = 0x11;       // the radio's "here I am"
inline constexpr std::uint8_t kIArgument = 0x07;     // the data byte after "I"
inline constexpr std::uint8_t kIdentityBase = 0x0F;  // "I" answers this minus the model code
inline constexpr std::size_t kBlockBytes = 4;        // memory bytes an "R" or "W" moves

// The radio's memory: 144 bytes (16 channels) or 808 bytes (99 channels), told apart by a bit
// of the radio type byte.
inline constexpr std::size_t kSmallMemory = MemorySize(kSmallChannels);
inline constexpr std::size_t kLargeMemory = MemorySize(kLargeChannels);
inline constexpr std::uint8_t kLargeMemoryBit = 0x02;  // in the byte at kAddrRadioType

// Bytes of a frame, its command letter included; 0 for a byte that starts no command.
constexpr std::size_t FrameLength(std::uint8_t letter) {
    switch (letter) {
        case kLetterV:
            return 1;
        case kLetterI:
            return 2;
        case kLetterR:
            return 3;
        case kLetterW:
            return 3 + kBlockBytes;
        default:
            return 0;
    }
}

// Bytes the radio answers after the echo of a frame.
constexpr std::size_t AnswerLength(std::uint8_t letter) {
    return letter == kLetterR || letter == kLetterW ? kBlockBytes : FrameLength(letter) ? 1 : 0;
}

// Bytes received for a frame: its echo and the answer (2, 3, 7, 11; 0 for no command).
constexpr std::size_t ReplyBytes(std::uint8_t letter) {
    return FrameLength(letter) + AnswerLength(letter);
}

}  // namespace talveron
