// The radio's system-wide settings (transmit time-out, power save, priority channel and
// sampling, scan timers, busy-channel lock-out, push-to-talk resume, monitor button, reverse
// burst, key beep): eight bytes of the image head. One table says where each setting lives
// and what its entries read; the system option dialog, the CLI, printing and diff all go
// through it, so the words and the bits can never disagree.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/eeprom_image.h"

namespace talveron {

using HeadBytes = std::array<std::uint8_t, kHeadSize>;

// In the order the system option dialog numbers its lists (cboSysOp 0..5), then the rest.
enum class SysSetting {
    TxTimeout,         // cboSysOp(0)
    PowerSave,         // cboSysOp(1)
    PriorityChannel,   // cboSysOp(2)
    PrioritySampling,  // cboSysOp(3)
    ScanResume,        // cboSysOp(4)
    ScanAttack,        // cboSysOp(5)
    BcloFor,           // cboBCLO
    PttResume,         // cboPttTrsm
    Monitor,           // chkMonitor
    ReverseBurst,      // chkReverse
    Beep,              // chkBeep
};
inline constexpr int kSysSettingCount = 11;

enum class SysKind {
    List,     // the stored value is the entry's index
    Seconds,  // scan attack: the stored value is the entry's seconds
    Number,   // priority channel, PTT resume: the number shown, 0 for "OFF"
    Flag,     // a check box
};

struct SysSettingInfo {
    SysSetting setting;
    std::string_view key;    // the CLI's name ("tx-timeout")
    std::string_view label;  // the dialog's caption ("TX Time Of Timer", "BEEP ON")
    std::size_t address;     // head address
    int shift;               // lowest bit of the field
    std::uint8_t mask;       // field mask after the shift
    SysKind kind;
    bool setMeansOn;  // flags: the bit set means ticked (false: set means OFF)
};

// Every setting in dialog order.
const std::array<SysSettingInfo, kSysSettingCount>& SystemSettings();
const SysSettingInfo& SettingInfo(SysSetting setting);
std::optional<SysSetting> SettingByKey(std::string_view key);

// The fixed entries of a list (empty for Number and Flag settings). Scan attack's seconds of
// each entry are in ScanAttackSeconds.
const std::vector<std::string>& FixedEntries(SysSetting setting);
inline constexpr std::array<int, 5> ScanAttackSeconds = {0, 1, 5, 10, 15};

// The settings as stored: the raw field value of each (bits already shifted down). For flags
// the value is 1 when the box is ticked (ON), whatever the polarity of the bit.
struct SystemOptions {
    std::array<int, kSysSettingCount> value{};

    int& operator[](SysSetting s) { return value[static_cast<int>(s)]; }
    int operator[](SysSetting s) const { return value[static_cast<int>(s)]; }
    bool operator==(const SystemOptions&) const = default;
};

SystemOptions ReadSystemOptions(const HeadBytes& head);

// Writes every setting's field into the head and leaves every other bit alone; bit 3 of 0x07
// is written 0. A radio with more than 16 channels has no scan attack timer: 0 is stored.
void WriteSystemOptions(const SystemOptions& options, HeadBytes& head, int channelCount);

// The numbers of the channels in use, as the priority channel list offers them.
std::vector<int> ChannelsInUse(const std::vector<std::string>& lines);

// The text a setting's value shows: the entry ("60 s", "correct CTCSS", "OFF", "12", "ON").
// A stored value that is none of the entries (a damaged or foreign image) reads "#" and the
// number; such a value is kept as it is until the user chooses an entry.
std::string ValueText(SysSetting setting, int value);

// The value an entry text stands for, or nothing when the text is not one of the setting's
// entries. The priority channel takes "OFF" or the number of a channel in use.
std::optional<int> ValueFromText(SysSetting setting, std::string_view text,
                                 const std::vector<int>& channelsInUse);

// Settings the 99-channel memory has no room for: scan attack and reverse burst.
bool HiddenForChannels(SysSetting setting, int channelCount);

}  // namespace talveron
