// The small rules of the image core as rows of tables (core/text_rules.txt: codecs, lines,
// models; core/entry_rules.txt: the entries of the channel, option and Auto dialogs; and the
// tables of one rule each), the keys of the frequency and code boxes, the channel line OK
// builds, the channel clipboard, and the system option bits written back.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>

#include "image/auto_fill.h"
#include "image/bit_text.h"
#include "image/call_guard_entry.h"
#include "image/cfg_file.h"
#include "image/channel_clipboard.h"
#include "image/channel_edit.h"
#include "image/channel_line.h"
#include "image/eeprom_image.h"
#include "image/freq_box.h"
#include "image/freq_codec.h"
#include "image/model_table.h"
#include "image/option_edit.h"
#include "image/system_options.h"
#include "image/tone_codec.h"
#include "image_generator.h"
#include "test_support.h"

namespace talveron {
namespace {

using test::Case;

const std::map<std::string, DialogMode> kModes = {{"Channel", DialogMode::Channel},
                                                  {"AutoFreq", DialogMode::AutoFreq},
                                                  {"AutoSubt", DialogMode::AutoSubt},
                                                  {"Customer", DialogMode::Customer}};
const auto Mode = [](const std::string& name) { return kModes.at(name); };
const char* kControls[] = {"-",       "RxFreq0", "RxFreq1", "RxTone0", "RxTone1",
                           "RxDtmf0", "RxDtmf1", "OK",      "Cancel"};
const auto Focus = [](DialogControl c) -> std::string { return kControls[static_cast<int>(c)]; };
const auto Yes = [](bool b) -> std::string { return b ? "yes" : "no"; };
const auto Opt = [](const auto& v) -> std::string { return v ? std::to_string(*v) : "none"; };
const auto Key = [](const EntryKey& k) { return Yes(k.passes) + " " + Focus(k.focus); };
std::string Hex(int v) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", v);
    return text;
}
const auto Box = [](const TextBox& b) { return b.text + " " + std::to_string(b.caret); };
const auto Target = [](const TargetRange& r) {
    return r.first + " " + r.last + (r.refused ? " refused" : "");
};
std::string Range(const std::optional<FillRange>& r) {
    return r ? std::to_string(r->first) + " " + std::to_string(r->last) : "none";
}
OptionChoices Choices(const std::string& flags) {
    OptionChoices choices;
    for (int i = 0; i < 5; ++i) choices[i] = flags[i] == '1';
    return choices;
}
std::string Flags(const std::array<bool, 5>& f) {
    std::string s;
    for (bool b : f) s += b ? '1' : '0';
    return s;
}
std::vector<int> List(const std::string& text) {
    std::vector<int> values;
    for (const std::string& w : test::Words(text)) values.push_back(std::stoi(w));
    return values;
}

ChannelSides Sides(int which) {  // 0: as opened, 1: receive only, 2: receive copied
    ChannelSides s;
    s.freq = {"440.012500", which == 1 ? "NONE" : which == 2 ? "440.012500" : "445.000000"};
    s.tone = {ToneListText(12), ToneListText(which == 1 ? 0 : which == 2 ? 12 : 3)};
    s.code = {"1234", which == 1 ? "0000" : which == 2 ? "1234" : "5678"};
    return s;
}

// n channel lines; channel k holds 145.0k MHz with tone code k both ways, but channel
// "empty" is empty.
std::vector<std::string> Lines(int n, int empty = 0) {
    std::vector<std::string> lines;
    for (int k = 1; k <= n; ++k) {
        ChannelRecord ch;
        ch.number = ch.rxTone = ch.txTone = k;
        ch.rxFreq = ch.txFreq = "145.0" + std::to_string(k % 10) + "0000";
        lines.push_back(k == empty ? EmptyChannelLine(k) : FormatChannelLine(ch));
    }
    return lines;
}

const auto Area = [](const std::string& name) {
    return name == "Both" ? FillArea::Both : name == "RxOnly" ? FillArea::RxOnly : FillArea::TxOnly;
};

std::string Fill(const Case& c) {
    std::vector<std::string> lines = Lines(16);
    const FillResult r = AutoFreq(lines, {c.Int(2), c.Int(3)}, Area(c[1]), c[4], c[5]);
    const char* errors[] = {"None", "BadStart", "BadSpacing", "OutOfDigits"};
    if (r.error != FillError::None)
        return errors[static_cast<int>(r.error)] + (" at " + std::to_string(r.badChannel)) +
               (lines == Lines(16) ? ", lines kept" : ", lines changed");
    std::string out = lines[c.Int(6) - 1] + " changed";
    for (int i : r.changed) out += " " + std::to_string(i);
    return out;
}

std::string Subtones(const Case& c) {
    std::vector<std::string> lines = Lines(16);
    AutoSubt(lines, {c.Int(2), c.Int(3)}, Area(c[1]), c.Int(4), c[5] == "counting");
    return lines[c.Int(6) - 1];
}

std::string Split(const Case& c) {
    const LineFields f = SplitLine(c[1]);
    return f.ch + "/" + f.rxFreq + "/" + f.rxTone + "/" + f.txFreq + "/" + f.txTone;
}

// The sides after a click on a check box: as opened, receive only or receive copied to
// transmit, and the boxes ticked.
std::string Click(const Case& c) {
    ChannelSides sides = Sides(0);
    for (int i = 0; i < 3; ++i) sides.check[i] = (c[2][i] == '1') != (c.Int(3) == i);
    ClickCheck(Mode(c[1]), sides, c.Int(3));
    std::string out = "none ";
    for (int which = 0; which < 3; ++which) {
        ChannelSides expected = Sides(which);
        expected.check = sides.check;
        if (sides == expected) out = which == 0 ? "base " : which == 1 ? "rxonly " : "copied ";
    }
    for (bool b : sides.check) out += b ? '1' : '0';
    return out;
}

const auto Byte = [](const Case& c, int i) { return static_cast<std::uint8_t>(c.Int(i)); };

// The setting of the command line's name.
SysSetting Setting(const std::string& key) {
    const auto info = std::find_if(SystemSettings().begin(), SystemSettings().end(),
                                   [&](const SysSettingInfo& i) { return i.key == key; });
    EXPECT_NE(info, SystemSettings().end()) << key;
    return info == SystemSettings().end() ? SysSetting::Beep : info->setting;
}

// A head byte set, then read as the system option dialog's entry.
std::string SystemText(const Case& c) {
    HeadBytes head{};
    head[c.Int(1)] = Byte(c, 2);
    return ValueText(Setting(c[3]), ReadSystemOptions(head)[Setting(c[3])]);
}

// A head byte set, an entry chosen (channels 1, 3 and 12 in use) and written back.
std::string SystemChoice(const Case& c) {
    HeadBytes head{};
    head[c.Int(1)] = Byte(c, 2);
    SystemOptions options = ReadSystemOptions(head);
    const auto value = ValueFromText(Setting(c[3]), c[4], {1, 3, 12});
    if (!value) return "refused";
    options[Setting(c[3])] = *value;
    WriteSystemOptions(options, head, c.Int(5));
    return head[c.Int(1)] == c.Int(6) ? c[6] : Hex(head[c.Int(1)]);  // as the table writes it
}

// A line stored with its option byte (IF -21.4, prescaler 128), as hex bytes.
std::string Stored(const Case& c) {
    EepromImage image(kHeadSize, 0);
    ListToImage(image, {c[1]}, {Byte(c, 2)}, {});
    std::string out;
    for (std::size_t i = kHeadSize; i < image.size(); ++i)
        out += (out.empty() ? "" : " ") + Hex(image[i]).substr(2);
    return out;
}

// A dialog's verdict over the 440-480 MHz band after each box took its texts in turn.
std::string Verdict(const Case& c) {
    FreqFlags flags;
    for (int box : {0, 1})
        for (const std::string& text : test::Words(c[2 + box]))
            ScanFreq(Mode(c[1]), flags, box, text, {440, 480});
    return FreqVerdict(flags);
}

// Each rule's answer to a row of its table, as text.
// clang-format off
#define RULE(name, answer) {#name, [](const Case& c) -> std::string { return answer; }}
// clang-format on
const std::map<std::string, std::function<std::string(const Case&)>> kRules = {
    RULE(FreqToHz, Opt(FreqToHz(c[1], c[2] == "dot"))),
    RULE(StepClass, std::to_string(StepClass(c.Int(1)))),
    RULE(IfText,
         std::string(CodecContext::FromHead(static_cast<std::uint8_t>(c.Int(1)), 0).IfText())),
    RULE(ToneCodeField, ToneCodeField(c.Int(1))),
    RULE(ToneValueText, ToneValueText(c.Int(1))),
    RULE(ToneKindOf, ToneKindOf(c.Int(1)) == ToneKind::None ? "None" : "a tone"),
    RULE(Pad3, Pad3(c.Int(1))),
    RULE(CtcssCode, Opt(CtcssCode(c[1]))),
    RULE(CdcssCode, Opt(CdcssCode(c[1]))),
    RULE(ToBin, ToBin(c.Int(1))),
    RULE(BitsValue, std::to_string(BitsValue(c[1]))),
    RULE(OptionLine, OptionLine(c.Int(1), static_cast<std::uint8_t>(c.Int(2)))),
    RULE(EmptyChannelLine, EmptyChannelLine(c.Int(1))),
    RULE(SplitLine, Split(c)),
    RULE(LineFreq, LineFreq(c[1], c[2] == "rx")),
    RULE(LineToneCode, std::to_string(LineToneCode(c[1], c[2] == "rx"))),
    RULE(ShortModelName, ShortModelName(c.Int(1))),
    RULE(ModelNameField, ModelNameField(ModelLine(c.Int(1)))),
    RULE(BandText, BandText(ModelLine(c.Int(1)))),
    RULE(IsAcceptedModel, Yes(IsAcceptedModel(c.Int(1)))),
    RULE(ChannelCount, std::to_string(ChannelCount(EepromImage(c.Int(1))))),
    RULE(ChannelCaption, ChannelCaption(c.Int(1), c[2], c[3])),
    RULE(ToneListLine, Opt(ToneListLine(c[1], c.Int(2)))),
    RULE(ToneListError, ToneListError(c.Int(1))),
    RULE(ToneListKey, Key(ToneListKey(Mode(c[1]), c.Int(2), c[3][0]))),
    RULE(CodeBoxChange, Box(CodeBoxChange({c[1], c.Int(2)}))),
    RULE(PadCode, PadCode(c[1])),
    RULE(LeaveTarget, Target(LeaveTarget(c.Int(1), {c[2], c[3]}, 32))),
    RULE(FreqClickCaret, std::to_string(FreqClickCaret(Mode(c[1]), c.Int(2), c.Int(3)))),
    RULE(FreqFocusResets, Yes(FreqFocusResets(Mode(c[1]), c.Int(2)))),
    RULE(ComposeOption, Hex(ComposeOption(static_cast<std::uint8_t>(c.Int(1)), Choices(c[2])))),
    RULE(OptionChoicesOf, Flags(OptionChoicesOf(static_cast<std::uint8_t>(c.Int(1))))),
    RULE(OptionLineChannel, std::to_string(OptionLineChannel(c[1]))),
    RULE(ClickCheck, Click(c)),
    RULE(SpacingHz, Opt(SpacingHz(c[1]))),
    RULE(FillTargets, Range(FillTargets(c[1], c[2], 16))),
    RULE(FillToneText, FillToneText(c.Int(1))),
    RULE(AutoFreq, Fill(c)),
    RULE(AutoSubt, Subtones(c)),
    RULE(AutoFreqStart, AutoFreqStart(Lines(16, 2), c.Int(1), c[2])),
    RULE(DecodeFreq, DecodeFreq(Byte(c, 1), Byte(c, 2), Byte(c, 3), c[4] == "rx",
                                {.ifIndex = c.Int(5), .prescaler = c.Int(6), .dotDecimal = true})),
    RULE(StoreLine, Stored(c)),
    RULE(OptionText, OptionText(Byte(c, 1))),
    RULE(FreqVerdict, Verdict(c)),
    RULE(FileBaseName, FileBaseName(c[1])),
    RULE(SystemText, SystemText(c)),
    RULE(SystemChoice, SystemChoice(c)),
    RULE(PasteStart, std::to_string(PasteStart(List(c[1]), c.Int(2), 16))),
};

// The tables of one rule have no rule column.
TEST(Rules, EveryRowOfEveryRule) {
    const std::pair<const char*, const char*> tables[] = {
        {"core/text_rules.txt", nullptr},
        {"core/entry_rules.txt", nullptr},
        {"core/decode_freq.txt", "DecodeFreq"},
        {"core/stored_lines.txt", "StoreLine"},
        {"core/option_texts.txt", "OptionText"},
        {"core/freq_verdict.txt", "FreqVerdict"},
        {"core/file_base_names.txt", "FileBaseName"},
        {"core/system_texts.txt", "SystemText"},
        {"core/system_choices.txt", "SystemChoice"}};
    for (auto [table, name] : tables) {
        for (auto c : test::LoadCases(table)) {
            if (name) c.f.insert(c.f.begin(), name);
            const auto rule = kRules.find(c[0]);
            ASSERT_NE(rule, kRules.end()) << c.where;
            EXPECT_EQ(rule->second(c), c.f.back()) << c.where;
        }
    }
}

TEST(EntryRules, KeysInTheFrequencyAndCodeBoxes) {
    for (const auto& c : test::LoadCases("core/freq_box_keys.txt")) {
        const FreqEdit edit = FreqKey(Mode(c[0]), c.Int(1), {c[2], c.Int(3)}, c[4][0], c.Int(8));
        EXPECT_EQ(edit.box, (TextBox{c[5], c.Int(6)})) << c.where;
        EXPECT_EQ(Focus(edit.focus), c[7]) << c.where;
    }
    // The change rule leaves a text the program set (caret 0, 4 or 10 characters) alone.
    EXPECT_FALSE(FreqChange(DialogMode::Channel, 0, {"440.012500", 0}, 4).ruleRan);
    EXPECT_TRUE(FreqKey(DialogMode::Channel, 0, {"445.512500", 1}, kKeyBackspace, 4).cleared);
    for (const auto& c : test::LoadCases("core/code_box_keys.txt")) {
        const EntryKey result = CodeBoxKey(Mode(c[0]), c.Int(1), c[2][0], c.Int(3));
        EXPECT_EQ(result.passes, c[4] == "yes") << c.where;
        EXPECT_EQ(result.key, c[5][0]) << c.where;
        EXPECT_EQ(Focus(result.focus), c[6]) << c.where;
    }
    EXPECT_FALSE(CodeBoxKey(DialogMode::Channel, 0, kKeyBackspace, 2).overwrite);
}

TEST(ChannelEdit, OkBuildsTheFullLineAndAnUnchangedDialogRewritesItAsItWas) {
    // A line rewritten by the Auto Subtone fill reads the same codes.
    const ChannelSides filled =
        SidesFromLine("7   440.012500  001 =  67.0  445.000000  051 =   023  ");
    EXPECT_EQ(filled.tone, (std::array<std::string, 2>{"001 CTCSS  67.0", "051 CDCSS   023"}));
    EXPECT_EQ(filled.freq, (std::array<std::string, 2>{"440.012500", "445.000000"}));

    test::ImageGenerator gen(7);
    for (int round = 0; round < 20; ++round) {
        const ChannelList list = ImageToList(gen.Make(99, 0x05, 64).image);
        for (std::size_t i = 0; i < list.lines.size(); ++i) {
            if (list.lines[i].find("???") != std::string::npos) continue;  // damaged tone
            EXPECT_EQ(BuildChannelLine(static_cast<int>(i) + 1, SidesFromLine(list.lines[i])),
                      list.lines[i]);
        }
    }
    // The option dialog lists the channels in use, transmit-only ones not.
    std::vector<std::string> lines;
    for (int n = 1; n <= 12; ++n) lines.push_back(EmptyChannelLine(n));
    lines[6] = "7   145.012500  000=  None   145.012500  000=  None   ";
    lines[11] = "12  145.012500  000=  None   NONE        000=  None   ";
    lines[2] = "3   NONE        000=  None   145.012500  001=  67.0   ";
    EXPECT_EQ(OptionListLines(lines, std::vector<std::uint8_t>(12, 0x84)),
              (std::vector<std::string>{"07 25.0K    H    OFF  OFF", "12 25.0K    H    OFF  OFF"}));
}

// Copy, paste and delete through the Edit menu run in the channel test; here what it does not
// reach: the order of a selection picked backwards, a paste cut short, a cut put back.
TEST(ChannelClipboard, CopyPasteCutAndDelete) {
    std::vector<std::string> a = Lines(16), eight = Lines(8);
    ClipLines clip;
    EXPECT_EQ(CopyChannels(a, {4, 2}, clip), a[2] + "\n" + a[4] + "\n");
    // Only what fits below the start line is pasted, renumbered; nothing without a start.
    EXPECT_EQ(PasteChannels(eight, clip, {}, 7), (std::vector<int>{7}));
    EXPECT_EQ(eight[7], "8 " + a[2].substr(2));
    EXPECT_TRUE(PasteChannels(eight, clip, {1}, -1).empty());
    EXPECT_EQ(eight[1], Lines(2)[1]);
    EXPECT_EQ(ClearChannels(a, {9, 1}), (std::vector<int>{1, 9}));
    EXPECT_EQ(a[1], EmptyChannelLine(2));
    // A cut run pasted back at its first line restores it.
    std::vector<std::string> c = Lines(16);
    CopyChannels(c, {3, 4, 5}, clip);
    ClearChannels(c, {3, 4, 5});
    PasteChannels(c, clip, {3, 4, 5}, 5);
    EXPECT_EQ(c, Lines(16));
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
    EXPECT_TRUE(HiddenForChannels(SysSetting::ReverseBurst, 99));
    EXPECT_FALSE(HiddenForChannels(SysSetting::ReverseBurst, 16));
}

}  // namespace
}  // namespace talveron
