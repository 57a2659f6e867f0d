// The .cfg container: every rule of reading (size limit, open failures, the group-of-eight
// reading and the model byte, record tags, truncation), writing (records, atomic replace,
// kept permissions, read-only refusal) and FileBaseName.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "image/cfg_file.h"
#include "test_support.h"

namespace talveron {
namespace {

using test::ByteRecords;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;
namespace fs = std::filesystem;

const std::string kModelMessage = "Model or Type Error!  Can not Open  ";

// An image of count bytes that differ from their neighbours (0x10, 0x11, ...), with the
// model byte at modelAt when that is inside the image.
std::vector<std::uint8_t> CountingImage(std::size_t count, std::size_t modelAt,
                                        std::uint8_t model) {
    std::vector<std::uint8_t> image(count);
    for (std::size_t i = 0; i < count; ++i) image[i] = static_cast<std::uint8_t>(0x10 + i % 0xE0);
    if (modelAt < count) image[modelAt] = model;
    return image;
}

class CfgRead : public ::testing::Test {
  protected:
    CfgReadResult ReadImageFile(const std::vector<std::uint8_t>& fileBytes) {
        const std::string path = dir.file("t.cfg");
        WriteBytes(path, fileBytes);
        return ReadCfgFile(path);
    }
    void ExpectModelError(const CfgReadResult& r, const std::string& what) {
        EXPECT_EQ(r.status, CfgReadResult::Status::ModelError) << what;
        EXPECT_EQ(r.message, kModelMessage + dir.file("t.cfg")) << what;
    }
    TempDir dir;
};

TEST_F(CfgRead, GroupOfEightReadingAndTheModelByte) {
    for (const auto& c : test::LoadCases("core/cfg_groups.txt")) {
        SCOPED_TRACE(c.where);
        const auto image = CountingImage(c.Int(0), c.Int(1), static_cast<std::uint8_t>(c.Int(2)));
        auto bytes = ByteRecords(image);
        if (c.Int(3) > 0) bytes.push_back(0x11);
        if (c.Int(3) > 1) bytes.push_back(0x00);
        if (c.Int(3) < 0) bytes.pop_back();
        const CfgReadResult r = ReadImageFile(bytes);
        if (c[4] == "refused") {
            ExpectModelError(r, "");
            // A refused model code leaves the image as read.
            if (c.Int(0) == 145) {
                EXPECT_EQ(r.image, image);
            }
            continue;
        }
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(r.modelCode, c.Int(5));
        EXPECT_EQ(r.image, std::vector<std::uint8_t>(image.begin(), image.begin() + c.Int(4)));
    }
    // Every byte of the file a valid model code: the refusal comes from the count alone.
    for (std::size_t k : {1u, 2u, 16u, 99u})
        ExpectModelError(ReadImageFile(ByteRecords(std::vector<std::uint8_t>(16 + 8 * k, 1))),
                         std::to_string(k) + " groups");
    // 5001 bytes: 1667 whole records.
    const CfgReadResult big = ReadImageFile(ByteRecords(CountingImage(1667, 1664, 1)));
    EXPECT_EQ(big.status, CfgReadResult::Status::TooBig);
    EXPECT_EQ(big.message, "File is too big to open");
}

TEST_F(CfgRead, SixteenAndThirtyTwoBitRecordsAreReadAsBytes) {
    // Record index -> {bits, value}; a value that does not fit a byte (0xFFFF is -1 as a
    // 16-bit signed value; 0x10005 and 0x1000005 only by their high bytes) reads as 0.
    // Record 24 is the model byte in a 16-bit record.
    const std::map<std::size_t, std::pair<int, int>> wide = {
        {3, {16, 200}},      {4, {16, 300}}, {5, {16, -1}},         {17, {32, 255}},
        {18, {32, 0x10005}}, {19, {32, -7}}, {20, {32, 0x1000005}}, {24, {16, 1}},
    };
    std::vector<std::uint8_t> file;
    auto expected = CountingImage(25, 24, 1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto it = wide.find(i);
        if (it == wide.end()) {
            file.insert(file.end(), {0x11, 0x00, expected[i]});
            continue;
        }
        const auto [bits, value] = it->second;
        if (bits == 16)
            test::AppendIntRecord(file, static_cast<std::int16_t>(value));
        else
            test::AppendIntRecord(file, value);
        expected[i] = value >= 0 && value <= 255 ? static_cast<std::uint8_t>(value) : 0;
    }
    const CfgReadResult r = ReadImageFile(file);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.image, expected);
    EXPECT_EQ(r.modelCode, 1);
}

TEST_F(CfgRead, AnyOtherTagRefusesTheFile) {
    const auto image = CountingImage(145, 144, 0);
    for (std::size_t at : {0u, 15u, 16u, 100u, 144u}) {
        for (std::uint16_t tag : {0x0000, 0x0012, 0x0001, 0x1100, 0x0004}) {
            auto bytes = ByteRecords(image);
            bytes[3 * at] = static_cast<std::uint8_t>(tag & 0xFF);
            bytes[3 * at + 1] = static_cast<std::uint8_t>(tag >> 8);
            ExpectModelError(ReadImageFile(bytes),
                             "tag " + std::to_string(tag) + " at " + std::to_string(at));
        }
    }
}

TEST_F(CfgRead, MissingFileAndFolderCannotBeOpened) {
    fs::create_directory(dir.file("folder.cfg"));
    for (const std::string& path : {dir.file("nothing.cfg"), dir.file("folder.cfg")}) {
        const CfgReadResult r = ReadCfgFile(path);
        EXPECT_EQ(r.status, CfgReadResult::Status::CantOpen);
        EXPECT_EQ(r.message, "Can't open file: " + path);
        EXPECT_EQ(r.image, EepromImage(16, 0));
    }
}

class CfgWrite : public ::testing::Test {
  protected:
    TempDir dir;
};

// A new file holds one record per image byte; writing over a larger file replaces it
// completely and keeps its permissions, and any write bit (here the group's) allows it.
TEST_F(CfgWrite, WritesOneByteRecordPerImageByteOverAnyWritableFile) {
    const std::string path = dir.file("new.cfg");
    const auto large = CountingImage(809, 808, 0);
    const CfgWriteResult w = WriteCfgFile(path, large);
    ASSERT_TRUE(w.ok()) << w.message;
    ASSERT_EQ(ReadBytes(path).size(), 2427u);
    EXPECT_EQ(ReadBytes(path), ByteRecords(large));
    const auto image = CountingImage(145, 144, 1);
    for (const auto mode : {0640, 0464}) {
        ::chmod(path.c_str(), mode);
        ASSERT_TRUE(WriteCfgFile(path, image).ok()) << mode;
        EXPECT_EQ(ReadBytes(path), ByteRecords(image));
        EXPECT_EQ(test::ReadText(path), EncodeCfgRecords(image));
        EXPECT_EQ(fs::status(path).permissions(), fs::perms(mode));
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"new.cfg"});
        WriteBytes(path, ByteRecords(large));
    }
}

TEST_F(CfgWrite, ALongButValidFileNameCanBeSaved) {
    // 255 characters is the longest name the folder takes; the temporary file beside it
    // must still have a name that fits.
    const std::string name = std::string(251, 'n') + ".cfg";
    const std::string path = dir.file(name);
    const auto image = CountingImage(145, 144, 0);
    const CfgWriteResult w = WriteCfgFile(path, image);
    ASSERT_TRUE(w.ok()) << w.message;
    EXPECT_EQ(ReadBytes(path), ByteRecords(image));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
    EXPECT_TRUE(WriteCfgFile(path, CountingImage(25, 24, 1)).ok());  // and over itself
    EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
}

TEST_F(CfgWrite, ReadOnlyTargetIsRefusedAndLeftUntouched) {
    const std::string path = dir.file("locked.cfg");
    const std::vector<std::uint8_t> old = {0x11, 0x00, 0x42};
    WriteBytes(path, old);
    ::chmod(path.c_str(), 0444);
    const CfgWriteResult w = WriteCfgFile(path, CountingImage(145, 144, 0));
    EXPECT_EQ(w.status, CfgWriteResult::Status::ReadOnly);
    EXPECT_EQ(w.message, path + " is a read only file");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0444));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"locked.cfg"});
}

TEST_F(CfgWrite, TargetInAMissingFolderOrThatIsAFolderFailsAndLeavesNothingBehind) {
    fs::create_directory(dir.file("folder.cfg"));
    for (const char* name : {"absent/x.cfg", "folder.cfg"}) {
        const CfgWriteResult w = WriteCfgFile(dir.file(name), CountingImage(145, 144, 0));
        EXPECT_EQ(w.status, CfgWriteResult::Status::Failed) << name;
        // The path first, then the system's reason.
        EXPECT_EQ(w.message.rfind(dir.file(name) + ": ", 0), 0u) << w.message;
        EXPECT_GT(w.message.size(), dir.file(name).size() + 2) << name;
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"folder.cfg"}) << name;
    }
    EXPECT_TRUE(fs::is_directory(dir.file("folder.cfg")));
}

TEST_F(CfgWrite, AWriteThatFailsHalfwayLeavesTheOldFileAsItWas) {
    const std::string path = dir.file("keep.cfg");
    const auto oldBytes = ByteRecords(CountingImage(145, 144, 1));
    WriteBytes(path, oldBytes);
    const auto image = CountingImage(809, 808, 0);  // 2427 bytes to write

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Files may not grow past 1000 bytes: the write fails with EFBIG part way through.
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        limit.rlim_cur = limit.rlim_max = 1000;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(20);
        const CfgWriteResult w = WriteCfgFile(path, image);
        if (w.ok()) ::_exit(10);
        if (w.status != CfgWriteResult::Status::Failed) ::_exit(11);
        if (w.message.empty()) ::_exit(12);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: reported success, 11: wrong status, 12: no text";
    EXPECT_EQ(ReadBytes(path), oldBytes);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.cfg"});
}

TEST(FileBaseName, LastComponentCutAtItsFirstDot) {
    for (const auto& c : test::LoadCases("core/file_base_names.txt"))
        EXPECT_EQ(FileBaseName(c[0]), c[1]) << c.where;
}

}  // namespace
}  // namespace talveron
