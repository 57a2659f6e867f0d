// Finding the ports and the radio on a fake machine with ports 1..8.
#include <gtest/gtest.h>

#include "link/port_detect.h"
#include "link_fakes.h"

namespace talveron::link::test {
namespace {

std::vector<int> Numbers(const LinkState& s) {
    std::vector<int> n;
    for (const PortChoice& p : s.portList) n.push_back(p.number);
    return n;
}

// The radio on the second of the ports that open, a third refused for lack of permission:
// found, its port kept open and used again without a search until the radio falls silent.
TEST(DetectRS, RadioIsFoundOnTheSecondPortWhichIsReusedUntilTheRadioFallsSilent) {
    Rig rig;
    rig.port.openable = {2, 5};
    rig.port.denied = {4};
    rig.port.radioPort = 5;
    DetectRS(rig.link);
    EXPECT_EQ(Numbers(rig.link.state), (std::vector<int>{2, 5}));
    EXPECT_EQ(rig.link.state.portIndex, 2);
    EXPECT_FALSE(rig.port.IsOpen());
    EXPECT_TRUE(rig.ui.asked.empty());
    EXPECT_NE(rig.ui.text.find("COM4: permission denied (join the group dialout"),
              std::string::npos)
        << rig.ui.text;

    rig.port.opened.clear();
    ConnectRadio(rig.link);
    EXPECT_EQ(rig.port.opened, (std::vector<std::string>{"COM2", "COM5"}));
    EXPECT_EQ(rig.link.state.portIndex, 2);
    EXPECT_FALSE(rig.link.state.linkDown);
    EXPECT_EQ(rig.ui.text, "VK-A1   detected");
    EXPECT_EQ(rig.ui.color, StatusColor::Black);
    EXPECT_EQ(rig.ui.fontSize, 15);
    // Port 2 was sent a "V" that nobody answered.
    ASSERT_FALSE(rig.port.writes.empty());
    EXPECT_EQ(rig.port.writes.front().second, Bytes{0x56});

    rig.port.opened.clear();
    ConnectRadio(rig.link);
    EXPECT_TRUE(rig.port.opened.empty()) << "the open port is used again without a search";
    EXPECT_FALSE(rig.link.state.linkDown);
    rig.port.radio = Radio(0, EepromImage(144, 0), "silent");  // switched off
    ConnectRadio(rig.link);
    EXPECT_TRUE(rig.link.state.linkDown);
    // The verdict names the port refused.
    EXPECT_EQ(rig.ui.text,
              "Not detected: COM4: permission denied (join the group dialout that owns it)");
    EXPECT_EQ(rig.ui.color, StatusColor::Red);
    EXPECT_TRUE(rig.port.opened.empty()) << "no other port is tried";
    EXPECT_TRUE(rig.port.IsOpen());
}

TEST(DetectRS, NoPortAsksToDetectAgainAndYesFindsAPortThatAppeared) {
    for (const bool plugged : {false, true}) {
        SCOPED_TRACE(plugged);
        Rig rig;
        rig.port.openable = {};
        rig.ui.script = {Answer::Yes, Answer::Cancel};
        // The adapter is plugged in while the first question is up.
        if (plugged) rig.ui.onAsk = [&rig] { rig.port.openable = {3}; };
        DetectRS(rig.link);
        ASSERT_EQ(rig.ui.asked.size(), plugged ? 1u : 2u);
        const Question& q = rig.ui.asked[0];
        EXPECT_EQ(q.text, " No RS232 Port is available\nDetect Again ?");
        EXPECT_EQ(q.title, "");
        EXPECT_EQ(q.buttons, Buttons::YesNoCancel);
        EXPECT_EQ(q.icon, Icon::Exclamation);
        EXPECT_EQ(Numbers(rig.link.state), plugged ? std::vector<int>{3} : std::vector<int>{});
        EXPECT_EQ(rig.link.state.portIndex, plugged ? 1 : 0);
        if (plugged) continue;
        // Without a usable port a connection tells so and leaves the state alone.
        rig.ui.asked.clear();
        rig.link.state.linkDown = false;
        rig.ui.text = "ALL Channels In Range";
        ConnectRadio(rig.link);
        ASSERT_EQ(rig.ui.asked.size(), 1u);
        EXPECT_EQ(rig.ui.asked[0].text, "AvailableRS232 port was not detected !");
        EXPECT_EQ(rig.ui.asked[0].title, "Comm Port Error");
        EXPECT_EQ(rig.ui.asked[0].icon, Icon::Critical);
        EXPECT_EQ(rig.ui.asked[0].buttons, Buttons::Ok);
        EXPECT_FALSE(rig.link.state.linkDown);
        EXPECT_EQ(rig.ui.text, "ALL Channels In Range");
    }
}

// With ports but no radio on any, the last port searched is closed again; a port the user
// chose that is refused is named in the verdict.
TEST(ConnectRadio, NoRadioOnAnyPortOrARefusedChosenPort) {
    Rig none;
    none.port.openable = {1, 2, 3};
    none.port.radioPort = 7;  // not among them
    DetectRS(none.link);
    ConnectRadio(none.link);
    EXPECT_EQ(none.ui.text, "Not detected");
    EXPECT_FALSE(none.port.IsOpen());
    EXPECT_EQ(none.link.state.portIndex, 4);
    Rig chosen;
    chosen.port.denied = {1};
    UsePort(chosen.link.state, PortChoice{1, {}});
    ConnectRadio(chosen.link);
    EXPECT_EQ(chosen.ui.text,
              "Not detected: COM1: permission denied (join the group dialout that owns it)");
}

}  // namespace
}  // namespace talveron::link::test
