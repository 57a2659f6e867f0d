// Random configuration images for property tests, built with the radio's synthesizer
// arithmetic written out here on its own (not through the codec under test), together with
// what a rebuild of each image must give back and the texts its channel lines must show.
#pragma once

#include <algorithm>
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
    std::string digits = std::to_string(hz < 0 ? -hz : hz);
    if (digits.size() < 7) digits.insert(0, 7 - digits.size(), '0');
    std::string text = (hz < 0 ? "-" : "") + digits.substr(0, digits.size() - 6) + "." +
                       digits.substr(digits.size() - 6);
    while (text.back() == '0') text.pop_back();
    return text.size() < 10 ? text + std::string(10 - text.size(), '0') : text;
}

struct GeneratedChannel {
    std::string rxText = "NONE", txText = "NONE";  // expected frequency texts
    int rxTone = 0, txTone = 0;
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

    std::int64_t Draw(std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng_);
    }
    int Uniform(int lo, int hi) { return static_cast<int>(Draw(lo, hi)); }

    // ifByte goes to head 0x0B as it is; prescaler is 64 or 128.
    GeneratedImage Make(int channels, std::uint8_t ifByte, int prescaler) {
        GeneratedImage g;
        g.image.resize(MemorySize(channels) + 1);
        for (auto& b : g.image) b = static_cast<std::uint8_t>(Uniform(0, 255));
        g.image[kAddrIfIndex] = ifByte;
        g.image[kAddrRefDiv625] = (g.image[kAddrRefDiv625] & 0x7F) | (prescaler == 64 ? 0x80 : 0);
        g.expected = g.image;
        g.expected[0] = 0;
        std::uint16_t lastWord = 0;  // the word of the last side that encoded
        for (int k = 0; k < channels; ++k) {
            std::uint8_t* r = g.image.data() + RecordAddress(k);
            std::uint8_t* e = g.expected.data() + RecordAddress(k);
            GeneratedChannel ch;
            const int pick = Uniform(0, 9);
            if (pick < 2) {  // empty: option byte 00, FF or without bit 7; stale word kept
                const int which = Uniform(0, 2);
                r[0] = which == 0 ? 0x00 : which == 1 ? 0xFF : Uniform(1, 0x7F);
                std::fill(e, e + 8, 0);
                e[3] = e[5] = lastWord >> 8;
                e[4] = e[6] = lastWord & 0xFF;
            } else {
                const Side rx = RandomSide(prescaler);
                ch.rxText = ExpectedFreqText(rx.synthHz - kTestIfHz[ifByte & 7]);
                ch.rxTone = r[1] = RandomTone();
                r[3] = rx.word >> 8;
                r[4] = rx.word & 0xFF;
                lastWord = rx.word;
                if (pick < 4) {  // receive only, junk in the transmit nibble
                    r[0] = 0x80 | (r[0] & 0x3F);
                    r[7] = (r[7] & 0xF0) | rx.nibble;
                    std::copy(r, r + 8, e);
                    e[2] = 0;
                    e[5] = r[3];
                    e[6] = r[4];
                    e[7] = rx.nibble;
                } else {
                    r[0] = std::min(0xFE, 0xC0 | (r[0] & 0x3F));
                    const Side tx = RandomSide(prescaler);
                    ch.txText = ExpectedFreqText(tx.synthHz);
                    ch.txTone = r[2] = RandomTone();
                    r[5] = tx.word >> 8;
                    r[6] = tx.word & 0xFF;
                    r[7] = tx.nibble << 4 | rx.nibble;
                    lastWord = tx.word;
                    std::copy(r, r + 8, e);
                }
            }
            ch.option = r[0];
            g.channels.push_back(ch);
        }
        g.modelCode = Uniform(0, 1);
        g.image.back() = static_cast<std::uint8_t>(g.modelCode | Uniform(0, 1) << 7);
        g.expected.back() = static_cast<std::uint8_t>(g.modelCode);
        return g;
    }

  private:
    struct Side {
        std::int64_t synthHz;
        std::uint16_t word;
        std::uint8_t nibble;
    };

    // Mostly tones of the table; now and then a code a damaged record may hold.
    int RandomTone() { return Uniform(0, 19) == 0 ? Uniform(155, 255) : Uniform(0, 154); }

    // A synthesizer frequency on the 6.25 or 5 kHz raster in its canonical class (a multiple
    // of 6250 is always class 0), anywhere a 16-bit word reaches or near the two bands.
    Side RandomSide(int prescaler) {
        for (;;) {
            const int c = Uniform(0, 1), where = Uniform(0, 2);
            const std::int64_t step = c == 0 ? 6250 : 5000, qLimit = 2048LL * prescaler;
            const std::int64_t q = where == 0   ? Draw(0, qLimit - 1)
                                   : where == 1 ? Draw(136'000'000, 180'000'000) / step
                                                : Draw(400'000'000, 520'000'000) / step;
            if (q >= qLimit || (c == 1 && q * step % 6250 == 0)) continue;
            return {q * step, static_cast<std::uint16_t>(32 * (q / prescaler) + q % prescaler / 4),
                    static_cast<std::uint8_t>(q % prescaler % 4 << 2 | c)};
        }
    }

    std::mt19937 rng_;
};

}  // namespace talveron::test
