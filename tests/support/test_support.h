// What the tests share besides the programs: temporary folders, raw file bytes, the .cfg
// record form built by hand, and case tables kept as text under tests/data.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
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
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename());
        return names;
    }

  private:
    fs::path path_;
};

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const std::string text = ReadText(path);
    return {text.begin(), text.end()};
}
inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}
inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteText(path, std::string(bytes.begin(), bytes.end()));
}

// The file form of an image, built here byte by byte: 11 00 then the byte, per image byte.
inline std::vector<std::uint8_t> ByteRecords(const std::vector<std::uint8_t>& image) {
    std::vector<std::uint8_t> out;
    for (std::uint8_t b : image) out.insert(out.end(), {0x11, 0x00, b});
    return out;
}

// Bytes written as hex numbers parted by blanks ("52 00 8E").
inline std::vector<std::uint8_t> HexBytes(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    std::istringstream in(text);
    for (int b; in >> std::hex >> b;) bytes.push_back(static_cast<std::uint8_t>(b));
    return bytes;
}

// The words of a text parted by blanks.
inline std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A file under tests/data, whole.
inline std::string DataText(const std::string& name) {
    return ReadText(std::string(TALVERON_TEST_DATA) + "/" + name);
}

// One case of a table under tests/data: fields split at "|" with the blanks around them
// dropped; a field in double quotes keeps its blanks and reads \n, \t, \" , \\ and \xNN.
struct Case {
    std::string where;  // file:line, for the failure message
    std::vector<std::string> f;

    const std::string& operator[](std::size_t i) const {
        static const std::string none;
        return i < f.size() ? f[i] : none;
    }
    // A number in decimal or 0x hex.
    int Int(std::size_t i) const { return static_cast<int>(std::stol((*this)[i], nullptr, 0)); }
};

inline std::vector<Case> LoadCases(const std::string& name) {
    std::istringstream in(DataText(name));
    std::vector<Case> cases;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        const std::size_t first = line.find_first_not_of(' ');
        if (++number, first == std::string::npos || line[first] == '#') continue;
        Case c{name + ":" + std::to_string(number), {""}};
        bool quoted = false, wasQuoted = false;
        for (std::size_t i = first; i <= line.size(); ++i) {
            std::string& field = c.f.back();
            const char ch = i < line.size() ? line[i] : '|';
            if (quoted && ch == '\\' && i + 1 < line.size()) {
                const char e = line[++i];
                field += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                if (e == 'x')
                    field.back() = static_cast<char>(std::stoi(line.substr(i + 1, 2), 0, 16)),
                    i += 2;
            } else if (quoted) {
                quoted = ch != '"';
                if (quoted) field += ch;
            } else if (ch == '|') {
                if (!wasQuoted) field.erase(field.find_last_not_of(' ') + 1);
                c.f.push_back("");
                wasQuoted = false;
            } else if (ch == '"' && field.empty() && !wasQuoted) {
                quoted = wasQuoted = true;
            } else if (!wasQuoted && (ch != ' ' || !field.empty())) {
                field += ch;
            }
        }
        c.f.pop_back();
        cases.push_back(c);
    }
    EXPECT_FALSE(cases.empty()) << "no cases in " << name;
    return cases;
}

}  // namespace talveron::test
