// The radio commands of talveron-cli, run as the program against talveron-vradio: their
// output, their files and their exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "image/cfg_file.h"
#include "image/document.h"
#include "link/transfer.h"
#include "programs.h"
#include "test_support.h"

namespace talveron::link::test {
namespace {

using talveron::test::Join;
using talveron::test::ReadFrame;
using talveron::test::ReadImage;
using talveron::test::ReadText;
using talveron::test::RunCli;
using talveron::test::SamplePath;
using talveron::test::VradioProcess;
using Env = std::vector<std::pair<std::string, std::string>>;

const std::string kA1 = SamplePath("vk-a1-16ch.cfg");
const std::string kA2 = SamplePath("vk-a2-16ch.cfg");

// The memory a write of this file leaves in a radio of this size (model byte left off): the
// file's bytes, cut to the memory or followed by zero bytes, the radio's size bit at 0x0A.
EepromImage Written(const std::string& file, bool large) {
    EepromImage image = ReadImage(file);
    EXPECT_FALSE(image.empty());
    image.pop_back();
    image.resize(large ? 808 : 144, 0);
    image[kAddrRadioType] = (image[kAddrRadioType] & ~0x02) | (large ? 0x02 : 0);
    return image;
}

EepromImage Memory(const EepromImage& withModel) {
    return withModel.empty() ? withModel : EepromImage(withModel.begin(), withModel.end() - 1);
}

Document Sample(const std::string& path) {
    const CfgReadResult read = ReadCfgFile(path);
    return OpenDocument(read.image, read.modelCode, "X");
}

class CliRadio : public ::testing::Test {
  protected:
    // Backups taken without --backup-dir land in the test's folder, not the user's.
    void SetUp() override { ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }
    std::string Path(const std::string& name) const { return dir.file(name); }
    void Save(const char* name, const Document& doc) {
        ASSERT_TRUE(WriteCfgFile(Path(name), BuildImage(doc)).ok());
    }
    talveron::test::TempDir dir;
};

// One command against a radio started with its options: PORT in the arguments and the
// environment stands for the radio's port, OUT for a file the command must not create or,
// when a read finds it there, must leave as it was. The messages are those of the transfer's
// questions, and each Yes to a "Try Again ?" shows as "(trying again)".
TEST_F(CliRadio, ExitStatusAndMessagesOfEveryOutcome) {
    struct Case {
        std::vector<std::string> radio;
        std::vector<std::string> args;
        int status;
        std::string out;               // "*": not checked
        std::vector<std::string> err;  // found in stderr in this order; all of it when whole
        std::size_t tries = 0;
        bool whole = false;
        Env env = {};
    };
    const std::string kMissing = "/dev/pts/no-such-pty";
    const std::string kHere = "VK-A1   detected\nmemory 144 bytes\n";
    const std::string kMakeSure = " !  Make sure the connection is OK";
    const std::string kUsage = "usage: talveron-cli ";
    // A question answered Yes by --retries, and the last one, answered No.
    const auto Again = [&](std::string what) {
        return what + " Err" + kMakeSure + "  (trying again)\n";
    };
    const auto Gave = [&](std::string what) { return what + " Err" + kMakeSure + "\n"; };
    const std::vector<std::string> kRead = {"read", "--port", "PORT", "-o", "OUT"};
    const std::vector<std::string> kRetry = Join(kRead, {"--retries", "1"});
    const std::vector<std::string> kWrite = {"write", "--port", "PORT", kA1, "--no-backup"};
    const std::vector<std::string> kIdentify = {"identify", "--port", "PORT"};
    // clang-format off
    const Case cases[] = {
        {{}, kIdentify, 0, kHere, {}},
        {{"--model", "1", "--memory", "large"}, kIdentify, 0,
         "VK-A2   detected\nmemory 808 bytes\n", {}},
        // A port number names the entry of the port list variable.
        {{}, {"identify", "--port", "2"}, 0, kHere, {}, 0, false,
         {{"TALVERON_PORTS", kMissing + ":PORT"}}},
        {{"--fault", "silent"}, kIdentify, 1, "", {"Not detected"}},
        {{"--fault", "identity=0x0D"}, kIdentify, 1, "", {"Not detected"}},
        {{}, {"identify", "--port", kMissing}, 1, "", {kMissing}},
        {{"--fault", "short@8"}, kIdentify, 1, "VK-A1   detected\n", {kMakeSure + "\n"}, 0, true},
        {{"--fault", "silent"}, kRetry, 1, "", {Again("Connecting"), Gave("Connecting")}, 1},
        {{"--fault", "short@0x40"}, kRead, 1, "", {"Upload Err" + kMakeSure}},
        {{"--fault", "long@0x20"}, Join(kRead, {"--retries", "2"}), 1, "",
         {Again("Upload"), Again("Upload"), Gave("Upload")}, 2},
        {{"--fault", "dead@0x40"}, kRetry, 1, "", {Again("Upload"), Gave("Connecting")}, 1},
        {{"--fault", "corrupt@0x40:always"}, kWrite, 1, "*", {"Download Err" + kMakeSure}},
        {{"--fault", "short@0x50"}, kWrite, 1, "*", {"Download Err" + kMakeSure}},
        {{"--fault", "dead@0x40"}, kWrite, 1, "*", {"Download Err" + kMakeSure}},
        // A reply of the right length whose echo is wrong fails the exchange: the read is
        // given up, a try again gets past a wrong echo that comes once.
        {{"--fault", "echo@0x40:always"}, kRead, 1, "", {"Upload Err" + kMakeSure}},
        {{"--fault", "echo@0x40"}, kWrite, 1, "*", {"Download Err" + kMakeSure}},
        {{"--fault", "echo@0x40"}, Join(kWrite, {"--retries", "1"}), 0, "*",
         {Again("Download")}, 1},
        {{}, {"write", "--port", "PORT", kA2, "--no-backup"}, 3, "*",
         {"Error warning: Band are Crossed !"}},
        {{}, {"identify"}, 2, "", {kUsage + "identify"}},
        {{}, {"read", "--port", "PORT"}, 2, "", {kUsage + "read"}},
        {{}, Join(kRead, {"--retries", "-1"}), 2, "", {kUsage + "read"}},
        {{}, Join(kRead, {"--retries", "2x"}), 2, "", {kUsage + "read"}},
        {{}, {"write", "--port", "PORT"}, 2, "", {kUsage + "write"}},
        {{}, {"write", "--port", "PORT", "--bogus", kA1}, 2, "", {kUsage + "write"}},
        {{}, {"write", "--port", "PORT", "OUT"}, 2, "", {"Can't open file: "}},
    };
    // clang-format on
    for (const bool existing : {false, true}) {
        for (const Case& c : cases) {
            std::string what;
            for (const auto& a : c.radio) what += a + " ";
            for (const auto& a : c.args) what += "| " + a;
            SCOPED_TRACE(what + (existing ? " (OUT exists)" : ""));
            if (existing && (c.args[0] != "read" || c.args.size() < 5)) continue;
            VradioProcess radio(c.radio);
            ASSERT_TRUE(radio.Started());
            const std::string out = Path("out.cfg");
            if (existing) talveron::test::WriteText(out, "precious");
            auto fill = [&](std::string s) {
                if (s == "OUT") return out;
                if (const auto at = s.find("PORT"); at != std::string::npos)
                    s.replace(at, 4, radio.Path());
                return s;
            };
            std::vector<std::string> args;
            for (const auto& a : c.args) args.push_back(fill(a));
            Env env;
            for (const auto& [name, value] : c.env) env.emplace_back(name, fill(value));
            const auto r = RunCli(args, env);
            EXPECT_EQ(r.status, c.status) << r.err;
            EXPECT_EQ(r.out, c.out == "*" ? r.out : c.out);
            std::string whole;
            std::size_t at = 0;
            for (const std::string& part : c.err) {
                whole += part;
                at = r.err.find(part, at);
                EXPECT_NE(at, std::string::npos) << part << " in:\n" << r.err;
                at = at == std::string::npos ? 0 : at + part.size();
            }
            if (c.whole) {
                EXPECT_EQ(r.err, whole);
            }
            std::size_t tries = 0;
            for (auto at = r.err.find("(trying again)"); at != std::string::npos;
                 at = r.err.find("(trying again)", at + 1)) {
                ++tries;
            }
            EXPECT_EQ(tries, c.tries) << r.err;
            if (existing) {
                EXPECT_EQ(ReadText(out), "precious");
                std::filesystem::remove(out);
            }
            EXPECT_FALSE(std::filesystem::exists(out));
        }
    }
}

// Both sizes read into files of one record per byte with the model byte last. A read is not
// checked: a byte that comes wrong goes into the file, and the next read is clean.
TEST_F(CliRadio, ReadWritesTheImageWithItsModelByte) {
    VradioProcess small({"--load", kA2, "--save", Path("small.cfg"), "--fault", "corrupt@0x41"});
    VradioProcess large({"--memory", "large", "--save", Path("large.cfg")});
    ASSERT_TRUE(small.Started() && large.Started());
    for (const char* file : {"wrong.cfg", "a.cfg"}) {
        const auto r = RunCli({"read", "--port", small.Path(), "-o", Path(file)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "VK-A2   detected: read 144 bytes into " + Path(file) + "\n");
    }
    const auto r = RunCli({"read", "--port", large.Path(), "-o", Path("b.cfg"), "--quiet"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    // What was read verifies against the large radio it came from.
    EXPECT_EQ(RunCli({"verify", "--port", large.Path(), Path("b.cfg")}).status, 0);
    small.Stop();
    large.Stop();
    EXPECT_EQ(std::filesystem::file_size(Path("a.cfg")), 435u);
    EXPECT_EQ(std::filesystem::file_size(Path("b.cfg")), 2427u);
    EXPECT_EQ(ReadImage(Path("a.cfg")), ReadImage(Path("small.cfg")));
    EXPECT_EQ(ReadImage(Path("a.cfg")), ReadImage(kA2));
    EXPECT_EQ(ReadImage(Path("b.cfg")), ReadImage(Path("large.cfg")));
    EepromImage wrong = ReadImage(Path("wrong.cfg"));
    ASSERT_EQ(wrong.size(), 145u);
    EXPECT_EQ(wrong[0x41], ReadImage(kA2)[0x41] ^ 0xFF);
    wrong[0x41] ^= 0xFF;
    EXPECT_EQ(wrong, ReadImage(kA2));
}

TEST_F(CliRadio, ForceWritesAnotherBandAndAChannelOutOfBand) {
    // Channel 3 of the sample moved to 190 MHz, outside 140-175.
    Document doc = Sample(kA1);
    doc.lines[2].replace(4, 3, "190");
    Save("out-of-band.cfg", doc);
    VradioProcess radio({"--save", Path("held.cfg")});
    ASSERT_TRUE(radio.Started());
    auto r = RunCli({"write", "--port", radio.Path(), Path("out-of-band.cfg")});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Channel #3 Range Out !"), std::string::npos) << r.err;
    r = RunCli({"verify", "--port", radio.Path(), Path("out-of-band.cfg")});
    EXPECT_EQ(r.status, 1) << "nothing was written";
    r = RunCli({"write", "--port", radio.Path(), Path("out-of-band.cfg"), "--force"});
    EXPECT_EQ(r.status, 0) << r.err;

    r = RunCli({"write", "--port", radio.Path(), kA2, "--force"});
    EXPECT_EQ(r.status, 0) << r.err;
    radio.Stop();
    EXPECT_EQ(Memory(ReadImage(Path("held.cfg"))), Written(kA2, false));
}

TEST_F(CliRadio, VerifyListsEachDifferingAddress) {
    // The read-back is wrong once at 0x40: the write's own retry gets past it.
    VradioProcess radio({"--load", kA1, "--fault", "corrupt@0x40"});
    ASSERT_TRUE(radio.Started());
    auto r = RunCli({"write", "--port", radio.Path(), kA1});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("trying again"), std::string::npos) << r.err;
    // A file that differs from the radio in two head bytes.
    Document doc = Sample(kA1);
    doc.state.head[0x0F] ^= 0x01;  // push-to-talk resume time
    doc.state.head[0x05] ^= 0x02;  // priority channel
    Save("changed.cfg", doc);

    r = RunCli({"verify", "--port", radio.Path(), Path("changed.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "2 difference(s)\n");
    // Each in the system option dialog's words, then the address with both bytes.
    const EepromImage sent = Written(kA1, false);
    const auto number = [](int v) { return v == 0 ? std::string("OFF") : std::to_string(v); };
    char expected[512];
    std::snprintf(expected, sizeof expected,
                  "Priority Channel No.: file %s, radio %s\n  0x0005: file 0x%02X radio 0x%02X\n"
                  "PTT Resume Time: file %s, radio %s\n  0x000F: file 0x%02X radio 0x%02X\n",
                  number(sent[5] ^ 0x02).c_str(), number(sent[5]).c_str(), sent[5] ^ 0x02, sent[5],
                  number(sent[15] ^ 0x01).c_str(), number(sent[15]).c_str(), sent[15] ^ 0x01,
                  sent[15]);
    EXPECT_EQ(r.out, expected);
    r = RunCli({"verify", "--port", radio.Path(), kA1});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
}

// The line of the table (or of a port's messages) that starts with start; empty when none.
std::string LineStarting(const std::string& text, const std::string& start) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        if (line.rfind(start, 0) == 0) return line;
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return {};
}

// "/dev/pts/7" as a part of a file name.
std::string PortText(std::string path) {
    path.erase(0, 5);
    std::replace(path.begin(), path.end(), '/', '-');
    return path;
}

// Three radios at once, one failing its write: the other two are written, every one is backed
// up first, each port's messages carry its name, the table has a row for each, and the exit
// status is the failure's. Then a read of every radio there is into a folder, and a verify of
// two.
TEST_F(CliRadio, SeveralRadiosAtOnceOneFailing) {
    VradioProcess small({"--save", Path("small.cfg")});
    VradioProcess large({"--memory", "large", "--model", "0", "--save", Path("large.cfg")});
    VradioProcess bad({"--fault", "corrupt@0x40:always", "--save", Path("bad.cfg")});
    ASSERT_TRUE(small.Started() && large.Started() && bad.Started());
    auto r = RunCli({"write", "--port", small.Path(), "--ports", bad.Path() + "," + large.Path(),
                     kA1, "--backup-dir", Path("backups")});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(bad.Path() + ": Download Err !  Make sure the connection is OK"),
              std::string::npos)
        << r.err;
    for (const VradioProcess* radio : {&small, &large, &bad}) {
        const std::string backup = LineStarting(r.out, radio->Path() + ": backup: ");
        EXPECT_NE(backup.find(Path("backups") + "/VK-A1_"), std::string::npos) << r.out;
        EXPECT_TRUE(backup.ends_with("_" + PortText(radio->Path()) + ".cfg")) << backup;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("backups")), {}), 3);
    EXPECT_EQ(LineStarting(r.out, "PORT ").substr(0, 4), "PORT");
    EXPECT_NE(LineStarting(r.out, small.Path() + " ").find(" VK-A1  ok "), std::string::npos)
        << r.out;
    EXPECT_NE(LineStarting(r.out, large.Path() + " ").find(" VK-A1  ok "), std::string::npos);
    EXPECT_NE(LineStarting(r.out, bad.Path() + " ").find("Download Err"), std::string::npos);

    // --all-ports: the numbered ports a radio answers on, here the first and the third.
    r = RunCli({"read", "--all-ports", "-o", Path("fleet")},
               {{"TALVERON_PORTS", small.Path() + ":/dev/pts/no-such-pty:" + large.Path()}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("fleet")), {}), 2);
    EXPECT_EQ(ReadImage(Path("fleet/VK-A1_" + PortText(small.Path()) + ".cfg")),
              Join(Written(kA1, false), {0}));
    EXPECT_EQ(ReadImage(Path("fleet/VK-A1_" + PortText(large.Path()) + ".cfg")),
              Join(Written(kA1, true), {0}));
    r = RunCli({"verify", "--port", small.Path(), "--port", large.Path(), kA1});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    small.Stop();
    large.Stop();
    bad.Stop();
    EXPECT_EQ(Memory(ReadImage(Path("small.cfg"))), Written(kA1, false));
    // The 99-channel radio holds the file's 16 channels and 83 empty ones.
    EXPECT_EQ(Memory(ReadImage(Path("large.cfg"))), Written(kA1, true));
}

// A backup that cannot be made (its folder cannot be, or the radio cannot be read) stops the
// write before it starts: the radio keeps every byte.
TEST_F(CliRadio, AFailedBackupWritesNothing) {
    Document doc = Sample(kA2);
    doc.state.head[0x0F] ^= 0x01;
    Save("changed.cfg", doc);
    talveron::test::WriteText(Path("file"), "a file, not a folder");
    VradioProcess radio({"--load", kA2, "--save", Path("held.cfg")});
    VradioProcess sick({"--load", kA2, "--fault", "short@0x20", "--save", Path("sick.cfg")});
    ASSERT_TRUE(radio.Started() && sick.Started());
    auto r = RunCli({"write", "--port", radio.Path(), Path("changed.cfg"), "--backup-dir",
                     Path("file") + "/backups"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("backup failed: cannot make the folder " + Path("file") + "/backups", 0),
              0u)
        << r.err;
    r = RunCli({"write", "--port", sick.Path(), Path("changed.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("backup failed: Upload Err !  Make sure"), std::string::npos) << r.err;
    radio.Stop();
    sick.Stop();
    EXPECT_EQ(ReadImage(Path("held.cfg")), ReadImage(kA2));
    EXPECT_EQ(ReadImage(Path("sick.cfg")), ReadImage(kA2));
}

// A write's backup, written back, gives the radio its old memory byte for byte (here an
// erased 99-channel radio's records of 0xFF, which no document would rebuild).
TEST_F(CliRadio, WritingTheBackupGivesTheRadioBack) {
    VradioProcess radio({"--memory", "large", "--save", Path("held.cfg")});
    ASSERT_TRUE(radio.Started());
    ASSERT_EQ(RunCli({"read", "--port", radio.Path(), "-o", Path("before.cfg")}).status, 0);
    auto r = RunCli({"write", "--port", radio.Path(), kA1});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string folder = Path("talveron/backups/");
    ASSERT_EQ(r.out.rfind("backup: " + folder + "VK-A1_", 0), 0u) << r.out;
    const std::string backup = r.out.substr(8, r.out.find('\n') - 8);
    EXPECT_EQ(ReadImage(backup), ReadImage(Path("before.cfg")));
    r = RunCli({"verify", "--port", radio.Path(), kA1});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    r = RunCli({"write", "--port", radio.Path(), backup, "--no-backup"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 808 bytes of " + backup + "\n");
    r = RunCli({"verify", "--port", radio.Path(), backup});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    radio.Stop();
    EXPECT_EQ(ReadImage(Path("held.cfg")), ReadImage(Path("before.cfg")));
}

// --trace: every frame and reply on stderr in time order. Replayed, the "R" replies hold the
// memory the read saved, one reply per exchange; a reply the radio cut short shows as dropped.
TEST_F(CliRadio, TraceShowsEveryFrameAndReply) {
    struct Trace {
        EepromImage memory;
        std::size_t replies = 0;
        std::vector<Bytes> dropped;
    };
    const auto replay = [](const std::string& err) {
        Trace t;
        Bytes frame;
        double last = 0;
        std::istringstream lines(err);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream in(line);
            double seconds = 0;
            std::string tag;
            if (!(in >> seconds >> tag)) continue;  // the command's own messages
            EXPECT_GE(seconds, last) << line;
            last = seconds;
            if (tag == "open" || tag == "close") continue;
            const bool dropped = tag == "rx" && (in >> std::ws).peek() == 'd' && in >> tag;
            Bytes bytes;
            for (unsigned b = 0; in >> std::hex >> b;)
                bytes.push_back(static_cast<std::uint8_t>(b));
            if (tag == "tx") {
                frame.insert(frame.end(), bytes.begin(), bytes.end());
                continue;
            }
            if (dropped) {
                t.dropped.push_back(bytes);
            } else {
                EXPECT_EQ(tag, "rx") << line;
                ++t.replies;
                EXPECT_TRUE(bytes.size() >= frame.size() &&
                            std::equal(frame.begin(), frame.end(), bytes.begin()))
                    << "no echo of the frame: " << line;
                if (frame.size() == 3 && frame[0] == 'R' && bytes.size() == 7) {
                    const std::size_t at = frame[1] * 256u + frame[2];
                    t.memory.resize(std::max(t.memory.size(), at + 4));
                    std::copy(bytes.begin() + 3, bytes.end(), t.memory.begin() + at);
                }
            }
            frame.clear();
        }
        return t;
    };
    VradioProcess clean({"--memory", "large"});
    VradioProcess cut({"--fault", "short@0x40"});
    ASSERT_TRUE(clean.Started() && cut.Started());

    const auto read = RunCli({"read", "--port", clean.Path(), "-o", Path("a.cfg"), "--trace"});
    ASSERT_EQ(read.status, 0) << read.err;
    const Trace whole = replay(read.err);
    // "V", "I", the memory probe and 202 blocks.
    EXPECT_EQ(whole.replies, 205u);
    EXPECT_EQ(whole.memory, Memory(ReadImage(Path("a.cfg"))));
    EXPECT_TRUE(whole.dropped.empty());

    const auto failed = RunCli({"read", "--port", cut.Path(), "-o", Path("b.cfg"), "--trace"});
    EXPECT_EQ(failed.status, 1);
    const Trace part = replay(failed.err);
    EXPECT_EQ(part.memory.size(), 0x40u);
    ASSERT_EQ(part.dropped.size(), 1u) << failed.err;
    const Bytes frame = ReadFrame(0x40);
    EXPECT_EQ(part.dropped[0].size(), 6u);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), part.dropped[0].begin()));
}

}  // namespace
}  // namespace talveron::link::test
