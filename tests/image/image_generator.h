// Random configuration images for property tests, built with the radio's synthesizer
// arithmetic written out here on its own (not through the codec under test), together with
// what a rebuild of each image must give back and the texts its channel lines must show.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "image/eeprom_image.h"

namespace talveron::test {

// IF offsets in hertz by the index in bits 2-0 of head 0x0B.
inline constexpr std::int64_t kTestIfHz[8] = {-21'400'000, 21'400'000, -34'300'000, 34'300'000,
                                              -45'000'000, 45'000'000, -45'100'000, 45'100'000};

// Frequency text as a channel line shows it: megahertz with the shortest decimals, padded
// with "0" to ten characters ("145.012500", "50.5000000", "-21.400000", "1000.00625").
inline std::string ExpectedFreqText(std::int64_t hz) {
    std::string sign = hz < 0 ? "-" : "";
    std::string digits = std::to_string(hz < 0 ? -hz : hz);
    if (digits.size() < 7) digits.insert(0, 7 - digits.size(), '0');
    std::string text =
        sign + digits.substr(0, digits.size() - 6) + "." + digits.substr(digits.size() - 6);
    while (text.back() == '0') text.pop_back();
    while (text.size() < 10) text += '0';
    return text;
}

struct GeneratedChannel {
    enum Kind { Empty, RxOnly, Both } kind = Empty;
    std::string rxText = "NONE";  // expected frequency texts
    std::string txText = "NONE";
    int rxTone = 0;
    int txTone = 0;
    std::uint8_t option = 0;
};

struct GeneratedImage {
    EepromImage image;     // as a radio or a file may hold it: junk in every unused field
    EepromImage expected;  // what rebuilding the image from its document must give
    int modelCode = 0;
    std::vector<GeneratedChannel> channels;
};

class ImageGenerator {
  public:
    explicit ImageGenerator(std::uint32_t seed) : rng_(seed) {}

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Uniform(0, 255)); }

    // ifByte goes to head 0x0B as it is; prescaler is 64 or 128.
    GeneratedImage Make(int channels, std::uint8_t ifByte, int prescaler) {
        GeneratedImage g;
        g.image.resize(MemorySize(channels) + 1);
        for (std::size_t i = 0; i < kHeadSize; ++i) g.image[i] = Byte();
        g.image[kAddrIfIndex] = ifByte;
        g.image[kAddrRefDiv625] = static_cast<std::uint8_t>((g.image[kAddrRefDiv625] & 0x7F) |
                                                            (prescaler == 64 ? 0x80 : 0x00));
        g.expected = g.image;
        g.expected[0] = 0;
        const std::int64_t ifHz = kTestIfHz[ifByte & 7];

        std::uint16_t lastWord = 0;  // the word of the last side that encoded
        for (int k = 0; k < channels; ++k) {
            std::uint8_t* r = g.image.data() + RecordAddress(k);
            std::uint8_t* e = g.expected.data() + RecordAddress(k);
            for (int b = 0; b < 8; ++b) r[b] = Byte();
            GeneratedChannel ch;
            const int pick = Uniform(0, 9);
            ch.kind = pick < 2 ? GeneratedChannel::Empty
                               : (pick < 4 ? GeneratedChannel::RxOnly : GeneratedChannel::Both);
            if (ch.kind == GeneratedChannel::Empty) {
                const int which = Uniform(0, 2);
                r[0] = which == 0
                           ? 0x00
                           : (which == 1 ? 0xFF : static_cast<std::uint8_t>(Uniform(1, 0x7F)));
                ch.option = r[0];
                e[0] = e[1] = e[2] = e[7] = 0;
                e[3] = e[5] = static_cast<std::uint8_t>(lastWord >> 8);
                e[4] = e[6] = static_cast<std::uint8_t>(lastWord & 0xFF);
            } else {
                const Side rx = RandomSide(prescaler);
                ch.rxText = ExpectedFreqText(rx.synthHz - ifHz);
                ch.rxTone = RandomTone();
                r[1] = static_cast<std::uint8_t>(ch.rxTone);
                r[3] = static_cast<std::uint8_t>(rx.word >> 8);
                r[4] = static_cast<std::uint8_t>(rx.word & 0xFF);
                lastWord = rx.word;
                if (ch.kind == GeneratedChannel::RxOnly) {
                    r[0] = static_cast<std::uint8_t>(0x80 | (Byte() & 0x3F));
                    r[7] =
                        static_cast<std::uint8_t>((Byte() & 0xF0) | rx.nibble);  // junk tx nibble
                    e[0] = r[0];
                    e[1] = r[1];
                    e[2] = 0;
                    e[3] = e[5] = r[3];
                    e[4] = e[6] = r[4];
                    e[7] = rx.nibble;
                } else {
                    r[0] = static_cast<std::uint8_t>(0xC0 | (Byte() & 0x3F));
                    if (r[0] == 0xFF) r[0] = 0xFE;
                    const Side tx = RandomSide(prescaler);
                    ch.txText = ExpectedFreqText(tx.synthHz);
                    ch.txTone = RandomTone();
                    r[2] = static_cast<std::uint8_t>(ch.txTone);
                    r[5] = static_cast<std::uint8_t>(tx.word >> 8);
                    r[6] = static_cast<std::uint8_t>(tx.word & 0xFF);
                    r[7] = static_cast<std::uint8_t>(tx.nibble << 4 | rx.nibble);
                    lastWord = tx.word;
                    for (int b = 0; b < 8; ++b) e[b] = r[b];
                }
                ch.option = r[0];
            }
            g.channels.push_back(ch);
        }
        g.modelCode = Uniform(0, 1);
        const bool bit7 = Uniform(0, 1) == 1;
        g.image.back() = static_cast<std::uint8_t>(g.modelCode | (bit7 ? 0x80 : 0));
        g.expected.back() = static_cast<std::uint8_t>(g.modelCode);
        return g;
    }

  private:
    struct Side {
        std::int64_t synthHz = 0;
        std::uint16_t word = 0;
        std::uint8_t nibble = 0;
    };

    // Mostly tones of the table; now and then a code a damaged record may hold.
    int RandomTone() { return Uniform(0, 19) == 0 ? Uniform(155, 255) : Uniform(0, 154); }

    // A synthesizer frequency on the 6.25 or 5 kHz raster in its canonical class (a multiple
    // of 6250 is always class 0), near the two bands or anywhere a 16-bit word reaches.
    Side RandomSide(int prescaler) {
        for (;;) {
            const int c = Uniform(0, 1);
            const std::int64_t step = c == 0 ? 6250 : 5000;
            const std::int64_t qLimit = 2048LL * prescaler;  // N = q / P must stay below 2048
            auto draw = [this](std::int64_t lo, std::int64_t hi) {
                return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng_);
            };
            const int where = Uniform(0, 2);  // anywhere, near the VHF band, near the UHF band
            const std::int64_t q = where == 0   ? draw(0, qLimit - 1)
                                   : where == 1 ? draw(136'000'000, 180'000'000) / step
                                                : draw(400'000'000, 520'000'000) / step;
            if (q >= qLimit) continue;
            const std::int64_t hz = q * step;
            if (c == 1 && hz % 6250 == 0) continue;
            Side s;
            s.synthHz = hz;
            s.word = static_cast<std::uint16_t>(32 * (q / prescaler) + (q % prescaler) / 4);
            s.nibble = static_cast<std::uint8_t>(((q % prescaler) % 4) << 2 | c);
            return s;
        }
    }

    std::mt19937 rng_;
};

}  // namespace talveron::test
