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

// Each case: a head byte, the setting, the text the dialog opens with.
TEST(SystemOptions, StoredBytesReadAsTheDialogsEntries) {
    for (const auto& c : test::LoadCases("core/system_texts.txt")) {
        const auto info = std::find_if(SystemSettings().begin(), SystemSettings().end(),
                                       [&](const SysSettingInfo& i) { return i.key == c[2]; });
        ASSERT_NE(info, SystemSettings().end()) << c.where;
        const SystemOptions options =
            ReadSystemOptions(Head({{c.Int(0), static_cast<std::uint8_t>(c.Int(1))}}));
        EXPECT_EQ(ValueText(info->setting, options[info->setting]), c[3]) << c.where;
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
    const std::vector<int> used = {1, 3, 12};
    auto set = [&](HeadBytes head, S s, const char* text, int channels = 16) {
        SystemOptions options = ReadSystemOptions(head);
        const auto value = ValueFromText(s, text, used);
        EXPECT_TRUE(value.has_value()) << text;
        options[s] = value.value_or(-1);
        WriteSystemOptions(options, head, channels);
        return head;
    };
    HeadBytes h = set(set(Head({{0x07, 0x52}}), S::ScanAttack, "15 s"), S::ScanResume, "1 s");
    EXPECT_EQ(h[0x07], 0xF0);
    EXPECT_EQ(set(Head({{0x0A, 0x93}}), S::Beep, "OFF")[0x0A], 0xB3);
    EXPECT_EQ(set(Head({{0x0A, 0xB3}}), S::Beep, "ON")[0x0A], 0x93);
    EXPECT_EQ(set(Head({}), S::PttResume, "30")[0x0F], 30);
    EXPECT_EQ(set(Head({{0x0E, 0x6F}}), S::ReverseBurst, "OFF")[0x0E], 0xEF);
    EXPECT_EQ(set(Head({{0x0E, 0x7F}}), S::Monitor, "OFF")[0x0E], 0x6F);
    EXPECT_EQ(set(Head({{0x08, 0xA3}}), S::PrioritySampling, "2.5s")[0x08], 0x53);
    EXPECT_EQ(set(Head({{0x09, 0x21}}), S::BcloFor, "Carrier")[0x09], 0x01);
    EXPECT_EQ(set(Head({{0x09, 0x21}}), S::PowerSave, "900 ms")[0x09], 0x23);
    EXPECT_EQ(set(Head({}), S::PriorityChannel, "12")[0x05], 12);
    EXPECT_EQ(set(Head({{0x07, 0x52}}), S::ScanResume, "4 s", 99)[0x07], 0x03);
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
