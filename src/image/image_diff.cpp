#include "image/image_diff.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>

#include "image/channel_line.h"
#include "image/model_table.h"
#include "image/system_options.h"
#include "image/text_util.h"
#include "image/tone_codec.h"

namespace talveron {

namespace {

// A field of a channel record: its name as the channel list's headers call it, and the bits
// of the record's eight bytes it is stored in.
struct RecordField {
    std::string_view name;
    std::array<std::uint8_t, kRecordSize> bits;
};

constexpr std::array<RecordField, 9> kRecordFields = {{
    {"Rx Freq.", {kOptRxInUse, 0, 0, 0xFF, 0xFF, 0, 0, 0x0F}},
    {"Rx_CTCSS/DCS", {0, 0xFF, 0, 0, 0, 0, 0, 0}},
    {"Tx Freq.", {kOptTxInUse, 0, 0, 0, 0, 0xFF, 0xFF, 0xF0}},
    {"Tx_CTCSS/DCS", {0, 0, 0xFF, 0, 0, 0, 0, 0}},
    {"SPACE", {kOptNarrow, 0, 0, 0, 0, 0, 0, 0}},
    {"RF_PWR", {kOptHighPower, 0, 0, 0, 0, 0, 0, 0}},
    {"BCLO", {kOptBclo, 0, 0, 0, 0, 0, 0, 0}},
    {"SCAN", {kOptScan, 0, 0, 0, 0, 0, 0, 0}},
    {"PENALTY", {kOptPenalty, 0, 0, 0, 0, 0, 0, 0}},
}};

std::string OnOff(bool on) {
    return on ? "ON" : "OFF";
}

// The text of field i (an index into kRecordFields) of a decoded channel.
std::string FieldText(std::size_t i, const ChannelRecord& ch) {
    switch (i) {
        case 0:
            return Trim(ch.rxFreq);
        case 1:
            return ToneName(ch.rxTone);
        case 2:
            return Trim(ch.txFreq);
        case 3:
            return ToneName(ch.txTone);
        case 4:
            return (ch.option & kOptNarrow) ? "12.5K" : "25.0K";
        case 5:
            return (ch.option & kOptHighPower) ? "H" : "L";
        case 6:
            return OnOff(ch.option & kOptBclo);
        case 7:
            return OnOff(ch.option & kOptScan);
        default:
            return OnOff(ch.option & kOptPenalty);
    }
}

std::string ModelText(std::uint8_t model) {
    const std::string name = Trim(ShortModelName(model));
    return name.empty() ? "#" + std::to_string(model) : name;
}

// The bytes of two memories compared, with the bits each finding has accounted for.
class Comparison {
  public:
    Comparison(EepromImage a, EepromImage b) : a_(std::move(a)), b_(std::move(b)) {
        const std::size_t size = std::max(a_.size(), b_.size());
        a_.resize(size, 0);
        b_.resize(size, 0);
        explained_.assign(size, 0);
    }

    std::size_t Size() const { return a_.size(); }
    const EepromImage& A() const { return a_; }
    const EepromImage& B() const { return b_; }

    // Adds a finding for the bits given per address, listing the addresses whose bits differ.
    void Add(Finding finding, std::size_t first, std::span<const std::uint8_t> bits) {
        for (std::size_t i = 0; i < bits.size() && first + i < Size(); ++i) {
            const std::size_t address = first + i;
            if (bits[i] == 0) continue;
            explained_[address] |= bits[i];
            if (((a_[address] ^ b_[address]) & bits[i]) != 0) finding.addresses.push_back(address);
        }
        findings_.push_back(std::move(finding));
    }

    // The bytes that differ in bits no finding accounts for.
    void AddOtherBytes() {
        for (std::size_t address = 0; address < Size(); ++address) {
            if (((a_[address] ^ b_[address]) & ~explained_[address]) == 0) continue;
            findings_.push_back({Finding::Kind::Byte,
                                 0,
                                 AddressText(address),
                                 ByteText(a_[address]),
                                 ByteText(b_[address]),
                                 {address}});
        }
    }

    std::vector<Finding> Take() { return std::move(findings_); }

  private:
    EepromImage a_;
    EepromImage b_;
    std::vector<std::uint8_t> explained_;
    std::vector<Finding> findings_;
};

HeadBytes HeadOf(const EepromImage& memory) {
    HeadBytes head{};
    std::copy_n(memory.begin(), std::min(memory.size(), head.size()), head.begin());
    return head;
}

void CompareSettings(Comparison& c) {
    const HeadBytes headA = HeadOf(c.A());
    const HeadBytes headB = HeadOf(c.B());
    const SystemOptions a = ReadSystemOptions(headA);
    const SystemOptions b = ReadSystemOptions(headB);
    for (const SysSettingInfo& info : SystemSettings()) {
        if (a[info.setting] == b[info.setting]) continue;
        const std::uint8_t bits[] = {static_cast<std::uint8_t>(info.mask << info.shift)};
        c.Add({Finding::Kind::Setting,
               0,
               std::string(info.label),
               ValueText(info.setting, a[info.setting]),
               ValueText(info.setting, b[info.setting]),
               {}},
              info.address, bits);
    }
}

void CompareChannels(Comparison& c) {
    const EepromImage& a = c.A();
    const EepromImage& b = c.B();
    if (a.size() < kHeadSize) return;
    const CodecContext contextA = CodecContext::FromHead(a[kAddrIfIndex], a[kAddrRefDiv625]);
    const CodecContext contextB = CodecContext::FromHead(b[kAddrIfIndex], b[kAddrRefDiv625]);
    const int channels = static_cast<int>((a.size() - kHeadSize) / kRecordSize);
    for (int k = 0; k < channels; ++k) {
        const std::size_t at = RecordAddress(k);
        // Two empty channels have nothing to say in radio terms; their bytes still count.
        if (IsEmptyOption(a[at]) && IsEmptyOption(b[at])) continue;
        const ChannelRecord chA = DecodeRecord(&a[at], k + 1, contextA);
        const ChannelRecord chB = DecodeRecord(&b[at], k + 1, contextB);
        for (std::size_t i = 0; i < kRecordFields.size(); ++i) {
            std::string textA = FieldText(i, chA);
            std::string textB = FieldText(i, chB);
            if (textA == textB) continue;
            c.Add({Finding::Kind::Channel,
                   k + 1,
                   std::string(kRecordFields[i].name),
                   std::move(textA),
                   std::move(textB),
                   {}},
                  at, kRecordFields[i].bits);
        }
    }
}

EepromImage Memory(const EepromImage& image) {
    return image.empty() ? image : EepromImage(image.begin(), image.end() - 1);
}

}  // namespace

std::string AddressText(std::size_t address) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%04zX", address);
    return text;
}

std::string ByteText(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::vector<Finding> CompareImages(const EepromImage& a, const EepromImage& b) {
    std::vector<Finding> findings;
    // Bit 7 of the model byte means nothing; a file may carry it set.
    const std::uint8_t modelA = a.empty() ? 0 : a.back() & 0x7F;
    const std::uint8_t modelB = b.empty() ? 0 : b.back() & 0x7F;
    if (modelA != modelB)
        findings.push_back(
            {Finding::Kind::Model, 0, "Model", ModelText(modelA), ModelText(modelB), {}});
    if (ChannelCount(a) != ChannelCount(b)) {
        findings.push_back({Finding::Kind::Channels,
                            0,
                            "Channels",
                            std::to_string(ChannelCount(a)),
                            std::to_string(ChannelCount(b)),
                            {}});
    }
    Comparison c(Memory(a), Memory(b));
    CompareSettings(c);
    CompareChannels(c);
    c.AddOtherBytes();
    for (Finding& f : c.Take()) findings.push_back(std::move(f));
    return findings;
}

}  // namespace talveron
