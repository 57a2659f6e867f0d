// What the virtual radio's tests share: a temporary folder, frames as the programmer sends
// them, and a memory whose every byte tells its address.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "vradio/virtual_radio.h"

namespace talveron::vradio::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vradio-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const {
        return (std::filesystem::path(path_) / name).string();
    }

  private:
    std::string path_;
};

inline Bytes ReadFrame(int address) {
    return {kCmdRead, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)};
}

inline Bytes WriteFrame(int address, const Bytes& data) {
    Bytes frame{kCmdWrite, static_cast<std::uint8_t>(address >> 8),
                static_cast<std::uint8_t>(address)};
    frame.insert(frame.end(), data.begin(), data.end());
    return frame;
}

inline Bytes Join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Memory whose byte at address a is the low byte of a + 1, so an answer shows its address.
inline EepromImage CountingMemory(std::size_t size) {
    EepromImage m(size);
    for (std::size_t a = 0; a < size; ++a) m[a] = static_cast<std::uint8_t>(a + 1);
    return m;
}

}  // namespace talveron::vradio::testing
