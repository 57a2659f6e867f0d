#include "link/radio_command.h"

#include <algorithm>
#include <array>

namespace talveron::link {

namespace {

std::uint8_t CommandLetter(Command code) {
    switch (code) {
        case kCmdV:
            return kLetterV;
        case kCmdI:
        case kCmdIdentify:
            return kLetterI;
        case kCmdR:
            return kLetterR;
        case kCmdW:
            return kLetterW;
        default:
            return 0;
    }
}

}  // namespace

std::size_t ReplyLength(Command code) {
    return ReplyBytes(CommandLetter(code));
}

std::chrono::microseconds ReplyTimeout(Command code) {
    const std::size_t length = ReplyLength(code);
    if (length == 0) return std::chrono::microseconds{0};
    std::chrono::microseconds timeout{static_cast<long>(length - 1) * 20000};
    if (code == kCmdW) timeout += std::chrono::microseconds{10000};
    return timeout;
}

std::chrono::microseconds ReplyLineWait(std::size_t waiting, std::size_t length,
                                        std::chrono::microseconds left) {
    if (waiting >= length) return std::chrono::microseconds{0};
    const auto missing = static_cast<long long>(length - waiting);
    const std::chrono::microseconds lineTime{(missing * kLineBitsPerByte * 1'000'000 + kLineBaud - 1) /
                                             kLineBaud};
    return std::min(lineTime, std::max(left, std::chrono::microseconds{0}));
}

Bytes CommandData(Command code, const ConnectionState& state, const EepromImage& image) {
    switch (code) {
        case kCmdI:
        case kCmdIdentify:
            return {kIArgument};
        case kCmdR:
            return {state.addrHigh, state.addrLow};
        case kCmdW: {
            Bytes data{state.addrHigh, state.addrLow};
            const std::size_t address = static_cast<std::size_t>(state.Address());
            for (std::size_t i = 0; i < kBlockBytes; ++i) {
                data.push_back(address + i < image.size() ? image[address + i] : 0);
            }
            return data;
        }
        default:
            return {};
    }
}

void RadioCommand(RadioLink& link, Command code, const EepromImage& image) {
    LinkState& state = link.state;
    state.replyOk = false;
    const std::size_t length = ReplyLength(code);
    if (length == 0) return;
    const Bytes data = CommandData(code, state, image);

    SerialPort& port = link.port;
    if (!port.IsOpen()) return;
    port.SetInputMode(InputMode::Bytes);
    port.ClearReceiveBuffer();
    const std::array<std::uint8_t, 1> letter{CommandLetter(code)};
    port.Write(letter);
    WaitSeconds(link, 0.002f);
    if (length > 2) port.Write(data);

    // Success only when exactly the reply length is buffered before the timeout. Between
    // looks the poll sleeps, never longer than the time that is left, and processes no
    // events. The line brings a byte every millisecond or so: rather than wake for every
    // byte, the poll first sleeps until the bytes still missing can have come (the letter's
    // echo and the frame's bytes are on the line by now). After that sleep, or when nothing
    // more has come since the last look, it sleeps on the port, which wakes it at the next
    // byte, so the last byte of a reply is taken the moment it is in.
    const Clock::time_point deadline = link.clock.Now() + ReplyTimeout(code);
    std::size_t seen = 0;
    bool first = true;
    bool napped = false;
    for (;;) {
        const std::size_t waiting = port.BytesWaiting();
        if (waiting == length) break;
        const Clock::time_point now = link.clock.Now();
        if (now >= deadline) return;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - now);
        const bool news = first || waiting > seen;
        first = false;
        seen = waiting;
        const auto nap =
            news && !napped ? ReplyLineWait(waiting, length, left) : std::chrono::microseconds{0};
        napped = nap.count() > 0;
        if (napped) {
            link.clock.SleepFor(nap);
        } else if (port.WaitForBytes(left) == WaitResult::PortLost) {
            return;
        }
    }

    // The reply starts with the echo of the frame; one that differs means the line lost or
    // gained a byte (a stray byte ahead of a reply one byte short has the right length), so
    // its answer would be shifted. Such an exchange fails like a timeout, reply unchanged.
    Bytes reply = port.ReadAll();
    Bytes frame{letter[0]};
    if (length > 2) frame.insert(frame.end(), data.begin(), data.end());
    if (reply.size() < frame.size() || !std::equal(frame.begin(), frame.end(), reply.begin())) {
        return;
    }
    state.reply = std::move(reply);
    if (code == kCmdV) {
        state.replyOk = state.reply.size() > 1 && state.reply[1] == kVAnswer;
    } else {
        state.replyOk = true;
    }
}

void WaitSeconds(RadioLink& link, float seconds) {
    // Events are handled at least every 10 ms; in between the program sleeps instead of
    // spinning, so a pause costs no processor time.
    constexpr std::chrono::microseconds kSlice{10000};
    const Clock::time_point deadline =
        link.clock.Now() +
        std::chrono::microseconds{static_cast<long>(static_cast<double>(seconds) * 1e6)};
    for (;;) {
        link.view.ProcessEvents();
        const Clock::time_point now = link.clock.Now();
        if (now >= deadline) return;
        auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - now);
        link.clock.SleepFor(left < kSlice ? left : kSlice);
    }
}

}  // namespace talveron::link
