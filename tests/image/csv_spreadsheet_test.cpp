// Channel CSV after a spreadsheet has saved it: fewer decimals, ";" and decimal commas,
// quotes, CRLF and a byte-order mark read as the values the export wrote.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "image/cfg_file.h"
#include "image/channel_csv.h"

namespace talveron {
namespace {

Document Sample(const std::string& name) {
    const CfgReadResult r = ReadCfgFile(std::string(TALVERON_SAMPLES) + "/" + name);
    EXPECT_TRUE(r.ok()) << r.message;
    return OpenDocument(r.image, r.modelCode, name);
}

std::string DataFile(const std::string& name) {
    std::ifstream in(std::string(TALVERON_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The table: each row of spreadsheet-saved.csv (";", quotes, spellings) means the same row of
// spreadsheet-meant.csv, as the export writes it.
TEST(CsvSpreadsheet, SavedSpellingsMeanTheExportedValues) {
    const CsvImportResult r =
        ImportCsv(DataFile("spreadsheet-saved.csv"), Sample("vk-a1-16ch.cfg"), "saved.csv");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(ExportCsv(r.doc), DataFile("spreadsheet-meant.csv"));
}

TEST(CsvSpreadsheet, UnknownToneAndOffRasterFrequencyAreRefused) {
    const std::pair<const char*, const char*> rows[] = {
        {"1;146;68;;;25;H;OFF;OFF;OFF", "line 2, column 3"},
        {"1;146;67,05;;;25;H;OFF;OFF;OFF", "line 2, column 3"},
        {"1;146,0025;67;;;25;H;OFF;OFF;OFF", "line 2, column 2"}};
    for (const auto& [row, where] : rows) {
        const std::string csv =
            "Channel;RxFreq;RxTone;TxFreq;TxTone;Spacing;Power;BCLO;Scan;Penalty\n" +
            std::string(row);
        const CsvImportResult r = ImportCsv(csv, Sample("vk-a1-16ch.cfg"), "plan.csv");
        EXPECT_EQ(r.error.rfind(std::string("plan.csv: ") + where, 0), 0u) << row << r.error;
    }
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

TEST(CsvSpreadsheet, ExportSavedByASpreadsheetImportsToTheSameConfiguration) {
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
