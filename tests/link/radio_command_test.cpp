// The command exchange over a scripted port: frames, reply lengths, the 2 ms pause, the
// timeout and the way the poll waits.
#include <gtest/gtest.h>

#include "link/radio_command.h"
#include "link_fakes.h"

namespace talveron::link::test {
namespace {

using namespace std::chrono;
using B = std::vector<std::uint8_t>;

// The radio's byte at a is 3a, in a 808-byte memory; the port is open.
struct CommandRig : Rig {
    CommandRig() {
        Faults("");
        port.SelectPort(1);
        port.Open();
    }
    void Faults(const std::string& faults) {
        EepromImage memory(808);
        for (int i = 0; i < 808; ++i) memory[i] = static_cast<std::uint8_t>(i * 3);
        port.radio = Radio(1, memory, faults);
    }
};

// Each command: the bytes sent (letter, then the rest in a second write), the reply taken and
// its timeout, from a model 1 radio, with an image whose byte i is i.
TEST(RadioCommand, SendsItsFrameAndTakesTheWholeReply) {
    const struct {
        Command code;
        int address;
        std::uint8_t vAnswer;
        B sent;
        B reply;
        bool ok;
        int ms;
    } cases[] = {
        {kCmdV, 0, 0x11, {0x56}, {0x56, 0x11}, true, 20},
        // The bytes arrived, only the answer is wrong.
        {kCmdV, 0, 0x10, {0x56}, {0x56, 0x10}, false, 20},
        {kCmdI, 0, 0x11, {0x49, 0x07}, {0x49, 0x07, 0x0E}, true, 40},
        {kCmdIdentify, 0, 0x11, {0x49, 0x07}, {0x49, 0x07, 0x0E}, true, 40},
        {kCmdR, 8, 0x11, {0x52, 0x00, 0x08}, {0x52, 0x00, 0x08, 24, 27, 30, 33}, true, 120},
        // clang-format off
        {kCmdW, 0x104, 0x11, {0x57, 0x01, 0x04, 4, 5, 6, 7},
         {0x57, 0x01, 0x04, 4, 5, 6, 7, 4, 5, 6, 7}, true, 210},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CommandRig rig;
        const std::uint8_t v = c.vAnswer;
        rig.port.tamper = [v](B& out) { out = out == B{0x56, 0x11} ? B{0x56, v} : out; };
        EepromImage image(809);
        for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i);
        rig.link.state.SetAddress(c.address);
        RadioCommand(rig.link, c.code, image);
        EXPECT_EQ(rig.link.state.replyOk, c.ok);
        EXPECT_EQ(rig.link.state.reply, c.reply);
        EXPECT_EQ(ReplyTimeout(c.code), milliseconds(c.ms));
        ASSERT_EQ(rig.port.writes.size(), c.sent.size() > 1 ? 2u : 1u);
        EXPECT_EQ(rig.port.writes[0].second, B{c.sent[0]});
        if (rig.port.writes.size() < 2) continue;
        EXPECT_EQ(rig.port.writes[1].second, B(c.sent.begin() + 1, c.sent.end()));
        // The rest follows the letter after the 2 ms pause, in which events are handled.
        const auto gap = rig.port.writes[1].first - rig.port.writes[0].first;
        EXPECT_GE(gap, microseconds(2000));
        EXPECT_LT(gap, microseconds(3000)) << "no more than the pause itself";
        EXPECT_GE(rig.ui.events, 1);
    }
}

// Replies that are not whole in time, after a good "V": whether the exchange counts, how long
// it takes, and that a failure leaves the reply before it as it was.
TEST(RadioCommand, ReplyNotWholeInTimeFailsAndKeepsTheOldReply) {
    const struct {
        const char* what;
        Command code;
        const char* faults;
        bool stray, lost;  // a byte ahead of the reply; the port lost after the write
        milliseconds least, most;
    } cases[] = {
        {"six bytes: the 2 ms pause and the 120 ms timeout", kCmdR, "short@0", false, false,
         milliseconds(122), milliseconds(130)},
        {"one byte too many", kCmdR, "long@0", false, false, milliseconds(0), milliseconds(130)},
        // Seven bytes, but the answer is shifted behind a stray byte: the echo tells.
        {"a stray byte ahead of a reply one byte short", kCmdR, "short@0", true, false,
         milliseconds(0), milliseconds(10)},
        // One look, one wait on the port for the whole timeout, one look: no spinning.
        {"echo only", kCmdW, "dead@0", false, false, milliseconds(212), milliseconds(220)},
        {"the port is lost: at once", kCmdR, "dead@0", false, true, milliseconds(0),
         milliseconds(10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CommandRig rig;
        RadioCommand(rig.link, kCmdV);
        ASSERT_TRUE(rig.link.state.replyOk);
        rig.Faults(c.faults);
        rig.port.stray = c.stray ? B{0x52} : B{};
        rig.port.lostAfterWrite = c.lost;
        rig.port.waits = rig.port.waitingLooks = 0;
        const auto before = rig.clock.Elapsed();
        RadioCommand(rig.link, c.code, EepromImage(145, 1));
        EXPECT_FALSE(rig.link.state.replyOk);
        EXPECT_GE(rig.clock.Elapsed() - before, c.least);
        EXPECT_LE(rig.clock.Elapsed() - before, c.most);
        EXPECT_EQ(rig.link.state.reply, (B{0x56, 0x11}));
        if (c.code == kCmdW) {
            EXPECT_LE(rig.port.waitingLooks, 3);
            EXPECT_EQ(rig.port.waits, 1);
        }
        if (!rig.port.lostAfterWrite) continue;
        EXPECT_FALSE(rig.port.IsOpen());
        // A closed port fails every later exchange without writing anything.
        const std::size_t writes = rig.port.writes.size();
        RadioCommand(rig.link, kCmdV);
        EXPECT_FALSE(rig.link.state.replyOk);
        EXPECT_EQ(rig.port.writes.size(), writes);
    }
}

// The sleep for the bytes still missing: ten bits each at 9600 baud, within the time left;
// none when the reply is whole or too long.
TEST(ReplyLineWait, CoversTheMissingBytesWithinTheTimeout) {
    const struct {
        std::size_t waiting, length;
        microseconds left, nap;
    } cases[] = {
        {1, 7, milliseconds(120), microseconds(6250)},  // 6 x 10/9600 s
        {6, 7, milliseconds(120), microseconds(1042)},  // 1041.67 us, rounded up
        {0, 11, milliseconds(200), microseconds(11459)},
        {1, 11, microseconds(3000), microseconds(3000)},
        {7, 7, milliseconds(120), microseconds(0)},
        {8, 7, milliseconds(120), microseconds(0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplyLineWait(c.waiting, c.length, c.left), c.nap)
            << c.waiting << "/" << c.length;
}

// On a line that brings the reply a byte at a time the exchange wakes a few times, not once
// per byte, and takes the reply the moment its last byte is in; no wait spins.
TEST(RadioCommand, SleepsThroughAPacedReply) {
    constexpr microseconds kPace{1042};
    for (const Command code : {kCmdR, kCmdW}) {
        SCOPED_TRACE(static_cast<int>(code));
        CommandRig rig;
        rig.port.pace = kPace;
        RadioCommand(rig.link, code, EepromImage(145, 1));
        ASSERT_TRUE(rig.link.state.replyOk);
        ASSERT_EQ(rig.port.writes.size(), 2u);
        const auto lastByte = rig.port.writes[1].first + kPace * (ReplyLength(code) - 1);
        EXPECT_EQ(rig.clock.Elapsed(), lastByte);
        EXPECT_LE(rig.port.waits + rig.port.waitingLooks, 4);
    }
    // A pause waits its full length handling events at least every 10 ms.
    CommandRig rig;
    const auto before = rig.clock.Elapsed();
    WaitSeconds(rig.link, 0.5f);
    EXPECT_GE(rig.clock.Elapsed() - before, milliseconds(500));
    EXPECT_LT(rig.clock.Elapsed() - before, milliseconds(511));
    EXPECT_GE(rig.ui.events, 50);
}

// Numbers 1 to 8 are port numbers, other texts devices (there is no port 9).
TEST(PortChoiceText, NumbersOneToEightAreNumbersElseDevices) {
    PortChoice p;
    EXPECT_TRUE(ParsePortChoice("5", p) && p.number == 5 && p.device.empty());
    EXPECT_TRUE(ParsePortChoice("/dev/pts/7", p) && p.device == "/dev/pts/7");
    EXPECT_TRUE(ParsePortChoice("9", p) && p.device == "9");
    EXPECT_FALSE(ParsePortChoice("", p));
    EXPECT_EQ(ReplyLength(static_cast<Command>(9)), 0u);
}

}  // namespace
}  // namespace talveron::link::test
