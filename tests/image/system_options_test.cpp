// The system settings in the head bytes: the dialog's entries and the bits they stand for.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "image/system_options.h"
#include "test_support.h"

namespace talveron {
namespace {

// The setting of the command line's name.
SysSetting Setting(const std::string& key) {
    const auto info = std::find_if(SystemSettings().begin(), SystemSettings().end(),
                                   [&](const SysSettingInfo& i) { return i.key == key; });
    EXPECT_NE(info, SystemSettings().end()) << key;
    return info == SystemSettings().end() ? SysSetting::Beep : info->setting;
}

TEST(SystemOptions, StoredBytesReadAsTheDialogsEntriesAndChoicesStoreTheirBits) {
    for (const auto& c : test::LoadCases("core/system_texts.txt")) {
        HeadBytes head{};
        head[c.Int(0)] = static_cast<std::uint8_t>(c.Int(1));
        const SysSetting s = Setting(c[2]);
        EXPECT_EQ(ValueText(s, ReadSystemOptions(head)[s]), c[3]) << c.where;
    }
    for (const auto& c : test::LoadCases("core/system_choices.txt")) {
        HeadBytes head{};
        head[c.Int(0)] = static_cast<std::uint8_t>(c.Int(1));
        const SysSetting s = Setting(c[2]);
        SystemOptions options = ReadSystemOptions(head);
        const auto value = ValueFromText(s, c[3], {1, 3, 12});
        ASSERT_EQ(value.has_value(), c[5] != "refused") << c.where;
        if (!value) continue;
        options[s] = *value;
        WriteSystemOptions(options, head, c.Int(4));
        EXPECT_EQ(head[c.Int(0)], c.Int(5)) << c.where;
    }
    EXPECT_TRUE(HiddenForChannels(SysSetting::ReverseBurst, 99));
    EXPECT_FALSE(HiddenForChannels(SysSetting::ReverseBurst, 16));
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
            expected[0x07] &= channels == 99 ? 0x07 : 0xF7;
            ASSERT_EQ(out, expected) << "round " << round << ", " << channels << " channels";
        }
    }
}

}  // namespace
}  // namespace talveron
