// The .cfg file: one 3-byte record per image byte (tag 0x0011 little-endian, then the byte),
// in address order, the model byte last. No header, no trailer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "image/eeprom_image.h"

namespace talveron {

inline constexpr std::uintmax_t kMaxCfgFileSize = 5000;
inline constexpr std::uint16_t kTagByte = 0x0011;
inline constexpr std::uint16_t kTagInt16 = 0x0002;
inline constexpr std::uint16_t kTagInt32 = 0x0003;

struct CfgReadResult {
    enum class Status { Ok, TooBig, CantOpen, ModelError };
    Status status = Status::Ok;
    std::string message;  // the text the user is shown when the file is refused
    EepromImage image;    // what was read (also on a model error)
    int modelCode = 0;    // bit 7 of the model byte cleared

    bool ok() const { return status == Status::Ok; }
};

// Reads a configuration file (a UTF-8 path) with every open-time check: size (at most 5000
// bytes), a regular file that opens, records read in groups of eight after the 16-byte head,
// and the model byte.
CfgReadResult ReadCfgFile(const std::string& path);

// The records of a file already read (at most the size limit), with the model byte check;
// path only names the file in the refusal message.
CfgReadResult ParseCfgRecords(const std::vector<unsigned char>& data, const std::string& path);

struct CfgWriteResult {
    enum class Status { Ok, ReadOnly, Failed };
    Status status = Status::Ok;
    std::string message;  // what the user is told: the path and why it could not be written

    bool ok() const { return status == Status::Ok; }
};

// Writes image (model byte last) as records of tag 0x0011, through WriteFileAtomically: a
// failed save never leaves the old file damaged, a symbolic link's file is replaced, and a
// read-only target is refused and left untouched.
CfgWriteResult WriteCfgFile(const std::string& path, const EepromImage& image);

// The records of an image as the file holds them.
std::string EncodeCfgRecords(const EepromImage& image);

// The name of a file without folder and extension ("C:\DIR\X.CFG" -> "X"); both "\" and "/"
// separate folders, and the extension is cut from the file name only.
std::string FileBaseName(std::string_view path);

}  // namespace talveron
