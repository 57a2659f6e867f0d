// The configuration memory a virtual radio starts with: a realistic configuration for its
// model when nothing is loaded, or a loaded image fitted to the radio's memory size.
#pragma once

#include <cstddef>

#include "image/eeprom_image.h"

namespace talveron::vradio {

// A plausible configuration for model 0 (140-175 MHz) or 1 (440-480 MHz): the head of such a
// radio (IF offset index in 0x0B, prescaler bit in 0x0C) and twelve channels in the model's
// band encoded with the real codecs, the other records empty. memorySize is 144 or 808.
EepromImage DefaultMemory(int modelCode, std::size_t memorySize);

// The memory of a radio of memorySize bytes holding image (without its model byte): cut to
// size, or filled up with 0xFF as an erased EEPROM reads.
EepromImage FitMemory(EepromImage image, std::size_t memorySize);

// Sets bit 1 of the byte at 0x0A for the large memory and clears it for the small one, as the
// radio's own firmware keeps it.
void MarkMemorySize(EepromImage& memory);

}  // namespace talveron::vradio
