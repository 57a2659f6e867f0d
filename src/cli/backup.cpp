#include "cli/backup.h"

#include <filesystem>
#include <ostream>

#include "cli/commands.h"
#include "image/atomic_file.h"
#include "image/cfg_file.h"
#include "image/model_table.h"
#include "image/text_util.h"

namespace talveron::cli {

using namespace talveron::link;

namespace {

constexpr int kMaxSameName = 99;

bool Fail(PortResult& result, std::ostream& err, const std::string& why) {
    err << "backup failed: " << why << "\n";
    result.status = kExitFault;
    result.result = "backup failed, nothing written";
    return false;
}

}  // namespace

std::string BackupFileName(const std::string& model, const std::tm& when, const PortChoice& port) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    return model + "_" + stamp + "_" + PortFileText(port) + ".cfg";
}

bool TakeBackup(RadioSession& session, const PortChoice& port, const std::string& folder,
                PortResult& result, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    const std::filesystem::path dir = PathFromUtf8(folder);
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir)) {
        return Fail(result, err,
                    "cannot make the folder " + folder + (ec ? ": " + ec.message() : ""));
    }
    const TransferOutcome read = RunTransfer(session.Link(), {kOpUpload, "talveron-cli", {}});
    if (read.result != TransferOutcome::Result::Uploaded) {
        if (read.result == TransferOutcome::Result::ConnectFailed) session.ReportNotFound();
        return Fail(result, err, read.message);
    }

    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    const std::string name = BackupFileName(Trim(ShortModelName(read.modelCode)), local, port);
    const std::string stem =
        folder + (folder.ends_with('/') ? "" : "/") + name.substr(0, name.size() - 4);
    std::string file = stem + ".cfg";
    for (int n = 2; std::filesystem::exists(PathFromUtf8(file), ec); ++n) {
        if (n > kMaxSameName) return Fail(result, err, file + " exists");
        file = stem + "-" + std::to_string(n) + ".cfg";
    }
    const CfgWriteResult written = WriteCfgFile(file, read.image);
    if (!written.ok()) return Fail(result, err, written.message);
    out << "backup: " << file << "\n";
    return true;
}

}  // namespace talveron::cli
