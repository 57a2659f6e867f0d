#include "image/channel_line.h"

#include "image/bit_text.h"
#include "image/text_util.h"
#include "image/tone_codec.h"

namespace talveron {

ChannelRecord DecodeRecord(const std::uint8_t* r, int number, const CodecContext& ctx) {
    ChannelRecord ch;
    ch.number = number;
    ch.option = r[0];
    bool rxBad = true;
    bool txBad = true;
    if (r[0] >= 0x80 && r[0] != 0xFF) {
        rxBad = false;
        if (r[0] >= 0xC0) txBad = false;
    }
    if (!rxBad) {
        std::string text = DecodeFreq(r[3], r[4], r[7], true, ctx);
        if (!text.empty()) {
            ch.rxFreq = std::move(text);
            ch.rxTone = r[1];
        }
    }
    if (!txBad) {
        std::string text = DecodeFreq(r[5], r[6], r[7], false, ctx);
        if (!text.empty()) {
            ch.txFreq = std::move(text);
            ch.txTone = r[2];
        }
    }
    return ch;
}

std::string FormatChannelLine(const ChannelRecord& ch) {
    const bool rxUsed = ch.rxFreq != kNone;
    const bool txUsed = ch.txFreq != kNone;
    std::string line = PadRight(std::to_string(ch.number), 4);
    line += PadRight(ch.rxFreq, 12);
    line += rxUsed ? ToneCodeField(ch.rxTone) : ToneCodeField(0);
    line += PadRight(rxUsed ? ToneValueText(ch.rxTone) : "None", 7);
    line += PadRight(ch.txFreq, 12);
    line += txUsed ? ToneCodeField(ch.txTone) : ToneCodeField(0);
    line += PadRight(txUsed ? ToneValueText(ch.txTone) : "None", 7);
    return line;
}

std::string EmptyChannelLine(int number) {
    return PadRight(std::to_string(number), 2) +
           "  NONE        000=  None   NONE        000=  None ";
}

LineFields SplitLine(std::string_view line) {
    LineFields f;
    f.ch = PadRight(Mid(line, 0, 4), 4);
    f.rxFreq = PadRight(Mid(line, 3, 12), 12);
    f.rxTone = PadRight(Mid(line, 15, 4), 4);
    f.txFreq = PadRight(Mid(line, 28, 12), 12);
    f.txTone = PadRight(Mid(line, 40, 4), 4);
    return f;
}

bool LineInUse(std::string_view line) {
    return Mid(line, kColRxFreq, 1) != "N";
}

int LineToneCode(std::string_view line, bool receive) {
    const LineFields f = SplitLine(line);
    return static_cast<int>(LeadingNumber(receive ? f.rxTone : f.txTone));
}

std::string LineFreq(std::string_view line, bool receive) {
    return Trim(Mid(line, receive ? kColRxFreq : kColTxFreq, 12));
}

std::string OptionText(std::uint8_t option) {
    std::string text = (option & kOptNarrow) ? "12.5K" : "25.0K";
    text += "   ";
    text += (option & kOptHighPower) ? " H " : " L ";
    text += "   ";
    text += (option & kOptBclo) ? "ON " : "OFF";
    text += "  ";
    text += (option & kOptScan) ? "ON " : "OFF";
    return text;
}

std::string OptionLine(int number, std::uint8_t option) {
    std::string n = std::to_string(number);
    if (n.size() < 2) n.insert(0, "0");
    return n + " " + OptionText(option);
}

ChannelList ImageToList(const EepromImage& image) {
    ChannelList list;
    if (image.size() < kHeadSize) return list;
    const int n = ChannelCount(image);
    const CodecContext ctx =
        CodecContext::FromHead(image[kAddrIfIndex], image[kAddrRefDiv625]);
    list.lines.reserve(n);
    list.chOpt.reserve(n);
    for (int k = 0; k < n; ++k) {
        const std::uint8_t* r = image.data() + RecordAddress(k);
        list.chOpt.push_back(r[0]);
        list.lines.push_back(FormatChannelLine(DecodeRecord(r, k + 1, ctx)));
    }
    return list;
}

namespace {

// A tone code read back from a line, as a record byte. Lines come from this program, so a
// code is three digits; anything that is not a byte stores 0 (no tone).
std::uint8_t ToneByte(std::string_view field) {
    const std::int64_t code = LeadingNumber(field);
    return (code >= 0 && code <= 255) ? static_cast<std::uint8_t>(code) : 0;
}

}  // namespace

void ListToImage(EepromImage& image, const std::vector<std::string>& lines,
                 const std::vector<std::uint8_t>& chOpt, const CodecContext& ctx) {
    PllWord pll;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::uint8_t r[8] = {};
        const LineFields f = SplitLine(lines[i]);
        r[0] = i < chOpt.size() ? chOpt[i] : 0;
        if (r[0] == 0xFF) r[0] = 0;
        const std::string rx = EncodeFreq(f.rxFreq, true, ctx, pll);
        r[3] = pll.high;
        r[4] = pll.low;
        const std::string tx = EncodeFreq(f.txFreq, false, ctx, pll);
        r[5] = pll.high;
        r[6] = pll.low;
        std::string bits = tx + rx;
        if (rx == kNotEncoded) {
            r[0] = 0;
            bits = "000";
        } else {
            r[1] = ToneByte(f.rxTone);
            // A byte without its in-use bit belonged to an empty channel that an edit has
            // filled: bit 0 is written 0, or 0x7F would become 0xFF and read back empty.
            if (!(r[0] & kOptRxInUse)) r[0] &= static_cast<std::uint8_t>(~1u);
            r[0] |= kOptRxInUse;
            if (tx == kNotEncoded) {
                r[0] &= static_cast<std::uint8_t>(~kOptTxInUse);
                bits = rx;
            } else {
                r[2] = ToneByte(f.txTone);
                r[0] |= kOptTxInUse;
            }
        }
        r[7] = static_cast<std::uint8_t>(BitsValue(bits));
        image.insert(image.end(), r, r + 8);
    }
}

}  // namespace talveron
