// talveron-vradio end to end: the program started as a process, its port opened in raw mode
// as a programmer would, frames exchanged over a real pseudo-terminal. Whole memories loaded,
// read, written and saved are followed through talveron-cli in tests/link/cli_radio_test.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "programs.h"
#include "test_support.h"
#include "vradio/default_memory.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

using test::ReadFrame;
using test::VradioProcess;
using test::WriteFrame;
using namespace std::chrono;

#define OPEN(radio) ASSERT_TRUE((radio).Started() && (radio).OpenPort()) << (radio).Path()

// A half frame that goes quiet is forgotten; a write is saved on SIGINT as on SIGTERM; a dead
// line hangs up, and the program lives on until it is told to stop, and then saves as usual.
TEST(VradioProgram, HalfFramesWritesOnSignalAndADeadLine) {
    test::TempDir temp;
    VradioProcess radio({"--save", temp.file("saved.cfg")});
    OPEN(radio);
    EXPECT_EQ(radio.Exchange({0x52, 0x00}, 2), (Bytes{0x52, 0x00}));
    std::this_thread::sleep_for(milliseconds(kFrameGapMs + 300));
    EXPECT_EQ(radio.Exchange({0x56}, 2), (Bytes{0x56, 0x11}));
    const Bytes data{0xCA, 0xFE, 0x11, 0x00};
    EXPECT_EQ(radio.Exchange(WriteFrame(0x8C, data), 11).size(), 11u);
    EXPECT_EQ(radio.Stop(SIGINT), 0);
    EepromImage expected = DefaultMemory(0, kSmallMemory);
    std::copy(data.begin(), data.end(), expected.begin() + 0x8C);
    expected.push_back(0);
    EXPECT_EQ(test::ReadImage(temp.file("saved.cfg")), expected);

    VradioProcess dead({"--fault", "dead@0x0010", "--save", temp.file("dead.cfg")});
    OPEN(dead);
    EXPECT_EQ(dead.Exchange(ReadFrame(0x0C), 7).size(), 7u);
    ASSERT_TRUE(dead.Send(ReadFrame(0x10)));
    EXPECT_TRUE(dead.WaitHangUp()) << "the line must go dead";
    EXPECT_TRUE(dead.Running());
    EXPECT_EQ(dead.Stop(SIGTERM), 0);
    EXPECT_EQ(test::ReadImage(temp.file("dead.cfg")).size(), kSmallMemory + 1);
}

// Lower bounds only: how much longer it takes depends on the machine. Eleven bytes at 1200
// baud: ten gaps of ten bit-times after the first byte, 83 ms.
TEST(VradioProgram, RepliesArePacedAsAn8N1Line) {
    VradioProcess radio({"--baud", "1200"});
    OPEN(radio);
    const auto start = steady_clock::now();
    EXPECT_EQ(radio.Exchange(WriteFrame(0x20, {1, 2, 3, 4}), 11).size(), 11u);
    EXPECT_GE(steady_clock::now() - start, milliseconds(80));
}

// Every refusal of ParseOptions (followed in options_test) takes the same way out.
TEST(VradioProgram, BadOptionsAndRefusedFilesExitWith2) {
    test::TempDir temp;
    const test::RunResult bad = test::RunVradio({"--model", "5"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.rfind("talveron-vradio: ", 0), 0u) << bad.err;
    const test::RunResult absent = test::RunVradio({"--load", temp.file("absent.cfg")});
    EXPECT_EQ(absent.status, 2);
    EXPECT_EQ(absent.err.rfind("talveron-vradio: Can't open file: ", 0), 0u) << absent.err;
    const test::RunResult help = test::RunVradio({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: talveron-vradio", 0), 0u) << help.out;
}

}  // namespace
}  // namespace talveron::vradio
