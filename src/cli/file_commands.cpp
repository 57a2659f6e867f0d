#include "cli/file_commands.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/args.h"
#include "cli/commands.h"
#include "image/atomic_file.h"
#include "image/cfg_file.h"
#include "image/channel_csv.h"
#include "image/channel_line.h"
#include "image/range_check.h"

namespace talveron::cli {

std::optional<Document> LoadDocument(const std::string& path, std::ostream& err) {
    const CfgReadResult read = ReadCfgFile(path);
    if (!read.ok()) {
        err << read.message << "\n";
        return std::nullopt;
    }
    return OpenDocument(read.image, read.modelCode, path);
}

bool SaveDocument(const Document& doc, const std::string& path, std::ostream& err) {
    const CfgWriteResult written = WriteCfgFile(path, BuildImage(doc));
    if (!written.ok()) {
        err << written.message << "\n";
        return false;
    }
    return true;
}

int WriteOutput(const std::string& path, std::string_view bytes, std::ostream& err) {
    const FileWriteResult written = WriteFileAtomically(path, bytes);
    if (written.ok()) return kExitOk;
    err << "talveron-cli: cannot write " << path << ": "
        << (written.status == FileWriteResult::Status::ReadOnly ? "read only file" : written.error)
        << "\n";
    return kExitFault;
}

void PrintDocument(const Document& doc, std::ostream& out) {
    out << "Model:" << doc.ModelName() << "\n";
    out << "Range:" << doc.Band() << "MHz\n";
    out << kColumnHeader << "\n";
    for (const std::string& line : doc.lines) out << line << "\n";
    out << "\n" << kOptionHeader << "\n";
    for (int i = 0; i < doc.BlockCount(); ++i) {
        if (!LineInUse(doc.lines[i])) continue;
        const std::uint8_t opt =
            i < static_cast<int>(doc.state.chOpt.size()) ? doc.state.chOpt[i] : 0;
        out << OptionLine(i + 1, opt) << "\n";
    }
}

namespace {

constexpr const char* kShowUsage =
    "usage: talveron-cli show FILE.cfg\n"
    "  Prints the configuration as the document window shows it: model, range, one line\n"
    "  per channel, then the options of every channel in use.\n";

constexpr const char* kCheckUsage =
    "usage: talveron-cli check FILE.cfg\n"
    "  Checks every channel against the band of the model and the channel raster.\n"
    "  Prints the verdict; exit 0 when all is in range (or no channel holds a\n"
    "  frequency), 1 for a fault, 2 for a file that cannot be opened.\n";

constexpr const char* kExportUsage =
    "usage: talveron-cli export FILE.cfg [-o OUT.csv] [--delimiter ';']\n"
    "  Writes the channels as CSV (to standard output without -o):\n"
    "  Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty\n"
    "  --delimiter ';' separates the fields with \";\" as spreadsheets in the locales with\n"
    "  a decimal comma do.\n";

constexpr const char* kImportUsage =
    "usage: talveron-cli import BASE.cfg CHANNELS.csv -o OUT.cfg\n"
    "  Replaces the channels of BASE with the rows of the CSV (head and model kept from\n"
    "  BASE; channels without a row become empty) and saves the result as OUT.\n";

}  // namespace

int RunShow(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kShowUsage, kExitOk;
    Args args(argv, {}, {});
    if (!args.ok()) return Usage(err, kShowUsage, args.error());
    if (args.positional().size() != 1) return Usage(err, kShowUsage, "show takes one file");
    const auto doc = LoadDocument(args.positional()[0], err);
    if (!doc) return kExitUsage;
    PrintDocument(*doc, out);
    return kExitOk;
}

int RunCheck(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kCheckUsage, kExitOk;
    Args args(argv, {}, {});
    if (!args.ok()) return Usage(err, kCheckUsage, args.error());
    if (args.positional().size() != 1) return Usage(err, kCheckUsage, "check takes one file");
    const auto doc = LoadDocument(args.positional()[0], err);
    if (!doc) return kExitUsage;
    const RangeVerdict verdict = CheckRanges(doc->lines, doc->Limits());
    if (!verdict.setsStatus) return kExitOk;
    out << verdict.text << "\n";
    return verdict.fault ? kExitFault : kExitOk;
}

int RunExport(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kExportUsage, kExitOk;
    Args args(argv, {"-o", "--output", "--delimiter"}, {});
    if (!args.ok()) return Usage(err, kExportUsage, args.error());
    if (args.positional().size() != 1) return Usage(err, kExportUsage, "export takes one file");
    const std::string delimiter = args.value("--delimiter").value_or(",");
    if (delimiter != "," && delimiter != ";")
        return Usage(err, kExportUsage, "the delimiter is \",\" or \";\"");
    const auto doc = LoadDocument(args.positional()[0], err);
    if (!doc) return kExitUsage;
    const std::string csv = ExportCsv(*doc, delimiter[0]);
    auto target = args.value("-o");
    if (!target) target = args.value("--output");
    if (!target) {
        out << csv;
        return kExitOk;
    }
    std::error_code ec;
    if (std::filesystem::equivalent(PathFromUtf8(*target), PathFromUtf8(args.positional()[0]),
                                    ec)) {
        err << "talveron-cli: " << *target << " is the configuration being exported\n";
        return kExitUsage;
    }
    return WriteOutput(*target, csv, err);
}

int RunImport(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kImportUsage, kExitOk;
    Args args(argv, {"-o", "--output"}, {});
    if (!args.ok()) return Usage(err, kImportUsage, args.error());
    auto target = args.value("-o");
    if (!target) target = args.value("--output");
    if (args.positional().size() != 2 || !target)
        return Usage(err, kImportUsage, "import takes BASE.cfg, CHANNELS.csv and -o OUT.cfg");
    const auto base = LoadDocument(args.positional()[0], err);
    if (!base) return kExitUsage;
    const std::string& csvPath = args.positional()[1];
    // A channel list is a few kilobytes; anything that is no regular file or is far larger
    // is not one (and must not be read whole into memory).
    constexpr std::uintmax_t kMaxCsvSize = 1 << 20;
    const std::filesystem::path csvFile = PathFromUtf8(csvPath);
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(csvFile, ec)) in.open(csvFile, std::ios::binary);
    if (!in.is_open()) {
        err << "Can't open file: " << csvPath << "\n";
        return kExitUsage;
    }
    if (std::filesystem::file_size(csvFile, ec) > kMaxCsvSize) {
        err << csvPath << ": too big for a channel list\n";
        return kExitUsage;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const CsvImportResult imported = ImportCsv(text.str(), *base, csvPath);
    if (!imported.ok) {
        err << imported.error << "\n";
        return kExitUsage;
    }
    return SaveDocument(imported.doc, *target, err) ? kExitOk : kExitFault;
}

}  // namespace talveron::cli
