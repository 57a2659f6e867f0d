#include "image/system_options.h"

#include <algorithm>
#include <cctype>

#include "image/channel_line.h"
#include "image/text_util.h"

namespace talveron {

namespace {

using S = SysSetting;
using K = SysKind;

constexpr std::array<SysSettingInfo, kSysSettingCount> kSettings = {{
    {S::TxTimeout, "tx-timeout", "TX Time Of Timer", kAddrPriorityTot, 0, 0x0F, K::List, true},
    {S::PowerSave, "power-save", "Power Save Cycle", kAddrBcloSave, 0, 0x0F, K::List, true},
    {S::PriorityChannel, "priority-channel", "Priority Channel No.", kAddrPriorityChannel, 0, 0xFF,
     K::Number, true},
    {S::PrioritySampling, "priority-sampling", "Priority Sampling Cycle", kAddrPriorityTot, 4, 0x0F,
     K::List, true},
    // Bit 3 of the byte is read with the index but always written 0.
    {S::ScanResume, "scan-resume", "Scan Resume Timer", kAddrScanTimes, 0, 0x0F, K::List, true},
    {S::ScanAttack, "scan-attack", "Scan Attack Timer", kAddrScanTimes, 4, 0x0F, K::Seconds, true},
    {S::BcloFor, "bclo-for", "BCLO for", kAddrBcloSave, 4, 0x0F, K::List, true},
    {S::PttResume, "ptt-resume", "PTT Resume Time", kAddrPttResume, 0, 0xFF, K::Number, true},
    {S::Monitor, "monitor", "Monitor Button Enable", kAddrBurstMonitor, 4, 0x01, K::Flag, true},
    {S::ReverseBurst, "reverse-burst", "Reverse Burst ON", kAddrBurstMonitor, 7, 0x01, K::Flag,
     false},
    {S::Beep, "beep", "BEEP ON", kAddrRadioType, 5, 0x01, K::Flag, false},
}};

constexpr int kPttResumeLast = 225;

std::vector<std::string> Seconds(int step, int last) {
    std::vector<std::string> out{"OFF"};
    for (int s = step; s <= last; s += step) out.push_back(std::to_string(s) + " s");
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const std::array<SysSettingInfo, kSysSettingCount>& SystemSettings() {
    return kSettings;
}

const SysSettingInfo& SettingInfo(SysSetting setting) {
    return kSettings[static_cast<int>(setting)];
}

std::optional<SysSetting> SettingByKey(std::string_view key) {
    for (const SysSettingInfo& info : kSettings)
        if (info.key == key) return info.setting;
    return std::nullopt;
}

const std::vector<std::string>& FixedEntries(SysSetting setting) {
    static const std::vector<std::string> txTimeout = Seconds(15, 225);
    static const std::vector<std::string> powerSave = {"OFF", "300 ms", "600 ms", "900 ms",
                                                       "1200 ms"};
    static const std::vector<std::string> sampling = {"OFF",  "0.5s", "1.0s",
                                                      "1.5s", "2.0s", "2.5s"};
    static const std::vector<std::string> resume = {"1 s", "2 s", "3 s", "4 s"};
    static const std::vector<std::string> attack = {"OFF", "1 s", "5 s", "10 s", "15 s"};
    static const std::vector<std::string> bclo = {"Carrier", "correct CTCSS", "wrong CTCSS"};
    static const std::vector<std::string> none;
    switch (setting) {
        case S::TxTimeout:
            return txTimeout;
        case S::PowerSave:
            return powerSave;
        case S::PrioritySampling:
            return sampling;
        case S::ScanResume:
            return resume;
        case S::ScanAttack:
            return attack;
        case S::BcloFor:
            return bclo;
        default:
            return none;
    }
}

SystemOptions ReadSystemOptions(const HeadBytes& head) {
    SystemOptions options;
    for (const SysSettingInfo& info : kSettings) {
        int field = (head[info.address] >> info.shift) & info.mask;
        if (info.kind == K::Flag && !info.setMeansOn) field ^= 1;
        options[info.setting] = field;
    }
    return options;
}

void WriteSystemOptions(const SystemOptions& options, HeadBytes& head, int channelCount) {
    for (const SysSettingInfo& info : kSettings) {
        int field = options[info.setting];
        if (info.kind == K::Flag && !info.setMeansOn) field ^= 1;
        if (info.setting == S::ScanResume) field &= 0x07;
        if (info.setting == S::ScanAttack && HiddenForChannels(info.setting, channelCount))
            field = 0;
        const auto mask = static_cast<std::uint8_t>(info.mask << info.shift);
        const auto bits = static_cast<std::uint8_t>((field & info.mask) << info.shift);
        head[info.address] = static_cast<std::uint8_t>((head[info.address] & ~mask) | bits);
    }
}

std::vector<int> ChannelsInUse(const std::vector<std::string>& lines) {
    std::vector<int> used;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (LineInUse(lines[i])) used.push_back(static_cast<int>(i) + 1);
    return used;
}

std::string ValueText(SysSetting setting, int value) {
    const SysSettingInfo& info = SettingInfo(setting);
    const std::vector<std::string>& entries = FixedEntries(setting);
    switch (info.kind) {
        case K::List:
            if (value >= 0 && value < static_cast<int>(entries.size())) return entries[value];
            break;
        case K::Seconds:
            for (std::size_t i = 0; i < ScanAttackSeconds.size(); ++i)
                if (ScanAttackSeconds[i] == value) return entries[i];
            break;
        case K::Number:
            if (value == 0) return "OFF";
            if (setting == S::PriorityChannel || value <= kPttResumeLast)
                return std::to_string(value);
            break;
        case K::Flag:
            return value ? "ON" : "OFF";
    }
    return "#" + std::to_string(value);
}

std::optional<int> ValueFromText(SysSetting setting, std::string_view text,
                                 const std::vector<int>& channelsInUse) {
    const SysSettingInfo& info = SettingInfo(setting);
    const std::vector<std::string>& entries = FixedEntries(setting);
    switch (info.kind) {
        case K::List:
        case K::Seconds:
            for (std::size_t i = 0; i < entries.size(); ++i)
                if (SameText(entries[i], text))
                    return info.kind == K::List ? static_cast<int>(i) : ScanAttackSeconds[i];
            return std::nullopt;
        case K::Number: {
            if (SameText(text, "OFF")) return 0;
            const std::optional<int> n = DigitsValue(text, 3);
            if (!n || *n == 0) return std::nullopt;
            if (setting == S::PttResume) return *n <= kPttResumeLast ? n : std::nullopt;
            const bool used =
                std::find(channelsInUse.begin(), channelsInUse.end(), *n) != channelsInUse.end();
            return used ? n : std::nullopt;
        }
        case K::Flag:
            if (SameText(text, "ON")) return 1;
            if (SameText(text, "OFF")) return 0;
            return std::nullopt;
    }
    return std::nullopt;
}

bool HiddenForChannels(SysSetting setting, int channelCount) {
    return channelCount > kSmallChannels &&
           (setting == S::ScanAttack || setting == S::ReverseBurst);
}

}  // namespace talveron
