// The .cfg container: reading (size limit, open failures, the group-of-eight reading and the
// model byte, record tags), writing (records, atomic replace through links, kept
// permissions, read-only refusal, a write failing halfway) and FileBaseName.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "image/atomic_file.h"
#include "image/cfg_file.h"
#include "test_support.h"

namespace talveron::test {
namespace {

const std::string kModelMessage = "Model or Type Error!  Can not Open  ";

// An image of count bytes that differ from their neighbours (0x10, 0x11, ...), with the
// model byte at modelAt when that is inside the image.
std::vector<std::uint8_t> CountingImage(std::size_t count, std::size_t modelAt = 144,
                                        std::uint8_t model = 0) {
    std::vector<std::uint8_t> image(count);
    for (std::size_t i = 0; i < count; ++i) image[i] = static_cast<std::uint8_t>(0x10 + i % 0xE0);
    if (modelAt < count) image[modelAt] = model;
    return image;
}

TEST(CfgFile, ReadsGroupsOfEightRecordsAndTheModelByteAndRefusesTheRest) {
    TempDir dir;
    const std::string path = dir.file("t.cfg");
    auto read = [&](const std::vector<std::uint8_t>& bytes) {
        WriteBytes(path, bytes);
        return ReadCfgFile(path);
    };
    auto refused = [&](const CfgReadResult& r) {
        return r.status == CfgReadResult::Status::ModelError && r.message == kModelMessage + path;
    };
    for (const auto& c : LoadCases("core/cfg_groups.txt")) {
        SCOPED_TRACE(c.where);
        const auto image = CountingImage(c.Int(0), c.Int(1), static_cast<std::uint8_t>(c.Int(2)));
        auto bytes = ByteRecords(image);
        if (c.Int(3) > 0) bytes.push_back(0x11);
        if (c.Int(3) > 1) bytes.push_back(0x00);
        if (c.Int(3) < 0) bytes.pop_back();
        const CfgReadResult r = read(bytes);
        if (c[4] == "refused") {
            EXPECT_TRUE(refused(r)) << r.message;
            if (c.Int(0) == 145) {
                EXPECT_EQ(r.image, image);  // a refused model: the image as read
            }
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(r.modelCode, c.Int(5));
        EXPECT_EQ(r.image, std::vector<std::uint8_t>(image.begin(), image.begin() + c.Int(4)));
    }
    // Every byte of the file a valid model code: the refusal comes from the count alone.
    for (std::size_t k : {1u, 2u, 16u, 99u})
        EXPECT_TRUE(refused(read(ByteRecords(std::vector<std::uint8_t>(16 + 8 * k, 1))))) << k;

    // 16- and 32-bit records (02 00 or 03 00, then the value little-endian) read as bytes; a
    // value that does not fit a byte (0xFFFF is -1 as a 16-bit signed value; 0x10005 and
    // 0x1000005 only by their high bytes) reads as 0. The last record is the model byte.
    auto file = ByteRecords(CountingImage(17));
    auto expected = CountingImage(17);
    const std::pair<int, int> records[] = {{16, 200},     {16, 300}, {16, -1},        {32, 255},
                                           {32, 0x10005}, {32, -7},  {32, 0x1000005}, {16, 1}};
    for (auto [bits, v] : records) {
        file.insert(file.end(), {static_cast<std::uint8_t>(bits == 16 ? 2 : 3), 0});
        for (int b = 0; b < bits / 8; ++b) file.push_back(static_cast<std::uint32_t>(v) >> 8 * b);
        expected.push_back(v >= 0 && v <= 255 ? static_cast<std::uint8_t>(v) : 0);
    }
    const CfgReadResult wide = read(file);
    ASSERT_TRUE(wide.ok()) << wide.message;
    EXPECT_EQ(wide.image, expected);
    EXPECT_EQ(wide.modelCode, 1);
    // Any other tag refuses the file.
    for (std::size_t at : {0u, 15u, 16u, 100u, 144u}) {
        for (std::uint16_t tag : {0x0000, 0x0012, 0x0001, 0x1100, 0x0004}) {
            auto bytes = ByteRecords(CountingImage(145));
            bytes[3 * at] = static_cast<std::uint8_t>(tag & 0xFF);
            bytes[3 * at + 1] = static_cast<std::uint8_t>(tag >> 8);
            EXPECT_TRUE(refused(read(bytes))) << "tag " << tag << " at " << at;
        }
    }
    // 5001 bytes: 1667 whole records.
    const CfgReadResult big = read(ByteRecords(CountingImage(1667, 1664, 1)));
    EXPECT_EQ(big.status, CfgReadResult::Status::TooBig);
    EXPECT_EQ(big.message, "File is too big to open");
    // A missing file, a folder, and a pipe (opening it would wait for a writer).
    fs::create_directory(dir.file("folder.cfg"));
    ASSERT_EQ(mkfifo(dir.file("pipe.cfg").c_str(), 0600), 0);
    for (const char* name : {"nothing.cfg", "folder.cfg", "pipe.cfg"}) {
        const CfgReadResult r = ReadCfgFile(dir.file(name));
        EXPECT_EQ(r.status, CfgReadResult::Status::CantOpen);
        EXPECT_EQ(r.message, "Can't open file: " + dir.file(name));
        EXPECT_EQ(r.image, EepromImage(16, 0));
    }
}

// A new file holds one record per image byte; writing over a larger file replaces it
// completely, through a link, keeping its permissions (any write bit allows it); a read-only
// file, a missing folder and a folder are refused; nothing is ever left beside the file.
TEST(CfgFile, WritesOneRecordPerByteOverAnyWritableFileAndRefusesTheRest) {
    TempDir dir;
    const auto large = CountingImage(809, 808), image = CountingImage(145, 144, 1);
    fs::create_directory(dir.path() / "real");
    const std::string path = dir.file("real/radio.cfg");
    fs::create_symlink("real/radio.cfg", dir.path() / "link.cfg");
    ASSERT_TRUE(WriteCfgFile(path, large).ok());
    EXPECT_EQ(ReadBytes(path), ByteRecords(large));
    for (const auto mode : {0640, 0464}) {
        ::chmod(path.c_str(), mode);
        ASSERT_TRUE(WriteCfgFile(dir.file("link.cfg"), image).ok()) << mode;
        EXPECT_TRUE(fs::is_symlink(dir.path() / "link.cfg"));
        EXPECT_EQ(ReadBytes(path), ByteRecords(image));
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(mode));
        EXPECT_EQ(dir.entries().size(), 2u);
        WriteBytes(path, ByteRecords(large));
    }
    ::chmod(path.c_str(), 0444);
    for (const char* name : {"link.cfg", "real/radio.cfg"}) {
        const CfgWriteResult w = WriteCfgFile(dir.file(name), image);
        EXPECT_EQ(w.status, CfgWriteResult::Status::ReadOnly);
        EXPECT_EQ(w.message, dir.file(name) + " is a read only file") << name;
        EXPECT_EQ(ReadBytes(path), ByteRecords(large));
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(0444));
    }
    for (const char* name : {"absent/x.cfg", "real"}) {
        const CfgWriteResult w = WriteCfgFile(dir.file(name), image);
        EXPECT_EQ(w.status, CfgWriteResult::Status::Failed) << name;
        // The path first, then the system's reason.
        EXPECT_EQ(w.message.rfind(dir.file(name) + ": ", 0), 0u) << w.message;
        EXPECT_GT(w.message.size(), dir.file(name).size() + 2) << name;
    }
    EXPECT_EQ(fs::directory_iterator(dir.path() / "real")->path().filename(), "radio.cfg");
    EXPECT_EQ(dir.entries().size(), 2u);
    // The longest name the folder takes (255) still leaves room for the temporary file; a
    // name outside ASCII saves and opens.
    for (const std::string& name :
         {std::string(251, 'n') + ".cfg", std::string("Funkger\xC3\xA4t \xE2\x84\x96"
                                                      "7.cfg")}) {
        ASSERT_TRUE(WriteCfgFile(dir.file(name), large).ok()) << name;
        ASSERT_TRUE(WriteCfgFile(dir.file(name), image).ok()) << name;
        const CfgReadResult read = ReadCfgFile(dir.file(name));
        EXPECT_TRUE(read.ok()) << read.message;
        EXPECT_EQ(read.image, image);
        EXPECT_TRUE(fs::exists(PathFromUtf8(dir.file(name))));
        EXPECT_EQ(dir.entries().size(), 3u);
        fs::remove(dir.file(name));
    }
}

TEST(CfgFile, AWriteThatFailsHalfwayLeavesTheOldFileAsItWas) {
    TempDir dir;
    const std::string path = dir.file("keep.cfg");
    const auto oldBytes = ByteRecords(CountingImage(145, 144, 1));
    WriteBytes(path, oldBytes);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Files may not grow past 1000 bytes: the write of 2427 fails with EFBIG part way.
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = 1000;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(20);
        const CfgWriteResult w = WriteCfgFile(path, CountingImage(809, 808));
        ::_exit(w.ok()                                       ? 10
                : w.status != CfgWriteResult::Status::Failed ? 11
                                                             : w.message.empty() * 12);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: reported success, 11: wrong status, 12: no text";
    EXPECT_EQ(ReadBytes(path), oldBytes);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.cfg"});
}

}  // namespace
}  // namespace talveron::test
