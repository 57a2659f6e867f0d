// The radio's command protocol: one request frame, one reply of fixed length that starts
// with the echo of everything sent. "V" asks whether a radio is there, "I" for its identity,
// "R" reads and "W" writes four bytes of its configuration memory.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "image/eeprom_image.h"
#include "link/protocol.h"
#include "link/radio_link.h"

namespace talveron::link {

// Command codes of RadioCommand.
enum Command : int {
    kCmdV = 1,
    kCmdI = 2,
    kCmdIdentify = 3,  // the same "I" exchange as code 2
    kCmdR = 4,
    kCmdW = 5,
};

// Bytes received for a command, echo included: 2, 3, 3, 7, 11 (0 for an unknown code).
std::size_t ReplyLength(Command code);

// (reply length - 1) x 20 ms, plus 10 ms for "W".
std::chrono::microseconds ReplyTimeout(Command code);

// The frame sent after the command letter (none for "V"): 0x07 for "I", the address for
// "R", the address and the four image bytes at it for "W" (bytes past the image's end as 0).
Bytes CommandData(Command code, const ConnectionState& state, const EepromImage& image);

// How long the reply poll sleeps after a look that found waiting of a reply's length bytes,
// with left of the timeout to go: the time the missing bytes take on the line at 9600 baud
// 8N1 (ten bits, 1.0417 ms, each), never past the timeout; zero when the reply is whole or
// too long.
std::chrono::microseconds ReplyLineWait(std::size_t waiting, std::size_t length,
                                        std::chrono::microseconds left);

// One exchange. Clears replyOk, sends the letter, pauses 2 ms, sends the rest, then waits on
// the port until exactly ReplyLength bytes are buffered or the timeout has passed. The reply
// must start with the echo of the frame sent. On success reply holds the bytes and replyOk is
// set (for "V" only when byte 1 is 0x11); on failure reply keeps its old contents. "W" takes
// its data from image.
void RadioCommand(RadioLink& link, Command code, const EepromImage& image = {});

// Waits that long while the platform keeps processing events.
void WaitSeconds(RadioLink& link, float seconds);

}  // namespace talveron::link
