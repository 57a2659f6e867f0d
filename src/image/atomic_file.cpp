#include "image/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace talveron {

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool IsReadOnlyFile(const fs::path& target) {
    std::error_code ec;
    const auto st = fs::status(target, ec);
    if (ec || !fs::exists(st)) return false;
    const auto writeBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (st.permissions() & writeBits) == fs::perms::none;
}

namespace {

fs::path TempPath(const fs::path& target) {
    std::random_device rd;
    std::uniform_int_distribution<unsigned> dist(0, 0xFFFFFF);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%06x", dist(rd));
    // The target's name may use up the whole name length the folder allows; only its start
    // goes into the temporary name.
    const std::u8string name = target.filename().u8string().substr(0, 32);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    return dir / fs::path(u8"." + name + u8".tmp" +
                          std::u8string(suffix, suffix + std::char_traits<char>::length(suffix)));
}

// The file a save must replace: the target itself, or the file its symbolic link names.
fs::path ResolveTarget(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    const fs::path resolved = fs::weakly_canonical(target, ec);
    return ec ? target : resolved;
}

}  // namespace

FileWriteResult WriteFileAtomically(std::string_view path, std::string_view bytes) {
    FileWriteResult result;
    const fs::path target = ResolveTarget(PathFromUtf8(path));
    if (IsReadOnlyFile(target)) {
        result.status = FileWriteResult::Status::ReadOnly;
        return result;
    }
    std::error_code ec;
    const bool existed = fs::exists(target, ec);
    const fs::perms oldPerms = existed ? fs::status(target, ec).permissions() : fs::perms::none;
    const fs::path temp = TempPath(target);
    {
        errno = 0;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (out) out.flush();
        if (!out) {
            const int err = errno ? errno : EIO;
            out.close();
            fs::remove(temp, ec);
            result.status = FileWriteResult::Status::Failed;
            result.error = std::error_code(err, std::generic_category()).message();
            return result;
        }
    }
    if (existed) fs::permissions(temp, oldPerms, ec);
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        result.status = FileWriteResult::Status::Failed;
        result.error = ec.message();
    }
    return result;
}

}  // namespace talveron
