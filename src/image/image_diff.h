// What differs between two configurations, in the radio's terms: the model, the number of
// channels, each system setting in the system option dialog's words, per channel its receive
// and transmit frequency and call guard and each option, and the address of every other byte
// that differs. The findings are gathered here and printed by their users (diff, verify).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "image/eeprom_image.h"

namespace talveron {

struct Finding {
    enum class Kind {
        Model,     // the model byte
        Channels,  // the number of channel records
        Setting,   // a system setting; what is its label ("TX Time Of Timer")
        Channel,   // a field of a channel record; what is its column ("Rx Freq.", "SCAN")
        Byte,      // a byte no other finding accounts for; what is its address ("0x0001")
    };
    Kind kind = Kind::Byte;
    int channel = 0;   // Channel: 1..N
    std::string what;  // the setting, the field or the address
    std::string a;     // the first image's text ("147.300000", "ON", "0x5A")
    std::string b;     // the second image's text
    // The addresses of the differing bytes the finding stands for (none for Model, Channels).
    std::vector<std::size_t> addresses;
};

// Compares two images (head, channel records, model byte last). An image with fewer channel
// records compares as if its missing channels were empty records of zero bytes, as a write of
// it leaves them in a larger radio. Findings come in this order: model, channel count,
// settings in dialog order, channels by number and field, other bytes by address.
std::vector<Finding> CompareImages(const EepromImage& a, const EepromImage& b);

// "0x0005" and "0x5A": the address and byte texts of the findings.
std::string AddressText(std::size_t address);
std::string ByteText(std::uint8_t byte);

}  // namespace talveron
