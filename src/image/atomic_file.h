// Writing a file so that a failure never damages what was there: the bytes go to a temporary
// file beside the target, which then replaces it. Paths are UTF-8 texts throughout the
// program; PathFromUtf8 makes the file system path of one on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace talveron {

std::filesystem::path PathFromUtf8(std::string_view utf8);

struct FileWriteResult {
    enum class Status { Ok, ReadOnly, Failed };
    Status status = Status::Ok;
    std::string error;  // the system's text of the failure (Failed only)

    bool ok() const { return status == Status::Ok; }
};

// True when the file exists and has no write permission bit: the read-only attribute of
// the file itself, which holds even for a user (root) whom the system lets write anyway.
bool IsReadOnlyFile(const std::filesystem::path& target);

// Writes bytes to path through a temporary file in the target's folder. A symbolic link is
// followed, so the file it points to is replaced, not the link; an existing target keeps its
// permissions. A read-only target is refused and left untouched.
FileWriteResult WriteFileAtomically(std::string_view path, std::string_view bytes);

}  // namespace talveron
