// Channels as CSV: the export texts, and the import with its refusals naming line and column.
#include <gtest/gtest.h>

#include <sstream>

#include "image/cfg_file.h"
#include "image/channel_csv.h"
#include "image/channel_line.h"
#include "image_generator.h"
#include "test_support.h"

namespace talveron {
namespace {

Document Sample(const char* name) {
    const CfgReadResult r = ReadCfgFile(std::string(TALVERON_SAMPLES) + "/" + name);
    EXPECT_TRUE(r.ok()) << r.message;
    return OpenDocument(r.image, r.modelCode, name);
}

std::vector<std::string> Rows(const std::string& csv) {
    std::vector<std::string> rows;
    std::istringstream in(csv);
    for (std::string row; std::getline(in, row);) rows.push_back(row);
    return rows;
}

TEST(ChannelCsv, ExportShowsEveryChannelOfTheSample) {
    const std::string csv = ExportCsv(Sample("vk-a1-16ch.cfg"));
    ASSERT_EQ(csv.back(), '\n');
    const auto rows = Rows(csv);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[0], "Channel,RxFreq,RxTone,TxFreq,TxTone,Spacing,Power,BCLO,Scan,Penalty");
    // Channel 1: d6 = rx, tx, scan, high power, 12.5 kHz; CTCSS 67.0 both ways.
    EXPECT_EQ(rows[1], "1,145.012500,67.0,145.012500,67.0,12.5,H,OFF,ON,OFF");
    // Channel 4: ca = rx, tx, BCLO, 12.5 kHz, low power; CDCSS 023.
    EXPECT_EQ(rows[4], "4,148.025000,D023,148.025000,D023,12.5,L,ON,OFF,OFF");
    // Channel 5: f6 has PENALTY; receive without tone, transmit D754.
    EXPECT_EQ(rows[5], "5,150.005000,,150.006250,D754,12.5,H,OFF,ON,ON");
    // Channel 7: receive only.
    EXPECT_EQ(rows[7], "7,152.487500,,,,12.5,L,OFF,ON,OFF");
    EXPECT_EQ(rows[16], "16,,,,,25.0,L,OFF,OFF,OFF");
}

TEST(ChannelCsv, ImportOfTheExportGivesTheSameLinesAndOptions) {
    test::ImageGenerator gen(99);
    std::vector<Document> docs = {Sample("vk-a1-16ch.cfg"), Sample("vk-a2-16ch.cfg")};
    for (int i = 0; i < 6; ++i) {
        auto g = gen.Make(i % 2 ? 99 : 16, static_cast<std::uint8_t>(gen.Uniform(0, 255)),
                          gen.Uniform(0, 1) ? 64 : 128);
        docs.push_back(OpenDocument(g.image, g.modelCode, "GEN"));
    }
    for (const Document& doc : docs) {
        const CsvImportResult r = ImportCsv(ExportCsv(doc), doc, "x.csv");
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.doc.lines, doc.lines);
        EXPECT_EQ(r.doc.state.head, doc.state.head);
        EXPECT_EQ(r.doc.state.model, doc.state.model);
        for (int k = 0; k < doc.BlockCount(); ++k) {
            if (!LineInUse(doc.lines[k])) continue;
            // Bit 0 is no option the CSV carries; everything else survives.
            EXPECT_EQ(r.doc.state.chOpt[k], doc.state.chOpt[k] & 0xFE) << k + 1;
        }
        EXPECT_TRUE(r.doc.state.changed);
    }
}

TEST(ChannelCsv, ChannelsWithoutARowBecomeEmpty) {
    const Document base = Sample("vk-a1-16ch.cfg");
    const std::string csv = std::string(kCsvHeader) +
                            "\r\n\r\n3,446.006250,D754,,,25.0,h,on,off,On\r\n"
                            "1,145.000000,71.9,146.000000,#200,12.5,L,OFF,OFF,OFF\r\n";
    const CsvImportResult r = ImportCsv(csv, base, "x.csv");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.doc.BlockCount(), 16);
    EXPECT_EQ(r.doc.lines[0], "1   145.000000  002=  71.9   146.000000  200=  ???    ");
    EXPECT_EQ(r.doc.lines[1], "2   NONE        000=  None   NONE        000=  None   ");
    EXPECT_EQ(r.doc.lines[2], "3   446.006250  154=  754    NONE        000=  None   ");
    EXPECT_EQ(r.doc.state.chOpt[0], 0xC2);
    EXPECT_EQ(r.doc.state.chOpt[1], 0x00);
    EXPECT_EQ(r.doc.state.chOpt[2], 0xAC);
    for (int k = 3; k < 16; ++k) EXPECT_FALSE(LineInUse(r.doc.lines[k])) << k;
    // The base document is not changed.
    EXPECT_EQ(base.lines[1].substr(4, 10), "146.520000");
}

TEST(ChannelCsv, EveryFrequencyTextALineShowsReadsBack) {
    // Below 100 MHz a line pads to seven or eight decimals; a receive frequency below the
    // IF offset (here +45.0 MHz) is negative.
    EepromImage image(MemorySize(3) + 1, 0);
    image[kAddrIfIndex] = 0x05;
    image[kAddrRefDiv625] = 0x80;
    const std::uint8_t records[3][8] = {
        {0xC0, 1, 2, 0x0D, 0x0D, 0x0B, 0x50, 0x00},
        {0xC0, 0, 0, 0x00, 0x1F, 0x00, 0x00, 0x00},
        {0x80, 0, 0, 0x00, 0x00, 0x00, 0x00, 0x00},
    };
    for (int k = 0; k < 3; ++k) std::copy(records[k], records[k] + 8, image.begin() + 16 + 8 * k);
    const Document doc = OpenDocument(image, 0, "LOW");
    ASSERT_EQ(doc.lines[0], "1   -3.0750000  001=  67.0   36.4000000  002=  71.9   ");
    ASSERT_EQ(doc.lines[1], "2   -44.225000  000=  None   0.00000000  000=  None   ");
    ASSERT_EQ(doc.lines[2], "3   -45.000000  000=  None   NONE        000=  None   ");
    const std::string csv = ExportCsv(doc);
    const CsvImportResult r = ImportCsv(csv, doc, "low.csv");
    ASSERT_TRUE(r.ok) << r.error << "\n" << csv;
    EXPECT_EQ(r.doc.lines, doc.lines);
    EXPECT_EQ(BuildImage(r.doc), BuildImage(doc));
    // A seventh decimal that is not zero would be lost: refused.
    const std::string bad = std::string(kCsvHeader) + "\n1,28.3550001,,,,25.0,L,OFF,OFF,OFF\n";
    EXPECT_FALSE(ImportCsv(bad, doc, "low.csv").ok);
}

TEST(ChannelCsv, MalformedRowsAreRefusedNamingLineAndColumn) {
    const Document base = Sample("vk-a1-16ch.cfg");
    const std::string good = "1,145.000000,67.0,145.000000,67.0,12.5,H,OFF,OFF,OFF\n";
    for (const auto& c : test::LoadCases("core/csv_bad_rows.txt")) {
        const CsvImportResult r =
            ImportCsv(std::string(kCsvHeader) + "\n" + good + c[0] + "\n", base, "plan.csv");
        EXPECT_FALSE(r.ok) << c.where;
        EXPECT_EQ(r.error.rfind("plan.csv: " + c[1], 0), 0u) << c.where << " -> " << r.error;
    }
    const CsvImportResult noHeader = ImportCsv(good, base, "plan.csv");
    EXPECT_FALSE(noHeader.ok);
    EXPECT_EQ(noHeader.error.rfind("plan.csv: line 1", 0), 0u) << noHeader.error;
    EXPECT_FALSE(ImportCsv("", base, "plan.csv").ok);
}

}  // namespace
}  // namespace talveron
