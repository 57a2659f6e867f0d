// A pseudo-terminal pair in raw mode: the master is the far end of a serial line that a
// program opens by the slave's path (/dev/pts/N) as it would a real port. Raw mode on both
// sides, so every byte passes unchanged (0x11 is XON on a cooked tty and would be eaten).
// POSIX only; on Windows OpenRawPty reports that it has no pseudo-terminals.
#pragma once

#include <string>

namespace talveron {

class PtyPair {
  public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(PtyPair&& other) noexcept;
    PtyPair& operator=(PtyPair&& other) noexcept;
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Opens a new pair: master non-blocking, both descriptors close-on-exec and in raw mode.
    // The slave stays open here too, so a client that closes and re-opens the port does not
    // hang up the master. Returns false and sets error on failure.
    bool Open(std::string& error);

    bool IsOpen() const { return master_ >= 0; }
    int Master() const { return master_; }
    int Slave() const { return slave_; }
    const std::string& SlavePath() const { return slavePath_; }

    // Closes both ends held here: whoever has the slave open sees the line hang up.
    void Close();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace talveron
