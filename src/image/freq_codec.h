// Frequencies as the radio stores them: the data word of its PLL synthesizer (main and
// swallow counter of a dual-modulus prescaler) plus a 4-bit flag nibble per side. All
// arithmetic is exact, in whole hertz.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace talveron {

// Channel rasters in hertz by raster class; class 3 is met only in a corrupt flag nibble.
inline constexpr std::array<std::int64_t, 4> StepHz = {6250, 5000, 2500, 0};

// The eight IF offsets selectable by bits 3-0 of head address 0x0B.
inline constexpr std::array<std::string_view, 8> kIfTexts = {"-21.4", "+21.4", "-34.3", "+34.3",
                                                             "-45.0", "+45.0", "-45.1", "+45.1"};
inline constexpr std::array<std::int64_t, 8> kIfHz = {-21'400'000, 21'400'000,  -34'300'000,
                                                      34'300'000,  -45'000'000, 45'000'000,
                                                      -45'100'000, 45'100'000};

// What the codecs need to know about the radio: taken from the head of the image concerned.
struct CodecContext {
    int ifIndex = 0;         // 0..7, index into kIfTexts
    int prescaler = 128;     // 64 when bit 7 of head 0x0C is set
    bool dotDecimal = true;  // the system's decimal separator is "."

    std::int64_t IfHz() const { return kIfHz[ifIndex]; }
    std::string_view IfText() const { return kIfTexts[ifIndex]; }

    // From head bytes 0x0B and 0x0C. Only eight IF offsets exist; a radio never holds an
    // index above 7 there, and if a damaged image does, its low three bits choose the IF.
    // That keeps decoding and encoding symmetric, so such an image still saves back byte
    // for byte instead of losing its receive frequencies.
    static CodecContext FromHead(std::uint8_t ifByte, std::uint8_t refDivByte) {
        CodecContext ctx;
        ctx.ifIndex = ifByte & 0x07;
        ctx.prescaler = (refDivByte & 0x80) ? 64 : 128;
        return ctx;
    }
};

// The last synthesizer word a successful encoding produced. A side that does not encode
// leaves it alone, so its record bytes repeat the word before it (the radio never reads
// them; reproducing this keeps saved files byte-identical).
struct PllWord {
    std::uint8_t high = 0;
    std::uint8_t low = 0;
};

// True when the system locale formats 10/3 with a "." (found once at start).
bool DetectDotDecimal();

// Frequency text in MHz -> hertz. The text is cut to 10 characters and to six decimals.
// With a comma locale (dotDecimal false) the first "," counts as the decimal point.
// Empty when the text is not a number.
std::optional<std::int64_t> FreqToHz(std::string_view text, bool dotDecimal = true);

// Raster class: 0 for a multiple of 6250 Hz, else 1 for 5000, else 2 for 2500, else 3.
int StepClass(std::int64_t hz);

inline constexpr std::string_view kNotEncoded = "0303";

// Encodes one side. Returns the flag nibble as four binary digits (swallow count mod 4,
// then the raster class), or "0303" when the side is empty, off the 6.25/5 kHz raster, or
// does not give a synthesizer word in 0..65535. On success also sets pll.
std::string EncodeFreq(std::string_view text, bool receive, const CodecContext& ctx, PllWord& pll);

// Decodes one side from the word's bytes and the record's flag byte. The text has "." and
// at least 10 characters ("150.005000"); empty when the side cannot be decoded.
std::string DecodeFreq(std::uint8_t high, std::uint8_t low, std::uint8_t flags, bool receive,
                       const CodecContext& ctx);

// Hertz -> frequency text as the channel line shows it ("450.000000", "-11.400000").
std::string HzToFreqText(std::int64_t hz);

// Completes seven typed characters ("145.012") to the raster ("145.012500"); sets stepBad
// when the typed kHz digits cannot be on the raster.
std::string StepDigits(std::string_view text, bool& stepBad);

}  // namespace talveron
