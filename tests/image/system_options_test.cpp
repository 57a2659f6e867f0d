// The system settings in the head bytes: the dialog's entries and the bits they stand for.
#include <gtest/gtest.h>

#include <random>

#include "image/system_options.h"

namespace talveron {
namespace {

using S = SysSetting;

HeadBytes Head(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    HeadBytes head{};
    for (auto [address, value] : bytes) head[address] = value;
    return head;
}

// Each row: head bytes, the setting, the text it opens with.
TEST(SystemOptions, StoredBytesReadAsTheDialogsEntries) {
    struct Row {
        std::size_t address;
        std::uint8_t byte;
        S setting;
        const char* text;
    };
    const Row rows[] = {
        {0x07, 0x52, S::ScanAttack, "5 s"},
        {0x07, 0x52, S::ScanResume, "3 s"},
        {0x07, 0xF0, S::ScanAttack, "15 s"},
        {0x07, 0x30, S::ScanAttack, "#3"},
        {0x07, 0x0C, S::ScanResume, "#12"},
        {0x08, 0x14, S::PrioritySampling, "0.5s"},
        {0x08, 0x14, S::TxTimeout, "60 s"},
        {0x08, 0x0F, S::TxTimeout, "225 s"},
        {0x08, 0x60, S::PrioritySampling, "#6"},
        {0x09, 0x14, S::BcloFor, "correct CTCSS"},
        {0x09, 0x14, S::PowerSave, "1200 ms"},
        {0x09, 0x05, S::PowerSave, "#5"},
        {0x05, 0x00, S::PriorityChannel, "OFF"},
        {0x05, 0x0C, S::PriorityChannel, "12"},
        {0x0F, 0x00, S::PttResume, "OFF"},
        {0x0F, 30, S::PttResume, "30"},
        {0x0F, 225, S::PttResume, "225"},
        {0x0F, 226, S::PttResume, "#226"},
        {0x0A, 0x00, S::Beep, "ON"},
        {0x0A, 0x20, S::Beep, "OFF"},
        {0x0E, 0x00, S::ReverseBurst, "ON"},
        {0x0E, 0x80, S::ReverseBurst, "OFF"},
        {0x0E, 0x10, S::Monitor, "ON"},
        {0x0E, 0xEF, S::Monitor, "OFF"},
    };
    for (const Row& r : rows) {
        const SystemOptions options = ReadSystemOptions(Head({{r.address, r.byte}}));
        EXPECT_EQ(ValueText(r.setting, options[r.setting]), r.text)
            << SettingInfo(r.setting).key << " from 0x" << std::hex << int(r.byte);
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
