// Call guards: the 155 tone codes of the radio (0 none, 1-50 CTCSS, 51-154 CDCSS), their list
// texts, and the code and value texts of a channel line.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace talveron {

inline constexpr int kToneCount = 155;
inline constexpr int kFirstCdcss = 51;

enum class ToneKind { None, Ctcss, Cdcss };

ToneKind ToneKindOf(int code);

// The 155 list texts ("000 No Tone", "001 CTCSS  67.0", "051 CDCSS   023", ...).
const std::array<std::string, kToneCount>& ToneTable();

// 7 -> "007", 45 -> "045", longer numbers unchanged.
std::string Pad3(int value);

// Code field of a channel line: "001=  " (six characters); "000=  " for a side not in use.
std::string ToneCodeField(int code);

// Value text of a channel line: "67.0", "100.0", "023", "None" for code 0. A code outside
// the table (a damaged record) shows as "???", and its byte is kept as it is.
std::string ToneValueText(int code);

// A call guard by itself, as lists and comparisons name it: "None", "67.0" (CTCSS), "D023"
// (CDCSS), or "#" and the number for a code outside the table.
std::string ToneName(int code);

// The code whose value text is the given one ("67.0" -> 1, "023" as CDCSS -> 51).
std::optional<int> CtcssCode(std::string_view hz);
std::optional<int> CdcssCode(std::string_view octal);

}  // namespace talveron
