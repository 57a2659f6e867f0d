#include "cli/radio_commands.h"

#include <filesystem>
#include <iostream>
#include <sstream>

#include "cli/args.h"
#include "cli/backup.h"
#include "cli/commands.h"
#include "cli/compare_commands.h"
#include "cli/fleet.h"
#include "image/atomic_file.h"
#include "image/cfg_file.h"
#include "image/image_diff.h"
#include "link/port_detect.h"
#include "platform/data_folder.h"

namespace talveron::cli {

namespace {

using namespace talveron::link;

#define TALVERON_TRACE_HELP                                                                   \
    "  --trace prints every frame sent and every reply received on stderr, in hex with the\n" \
    "  seconds since the command started (\"0.021907 rx 56 11\").\n"

constexpr const char* kIdentifyUsage =
    "usage: talveron-cli identify --port PORT [--trace]\n"
    "  Looks for the radio on PORT (a number 1..8 or a device path such as /dev/ttyUSB0)\n"
    "  and prints what the status line shows (\"VK-A1   detected\") and the size of its\n"
    "  memory. Exit 0 when a radio answered, 1 when none did.\n" TALVERON_TRACE_HELP;

#define TALVERON_PORTS_HELP                                                                     \
    "  PORTS: --port PORT (repeatable), --ports PORT,PORT,... or --all-ports (every numbered\n" \
    "  port a radio answers on). Several radios are served at once, each on its own; a table\n" \
    "  of port, model, result and time follows, and the exit status is the worst radio's\n"     \
    "  (1 when any failed).\n"

constexpr const char* kReadUsage =
    "usage: talveron-cli read PORTS -o OUT [--retries N] [--quiet] [--trace]\n"
    "  Reads the radio's memory into OUT.cfg (435 or 2427 bytes). A failed read creates\n"
    "  no file and leaves an existing OUT.cfg untouched. With several ports OUT is a folder\n"
    "  and each radio goes into MODEL_PORT.cfg there. --retries N tries again up to N\n"
    "  times after a failure. Exit 0 on success, 1 when the radio is not found or the\n"
    "  read fails.\n" TALVERON_PORTS_HELP TALVERON_TRACE_HELP;

constexpr const char* kWriteUsage =
    "usage: talveron-cli write PORTS FILE.cfg [--force] [--retries N] [--quiet]\n"
    "                          [--backup-dir DIR | --no-backup] [--trace]\n"
    "  Reads the radio's whole memory into a backup first (DIR, by default the folder\n"
    "  talveron/backups in the user's data folder; the path is printed) and writes nothing\n"
    "  when that fails. Then writes FILE.cfg into the radio's whole memory, checking every\n"
    "  block by its read-back (one retry per pass); channels the file does not have are\n"
    "  written empty. A file for another model, or one with a channel out of band or\n"
    "  raster, is refused with exit 3 unless --force. Exit 0 on success, 1 when the radio\n"
    "  is not found, the backup or the write fails, 2 for a file that cannot be opened.\n"
    "  Writing a backup file gives the radio back what it held.\n" TALVERON_PORTS_HELP
        TALVERON_TRACE_HELP;

constexpr const char* kVerifyUsage =
    "usage: talveron-cli verify PORTS FILE.cfg [--quiet] [--trace]\n"
    "  Reads the radio's whole memory and compares it with what write would leave there;\n"
    "  prints each difference as diff does (\"file ..., radio ...\"), each with the\n"
    "  addresses and bytes it covers. Exit 0 when equal, 1 when they differ or the radio\n"
    "  cannot be read, 2 for a file that cannot be opened.\n" TALVERON_PORTS_HELP
        TALVERON_TRACE_HELP;

constexpr const char* kCliTitle = "talveron-cli";

// The ports of the command: those named, or those a radio answers on. Empty with a message
// on err when --all-ports finds none.
std::vector<PortChoice> Ports(const RadioOptions& options, std::ostream& err) {
    if (!options.allPorts) return options.ports;
    const std::vector<PortChoice> found = AnsweringPorts(options);
    if (found.empty()) err << "no radio answers on any port\n";
    return found;
}

bool Several(const RadioOptions& options) {
    return options.allPorts || options.ports.size() > 1;
}

std::string MemoryText(bool large) {
    return std::to_string(MemorySize(large ? kLargeChannels : kSmallChannels)) + " bytes";
}

// A failed transfer: printed, and its status and message in the result.
void Failed(RadioSession& session, const TransferOutcome& outcome, PortResult& result) {
    result.status = session.ReportFailure(outcome);
    result.result = outcome.message;
}

}  // namespace

int RunIdentify(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kIdentifyUsage, kExitOk;
    Args args(argv, {"--port"}, {"--quiet", "-q", "--trace"});
    if (!args.ok()) return Usage(err, kIdentifyUsage, args.error());
    if (!args.positional().empty()) return Usage(err, kIdentifyUsage, "identify takes no file");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options, false); !problem.empty())
        return Usage(err, kIdentifyUsage, problem);

    QtApp app;
    RadioSession session(options.ports[0], options, std::make_unique<ProgressView>(false), err);
    RadioLink& link = session.Link();
    ConnectRadio(link);
    if (link.state.linkDown) {
        session.ReportNotFound();
        return kExitFault;
    }
    out << session.Status().StatusText() << "\n";
    if (!ProbeMemory(link)) {
        err << kCheckConnection << "\n";
        return kExitFault;
    }
    out << "memory " << MemoryText(link.state.largeMemory) << "\n";
    return kExitOk;
}

int RunRead(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kReadUsage, kExitOk;
    Args args(argv, {"--port", "--ports", "--retries", "-o", "--output"},
              {"--quiet", "-q", "--all-ports", "--trace"});
    if (!args.ok()) return Usage(err, kReadUsage, args.error());
    auto target = args.value("-o");
    if (!target) target = args.value("--output");
    if (!target || target->empty()) return Usage(err, kReadUsage, "read needs -o OUT");
    if (!args.positional().empty()) return Usage(err, kReadUsage, "read takes no file but -o");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options, true); !problem.empty())
        return Usage(err, kReadUsage, problem);
    const bool several = Several(options);
    if (several) {
        std::error_code ec;
        std::filesystem::create_directories(PathFromUtf8(*target), ec);
        if (!std::filesystem::is_directory(PathFromUtf8(*target), ec)) {
            err << "cannot make the folder " << *target << "\n";
            return kExitFault;
        }
    }

    QtApp app;
    const std::vector<PortChoice> ports = Ports(options, err);
    if (ports.empty()) return kExitFault;
    const PortJob job = [&](RadioSession& session, const PortChoice& port, PortResult& result,
                            std::ostream& out, std::ostream& err) {
        const TransferOutcome outcome = RunTransfer(session.Link(), {kOpUpload, kCliTitle, {}});
        if (outcome.result != TransferOutcome::Result::Uploaded)
            return Failed(session, outcome, result);
        const std::string model = session.ModelName();
        const std::string file = several ? *target + (target->ends_with('/') ? "" : "/") + model +
                                               "_" + PortFileText(port) + ".cfg"
                                         : *target;
        const CfgWriteResult written = WriteCfgFile(file, outcome.image);
        if (!written.ok()) {
            err << written.message << "\n";
            result.status = kExitFault;
            result.result = written.message;
            return;
        }
        result.result = file;
        if (!options.quiet) {
            out << ShortModelName(outcome.modelCode) << std::string(kDetectedSuffix) << ": read "
                << outcome.image.size() - 1 << " bytes into " << file << "\n";
        }
    };
    return WorstStatus(RunOnPorts(ports, options, job, out, err));
}

int RunWrite(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kWriteUsage, kExitOk;
    Args args(argv, {"--port", "--ports", "--retries", "--backup-dir"},
              {"--force", "--quiet", "-q", "--all-ports", "--no-backup", "--trace"});
    if (!args.ok()) return Usage(err, kWriteUsage, args.error());
    if (args.positional().size() != 1) return Usage(err, kWriteUsage, "write takes one file");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options, true); !problem.empty())
        return Usage(err, kWriteUsage, problem);
    const bool backup = !args.has("--no-backup");
    if (!backup && args.has("--backup-dir"))
        return Usage(err, kWriteUsage, "--backup-dir does not go with --no-backup");
    QtApp app;
    const std::string folder =
        args.value("--backup-dir").value_or(platform::UserDataFolder("backups"));
    if (backup && folder.empty())
        return Usage(err, kWriteUsage, "no data folder for backups: name one with --backup-dir");
    const std::string& path = args.positional()[0];
    const CfgReadResult file = ReadCfgFile(path);
    if (!file.ok()) return err << file.message << "\n", kExitUsage;
    const Document doc = OpenDocument(file.image, file.modelCode, path);

    const std::vector<PortChoice> ports = Ports(options, err);
    if (ports.empty()) return kExitFault;
    const PortJob job = [&](RadioSession& session, const PortChoice& port, PortResult& result,
                            std::ostream& out, std::ostream& err) {
        if (backup && !TakeBackup(session, port, folder, result, out, err)) return;
        // The file's own bytes go to the radio, so a backup written back restores every byte.
        const TransferOutcome outcome =
            RunTransfer(session.Link(), {kOpDownload, doc.caption, ContentOf(doc, &file.image)});
        if (outcome.result != TransferOutcome::Result::Downloaded)
            return Failed(session, outcome, result);
        if (!options.quiet) {
            out << "wrote " << session.Link().state.imageLast << " bytes of " << path << "\n";
        }
    };
    return WorstStatus(RunOnPorts(ports, options, job, out, err));
}

int RunVerify(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kVerifyUsage, kExitOk;
    Args args(argv, {"--port", "--ports", "--retries"},
              {"--quiet", "-q", "--all-ports", "--trace"});
    if (!args.ok()) return Usage(err, kVerifyUsage, args.error());
    if (args.positional().size() != 1) return Usage(err, kVerifyUsage, "verify takes one file");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options, true); !problem.empty())
        return Usage(err, kVerifyUsage, problem);
    const std::string& path = args.positional()[0];
    const CfgReadResult file = ReadCfgFile(path);
    if (!file.ok()) return err << file.message << "\n", kExitUsage;

    QtApp app;
    const std::vector<PortChoice> ports = Ports(options, err);
    if (ports.empty()) return kExitFault;
    const PortJob job = [&](RadioSession& session, const PortChoice&, PortResult& result,
                            std::ostream& out, std::ostream& err) {
        const TransferOutcome outcome = RunTransfer(session.Link(), {kOpUpload, kCliTitle, {}});
        if (outcome.result != TransferOutcome::Result::Uploaded)
            return Failed(session, outcome, result);
        // What a write of the file leaves in this radio, its whole memory, with the file's model.
        EepromImage expected = SentImage(file.image, session.Link().state.largeMemory);
        expected.push_back(static_cast<std::uint8_t>(file.modelCode));
        const std::vector<Finding> findings = CompareImages(expected, outcome.image);
        PrintFindings(findings, expected, outcome.image, {"file", "radio"}, out);
        if (!findings.empty()) {
            err << findings.size() << " difference(s)\n";
            result.status = kExitFault;
            result.result = std::to_string(findings.size()) + " difference(s)";
        } else if (!options.quiet) {
            out << "radio matches " << path << "\n";
        }
    };
    return WorstStatus(RunOnPorts(ports, options, job, out, err));
}

}  // namespace talveron::cli
