// talveron-vradio end to end: the program started as a process, its port opened in raw mode
// as a programmer would, frames exchanged over a real pseudo-terminal.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "image/cfg_file.h"
#include "test_support.h"
#include "vradio/default_memory.h"
#include "vradio/virtual_radio.h"
#include "vradio_process.h"

namespace talveron::vradio {
namespace {

namespace fs = std::filesystem;
using testing::Join;
using testing::ReadFrame;
using testing::RunToEnd;
using testing::TempFolder;
using testing::VradioProcess;
using testing::WriteFrame;
using Clock = std::chrono::steady_clock;

Bytes At(const EepromImage& memory, int address) {
    return Bytes(memory.begin() + address, memory.begin() + address + 4);
}

// Starts the program with args, reads its port line and opens the port.
void StartAndOpen(VradioProcess& radio, const std::vector<std::string>& args) {
    ASSERT_TRUE(radio.Start(args));
    const std::string path = radio.ReadPortLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << "first line: '" << path << "'";
    ASSERT_TRUE(radio.OpenPort(path)) << path;
}

// Reads the whole memory of a radio through R frames.
EepromImage ReadAll(VradioProcess& radio, std::size_t size) {
    EepromImage memory;
    for (std::size_t a = 0; a < size; a += 4) {
        const Bytes reply = radio.Exchange(ReadFrame(static_cast<int>(a)), 7);
        EXPECT_EQ(reply.size(), 7u) << "at " << a;
        if (reply.size() != 7) break;
        memory.insert(memory.end(), reply.begin() + 3, reply.end());
    }
    return memory;
}

TEST(VradioProgram, AnswersEveryCommandOverThePort) {
    VradioProcess radio;
    StartAndOpen(radio, {"--baud", "0"});
    const EepromImage expected = DefaultMemory(0, kSmallMemory);

    EXPECT_EQ(radio.Exchange({0x56}, 2), (Bytes{0x56, 0x11})) << "0x11 (XON) passes raw";
    EXPECT_EQ(radio.Exchange({0x49, 0x07}, 3), (Bytes{0x49, 0x07, 0x0F}));
    EXPECT_EQ(radio.Exchange(ReadFrame(8), 7), Join(ReadFrame(8), At(expected, 8)));
    EXPECT_EQ(radio.Exchange(ReadFrame(8), 7)[5] & kLargeMemoryBit, 0) << "small memory";

    // XON and XOFF as data go in and come back unharmed.
    const Bytes data{0x11, 0x13, 0x0D, 0x03};
    const Bytes write = WriteFrame(0x40, data);
    EXPECT_EQ(radio.Exchange(write, 11), Join(write, data));
    EXPECT_EQ(radio.Exchange(ReadFrame(0x40), 7), Join(ReadFrame(0x40), data));
    EXPECT_EQ(radio.Exchange(ReadFrame(0x90), 7), Join(ReadFrame(0x90), {0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(radio.Exchange({0x00, 0x41}, 2), (Bytes{0x00, 0x41})) << "unknown bytes: echo only";
    EXPECT_EQ(radio.Stop(SIGTERM), 0);
}

TEST(VradioProgram, ModelAndMemorySizeShowInTheAnswers) {
    VradioProcess radio;
    StartAndOpen(radio, {"--baud=0", "--model", "1", "--memory", "large"});
    EXPECT_EQ(radio.Exchange({0x49, 0x07}, 3), (Bytes{0x49, 0x07, 0x0E}));
    const EepromImage memory = ReadAll(radio, kLargeMemory);
    EXPECT_EQ(memory, DefaultMemory(1, kLargeMemory));
    ASSERT_GT(memory.size(), kAddrRadioType);
    EXPECT_NE(memory[kAddrRadioType] & kLargeMemoryBit, 0);
    EXPECT_EQ(radio.Exchange(ReadFrame(808), 7), Join(ReadFrame(808), {0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(radio.Stop(SIGINT), 0);
}

TEST(VradioProgram, PortCanBeClosedAndOpenedAgain) {
    VradioProcess radio;
    ASSERT_TRUE(radio.Start({"--baud", "0"}));
    const std::string path = radio.ReadPortLine();
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(radio.OpenPort(path)) << round;
        EXPECT_EQ(radio.Exchange({0x56}, 2), (Bytes{0x56, 0x11})) << round;
        radio.ClosePort();
    }
    EXPECT_EQ(radio.Stop(SIGTERM), 0);
}

TEST(VradioProgram, LoadServesTheFileAndSaveWritesTheMemoryOnSignal) {
    TempFolder temp;
    const std::string sample = std::string(SAMPLES_DIR) + "/vk-a2-16ch.cfg";
    const CfgReadResult file = ReadCfgFile(sample);
    ASSERT_TRUE(file.ok());
    const std::string saved = temp.File("saved.cfg");

    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        fs::remove(saved);
        VradioProcess radio;
        StartAndOpen(radio, {"--baud", "0", "--load", sample, "--save", saved});
        EXPECT_EQ(radio.Exchange({0x49, 0x07}, 3), (Bytes{0x49, 0x07, 0x0E})) << "model 1 file";
        const EepromImage memory = ReadAll(radio, kSmallMemory);
        ASSERT_EQ(memory.size(), kSmallMemory);
        for (std::size_t a = 0; a < kSmallMemory; ++a) {
            if (a == kAddrRadioType) continue;
            EXPECT_EQ(memory[a], file.image[a]) << a;
        }
        const Bytes data{0xCA, 0xFE, 0x11, 0x00};
        EXPECT_EQ(radio.Exchange(WriteFrame(0x8C, data), 11).size(), 11u);
        EXPECT_FALSE(fs::exists(saved)) << "written on exit only";

        EXPECT_EQ(radio.Stop(signal), 0);
        const CfgReadResult back = ReadCfgFile(saved);
        ASSERT_TRUE(back.ok()) << back.message;
        ASSERT_EQ(back.image.size(), kSmallMemory + 1);
        EXPECT_EQ(back.image.back(), 1) << "model byte last";
        EXPECT_EQ(Bytes(back.image.begin(), back.image.end() - 1),
                  Join(Bytes(memory.begin(), memory.end() - 4), data));
    }
}

TEST(VradioProgram, DeadLineHangsUpAndStillSavesOnSignal) {
    TempFolder temp;
    const std::string saved = temp.File("dead.cfg");
    VradioProcess radio;
    StartAndOpen(radio, {"--baud", "0", "--fault", "dead@0x0010", "--save", saved});
    EXPECT_EQ(radio.Exchange(ReadFrame(0x0C), 7).size(), 7u);
    ASSERT_TRUE(radio.Send(ReadFrame(0x10)));
    EXPECT_TRUE(radio.WaitHangUp()) << "the line must go dead";
    // The program lives on until it is told to stop, and then saves as usual.
    EXPECT_TRUE(radio.Running());
    EXPECT_EQ(radio.Stop(SIGTERM), 0);
    const CfgReadResult back = ReadCfgFile(saved);
    ASSERT_TRUE(back.ok()) << back.message;
    EXPECT_EQ(back.image.size(), kSmallMemory + 1);
}

TEST(VradioProgram, FaultsShowOnTheLine) {
    {
        VradioProcess radio;
        StartAndOpen(radio, {"--baud", "0", "--fault", "silent"});
        ASSERT_TRUE(radio.Send({0x56, 0x49, 0x07}));
        EXPECT_TRUE(radio.ReceiveWithin(std::chrono::milliseconds(200)).empty());
        EXPECT_EQ(radio.Stop(SIGTERM), 0);
    }
    VradioProcess radio;
    StartAndOpen(radio, {"--baud", "0", "--fault", "short@8", "--fault", "identity=0x0D"});
    EXPECT_EQ(radio.Exchange({0x49, 0x07}, 3), (Bytes{0x49, 0x07, 0x0D}));
    ASSERT_TRUE(radio.Send(ReadFrame(8)));
    EXPECT_EQ(radio.ReceiveWithin(std::chrono::milliseconds(200)).size(), 6u);
    EXPECT_EQ(radio.Stop(SIGTERM), 0);
}

TEST(VradioProgram, HalfFrameThatGoesQuietIsForgotten) {
    VradioProcess radio;
    StartAndOpen(radio, {"--baud", "0"});
    EXPECT_EQ(radio.Exchange({0x52, 0x00}, 2), (Bytes{0x52, 0x00}));
    std::this_thread::sleep_for(std::chrono::milliseconds(kFrameGapMs + 300));
    EXPECT_EQ(radio.Exchange({0x56}, 2), (Bytes{0x56, 0x11}));
    EXPECT_EQ(radio.Stop(SIGTERM), 0);
}

TEST(VradioProgram, RepliesArePacedAsAn8N1Line) {
    // Seven bytes at 9600 baud: six gaps of ten bit-times after the first byte, 6.25 ms.
    // A lower bound only: how much longer it takes depends on the machine.
    VradioProcess radio;
    StartAndOpen(radio, {"--baud", "9600"});
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        const Bytes reply = radio.Exchange(ReadFrame(0x20), 7);
        const auto elapsed = Clock::now() - start;
        ASSERT_EQ(reply.size(), 7u);
        EXPECT_GE(elapsed, std::chrono::microseconds(6000)) << round;
    }
    EXPECT_EQ(radio.Stop(SIGTERM), 0);

    VradioProcess slow;
    StartAndOpen(slow, {"--baud", "1200"});
    const auto start = Clock::now();
    EXPECT_EQ(slow.Exchange(WriteFrame(0x20, {1, 2, 3, 4}), 11).size(), 11u);
    // Eleven bytes at 1200 baud: ten gaps of 8.33 ms.
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(80));
    EXPECT_EQ(slow.Stop(SIGTERM), 0);
}

TEST(VradioProgram, BadOptionsAndRefusedFilesExitWith2) {
    TempFolder temp;
    std::string err;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--model", "5"},
                                                 {"--memory", "medium"},
                                                 {"--fault", "loud"},
                                                 {"--fault", "corrupt@8:never"},
                                                 {"--baud", "x"},
                                                 {"--unknown"},
                                                 {"--save"}}) {
        EXPECT_EQ(RunToEnd(args, err), 2) << args[0];
        EXPECT_NE(err.find("talveron-vradio:"), std::string::npos) << args[0] << ": " << err;
    }
    EXPECT_EQ(RunToEnd({"--load", temp.File("absent.cfg")}, err), 2);
    EXPECT_NE(err.find("Can't open file: "), std::string::npos) << err;

    std::string out;
    EXPECT_EQ(RunToEnd({"--help"}, err, &out), 0);
    EXPECT_NE(out.find("usage: talveron-vradio"), std::string::npos) << out;
}

}  // namespace
}  // namespace talveron::vradio
