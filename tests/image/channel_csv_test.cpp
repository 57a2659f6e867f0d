// Channels as CSV: the export texts, export then import over generated configurations, the
// import with its refusals naming line and column, and the spellings a spreadsheet saves.
#include <gtest/gtest.h>

#include <regex>
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

TEST(ChannelCsv, ExportShowsEveryChannelAndImportsBackToTheSameConfiguration) {
    const std::string csv = ExportCsv(Sample("vk-a1-16ch.cfg"));
    std::vector<std::string> rows;
    std::istringstream in(csv);
    for (std::string row; std::getline(in, row);) rows.push_back(row);
    ASSERT_EQ(csv.back(), '\n');
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

    // Over generated images (negative receive frequencies and texts padded below 100 MHz
    // among them) the import of the export gives the same lines, head, model and options.
    test::ImageGenerator gen(99);
    std::vector<Document> docs = {Sample("vk-a1-16ch.cfg"), Sample("vk-a2-16ch.cfg")};
    for (int i = 0; i < 8; ++i) {
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
            // Bit 0 is no option the CSV carries; everything else survives.
            if (!LineInUse(doc.lines[k])) continue;
            EXPECT_EQ(r.doc.state.chOpt[k], doc.state.chOpt[k] & 0xFE) << k + 1;
        }
        EXPECT_TRUE(r.doc.state.changed);
    }
}

TEST(ChannelCsv, ChannelsWithoutARowBecomeEmptyAndMalformedRowsAreRefused) {
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
    EXPECT_EQ(base.lines[1].substr(4, 10), "146.520000");  // the base is not changed

    const std::string good = "1,145.000000,67.0,145.000000,67.0,12.5,H,OFF,OFF,OFF\n";
    const std::string semicolons =
        std::regex_replace(std::string(kCsvHeader), std::regex(","), ";");
    for (const auto& c : test::LoadCases("core/csv_bad_rows.txt")) {
        const std::string head = c[0].find(';') == std::string::npos
                                     ? std::string(kCsvHeader) + "\n" + good
                                     : semicolons + "\n";
        const CsvImportResult bad = ImportCsv(head + c[0] + "\n", base, "plan.csv");
        EXPECT_FALSE(bad.ok) << c.where;
        EXPECT_EQ(bad.error.rfind("plan.csv: " + c[1], 0), 0u) << c.where << " -> " << bad.error;
    }
    const CsvImportResult noHeader = ImportCsv(good, base, "plan.csv");
    EXPECT_FALSE(noHeader.ok);
    EXPECT_EQ(noHeader.error.rfind("plan.csv: line 1", 0), 0u) << noHeader.error;
    EXPECT_FALSE(ImportCsv("", base, "plan.csv").ok);
    // A byte-order mark anywhere but before the header makes it no header.
    EXPECT_FALSE(ImportCsv("\n\xEF\xBB\xBF" + ExportCsv(base), base, "bom.csv").ok);
}

// What a spreadsheet saves for the export: numbers with the fewest decimals ("146.000000" ->
// "146", "25.0" -> "25"), a decimal comma where ";" separates, CDCSS codes retyped ("d23"),
// text cells quoted, CRLF line ends and a byte-order mark.
std::string AsSpreadsheet(std::string csv, char sep) {
    csv = std::regex_replace(csv, std::regex(R"((\.\d*?)0+\b)"), "$1");
    csv = std::regex_replace(csv, std::regex(R"(\.([,;\n]))"), "$1");
    csv = std::regex_replace(csv, std::regex("D0*"), "d");
    csv = std::regex_replace(csv, std::regex(R"(\b(H|L|ON|OFF|d\d+)\b)"), "\"$1\"");
    if (sep == ';') csv = std::regex_replace(csv, std::regex(R"((\d)\.(\d))"), "$1,$2");
    return "\xEF\xBB\xBF" + std::regex_replace(csv, std::regex("\n"), "\r\n");
}

TEST(ChannelCsv, WhatASpreadsheetSavesMeansWhatTheExportWrote) {
    // The table: each row of spreadsheet-saved.csv (";", quotes, spellings) means the same
    // row of spreadsheet-meant.csv, as the export writes it.
    const CsvImportResult r =
        ImportCsv(test::DataText("spreadsheet-saved.csv"), Sample("vk-a1-16ch.cfg"), "saved.csv");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(ExportCsv(r.doc), test::DataText("spreadsheet-meant.csv"));
    for (const char* name : {"vk-a1-16ch.cfg", "vk-a2-16ch.cfg"}) {
        for (const char sep : {',', ';'}) {
            const Document doc = Sample(name);
            const std::string saved = AsSpreadsheet(ExportCsv(doc, sep), sep);
            const CsvImportResult untouched = ImportCsv(ExportCsv(doc), doc, "a.csv");
            const CsvImportResult rewritten = ImportCsv(saved, doc, "b.csv");
            ASSERT_TRUE(untouched.ok && rewritten.ok) << rewritten.error << "\n" << saved;
            EXPECT_EQ(BuildImage(rewritten.doc), BuildImage(untouched.doc)) << saved;
        }
    }
}

}  // namespace
}  // namespace talveron
