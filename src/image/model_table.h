// The five fixed model lines and the fields the program cuts out of them at fixed columns.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace talveron {

struct ModelEntry {
    std::string_view line;  // 43 characters, exactly as the model list shows it
};

inline constexpr std::string_view kModelHeader = "NO. Model    CH Range(MHz) Step(KHz) IF(MHz)  ";

inline constexpr std::array<ModelEntry, 5> ModelTable = {{
    {" 0  VK-A1    8   140-175    5.00     +45.00"},
    {" 1  VK-A2    8   440-480    5.00     -45.00"},
    {" 2  VK-A3    8   450-489    5.00     -45.00"},
    {" 3  VK-B1    32  480-529    5.00     -34.30"},
    {" 4  VK-B2    32  300-399    5.00     -34.30"},
}};

// True for the model codes a file or a radio may carry (0 and 1).
constexpr bool IsAcceptedModel(int code) {
    return code == 0 || code == 1;
}

// The line of the model table for a model code; codes outside the table give row 0's line
// only through the callers' own checks, so this returns an empty view for them.
std::string_view ModelLine(int code);

// The 7 characters that start two positions after the first pair of blanks ("VK-A1  ").
std::string ModelNameField(std::string_view modelLine);

// The name column of a model code's line ("VK-A1  " for code 0).
std::string ShortModelName(int code);

// The band column of a model line, columns 18-24 ("140-175").
std::string BandText(std::string_view modelLine);

// Band edges in whole MHz as the band check reads them.
struct BandLimits {
    int low = 0;
    int high = 0;
};

// The band text's first three and last three characters as whole numbers.
BandLimits BandFromText(std::string_view band);

}  // namespace talveron
