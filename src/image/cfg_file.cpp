#include "image/cfg_file.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

#include "image/atomic_file.h"
#include "image/model_table.h"

namespace fs = std::filesystem;

namespace talveron {

namespace {

// Reads one typed record at pos. Returns false at the end of the file (a record cut short
// counts as the end). value is empty when the value does not fit a byte; unknown tags set
// badTag since their record size cannot be known.
bool ReadRecord(const std::vector<unsigned char>& data, std::size_t& pos, std::optional<int>& value,
                bool& badTag) {
    if (pos + 2 > data.size()) return false;
    const unsigned tag = data[pos] | (data[pos + 1] << 8);
    std::size_t size = 0;
    switch (tag) {
        case kTagByte:
            size = 1;
            break;
        case kTagInt16:
            size = 2;
            break;
        case kTagInt32:
            size = 4;
            break;
        default:
            badTag = true;
            return false;
    }
    if (pos + 2 + size > data.size()) return false;
    const unsigned char* p = data.data() + pos + 2;
    std::int64_t v = 0;
    if (size == 1) {
        v = p[0];
    } else if (size == 2) {
        v = static_cast<std::int16_t>(p[0] | (p[1] << 8));
    } else {
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                      (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
                                      (std::uint32_t{p[3]} << 24));
    }
    pos += 2 + size;
    value = (v >= 0 && v <= 255) ? std::optional<int>(static_cast<int>(v)) : std::nullopt;
    return true;
}

}  // namespace

CfgReadResult ReadCfgFile(const std::string& path) {
    CfgReadResult result;
    const fs::path file = PathFromUtf8(path);
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!ec && size > kMaxCfgFileSize) {
        result.status = CfgReadResult::Status::TooBig;
        result.message = "File is too big to open";
        return result;
    }
    // Only a regular file is a configuration: a folder opens as a stream on Linux but cannot
    // be read, and a pipe or a device would block the program waiting for bytes.
    std::error_code kindEc;
    if (!fs::is_regular_file(file, kindEc)) {
        result.status = CfgReadResult::Status::CantOpen;
        result.message = "Can't open file: " + path;
        result.image.assign(kHeadSize, 0);
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        result.status = CfgReadResult::Status::CantOpen;
        result.message = "Can't open file: " + path;
        result.image.assign(kHeadSize, 0);
        return result;
    }
    // Never more than the size limit, even if the file grew since it was measured.
    std::vector<unsigned char> data;
    data.resize(kMaxCfgFileSize + 1);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return ParseCfgRecords(data, path);
}

CfgReadResult ParseCfgRecords(const std::vector<unsigned char>& data, const std::string& path) {
    CfgReadResult result;
    const std::string refused = "Model or Type Error!  Can not Open  " + path;
    EepromImage& image = result.image;
    image.assign(kHeadSize, 0);
    std::size_t pos = 0;
    bool badTag = false;
    bool ended = false;
    // The head: 16 records.
    for (std::size_t i = 0; i < kHeadSize; ++i) {
        std::optional<int> value;
        if (!ReadRecord(data, pos, value, badTag)) {
            ended = true;
            break;
        }
        if (value) image[i] = static_cast<std::uint8_t>(*value);
    }
    // The rest in groups of eight; the model byte is the first byte of the last group begun.
    std::size_t lastGroupStart = 0;
    bool groupHasByte = false;
    while (!ended && !badTag) {
        lastGroupStart = image.size();
        groupHasByte = false;
        for (int k = 0; k < 8; ++k) {
            std::optional<int> value;
            if (!ReadRecord(data, pos, value, badTag)) {
                ended = true;
                break;
            }
            image.push_back(value ? static_cast<std::uint8_t>(*value) : 0);
            groupHasByte = true;
        }
    }
    if (badTag || !groupHasByte) {
        result.status = CfgReadResult::Status::ModelError;
        result.message = refused;
        return result;
    }
    const int code = image[lastGroupStart] & 0x7F;
    if (!IsAcceptedModel(code)) {
        result.status = CfgReadResult::Status::ModelError;
        result.message = refused;
        return result;
    }
    // Bytes that follow the model byte in a group cut short belong to no record.
    image.resize(lastGroupStart + 1);
    result.modelCode = code;
    return result;
}

std::string EncodeCfgRecords(const EepromImage& image) {
    std::string out;
    out.reserve(image.size() * 3);
    for (std::uint8_t byte : image) {
        out += static_cast<char>(kTagByte & 0xFF);
        out += static_cast<char>(kTagByte >> 8);
        out += static_cast<char>(byte);
    }
    return out;
}

CfgWriteResult WriteCfgFile(const std::string& path, const EepromImage& image) {
    CfgWriteResult result;
    const FileWriteResult written = WriteFileAtomically(path, EncodeCfgRecords(image));
    if (written.status == FileWriteResult::Status::ReadOnly) {
        result.status = CfgWriteResult::Status::ReadOnly;
        result.message = path + " is a read only file";
    } else if (!written.ok()) {
        result.status = CfgWriteResult::Status::Failed;
        result.message = path + ": " + written.error;
    }
    return result;
}

std::string FileBaseName(std::string_view path) {
    const auto sep = path.find_last_of("\\/");
    std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
    const auto dot = name.find('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

}  // namespace talveron
