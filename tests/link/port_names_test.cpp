// Port numbers and device names, the Qt serial port on a real pseudo-terminal, and the radio
// found among the listed ports through it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdlib>
#include <fstream>

#include "link/port_detect.h"
#include "link_fakes.h"
#include "platform/port_names.h"
#include "platform/serial_port_qt.h"
#include "programs.h"
#include "test_support.h"

namespace talveron::platform {
namespace {

using Names = std::vector<std::string>;

// Sets TALVERON_PORTS (unset in the tests' environment) while it lives.
struct PortsVariable {
    explicit PortsVariable(const std::string& value) { ::setenv(kPortsVariable, value.c_str(), 1); }
    ~PortsVariable() { ::unsetenv(kPortsVariable); }
};

TEST(PortNames, ListSplitOrderAndNumbers) {
    EXPECT_EQ(SplitPortList("/dev/pts/3:/dev/ttyUSB0"), (Names{"/dev/pts/3", "/dev/ttyUSB0"}));
    EXPECT_EQ(SplitPortList("::/dev/a::"), (Names{"/dev/a"}));
    EXPECT_TRUE(SplitPortList("").empty());
    Names names = {"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS1", "/dev/ttyACM0"};
    std::sort(names.begin(), names.end(), DeviceNameLess);
    EXPECT_EQ(names,
              (Names{"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0"}));
    EXPECT_FALSE(DeviceNameLess("/dev/ttyS2", "/dev/ttyS2"));
    EXPECT_TRUE(DeviceNameLess("/dev/ttyS02", "/dev/ttyS3"));
    PortsVariable ports("/dev/pts/41:/dev/pts/7");
    EXPECT_EQ(PortDeviceName(2), "/dev/pts/7");
    EXPECT_EQ(PortDeviceName(3), "");
    EXPECT_EQ(PortDeviceName(0), "");
    PortsVariable many("/a:/b:/c:/d:/e:/f:/g:/h:/i");
    EXPECT_EQ(NumberedPortDevices().size(), 8u) << "numbers go up to 8";
}

// A port opened by its number; the radio's "V" answer 0x11 (XON, which a cooked tty would
// swallow) arrives; a second open is busy; numbers and paths without a device are not found;
// and when the radio goes away (as an unplugged adapter would), the wait reports the lost port.
TEST(QtPort, OpenExchangeBusyAndLost) {
    test::VradioProcess radio;
    ASSERT_TRUE(radio.Started());
    PortsVariable ports("/dev/pts/no-such-pty:" + radio.Path());
    QtSerialPort missing, byPath, port, second;
    missing.SelectPort(3);
    byPath.SelectDevice("/dev/pts/no-such-pty");
    for (auto [p, message] : {std::pair{&missing, "port 3: no such port"},
                              std::pair{&byPath, "/dev/pts/no-such-pty"}}) {
        const link::OpenResult r = p->Open();
        EXPECT_EQ(r.failure, link::OpenFailure::NotFound) << r.message;
        EXPECT_EQ(r.message.rfind(message, 0), 0u) << r.message;
        EXPECT_FALSE(p->IsOpen());
    }
    port.SelectPort(2);
    ASSERT_TRUE(port.Open().ok());
    const std::array<std::uint8_t, 1> v{0x56};
    for (const bool clear : {false, true}) {
        ASSERT_TRUE(port.Write(v));
        while (port.BytesWaiting() < 2)
            ASSERT_EQ(port.WaitForBytes(std::chrono::seconds(5)), link::WaitResult::MoreBytes);
        if (clear) {
            port.ClearReceiveBuffer();
        } else {
            EXPECT_EQ(port.ReadAll(), (link::Bytes{0x56, 0x11}));
        }
        EXPECT_EQ(port.BytesWaiting(), 0u);
    }
    EXPECT_EQ(port.WaitForBytes(std::chrono::milliseconds(30)), link::WaitResult::TimedOut);
    second.SelectDevice(radio.Path());
    EXPECT_EQ(second.Open().failure, link::OpenFailure::Busy);

    radio.Stop();
    link::WaitResult r = link::WaitResult::MoreBytes;
    for (int i = 0; i < 50 && r != link::WaitResult::PortLost; ++i)
        r = port.WaitForBytes(std::chrono::milliseconds(100));
    EXPECT_EQ(r, link::WaitResult::PortLost);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Write(v));
}

// The group is named only where joining it helps: it may read and write the device and it is
// not root. Otherwise the user is told how access is granted.
TEST(QtPort, PermissionTextNamesAGroupOnlyWhereJoiningItHelps) {
    const std::string dev = "/dev/ttyUSB0";
    const std::string ask =
        ": permission denied (not accessible to this user: ask the administrator "
        "for access, or add a udev rule that gives it to a group you are in)";
    EXPECT_EQ(PermissionText(dev, 020660, 20, "dialout"),
              dev + ": permission denied (join the group dialout that owns it)");
    EXPECT_EQ(PermissionText(dev, 020600, 0, "root"), dev + ask);
    EXPECT_EQ(PermissionText(dev, 020660, 0, "root"), dev + ask);
    EXPECT_EQ(PermissionText(dev, 020640, 20, "dialout"), dev + ask);
    // A real device's mode and group are read from the system.
    test::TempDir dir;
    const std::string file = dir.file("ttyFake");
    test::WriteText(file, "x");
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(PermissionText(file), file + ask);
    EXPECT_EQ(PermissionText("/dev/pts/no-such-pty"), "/dev/pts/no-such-pty: permission denied");
}

TEST(PtyDetect, RadioIsFoundOnTheThirdListedPortAfterASilentFirst) {
    test::VradioProcess silent({"--fault", "silent"});
    test::VradioProcess radio({"--model", "1"});
    ASSERT_TRUE(silent.Started() && radio.Started());
    link::SteadyClock clock;
    QtSerialPort port;
    link::test::ScriptedPrompt prompt;
    link::test::RecordingStatus status;
    link::test::RecordingView view;
    link::RadioLink link{port, prompt, status, view, clock, link::LinkState{}};
    {
        PortsVariable ports(silent.Path() + ":/dev/pts/no-such-pty:" + radio.Path());
        DetectRS(link);
        ASSERT_EQ(link.state.portList.size(), 2u);
        EXPECT_EQ(link.state.portList[1].number, 3);
        ConnectRadio(link);
        EXPECT_FALSE(link.state.linkDown);
        EXPECT_EQ(link.state.portIndex, 2);
        EXPECT_EQ(status.text, "VK-A2   detected");
        EXPECT_EQ(port.Device(), radio.Path());
    }
    port.Close();
    link::UsePort(link.state, link::PortChoice{0, silent.Path()});
    ConnectRadio(link);
    EXPECT_TRUE(link.state.linkDown);
    EXPECT_FALSE(port.IsOpen()) << "a port searched without answer is closed again";
}

}  // namespace
}  // namespace talveron::platform
