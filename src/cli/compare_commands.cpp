#include "cli/compare_commands.h"

#include <ostream>

#include "cli/args.h"
#include "cli/commands.h"
#include "image/cfg_file.h"

namespace talveron::cli {

namespace {

constexpr const char* kDiffUsage =
    "usage: talveron-cli diff A.cfg B.cfg\n"
    "  Lists what differs from A to B in the radio's terms, one line each: the model, the\n"
    "  number of channels, each system setting in the system option dialog's words, per\n"
    "  channel its frequencies, call guards and options (\"CH 3 Rx Freq.: 147.300000 ->\n"
    "  147.312500\"), and the address of any other byte that differs. A file with fewer\n"
    "  channels compares as if the rest were empty, as a write of it leaves them. Prints\n"
    "  nothing and exits 0 when they are the same, 1 when they differ, 2 for a file that\n"
    "  cannot be opened.\n";

std::string What(const Finding& f) {
    if (f.kind == Finding::Kind::Channel) return "CH " + std::to_string(f.channel) + " " + f.what;
    return f.what;
}

std::uint8_t ByteAt(const EepromImage& image, std::size_t address) {
    // The model byte is last; a shorter image reads as zero bytes past its memory.
    return address + 1 < image.size() ? image[address] : 0;
}

}  // namespace

void PrintFindings(const std::vector<Finding>& findings, const EepromImage& a, const EepromImage& b,
                   const SideNames& sides, std::ostream& out) {
    const bool named = !sides.a.empty();
    for (const Finding& f : findings) {
        if (f.kind == Finding::Kind::Byte) {
            if (named) {
                out << f.what << ": " << sides.a << " " << f.a << " " << sides.b << " " << f.b
                    << "\n";
            } else {
                out << f.what << ": " << f.a << " -> " << f.b << "\n";
            }
            continue;
        }
        if (!named) {
            out << What(f) << ": " << f.a << " -> " << f.b << "\n";
            continue;
        }
        out << What(f) << ": " << sides.a << " " << f.a << ", " << sides.b << " " << f.b << "\n";
        for (std::size_t address : f.addresses) {
            out << "  " << AddressText(address) << ": " << sides.a << " "
                << ByteText(ByteAt(a, address)) << " " << sides.b << " "
                << ByteText(ByteAt(b, address)) << "\n";
        }
    }
}

int RunDiff(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kDiffUsage, kExitOk;
    Args args(argv, {}, {});
    if (!args.ok()) return Usage(err, kDiffUsage, args.error());
    if (args.positional().size() != 2) return Usage(err, kDiffUsage, "diff takes two files");
    EepromImage images[2];
    for (int i = 0; i < 2; ++i) {
        const CfgReadResult read = ReadCfgFile(args.positional()[i]);
        if (!read.ok()) {
            err << read.message << "\n";
            return kExitUsage;
        }
        images[i] = read.image;
    }
    const std::vector<Finding> findings = CompareImages(images[0], images[1]);
    PrintFindings(findings, images[0], images[1], {}, out);
    return findings.empty() ? kExitOk : kExitFault;
}

}  // namespace talveron::cli
