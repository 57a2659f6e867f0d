// The frequency box editor of the channel dialog under any keys, caret moves and clicks: the
// box always holds "NONE" or ten characters (three digits, the point, six digits) with the
// caret inside it, in a channel's dialog and in the start box of Auto Frequency.
#include <cstdint>

#include "fuzz_check.h"
#include "image/freq_box.h"

using namespace talveron;

namespace {

bool Wellformed(const TextBox& box) {
    bool digits = box.text.size() == 10 && box.text[3] == '.';
    for (std::size_t i = 0; digits && i < 10; ++i) digits = i == 3 || IsDigit(box.text[i]);
    return box.caret >= 0 && box.caret <= static_cast<int>(box.text.size()) &&
           (box.text == "NONE" || digits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte: the dialog and box, and what the box was opened with.
    const bool autoFreq = data[0] & 1;
    const int index = autoFreq ? 0 : (data[0] >> 1) & 1;
    const DialogMode mode = autoFreq ? DialogMode::AutoFreq : DialogMode::Channel;
    TextBox box{(data[0] & 4) && !autoFreq ? "NONE" : "145.012500", 0};
    for (std::size_t i = 1; i < size; ++i) {
        const std::uint8_t b = data[i];
        if (b >= 0xF0) {
            box.caret = (b - 0xF0) % (static_cast<int>(box.text.size()) + 1);  // a caret key
        } else if (b >= 0xE0) {
            box.caret =
                FreqClickCaret(mode, index, (b - 0xE0) % (static_cast<int>(box.text.size()) + 1));
        } else {
            const char key = b == 0x7F ? kKeyDelete : static_cast<char>(b);
            box = FreqKey(mode, index, box, key, 1 + b % 9).box;
        }
        FUZZ_CHECK(Wellformed(box));
    }
    return 0;
}
