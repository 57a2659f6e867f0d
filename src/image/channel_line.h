// Channel records of the image and the fixed-column channel lines a document shows:
//   cols 1-4 number | 5-16 Rx freq | 17-22 Rx code | 23-29 Rx value
//        | 30-41 Tx freq | 42-47 Tx code | 48-54 Tx value
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/eeprom_image.h"
#include "image/freq_codec.h"

namespace talveron {

inline constexpr std::size_t kLineWidth = 54;
inline constexpr std::string_view kColumnHeader =
    " CH   Rx Freq.  Rx_CTCSS/DCS   Tx Freq.  Tx_CTCSS/DCS ";
inline constexpr std::string_view kOptionHeader = "CH SPACE  RF_PWR BCLO SCAN";
// The title of the channel option list window; printing heads the option columns with it
// from its third character on.
inline constexpr std::string_view kOptionTitle = "CH SPACE  RF_PWR BCLO SCAN ";
inline constexpr std::string_view kNone = "NONE";

// 0-based starts of the fields of a channel line.
inline constexpr std::size_t kColRxFreq = 4;
inline constexpr std::size_t kColRxCode = 16;
inline constexpr std::size_t kColRxValue = 22;
inline constexpr std::size_t kColTxFreq = 29;
inline constexpr std::size_t kColTxCode = 41;
inline constexpr std::size_t kColTxValue = 47;

// Option byte bits.
inline constexpr std::uint8_t kOptRxInUse = 0x80;
inline constexpr std::uint8_t kOptTxInUse = 0x40;
inline constexpr std::uint8_t kOptPenalty = 0x20;
inline constexpr std::uint8_t kOptScan = 0x10;
inline constexpr std::uint8_t kOptBclo = 0x08;
inline constexpr std::uint8_t kOptHighPower = 0x04;
inline constexpr std::uint8_t kOptNarrow = 0x02;  // 12.5 kHz spacing

// True when an option byte marks an empty channel (0, 0xFF or below 0x80).
constexpr bool IsEmptyOption(std::uint8_t opt) {
    return opt < 0x80 || opt == 0xFF;
}

// One channel as a decoded record (a side not in use has the frequency "NONE").
struct ChannelRecord {
    int number = 0;
    std::uint8_t option = 0;
    std::string rxFreq = std::string(kNone);
    int rxTone = 0;
    std::string txFreq = std::string(kNone);
    int txTone = 0;
};

ChannelRecord DecodeRecord(const std::uint8_t* record, int number, const CodecContext& ctx);

// The line of a channel from its parts (54 characters).
std::string FormatChannelLine(const ChannelRecord& ch);

// The empty line written where channels are cut or deleted (two trailing blanks fewer).
std::string EmptyChannelLine(int number);

// The five line fields read back from a channel line, each one column early.
struct LineFields {
    std::string ch;      // 4
    std::string rxFreq;  // 12
    std::string rxTone;  // 4 (blank and three digits)
    std::string txFreq;  // 12
    std::string txTone;  // 4
};
LineFields SplitLine(std::string_view line);

// True when the line shows a channel in use (its column 5 is not the "N" of NONE).
bool LineInUse(std::string_view line);

// The tone code a line holds for one side.
int LineToneCode(std::string_view line, bool receive);
// The frequency text of one side, trimmed ("145.012500" or "NONE").
std::string LineFreq(std::string_view line, bool receive);

// "25.0K    L    OFF  OFF" and the like, for an option byte.
std::string OptionText(std::uint8_t option);
// The option list line of a channel: two-digit number, a blank, OptionText.
std::string OptionLine(int number, std::uint8_t option);

struct ChannelList {
    std::vector<std::string> lines;
    std::vector<std::uint8_t> chOpt;
};

// Every channel record of an image (ending with its model byte) as lines, with the codec
// context taken from the image's own head.
ChannelList ImageToList(const EepromImage& image);

// Appends one 8-byte record per line to image (which holds the 16 head bytes), with the codec
// context taken from the document's head copy. The PLL word starts from zero for each build.
void ListToImage(EepromImage& image, const std::vector<std::string>& lines,
                 const std::vector<std::uint8_t>& chOpt, const CodecContext& ctx);

}  // namespace talveron
