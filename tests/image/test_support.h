// Helpers shared by the image and command-line tests: temporary folders, raw file bytes and
// hand-made .cfg records.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace talveron::test {

namespace fs = std::filesystem;

// A fresh folder under the system temp folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "talveron-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        // Read-only files do not stop removal, but make sure nothing blocks it.
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Names of the entries in the folder.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename());
        return names;
    }

  private:
    fs::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// The file form of an image, built here byte by byte: 11 00 then the byte, per image byte.
inline std::vector<std::uint8_t> ByteRecords(const std::vector<std::uint8_t>& image) {
    std::vector<std::uint8_t> out;
    for (std::uint8_t b : image) {
        out.push_back(0x11);
        out.push_back(0x00);
        out.push_back(b);
    }
    return out;
}

// Appends a record of another tag: 02 00 and a 16-bit or 03 00 and a 32-bit little-endian value.
template <typename Int>
inline void AppendIntRecord(std::vector<std::uint8_t>& file, Int v) {
    static_assert(std::is_same_v<Int, std::int16_t> || std::is_same_v<Int, std::int32_t>);
    file.insert(file.end(), {sizeof(Int) == 2 ? std::uint8_t{0x02} : std::uint8_t{0x03}, 0x00});
    const auto u = static_cast<std::make_unsigned_t<Int>>(v);
    for (std::size_t i = 0; i < sizeof(Int); ++i)
        file.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

}  // namespace talveron::test
