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

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Every outcome of a radio command: its exit status and messages (the transfer's questions,
// each Yes to a "Try Again ?" shown as "(trying again)"), run with no file at OUT and again
// with one there for a read.
TEST_F(CliRadio, ExitStatusAndMessagesOfEveryOutcome) {
    const auto cases = talveron::test::LoadCases("core/cli_radio_outcomes.txt");
    for (const bool existing : {false, true}) {
        for (const auto& c : cases) {
            const std::vector<std::string> words = Words(c[1]);
            if (existing && (words[0] != "read" || words.size() < 5)) continue;
            SCOPED_TRACE(c.where + (existing ? " (OUT exists)" : ""));
            VradioProcess radio(c[0] == "-" ? std::vector<std::string>{} : Words(c[0]));
            ASSERT_TRUE(radio.Started());
            const std::string out = Path("out.cfg");
            if (existing) talveron::test::WriteText(out, "precious");
            auto fill = [&](std::string s) {
                if (s == "OUT" || s == "A1" || s == "A2")
                    return s == "OUT" ? out : s == "A1" ? kA1 : kA2;
                if (const auto at = s.find("PORT"); at != std::string::npos)
                    s.replace(at, 4, radio.Path());
                return s;
            };
            std::vector<std::string> args;
            for (const auto& a : words) args.push_back(fill(a));
            Env env;
            if (c[2] != "-")
                env.emplace_back(c[2].substr(0, c[2].find('=')),
                                 fill(c[2].substr(c[2].find('=') + 1)));
            const auto r = RunCli(args, env);
            EXPECT_EQ(r.status, c.Int(3)) << r.err;
            EXPECT_EQ(r.out, c[6] == "*" ? r.out : c[6]);
            std::string whole;
            std::size_t at = 0;
            for (std::size_t i = 7; i < c.f.size(); ++i) {
                whole += c[i];
                at = r.err.find(c[i], at);
                EXPECT_NE(at, std::string::npos) << c[i] << " in:\n" << r.err;
                at = at == std::string::npos ? 0 : at + c[i].size();
            }
            if (c[5] == "yes") {
                EXPECT_EQ(r.err, whole);
            }
            int tries = 0;
            for (auto t = r.err.find("(trying again)"); t != std::string::npos;
                 t = r.err.find("(trying again)", t + 1))
                ++tries;
            EXPECT_EQ(tries, c.Int(4)) << r.err;
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
