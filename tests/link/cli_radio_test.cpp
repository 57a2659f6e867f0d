// The radio commands of talveron-cli, run as the program against talveron-vradio: their
// output, their files and their exit status.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "image/cfg_file.h"
#include "image/document.h"
#include "link/transfer.h"
#include "vradio_process.h"

namespace talveron::link::test {
namespace {

QString Sample(const char* name) {
    return QString(SAMPLES_DIR) + "/" + name;
}

QString Port(const VradioProcess& radio) {
    return QString::fromStdString(radio.Path());
}

// The memory a write of this file leaves in a radio of this size (model byte left off).
EepromImage Written(const QString& file, bool large) {
    const CfgReadResult r = ReadCfgFile(file.toStdString());
    EXPECT_TRUE(r.ok());
    return SentImage(BuildImage(OpenDocument(r.image, r.modelCode, "X")), large);
}

EepromImage Memory(const EepromImage& withModel) {
    return withModel.empty() ? withModel : EepromImage(withModel.begin(), withModel.end() - 1);
}

class CliRadio : public ::testing::Test {
  protected:
    QString Path(const char* name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(CliRadio, IdentifyNamesTheRadioAndItsMemory) {
    VradioProcess small({});
    VradioProcess large({"--model", "1", "--memory", "large"});
    ASSERT_TRUE(small.Started() && large.Started());
    CliResult r = RunCliProgram({"identify", "--port", Port(small)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "VK-A1   detected\nmemory 144 bytes\n");
    r = RunCliProgram({"identify", "--port", Port(large)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "VK-A2   detected\nmemory 808 bytes\n");
}

TEST_F(CliRadio, IdentifyWithoutARadioExitsOne) {
    VradioProcess silent({"--fault", "silent"});
    VradioProcess stranger({"--fault", "identity=0x0D"});
    ASSERT_TRUE(silent.Started() && stranger.Started());
    for (const QString& port : {Port(silent), Port(stranger)}) {
        const CliResult r = RunCliProgram({"identify", "--port", port});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Not detected"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const CliResult missing = RunCliProgram({"identify", "--port", "/dev/pts/no-such-pty"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("/dev/pts/no-such-pty"), std::string::npos) << missing.err;
}

TEST_F(CliRadio, IdentifyWhoseProbeFailsExitsOne) {
    VradioProcess radio({"--fault", "short@8"});
    ASSERT_TRUE(radio.Started());
    const CliResult r = RunCliProgram({"identify", "--port", Port(radio)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "VK-A1   detected\n");
    EXPECT_EQ(r.err, " !  Make sure the connection is OK\n");
}

TEST_F(CliRadio, PortNumberFollowsTheVariable) {
    VradioProcess radio({});
    ASSERT_TRUE(radio.Started());
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TALVERON_PORTS", "/dev/pts/no-such-pty:" + Port(radio));
    cli.setProcessEnvironment(env);
    cli.start(CLI_PATH, {"identify", "--port", "2"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(cli.readAllStandardOutput().toStdString(), "VK-A1   detected\nmemory 144 bytes\n");
}

TEST_F(CliRadio, UsageErrorsExitTwo) {
    EXPECT_EQ(RunCliProgram({"identify"}).status, 2);
    EXPECT_EQ(RunCliProgram({"read", "--port", "/dev/null"}).status, 2) << "no -o";
    EXPECT_EQ(RunCliProgram({"read", "--port", "1", "-o", Path("x.cfg"), "--retries", "-1"}).status,
              2);
    EXPECT_EQ(RunCliProgram({"read", "--port", "1", "-o", Path("x.cfg"), "--retries", "2x"}).status,
              2);
    EXPECT_EQ(RunCliProgram({"write", "--port", "1"}).status, 2);
    EXPECT_EQ(RunCliProgram({"write", "--port", "1", "--bogus", Sample("vk-a1-16ch.cfg")}).status,
              2);
    const CliResult refused = RunCliProgram({"write", "--port", "1", Path("missing.cfg")});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("Can't open file: "), std::string::npos) << refused.err;
    EXPECT_FALSE(QFileInfo::exists(Path("x.cfg")));
}

TEST_F(CliRadio, ReadWritesTheImageWithItsModelByte) {
    VradioProcess small({"--load", Sample("vk-a2-16ch.cfg"), "--save", Path("small.cfg")});
    VradioProcess large({"--memory", "large", "--save", Path("large.cfg")});
    ASSERT_TRUE(small.Started() && large.Started());
    CliResult r = RunCliProgram({"read", "--port", Port(small), "-o", Path("a.cfg")});
    EXPECT_EQ(r.status, 0) << r.err;
    r = RunCliProgram({"read", "--port", Port(large), "-o", Path("b.cfg"), "--quiet"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    small.Stop();
    large.Stop();
    EXPECT_EQ(QFileInfo(Path("a.cfg")).size(), 435);
    EXPECT_EQ(QFileInfo(Path("b.cfg")).size(), 2427);
    EXPECT_EQ(ReadImage(Path("a.cfg")), ReadImage(Path("small.cfg")));
    EXPECT_EQ(ReadImage(Path("a.cfg")), ReadImage(Sample("vk-a2-16ch.cfg")));
    EXPECT_EQ(ReadImage(Path("b.cfg")), ReadImage(Path("large.cfg")));
}

TEST_F(CliRadio, FailedReadCreatesNoFileAndLeavesAnOldOneAlone) {
    VradioProcess radio({"--fault", "short@0x40"});
    ASSERT_TRUE(radio.Started());
    CliResult r = RunCliProgram({"read", "--port", Port(radio), "-o", Path("new.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Upload Err !  Make sure the connection is OK"), std::string::npos)
        << r.err;
    EXPECT_FALSE(QFileInfo::exists(Path("new.cfg")));

    {
        QFile old(Path("old.cfg"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("precious");
    }
    r = RunCliProgram({"read", "--port", Port(radio), "-o", Path("old.cfg")});
    EXPECT_EQ(r.status, 1);
    QFile old(Path("old.cfg"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("precious"));
}

TEST_F(CliRadio, RetriesAnswerTryAgainThatManyTimes) {
    VradioProcess radio({"--fault", "long@0x20"});
    ASSERT_TRUE(radio.Started());
    const CliResult r =
        RunCliProgram({"read", "--port", Port(radio), "-o", Path("r.cfg"), "--retries", "2"});
    EXPECT_EQ(r.status, 1);
    std::size_t tries = 0;
    for (std::size_t at = r.err.find("(trying again)"); at != std::string::npos;
         at = r.err.find("(trying again)", at + 1)) {
        ++tries;
    }
    EXPECT_EQ(tries, 2u) << r.err;
    EXPECT_FALSE(QFileInfo::exists(Path("r.cfg")));
}

TEST_F(CliRadio, RetryGetsPastAOnceOnlyFault) {
    // The read-back is wrong once at 0x40: the write's own retry handles it.
    VradioProcess radio({"--fault", "corrupt@0x40", "--save", Path("held.cfg")});
    ASSERT_TRUE(radio.Started());
    const CliResult r = RunCliProgram({"write", "--port", Port(radio), Sample("vk-a1-16ch.cfg")});
    EXPECT_EQ(r.status, 0) << r.err;
    radio.Stop();
    EXPECT_EQ(Memory(ReadImage(Path("held.cfg"))), Written(Sample("vk-a1-16ch.cfg"), false));
}

TEST_F(CliRadio, WriteRefusesAnotherBandWithExitThreeUnlessForced) {
    VradioProcess radio({"--save", Path("held.cfg")});
    ASSERT_TRUE(radio.Started());
    CliResult r = RunCliProgram({"write", "--port", Port(radio), Sample("vk-a2-16ch.cfg")});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Error warning: Band are Crossed !"), std::string::npos) << r.err;
    r = RunCliProgram({"verify", "--port", Port(radio), Sample("vk-a2-16ch.cfg")});
    EXPECT_EQ(r.status, 1) << "nothing was written";

    r = RunCliProgram({"write", "--port", Port(radio), Sample("vk-a2-16ch.cfg"), "--force"});
    EXPECT_EQ(r.status, 0) << r.err;
    radio.Stop();
    EXPECT_EQ(Memory(ReadImage(Path("held.cfg"))), Written(Sample("vk-a2-16ch.cfg"), false));
}

TEST_F(CliRadio, WriteRefusesAChannelOutOfBandWithExitThree) {
    // Channel 3 of the sample moved to 190 MHz, outside 140-175.
    const CfgReadResult read = ReadCfgFile(Sample("vk-a1-16ch.cfg").toStdString());
    Document doc = OpenDocument(read.image, read.modelCode, "X");
    doc.lines[2].replace(4, 3, "190");
    WriteImage(Path("out-of-band.cfg"), BuildImage(doc));
    VradioProcess radio({});
    ASSERT_TRUE(radio.Started());
    CliResult r = RunCliProgram({"write", "--port", Port(radio), Path("out-of-band.cfg")});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("Channel #3 Range Out !"), std::string::npos) << r.err;
    r = RunCliProgram({"write", "--port", Port(radio), Path("out-of-band.cfg"), "--force"});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(CliRadio, WriteFailureExitsOneWithTheMessage) {
    VradioProcess radio({"--fault", "corrupt@0x40:always"});
    ASSERT_TRUE(radio.Started());
    const CliResult r = RunCliProgram({"write", "--port", Port(radio), Sample("vk-a1-16ch.cfg")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Download Err !  Make sure the connection is OK"), std::string::npos)
        << r.err;
}

TEST_F(CliRadio, VerifyListsEachDifferingAddress) {
    VradioProcess radio({"--load", Sample("vk-a1-16ch.cfg")});
    ASSERT_TRUE(radio.Started());
    // A file that differs from the radio in two head bytes.
    const CfgReadResult read = ReadCfgFile(Sample("vk-a1-16ch.cfg").toStdString());
    Document doc = OpenDocument(read.image, read.modelCode, "X");
    CliResult r = RunCliProgram({"write", "--port", Port(radio), Sample("vk-a1-16ch.cfg")});
    ASSERT_EQ(r.status, 0) << r.err;
    doc.state.head[0x0F] ^= 0x01;  // push-to-talk resume time
    doc.state.head[0x05] ^= 0x02;  // priority channel
    WriteImage(Path("changed.cfg"), BuildImage(doc));

    r = RunCliProgram({"verify", "--port", Port(radio), Path("changed.cfg")});
    EXPECT_EQ(r.status, 1);
    const EepromImage sent = Written(Sample("vk-a1-16ch.cfg"), false);
    char line[64];
    std::snprintf(line, sizeof line, "0x0005: file 0x%02X radio 0x%02X\n", sent[5] ^ 0x02, sent[5]);
    std::string expected = line;
    std::snprintf(line, sizeof line, "0x000F: file 0x%02X radio 0x%02X\n", sent[15] ^ 0x01,
                  sent[15]);
    expected += line;
    EXPECT_EQ(r.out, expected);

    r = RunCliProgram({"verify", "--port", Port(radio), Sample("vk-a1-16ch.cfg")});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
}

// Read a radio, write a changed document into it, read it again and verify: both sizes.
TEST_F(CliRadio, ReadWriteVerifyRoundTripOnBothSizes) {
    for (const char* memory : {"small", "large"}) {
        SCOPED_TRACE(memory);
        const bool large = std::string(memory) == "large";
        VradioProcess radio({"--memory", memory});
        ASSERT_TRUE(radio.Started());
        const QString first = Path(large ? "l1.cfg" : "s1.cfg");
        const QString changed = Path(large ? "l2.cfg" : "s2.cfg");
        const QString again = Path(large ? "l3.cfg" : "s3.cfg");
        ASSERT_EQ(RunCliProgram({"read", "--port", Port(radio), "-o", first}).status, 0);

        const CfgReadResult read = ReadCfgFile(first.toStdString());
        ASSERT_TRUE(read.ok());
        Document doc = OpenDocument(read.image, read.modelCode, "X");
        doc.state.head[0x0F] = static_cast<std::uint8_t>(doc.state.head[0x0F] + 7);
        // The last channel becomes a copy of the first (keeping its own number).
        doc.lines.back() = doc.lines.back().substr(0, 4) + doc.lines.front().substr(4);
        doc.state.chOpt.back() = doc.state.chOpt.front();
        WriteImage(changed, BuildImage(doc));

        CliResult r = RunCliProgram({"write", "--port", Port(radio), changed, "--force"});
        ASSERT_EQ(r.status, 0) << r.err;
        r = RunCliProgram({"verify", "--port", Port(radio), changed});
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        r = RunCliProgram({"verify", "--port", Port(radio), first});
        EXPECT_EQ(r.status, 1) << "the radio no longer holds the first read";
        ASSERT_EQ(RunCliProgram({"read", "--port", Port(radio), "-o", again}).status, 0);
        EXPECT_EQ(Memory(ReadImage(again)), Written(changed, large));
        EXPECT_EQ(ReadImage(again).size(), large ? 809u : 145u);
    }
}

}  // namespace
}  // namespace talveron::link::test
