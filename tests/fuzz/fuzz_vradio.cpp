// The virtual radio fed any bytes: its memory keeps its size, it only ever answers what a
// frame asks, and a byte never brings more than one full reply.
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "vradio/default_memory.h"
#include "vradio/virtual_radio.h"

using namespace talveron;
using namespace talveron::vradio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the radio: model, memory size and one fault.
    const int model = data[0] & 1;
    const std::size_t memorySize = (data[0] & 2) ? kLargeMemory : kSmallMemory;
    std::vector<Fault> faults;
    if (data[0] & 4) {
        Fault f;
        f.kind = static_cast<Fault::Kind>((data[0] >> 3) % 6);
        f.address = static_cast<std::uint16_t>(data[1] * 4);
        f.always = data[0] & 0x80;
        f.identity = data[1];
        faults.push_back(f);
    }
    VirtualRadio radio(model, DefaultMemory(model, memorySize), faults);
    Bytes out;
    for (std::size_t i = 2; i < size; ++i) {
        const std::size_t before = out.size();
        radio.Receive(data[i], out);
        // The echo and at most one reply of a "W" (its echo is the frame itself).
        FUZZ_CHECK(out.size() - before <= 1 + 4 + 1);
        FUZZ_CHECK(radio.Memory().size() == memorySize);
        if (i % 64 == 0) radio.AbandonFrame();
    }
    return 0;
}
