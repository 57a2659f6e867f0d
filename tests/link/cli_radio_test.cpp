// The radio commands of talveron-cli, run as the program against talveron-vradio: their
// output, their files and their exit status. One flow per test; the link's own rules are
// followed with fakes in transfer_test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "image/cfg_file.h"
#include "image/document.h"
#include "programs.h"
#include "test_support.h"

namespace talveron::test {
namespace {

using Env = std::vector<std::pair<std::string, std::string>>;

const std::string kA1 = SamplePath("vk-a1-16ch.cfg");
const std::string kA2 = SamplePath("vk-a2-16ch.cfg");

// True when text has a line that pattern (a regular expression) matches whole.
bool HasLine(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex("(^|\n)" + pattern + "(\n|$)"));
}

// Runs a command that should succeed; a machine under load may let a reply come late, so it
// may try again.
RunResult Ok(std::vector<std::string> args) {
    args.insert(args.end(), {"--retries", "5"});
    return RunCli(args);
}

class CliRadio : public ::testing::Test {
  protected:
    // Backups taken without --backup-dir land in the test's folder, not the user's.
    void SetUp() override { ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }
    std::string Path(const std::string& name) const { return dir.file(name); }
    TempDir dir;
};

// Every outcome of a radio command: its exit status and messages (each Yes to a "Try Again ?"
// shown as "(trying again)"). A read that fails leaves the file at OUT as it was.
TEST_F(CliRadio, ExitStatusAndMessagesOfEveryOutcome) {
    for (const auto& c : LoadCases("core/cli_radio_outcomes.txt")) {
        SCOPED_TRACE(c.where);
        VradioProcess radio(Words(c[0] == "-" ? "" : c[0]));
        ASSERT_TRUE(radio.Started());
        const std::string out = Path("out.cfg");
        const auto fill = [&](std::string s) {
            if (s == "OUT" || s == "A1" || s == "A2")
                return s == "OUT" ? out : s == "A1" ? kA1 : kA2;
            if (const auto at = s.find("PORT"); at != std::string::npos)
                s.replace(at, 4, radio.Path());
            return s;
        };
        std::vector<std::string> args;
        for (const auto& a : Words(c[1])) args.push_back(fill(a));
        if (args[0] == "read") WriteText(out, "precious");
        Env env;
        if (c[2] != "-")
            env.emplace_back(c[2].substr(0, c[2].find('=')), fill(c[2].substr(c[2].find('=') + 1)));
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
        EXPECT_EQ(r.err, c[5] == "yes" ? whole : r.err);
        std::size_t tries = 0;
        for (auto t = r.err.find("(trying again)"); t != std::string::npos;
             t = r.err.find("(trying again)", t + 1))
            ++tries;
        EXPECT_EQ(tries, c.Int(4)) << r.err;
        EXPECT_EQ(args[0] == "read" ? ReadText(out) : std::to_string(fs::exists(out)),
                  args[0] == "read" ? "precious" : "0");
        fs::remove(out);
    }
}

// A read is not checked: a byte that comes wrong goes into the file, and the next read is
// clean. Both sizes are read with their model byte; a write takes a backup first, and the
// backup written back gives the radio its old memory byte for byte (here an erased 99-channel
// radio's records of 0xFF, which no document would rebuild).
TEST_F(CliRadio, ReadWriteAndTheBackupWrittenBack) {
    VradioProcess small({"--load", kA2, "--save", Path("small.cfg"), "--fault", "corrupt@0x41"});
    VradioProcess large({"--memory", "large", "--save", Path("large.cfg")});
    ASSERT_TRUE(small.Started() && large.Started());
    for (const char* file : {"wrong.cfg", "a.cfg"}) {
        const auto r = RunCli({"read", "--port", small.Path(), "-o", Path(file), "--trace"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "VK-A2   detected: read 144 bytes into " + Path(file) + "\n");
        // --trace: every frame and reply on stderr in hex, in time order. Replayed, the "R"
        // replies (echo and answer) hold the memory the read saved.
        EepromImage memory(145, 0);
        memory.back() = 1;
        double last = 0;
        std::size_t replies = 0;
        std::istringstream lines(r.err);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream in(line);
            double seconds = 0;
            std::string tag;
            ASSERT_TRUE(in >> seconds >> tag) << line;
            EXPECT_GE(seconds, last) << line;
            last = seconds;
            const Bytes bytes = HexBytes(line.substr(line.find(tag) + tag.size()));
            replies += tag == "rx";
            if (tag == "rx" && bytes.size() == 7 && bytes[0] == 'R')
                std::copy(bytes.begin() + 3, bytes.end(),
                          memory.begin() + bytes[1] * 256 + bytes[2]);
        }
        EXPECT_EQ(replies, 3u + 36u) << "\"V\", \"I\", the memory probe and 36 blocks";
        EXPECT_EQ(memory, ReadImage(Path(file)));
    }
    auto r = Ok({"read", "--port", large.Path(), "-o", Path("before.cfg"), "--quiet"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadImage(Path("a.cfg")), ReadImage(kA2));
    EepromImage wrong = ReadImage(Path("wrong.cfg"));
    ASSERT_EQ(wrong.size(), 145u);
    wrong[0x41] ^= 0xFF;
    EXPECT_EQ(wrong, ReadImage(kA2));

    r = Ok({"write", "--port", large.Path(), kA1});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string folder = Path("talveron/backups/");
    ASSERT_EQ(r.out.rfind("backup: " + folder + "VK-A1_", 0), 0u) << r.out;
    const std::string backup = r.out.substr(8, r.out.find('\n') - 8);
    EXPECT_EQ(ReadImage(backup), ReadImage(Path("before.cfg")));
    r = Ok({"verify", "--port", large.Path(), kA1});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "radio matches " + kA1 + "\n");
    r = Ok({"write", "--port", large.Path(), backup, "--no-backup"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 808 bytes of " + backup + "\n");
    small.Stop();
    large.Stop();
    EXPECT_EQ(ReadImage(Path("small.cfg")), ReadImage(kA2));
    EXPECT_EQ(ReadImage(Path("large.cfg")), ReadImage(Path("before.cfg")));
}

// verify lists each difference in the system option dialog's words, then the address with
// both bytes; a file for another band is written with --force.
TEST_F(CliRadio, VerifyAndForce) {
    Document doc = OpenDocument(ReadImage(kA1), 0, "X");
    doc.state.head[0x0F] = 1;  // push-to-talk resume time, 0 (OFF) in the sample
    doc.state.head[0x05] = 2;  // priority channel, also OFF
    const std::string changed = Path("changed.cfg");
    ASSERT_TRUE(WriteCfgFile(changed, BuildImage(doc)).ok());
    VradioProcess radio({"--load", kA1, "--save", Path("held.cfg")});
    ASSERT_TRUE(radio.Started());
    auto r = RunCli({"verify", "--port", radio.Path(), changed});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "2 difference(s)\n");
    EXPECT_EQ(r.out,
              "Priority Channel No.: file 2, radio OFF\n  0x0005: file 0x02 radio 0x00\n"
              "PTT Resume Time: file 1, radio OFF\n  0x000F: file 0x01 radio 0x00\n");
    r = Ok({"write", "--port", radio.Path(), kA2, "--force", "--no-backup"});
    EXPECT_EQ(r.status, 0) << r.err;
    radio.Stop();
    // The file's bytes with the radio's memory-size bit (clear: a small radio) and model.
    EepromImage expected = ReadImage(kA2);
    expected[0x0A] &= ~0x02;
    expected.back() = 0;
    EXPECT_EQ(ReadImage(Path("held.cfg")), expected);
}

// "/dev/pts/7" as a part of a file name.
std::string PortText(std::string path) {
    path.erase(0, 5);
    std::replace(path.begin(), path.end(), '/', '-');
    return path;
}

// Three radios at once, one failing its write: the other two are written, every one is backed
// up first, each port's messages carry its name, the table has a row for each, and the exit
// status is the failure's. Then a read of every radio there is into a folder.
TEST_F(CliRadio, SeveralRadiosAtOnceOneFailing) {
    VradioProcess small;
    VradioProcess large({"--memory", "large", "--model", "0"});
    VradioProcess bad({"--fault", "corrupt@0x40:always"});
    ASSERT_TRUE(small.Started() && large.Started() && bad.Started());
    auto r = RunCli({"write", "--port", small.Path(), "--ports", bad.Path() + "," + large.Path(),
                     kA1, "--backup-dir", Path("backups")});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(bad.Path() + ": Download Err !  Make sure the connection is OK"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(HasLine(r.out, "PORT +MODEL +RESULT +TIME")) << r.out;
    for (const VradioProcess* radio : {&small, &large, &bad}) {
        const std::string& port = radio->Path();
        EXPECT_TRUE(HasLine(r.out, port + ": backup: " + Path("backups") +
                                       "/VK-A1_[0-9]{8}-[0-9]{6}_" + PortText(port) + "\\.cfg"))
            << r.out;
        EXPECT_TRUE(HasLine(
            r.out, port + " +VK-A1  " + (radio == &bad ? "Download Err.*" : "ok +[0-9.]+ s")))
            << r.out;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("backups")), {}), 3);

    // --all-ports: the numbered ports a radio answers on, here the first and the third.
    r = RunCli({"read", "--all-ports", "-o", Path("fleet")},
               {{"TALVERON_PORTS", small.Path() + ":/dev/pts/no-such-pty:" + large.Path()}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("fleet")), {}), 2);
    // A small radio keeps the file as it is (model 0, memory-size bit clear).
    EXPECT_EQ(ReadImage(Path("fleet/VK-A1_" + PortText(small.Path()) + ".cfg")), ReadImage(kA1));
    EXPECT_TRUE(fs::exists(Path("fleet/VK-A1_" + PortText(large.Path()) + ".cfg")));
}

}  // namespace
}  // namespace talveron::test
