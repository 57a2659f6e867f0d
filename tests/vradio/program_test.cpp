// talveron-vradio end to end: the program started as a process, its port opened in raw mode
// as a programmer would, frames exchanged over a real pseudo-terminal.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "image/cfg_file.h"
#include "programs.h"
#include "test_support.h"
#include "vradio/default_memory.h"
#include "vradio/virtual_radio.h"

namespace talveron::vradio {
namespace {

namespace fs = std::filesystem;
using test::Join;
using test::ReadFrame;
using test::TempDir;
using test::VradioProcess;
using test::WriteFrame;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

#define OPEN(radio) ASSERT_TRUE((radio).Started() && (radio).OpenPort()) << (radio).Path()

// Reads the whole memory of a radio through R frames.
EepromImage ReadAll(VradioProcess& radio, std::size_t size) {
    EepromImage memory;
    for (std::size_t a = 0; a < size; a += 4) {
        const Bytes reply = radio.Exchange(ReadFrame(static_cast<int>(a)), 7);
        if (reply.size() != 7) break;
        memory.insert(memory.end(), reply.begin() + 3, reply.end());
    }
    return memory;
}

TEST(VradioProgram, LoadServesTheFileAndSaveWritesTheMemoryOnSignal) {
    TempDir temp;
    const std::string sample = test::SamplePath("vk-a2-16ch.cfg");
    const EepromImage file = test::ReadImage(sample);
    ASSERT_EQ(file.size(), kSmallMemory + 1);
    const std::string saved = temp.file("saved.cfg");
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        fs::remove(saved);
        VradioProcess radio({"--load", sample, "--save", saved});
        OPEN(radio);
        EXPECT_EQ(radio.Exchange({0x49, 0x07}, 3), (Bytes{0x49, 0x07, 0x0E})) << "model 1 file";
        const EepromImage memory = ReadAll(radio, kSmallMemory);
        ASSERT_EQ(memory.size(), kSmallMemory);
        for (std::size_t a = 0; a < kSmallMemory; ++a) {
            EXPECT_EQ(memory[a], a == kAddrRadioType ? memory[a] : file[a]) << a;
        }
        const Bytes data{0xCA, 0xFE, 0x11, 0x00};
        EXPECT_EQ(radio.Exchange(WriteFrame(0x8C, data), 11).size(), 11u);
        EXPECT_FALSE(fs::exists(saved)) << "written on exit only";

        EXPECT_EQ(radio.Stop(signal), 0);
        const EepromImage back = test::ReadImage(saved);
        ASSERT_EQ(back.size(), kSmallMemory + 1);
        EXPECT_EQ(back.back(), 1) << "model byte last";
        EXPECT_EQ(Bytes(back.begin(), back.end() - 1),
                  Join(Bytes(memory.begin(), memory.end() - 4), data));
    }
}

TEST(VradioProgram, DeadLineHangsUpAndStillSavesOnSignal) {
    TempDir temp;
    const std::string saved = temp.file("dead.cfg");
    VradioProcess radio({"--fault", "dead@0x0010", "--save", saved});
    OPEN(radio);
    EXPECT_EQ(radio.Exchange(ReadFrame(0x0C), 7).size(), 7u);
    ASSERT_TRUE(radio.Send(ReadFrame(0x10)));
    EXPECT_TRUE(radio.WaitHangUp()) << "the line must go dead";
    // The program lives on until it is told to stop, and then saves as usual.
    EXPECT_TRUE(radio.Running());
    EXPECT_EQ(radio.Stop(SIGTERM), 0);
    EXPECT_EQ(test::ReadImage(saved).size(), kSmallMemory + 1);
}

TEST(VradioProgram, HalfFrameThatGoesQuietIsForgotten) {
    VradioProcess radio;
    OPEN(radio);
    EXPECT_EQ(radio.Exchange({0x52, 0x00}, 2), (Bytes{0x52, 0x00}));
    std::this_thread::sleep_for(milliseconds(kFrameGapMs + 300));
    EXPECT_EQ(radio.Exchange({0x56}, 2), (Bytes{0x56, 0x11}));
}

TEST(VradioProgram, RepliesArePacedAsAn8N1Line) {
    // Lower bounds only: how much longer it takes depends on the machine. Seven bytes at 9600
    // baud: six gaps of ten bit-times after the first byte, 6.25 ms; eleven at 1200: 83 ms.
    const struct {
        const char* baud;
        Bytes frame;
        std::size_t count;
        std::chrono::microseconds least;
    } cases[] = {{"9600", ReadFrame(0x20), 7, std::chrono::microseconds(6000)},
                 {"1200", WriteFrame(0x20, {1, 2, 3, 4}), 11, milliseconds(80)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.baud);
        VradioProcess radio({"--baud", c.baud});
        OPEN(radio);
        const auto start = Clock::now();
        EXPECT_EQ(radio.Exchange(c.frame, c.count).size(), c.count);
        EXPECT_GE(Clock::now() - start, c.least);
        EXPECT_EQ(radio.Stop(SIGTERM), 0);
    }
}

TEST(VradioProgram, BadOptionsAndRefusedFilesExitWith2) {
    TempDir temp;
    // Every refusal of ParseOptions (followed in options_test) takes the same way out.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--model", "5"}, {"--fault", "corrupt@8:never"}, {"--save"}}) {
        const test::RunResult r = test::RunVradio(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_NE(r.err.find("talveron-vradio:"), std::string::npos) << args[0] << ": " << r.err;
    }
    const test::RunResult absent = test::RunVradio({"--load", temp.file("absent.cfg")});
    EXPECT_EQ(absent.status, 2);
    EXPECT_NE(absent.err.find("Can't open file: "), std::string::npos) << absent.err;
    const test::RunResult help = test::RunVradio({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: talveron-vradio"), std::string::npos) << help.out;
}

}  // namespace
}  // namespace talveron::vradio
