// The byte image of the radio's configuration EEPROM, followed (in memory and in files only)
// by one model byte. Address = index in the image = record number in a .cfg file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace talveron {

using EepromImage = std::vector<std::uint8_t>;

// Head addresses.
inline constexpr std::size_t kHeadSize = 16;
inline constexpr std::size_t kAddrPriorityChannel = 0x05;
inline constexpr std::size_t kAddrScanTimes = 0x07;
inline constexpr std::size_t kAddrPriorityTot = 0x08;
inline constexpr std::size_t kAddrBcloSave = 0x09;
inline constexpr std::size_t kAddrRadioType = 0x0A;  // bit 5 beep off, bit 1 large memory
inline constexpr std::size_t kAddrIfIndex = 0x0B;    // bits 3-0 IF offset index
inline constexpr std::size_t kAddrRefDiv625 = 0x0C;  // bit 7 selects prescaler 64
inline constexpr std::size_t kAddrRefDiv500 = 0x0D;
inline constexpr std::size_t kAddrBurstMonitor = 0x0E;
inline constexpr std::size_t kAddrPttResume = 0x0F;

inline constexpr std::size_t kRecordSize = 8;
inline constexpr int kSmallChannels = 16;  // 144-byte memory
inline constexpr int kLargeChannels = 99;  // 808-byte memory

// Bytes that go to the radio for N channel records (the model byte is not among them).
constexpr std::size_t MemorySize(int channels) {
    return kHeadSize + kRecordSize * channels;
}
// First address of the record of channel k+1.
constexpr std::size_t RecordAddress(int k) {
    return kHeadSize + kRecordSize * k;
}

// Number of whole channel records in an image that ends with its model byte.
inline int ChannelCount(const EepromImage& image) {
    if (image.size() <= kHeadSize) return 0;
    return static_cast<int>((image.size() - 1 - kHeadSize) / kRecordSize);
}

}  // namespace talveron
