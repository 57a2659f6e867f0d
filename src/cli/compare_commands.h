// diff: what differs between two configuration files, in radio terms; and the printing of
// such findings that verify shares.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "image/image_diff.h"

namespace talveron::cli {

int RunDiff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Names for the two sides of a comparison ("file", "radio"). Without names a line reads
// "WHAT: A -> B" and only the other bytes' addresses are shown; with names it reads
// "WHAT: file A, radio B", followed by each address the finding covers with its two bytes.
struct SideNames {
    std::string a;
    std::string b;
};

// One line per finding ("CH 3 Rx Freq.: 147.300000 -> 147.312500", "TX Time Of Timer: ...",
// "0x0001: 0x00 -> 0x5A"); a and b are the images compared, for the bytes at the addresses.
void PrintFindings(const std::vector<Finding>& findings, const EepromImage& a, const EepromImage& b,
                   const SideNames& sides, std::ostream& out);

}  // namespace talveron::cli
