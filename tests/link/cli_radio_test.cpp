// The radio commands of talveron-cli, run as the program against talveron-vradio: their
// output, their files and their exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/cfg_file.h"
#include "image/document.h"
#include "link/transfer.h"
#include "programs.h"
#include "test_support.h"

namespace talveron::link::test {
namespace {

using talveron::test::Join;
using talveron::test::ReadImage;
using talveron::test::ReadText;
using talveron::test::RunCli;
using talveron::test::SamplePath;
using talveron::test::VradioProcess;
using Env = std::vector<std::pair<std::string, std::string>>;

const std::string kA1 = SamplePath("vk-a1-16ch.cfg");
const std::string kA2 = SamplePath("vk-a2-16ch.cfg");

// The memory a write of this file leaves in a radio of this size (model byte left off).
EepromImage Written(const std::string& file, bool large) {
    const CfgReadResult r = ReadCfgFile(file);
    EXPECT_TRUE(r.ok());
    return SentImage(BuildImage(OpenDocument(r.image, r.modelCode, "X")), large);
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
    std::string Path(const char* name) const { return dir.file(name); }
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
    const std::vector<std::string> kWrite = {"write", "--port", "PORT", kA1};
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
        {{}, {"write", "--port", "PORT", kA2}, 3, "*", {"Error warning: Band are Crossed !"}},
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
    const EepromImage sent = Written(kA1, false);
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "0x0005: file 0x%02X radio 0x%02X\n0x000F: file 0x%02X radio 0x%02X\n",
                  sent[5] ^ 0x02, sent[5], sent[15] ^ 0x01, sent[15]);
    EXPECT_EQ(r.out, expected);
    r = RunCli({"verify", "--port", radio.Path(), kA1});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
}

}  // namespace
}  // namespace talveron::link::test
