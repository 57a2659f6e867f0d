// Port numbers and device names, and the Qt serial port on a real pseudo-terminal with
// talveron-vradio on its far end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <thread>

#include "platform/port_names.h"
#include "platform/serial_port_qt.h"
#include "programs.h"
#include "test_support.h"
#include "vradio/default_memory.h"
#include "vradio/virtual_radio.h"

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

// Sends frame and waits until count bytes are in or the line goes quiet; takes them unless
// told to leave them.
link::Bytes Exchange(QtSerialPort& port, const link::Bytes& frame, std::size_t count,
                     bool take = true) {
    EXPECT_TRUE(port.Write(frame));
    while (port.BytesWaiting() < count &&
           port.WaitForBytes(std::chrono::seconds(5)) == link::WaitResult::MoreBytes) {
    }
    return take ? port.ReadAll() : link::Bytes{};
}

// talveron-vradio served through the Qt port, opened by its number: the "V" answer 0x11 (XON,
// which a cooked tty would swallow) arrives; a second open is busy; numbers and paths without
// a device are not found; a half frame that goes quiet is forgotten; when the line goes dead
// (as an unplugged adapter would), the wait reports the lost port, and the radio lives on
// until it is told to stop, and then saves what was written, on SIGINT as on SIGTERM. At 1200
// baud its replies take their time.
TEST(QtPort, TheVirtualRadioThroughThePort) {
    test::TempDir temp;
    test::VradioProcess radio({"--save", temp.file("saved.cfg"), "--fault", "dead@0x10"});
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
    second.SelectDevice(radio.Path());
    EXPECT_EQ(second.Open().failure, link::OpenFailure::Busy);
    EXPECT_EQ(Exchange(port, {0x56}, 2), (link::Bytes{0x56, 0x11}));
    Exchange(port, {0x56}, 2, false);
    EXPECT_EQ(port.BytesWaiting(), 2u);
    port.ClearReceiveBuffer();
    EXPECT_EQ(port.BytesWaiting(), 0u);
    EXPECT_EQ(port.WaitForBytes(std::chrono::milliseconds(30)), link::WaitResult::TimedOut);
    EXPECT_EQ(Exchange(port, {0x52, 0x00}, 2), (link::Bytes{0x52, 0x00}));
    std::this_thread::sleep_for(std::chrono::milliseconds(vradio::kFrameGapMs + 300));
    EXPECT_EQ(Exchange(port, {0x56}, 2), (link::Bytes{0x56, 0x11}));
    const link::Bytes frame{0x57, 0x00, 0x8C, 0xCA, 0xFE, 0x11, 0x00};  // a "W" at 0x8C
    EXPECT_EQ(Exchange(port, frame, 11).size(), 11u);

    EXPECT_TRUE(port.Write(link::Bytes{0x52, 0x00, 0x10}));
    link::WaitResult r = link::WaitResult::MoreBytes;
    for (int i = 0; i < 50 && r != link::WaitResult::PortLost; ++i)
        r = port.WaitForBytes(std::chrono::milliseconds(100));
    EXPECT_EQ(r, link::WaitResult::PortLost);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.Write(frame));
    EXPECT_FALSE(test::fs::exists(temp.file("saved.cfg"))) << "the radio saves only when it ends";
    EXPECT_EQ(radio.Stop(SIGINT), 0);
    EepromImage expected = vradio::DefaultMemory(0, kSmallMemory);
    std::copy(frame.begin() + 3, frame.end(), expected.begin() + 0x8C);
    expected.push_back(0);
    EXPECT_EQ(test::ReadImage(temp.file("saved.cfg")), expected);

    // Replies are paced as an 8N1 line. A lower bound only: how much longer it takes depends
    // on the machine. Eleven bytes at 1200 baud: ten gaps of ten bit-times after the first.
    test::VradioProcess paced({"--baud", "1200"});
    second.SelectDevice(paced.Path());
    ASSERT_TRUE(paced.Started() && second.Open().ok());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange(second, {0x57, 0x00, 0x20, 1, 2, 3, 4}, 11).size(), 11u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
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

}  // namespace
}  // namespace talveron::platform
