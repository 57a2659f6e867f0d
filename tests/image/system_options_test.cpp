// The system settings in the head bytes: the dialog's entries and the bits they stand for.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "image/system_options.h"
#include "test_support.h"

namespace talveron {
namespace {

using S = SysSetting;

HeadBytes Head(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    HeadBytes head{};
    for (auto [address, value] : bytes) head[address] = value;
    return head;
}

// The setting of the command line's name.
S Setting(const std::string& key) {
    const auto info = std::find_if(SystemSettings().begin(), SystemSettings().end(),
                                   [&](const SysSettingInfo& i) { return i.key == key; });
    EXPECT_NE(info, SystemSettings().end()) << key;
    return info == SystemSettings().end() ? S::Beep : info->setting;
}

// Each case: a head byte, the setting, the text the dialog opens with.
TEST(SystemOptions, StoredBytesReadAsTheDialogsEntries) {
    for (const auto& c : test::LoadCases("core/system_texts.txt")) {
        const SystemOptions options =
            ReadSystemOptions(Head({{c.Int(0), static_cast<std::uint8_t>(c.Int(1))}}));
        EXPECT_EQ(ValueText(Setting(c[2]), options[Setting(c[2])]), c[3]) << c.where;
    }
}

// Reading and writing back changes nothing but bit 3 of 0x07 (always written 0) and, on a
// 99-channel radio, the scan attack time (it has none); no other head bit is touched.
TEST(SystemOptions, WritingBackWhatWasReadKeepsEveryOtherBit) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        HeadBytes head;
        for (auto& b : head) b = static_cast<std::uint8_t>(random());
        for (int channels : {16, 99}) {
            HeadBytes out = head;
            WriteSystemOptions(ReadSystemOptions(head), out, channels);
            HeadBytes expected = head;
            expected[0x07] &= 0xF7;
            if (channels == 99) expected[0x07] &= 0x0F;
            ASSERT_EQ(out, expected) << "round " << round << ", " << channels << " channels";
        }
    }
}

// The dialog's choices land in exactly their bits.
TEST(SystemOptions, ChoicesStoreTheirBits) {
    for (const auto& c : test::LoadCases("core/system_choices.txt")) {
        const S s = Setting(c[2]);
        HeadBytes head = Head({{c.Int(0), static_cast<std::uint8_t>(c.Int(1))}});
        SystemOptions options = ReadSystemOptions(head);
        const auto value = ValueFromText(s, c[3], {1, 3, 12});
        ASSERT_TRUE(value.has_value()) << c.where;
        options[s] = *value;
        WriteSystemOptions(options, head, c.Int(4));
        EXPECT_EQ(head[c.Int(0)], c.Int(5)) << c.where;
    }
}

TEST(SystemOptions, TextsThatAreNoEntryAreRefused) {
    const std::vector<int> used = {1, 3};
    EXPECT_FALSE(ValueFromText(S::PriorityChannel, "2", used));  // not in use
    EXPECT_FALSE(ValueFromText(S::PriorityChannel, "0", used));
    EXPECT_FALSE(ValueFromText(S::PttResume, "226", used));
    EXPECT_FALSE(ValueFromText(S::PrioritySampling, "0.5 s", used));
    EXPECT_FALSE(ValueFromText(S::TxTimeout, "61 s", used));
    EXPECT_FALSE(ValueFromText(S::Beep, "yes", used));
    EXPECT_EQ(ValueFromText(S::ScanAttack, "OFF", used), 0);
    EXPECT_EQ(ValueFromText(S::Beep, "on", used), 1);
    EXPECT_TRUE(HiddenForChannels(S::ReverseBurst, 99));
    EXPECT_FALSE(HiddenForChannels(S::ReverseBurst, 16));
}

}  // namespace
}  // namespace talveron
