// Finding the radio through real pseudo-terminals: the ports named by TALVERON_PORTS, the
// virtual radio answering (or not) on one of them, QSerialPort in between.
#include <gtest/gtest.h>

#include <cstdlib>

#include "link/port_detect.h"
#include "link/radio_command.h"
#include "link_fakes.h"
#include "platform/port_names.h"
#include "platform/serial_port_qt.h"
#include "vradio_process.h"

namespace talveron::link::test {
namespace {

struct PtyRig {
    SteadyClock clock;
    platform::QtSerialPort port;
    ScriptedPrompt prompt;
    RecordingStatus status;
    RecordingView view;
    RadioLink link{port, prompt, status, view, clock, LinkState{}};
};

class PortsVariable {
  public:
    explicit PortsVariable(const std::string& value) {
        ::setenv(platform::kPortsVariable, value.c_str(), 1);
    }
    ~PortsVariable() { ::unsetenv(platform::kPortsVariable); }
};

TEST(PtyDetect, RadioIsFoundOnTheSecondListedPortAfterASilentFirst) {
    VradioProcess silent({"--fault", "silent"});
    VradioProcess radio({"--model", "1"});
    ASSERT_TRUE(silent.Started() && radio.Started());
    PortsVariable ports(silent.Path() + ":/dev/pts/no-such-pty:" + radio.Path());
    PtyRig rig;
    DetectRS(rig.link);
    ASSERT_EQ(rig.link.state.portIndex, 2);
    EXPECT_EQ(rig.link.state.portList[0].number, 1);
    EXPECT_EQ(rig.link.state.portList[1].number, 3);
    EXPECT_FALSE(rig.port.IsOpen());

    ConnectRadio(rig.link);
    EXPECT_FALSE(rig.link.state.linkDown);
    EXPECT_EQ(rig.link.state.portIndex, 2);
    EXPECT_EQ(rig.link.state.modelCode, 1);
    EXPECT_EQ(rig.status.text, "VK-A2   detected");
    EXPECT_EQ(rig.port.Device(), radio.Path());
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(PtyDetect, WrongIdentityIsNotDetected) {
    VradioProcess radio({"--fault", "identity=0x0D"});
    ASSERT_TRUE(radio.Started());
    PtyRig rig;
    UsePort(rig.link.state, PortChoice{0, radio.Path()});
    ConnectRadio(rig.link);
    EXPECT_TRUE(rig.link.state.linkDown);
    EXPECT_EQ(rig.link.state.modelCode, 2);
    EXPECT_EQ(rig.status.text, "Not detected");
    EXPECT_EQ(rig.status.color, kStatusRed);
}

TEST(PtyDetect, SilentRadioFailsVersionWithinItsTimeout) {
    VradioProcess radio({"--fault", "silent"});
    ASSERT_TRUE(radio.Started());
    PtyRig rig;
    UsePort(rig.link.state, PortChoice{0, radio.Path()});
    ConnectRadio(rig.link);
    EXPECT_TRUE(rig.link.state.linkDown);
    EXPECT_FALSE(rig.port.IsOpen()) << "a port searched without answer is closed again";
}

}  // namespace
}  // namespace talveron::link::test
