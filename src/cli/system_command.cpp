// talveron-cli system: the radio's system settings of a configuration, read or set with the
// rules of the system option dialog.
#include <iostream>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/file_commands.h"
#include "image/system_options.h"

namespace talveron::cli {

namespace {

constexpr const char* kSystemUsage =
    "usage: talveron-cli system FILE.cfg [KEY=VALUE ...] [-o OUT.cfg]\n"
    "  Without settings, prints the radio's system settings, one per line as key = value,\n"
    "  in the words of the system option dialog. With settings, changes them and saves the\n"
    "  configuration to OUT (default: FILE itself). Keys and their values:\n"
    "    tx-timeout         OFF, 15 s, 30 s, ... 225 s\n"
    "    power-save         OFF, 300 ms, 600 ms, 900 ms, 1200 ms\n"
    "    priority-channel   OFF or the number of a channel in use\n"
    "    priority-sampling  OFF, 0.5s, 1.0s, 1.5s, 2.0s, 2.5s\n"
    "    scan-resume        1 s, 2 s, 3 s, 4 s\n"
    "    scan-attack        OFF, 1 s, 5 s, 10 s, 15 s (16-channel radios only)\n"
    "    bclo-for           Carrier, correct CTCSS, wrong CTCSS\n"
    "    ptt-resume         OFF, 1 ... 225\n"
    "    monitor            ON, OFF\n"
    "    reverse-burst      ON, OFF (16-channel radios only)\n"
    "    beep               ON, OFF\n"
    "  A value with blanks is quoted: talveron-cli system A.cfg 'tx-timeout=60 s'.\n";

// What the dialog shows: a 99-channel radio's hidden scan attack list stands on "OFF".
std::string Shown(const Document& doc, const SystemOptions& options, SysSetting s) {
    if (s == SysSetting::ScanAttack && HiddenForChannels(s, doc.BlockCount())) return "OFF";
    return ValueText(s, options[s]);
}

std::string Entries(SysSetting s, const std::vector<int>& used) {
    std::string list;
    auto add = [&](const std::string& e) { list += (list.empty() ? "" : ", ") + e; };
    switch (SettingInfo(s).kind) {
        case SysKind::List:
        case SysKind::Seconds:
            for (const std::string& e : FixedEntries(s)) add(e);
            break;
        case SysKind::Flag:
            add("ON"), add("OFF");
            break;
        case SysKind::Number:
            add("OFF");
            if (s == SysSetting::PttResume) add("1 ... 225");
            for (int ch : s == SysSetting::PriorityChannel ? used : std::vector<int>{})
                add(std::to_string(ch));
            break;
    }
    return list;
}

}  // namespace

int RunSystem(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kSystemUsage, kExitOk;
    Args args(argv, {"-o", "--output"}, {});
    if (!args.ok()) return Usage(err, kSystemUsage, args.error());
    if (args.positional().empty()) return Usage(err, kSystemUsage, "system takes a file");
    const std::string& path = args.positional()[0];
    auto doc = LoadDocument(path, err);
    if (!doc) return kExitUsage;
    SystemOptions options = ReadSystemOptions(doc->state.head);
    const std::vector<std::string> settings(args.positional().begin() + 1, args.positional().end());
    auto target = args.value("-o");
    if (!target) target = args.value("--output");
    if (settings.empty()) {
        if (target) return Usage(err, kSystemUsage, "-o needs settings to change");
        for (const SysSettingInfo& info : SystemSettings())
            out << info.key << " = " << Shown(*doc, options, info.setting) << "\n";
        return kExitOk;
    }
    const std::vector<int> used = ChannelsInUse(doc->lines);
    for (const std::string& setting : settings) {
        const auto eq = setting.find('=');
        if (eq == std::string::npos) {
            err << "talveron-cli system: " << setting << " is not KEY=VALUE\n";
            return kExitUsage;
        }
        const std::string key = setting.substr(0, eq);
        const std::string value = setting.substr(eq + 1);
        const std::optional<SysSetting> s = SettingByKey(key);
        if (!s) {
            err << "talveron-cli system: unknown setting " << key << "\n";
            return kExitUsage;
        }
        if (HiddenForChannels(*s, doc->BlockCount())) {
            err << "talveron-cli system: a " << doc->BlockCount() << "-channel radio has no " << key
                << "\n";
            return kExitUsage;
        }
        const std::optional<int> v = ValueFromText(*s, value, used);
        if (!v) {
            err << "talveron-cli system: " << value << " is not a value of " << key
                << " (one of: " << Entries(*s, used) << ")\n";
            return kExitUsage;
        }
        options[*s] = *v;
    }
    WriteSystemOptions(options, doc->state.head, doc->BlockCount());
    return SaveDocument(*doc, target.value_or(path), err) ? kExitOk : kExitFault;
}

}  // namespace talveron::cli
