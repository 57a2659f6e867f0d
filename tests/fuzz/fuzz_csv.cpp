// A channel list in CSV of any text: refused, or imported into a configuration whose export
// imports again to the same channels.
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "image/channel_csv.h"
#include "image/document.h"

using namespace talveron;

namespace {

// A 16-channel VK-A1 base: IF +45.0 MHz, prescaler 64, every channel empty.
Document Base() {
    EepromImage image(kHeadSize + kRecordSize * kSmallChannels + 1, 0);
    image[kAddrIfIndex] = 5;
    image[kAddrRefDiv625] = 0x80;
    return OpenDocument(image, 0, "base.cfg");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Document base = Base();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CsvImportResult imported = ImportCsv(text, base, "fuzz.csv");
    if (!imported.ok) return 0;
    const CsvImportResult again = ImportCsv(ExportCsv(imported.doc), base, "fuzz.csv");
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.doc.lines == imported.doc.lines);
    FUZZ_CHECK(BuildImage(again.doc) == BuildImage(imported.doc));
    return 0;
}
