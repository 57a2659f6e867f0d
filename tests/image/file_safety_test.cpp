// Saving and opening where the file system is not the plain case: links, pipes, names
// outside ASCII, spreadsheet byte-order marks, radios smaller than the file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "image/atomic_file.h"
#include "image/cfg_file.h"
#include "image/channel_csv.h"
#include "test_support.h"

namespace talveron::test {
namespace {

EepromImage SampleImage() {
    const CfgReadResult read = ReadCfgFile(std::string(TALVERON_SAMPLES) + "/vk-a1-16ch.cfg");
    EXPECT_TRUE(read.ok()) << read.message;
    return read.image;
}

TEST(FileSafety, SavingThroughASymbolicLinkReplacesTheFileItNames) {
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    const std::string real = dir.file("real/radio.cfg");
    WriteText(real, "old contents");
    fs::create_symlink("real/radio.cfg", dir.path() / "link.cfg");

    const EepromImage image = SampleImage();
    ASSERT_TRUE(WriteCfgFile(dir.file("link.cfg"), image).ok());

    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.cfg"));
    EXPECT_EQ(ReadBytes(real), ByteRecords(image));
    // No temporary file is left beside the link or the file.
    EXPECT_EQ(dir.entries().size(), 2u);
    EXPECT_EQ(fs::directory_iterator(dir.path() / "real")->path().filename(), "radio.cfg");
}

TEST(FileSafety, AReadOnlyFileBehindALinkIsRefusedAndKept) {
    TempDir dir;
    const std::string real = dir.file("radio.cfg");
    WriteText(real, "keep me");
    fs::permissions(real, fs::perms::owner_read | fs::perms::group_read);
    fs::create_symlink(real, dir.path() / "link.cfg");

    const CfgWriteResult written = WriteCfgFile(dir.file("link.cfg"), SampleImage());
    EXPECT_EQ(written.status, CfgWriteResult::Status::ReadOnly);
    EXPECT_EQ(written.message, dir.file("link.cfg") + " is a read only file");
    EXPECT_EQ(ReadText(real), "keep me");
}

TEST(FileSafety, APipeIsRefusedWithoutWaitingForAWriter) {
    TempDir dir;
    const std::string fifo = dir.file("radio.cfg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Opening a pipe for reading blocks until a writer comes; the check must not open it.
    const CfgReadResult read = ReadCfgFile(fifo);
    EXPECT_EQ(read.status, CfgReadResult::Status::CantOpen);
    EXPECT_EQ(read.message, "Can't open file: " + fifo);
}

TEST(FileSafety, NamesOutsideAsciiSaveAndOpen) {
    TempDir dir;
    const std::string path = dir.file(
        "Funkger\xC3\xA4t \xE2\x84\x96"
        "7.cfg");  // UTF-8
    const EepromImage image = SampleImage();
    ASSERT_TRUE(WriteCfgFile(path, image).ok());
    const CfgReadResult read = ReadCfgFile(path);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(read.image, image);
    EXPECT_TRUE(fs::exists(PathFromUtf8(path)));
}

TEST(FileSafety, AByteOrderMarkBeforeTheCsvHeaderIsAccepted) {
    const CfgReadResult read = ReadCfgFile(std::string(TALVERON_SAMPLES) + "/vk-a2-16ch.cfg");
    ASSERT_TRUE(read.ok());
    const Document base = OpenDocument(read.image, read.modelCode, "base.cfg");
    const CsvImportResult imported = ImportCsv("\xEF\xBB\xBF" + ExportCsv(base), base, "bom.csv");
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(imported.doc.lines, base.lines);
    // A mark anywhere else is no header.
    EXPECT_FALSE(ImportCsv("\n\xEF\xBB\xBF" + ExportCsv(base), base, "bom.csv").ok);
}

}  // namespace
}  // namespace talveron::test
