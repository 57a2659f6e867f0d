// A .cfg file of any bytes: refused, or opened as a document whose image rebuilds and decodes
// again to the same channel lines (but for lines the range check shows in red: a side off
// the raster is stored as not in use), and whose saved records read back as the same image.
#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "image/cfg_file.h"
#include "image/document.h"
#include "image/range_check.h"

using namespace talveron;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxCfgFileSize) return 0;
    const CfgReadResult read = ParseCfgRecords({data, data + size}, "fuzz.cfg");
    if (!read.ok()) return 0;
    const Document doc = OpenDocument(read.image, read.modelCode, "fuzz.cfg");
    const EepromImage rebuilt = BuildImage(doc);
    FUZZ_CHECK(rebuilt.size() == read.image.size());
    const Document again = OpenDocument(rebuilt, read.modelCode, "fuzz.cfg");
    FUZZ_CHECK(again.lines.size() == doc.lines.size());
    bool same = true;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        if (again.lines[i] == doc.lines[i]) continue;
        same = false;
        FUZZ_CHECK(CheckRanges({doc.lines[i]}, doc.Limits()).Color() == StatusColor::Red);
    }
    // Once the lines are stable, so are the bytes (even the unread word bytes of empty sides).
    if (same) FUZZ_CHECK(BuildImage(again) == rebuilt);
    const std::string records = EncodeCfgRecords(rebuilt);
    const CfgReadResult back = ParseCfgRecords({records.begin(), records.end()}, "fuzz.cfg");
    FUZZ_CHECK(back.ok() && back.image == rebuilt);
    return 0;
}
