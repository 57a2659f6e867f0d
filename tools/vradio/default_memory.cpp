#include "vradio/default_memory.h"

#include <array>
#include <string>

#include "image/channel_line.h"
#include "image/document.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {

namespace {

struct Plan {
    const char* rx;
    int rxTone;
    const char* tx;  // "NONE" for a receive-only channel
    int txTone;
    std::uint8_t option;  // without the in-use bits
};

// Twelve channels of a small fleet: simplex and repeater pairs, CTCSS and CDCSS guards,
// narrow and wide spacing, a receive-only channel.
constexpr std::array<Plan, 12> kVhfPlan = {{
    {"145.000000", 0, "145.000000", 0, kOptHighPower | kOptScan},
    {"146.025000", 8, "146.625000", 8, kOptHighPower | kOptScan | kOptBclo},
    {"150.500000", 12, "150.500000", 12, kOptNarrow},
    {"152.487500", 19, "157.487500", 19, kOptNarrow | kOptHighPower},
    {"155.000000", 0, "155.000000", 0, kOptHighPower | kOptScan},
    {"156.800000", 0, "156.800000", 0, kOptHighPower},
    {"158.125000", 60, "158.125000", 60, kOptNarrow | kOptScan},
    {"160.000000", 23, "164.600000", 23, kOptHighPower | kOptBclo},
    {"163.337500", 0, "NONE", 0, kOptNarrow | kOptScan},
    {"165.250000", 33, "165.250000", 33, kOptHighPower | kOptPenalty},
    {"170.000000", 91, "170.000000", 91, kOptNarrow},
    {"173.225000", 5, "173.225000", 5, kOptHighPower | kOptScan},
}};

constexpr std::array<Plan, 12> kUhfPlan = {{
    {"446.006250", 0, "446.006250", 0, kOptNarrow | kOptScan},
    {"446.018750", 8, "446.018750", 8, kOptNarrow | kOptScan},
    {"450.000000", 12, "455.000000", 12, kOptHighPower | kOptBclo},
    {"451.250000", 19, "456.250000", 19, kOptHighPower},
    {"453.500000", 0, "453.500000", 0, kOptHighPower | kOptScan},
    {"455.125000", 60, "460.125000", 60, kOptNarrow | kOptHighPower},
    {"458.000000", 0, "NONE", 0, kOptScan},
    {"462.562500", 23, "462.562500", 23, kOptNarrow | kOptScan},
    {"467.712500", 0, "467.712500", 0, kOptNarrow},
    {"470.000000", 33, "475.000000", 33, kOptHighPower | kOptPenalty},
    {"474.750000", 91, "474.750000", 91, kOptHighPower},
    {"479.900000", 5, "479.900000", 5, kOptHighPower | kOptScan},
}};

// Head bytes 0x00-0x0F of such a radio. Model 0 works with the +45.0 MHz IF (index 5),
// model 1 with -45.0 MHz (index 4); both use the 64 prescaler (bit 7 of 0x0C).
constexpr std::array<std::uint8_t, kHeadSize> kVhfHead = {
    0x00, 0x54, 0x41, 0x4C, 0x01, 0x00, 0x00, 0x52, 0x13, 0x12, 0x10, 0x15, 0x88, 0x0A, 0x10, 0x00};
constexpr std::array<std::uint8_t, kHeadSize> kUhfHead = {
    0x00, 0x54, 0x41, 0x4C, 0x01, 0x03, 0x00, 0x51, 0x24, 0x12, 0x10, 0x14, 0x88, 0x0A, 0x90, 0x05};

}  // namespace

EepromImage DefaultMemory(int modelCode, std::size_t memorySize) {
    const bool uhf = modelCode == 1;
    const auto& plan = uhf ? kUhfPlan : kVhfPlan;
    const auto& head = uhf ? kUhfHead : kVhfHead;
    const int channels = memorySize >= kLargeMemory ? kLargeChannels : kSmallChannels;

    Document doc;
    doc.state.model = static_cast<std::uint8_t>(modelCode);
    for (std::size_t i = 0; i < kHeadSize; ++i) doc.state.head[i] = head[i];
    for (int k = 0; k < channels; ++k) {
        if (k < static_cast<int>(plan.size())) {
            const Plan& p = plan[k];
            ChannelRecord ch;
            ch.number = k + 1;
            ch.rxFreq = p.rx;
            ch.rxTone = p.rxTone;
            ch.txFreq = p.tx;
            ch.txTone = p.txTone;
            doc.lines.push_back(FormatChannelLine(ch));
            std::uint8_t opt = kOptRxInUse | p.option;
            if (ch.txFreq != kNone) opt |= kOptTxInUse;
            doc.state.chOpt.push_back(opt);
        } else {
            doc.lines.push_back(EmptyChannelLine(k + 1));
            doc.state.chOpt.push_back(0);
        }
    }
    EepromImage memory = BuildImage(doc);
    memory.pop_back();  // the model byte is not part of the radio's memory
    memory.resize(memorySize, 0xFF);
    MarkMemorySize(memory);
    return memory;
}

EepromImage FitMemory(EepromImage image, std::size_t memorySize) {
    image.resize(memorySize, 0xFF);
    MarkMemorySize(image);
    return image;
}

void MarkMemorySize(EepromImage& memory) {
    if (memory.size() <= kAddrRadioType) return;
    if (memory.size() >= kLargeMemory) {
        memory[kAddrRadioType] |= kLargeMemoryBit;
    } else {
        memory[kAddrRadioType] &= static_cast<std::uint8_t>(~kLargeMemoryBit);
    }
}

}  // namespace talveron::vradio
