#include "vradio/serve.h"

#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>

#include "vradio/serial_line.h"

namespace talveron::vradio {

namespace {

using Clock = SerialLine::Clock;
using TimePoint = SerialLine::TimePoint;

// The radio stops taking bytes from the port while this many are on their way, as a real
// radio's receiver would be held up by its own transmitter.
constexpr std::size_t kBacklogLimit = 4096;

// A byte on the line and the moment it is whole at the far end.
struct TimedByte {
    std::uint8_t byte;
    TimePoint due;
};

timespec Until(TimePoint deadline) {
    auto d = deadline - Clock::now();
    if (d < Clock::duration::zero()) d = Clock::duration::zero();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    return ts;
}

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

bool Serve(VirtualRadio& radio, PtyPair& pty, unsigned baud, const volatile sig_atomic_t& stop,
           const sigset_t& waitMask, std::string& error) {
    SerialLine line(baud);
#ifdef __linux__
    // A byte at 9600 baud takes about a millisecond; the kernel's default timer slack of
    // 50 us per wake-up would be felt.
    if (line.Paced()) prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    const auto frameGap = std::chrono::milliseconds(kFrameGapMs);
    std::deque<TimedByte> toRadio;       // read from the port, not yet whole at the radio
    std::deque<TimedByte> toProgrammer;  // sent by the radio, not yet written to the port
    Bytes answer;
    bool writeBlocked = false;
    TimePoint lastReceived = Clock::now();

    while (!stop) {
        // Bytes that are whole at the radio go into it; its echo and answers go on the line.
        TimePoint now = Clock::now();
        while (!toRadio.empty() && toRadio.front().due <= now && !radio.Dead()) {
            const TimedByte in = toRadio.front();
            toRadio.pop_front();
            if (radio.FrameInProgress() && in.due - lastReceived >= frameGap) radio.AbandonFrame();
            lastReceived = in.due;
            answer.clear();
            radio.Receive(in.byte, answer);
            for (std::uint8_t b : answer) toProgrammer.push_back({b, line.Sent(in.due)});
        }
        if (radio.Dead()) {
            // The line goes dead: no answer, nothing more sent, the port hangs up.
            pty.Close();
            while (!stop) sigsuspend(&waitMask);
            return true;
        }
        if (radio.FrameInProgress() && now - lastReceived >= frameGap) radio.AbandonFrame();

        // Bytes that are whole at the programmer go to the port.
        std::uint8_t chunk[256];
        std::size_t count = 0;
        while (!writeBlocked && count < sizeof chunk && count < toProgrammer.size() &&
               toProgrammer[count].due <= now) {
            chunk[count] = toProgrammer[count].byte;
            ++count;
        }
        if (count > 0) {
            const ssize_t n = ::write(pty.Master(), chunk, count);
            if (n >= 0) {
                toProgrammer.erase(toProgrammer.begin(), toProgrammer.begin() + n);
            } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
                writeBlocked = true;
            } else if (errno != EINTR) {
                error = Failure("write");
                return false;
            }
            continue;  // more may be due by now
        }

        // Wait for bytes from the port, room to write, the next byte's moment, or a signal.
        pollfd pfd{};
        pfd.fd = pty.Master();
        if (toRadio.size() + toProgrammer.size() < kBacklogLimit) pfd.events |= POLLIN;
        if (writeBlocked) pfd.events |= POLLOUT;
        TimePoint deadline = TimePoint::max();
        if (!toRadio.empty()) deadline = toRadio.front().due;
        if (!toProgrammer.empty() && !writeBlocked) {
            deadline = std::min(deadline, toProgrammer.front().due);
        }
        if (radio.FrameInProgress()) deadline = std::min(deadline, lastReceived + frameGap);
        timespec timeout{};
        if (deadline != TimePoint::max()) timeout = Until(deadline);
        const int ready =
            ppoll(&pfd, 1, deadline != TimePoint::max() ? &timeout : nullptr, &waitMask);
        if (ready < 0) {
            if (errno == EINTR) continue;
            error = Failure("ppoll");
            return false;
        }
        if (pfd.revents & POLLOUT) writeBlocked = false;
        if (pfd.revents & POLLIN) {
            std::uint8_t buffer[256];
            const ssize_t n = ::read(pty.Master(), buffer, sizeof buffer);
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                error = Failure("read");
                return false;
            }
            const TimePoint written = Clock::now();
            for (ssize_t i = 0; i < n; ++i) toRadio.push_back({buffer[i], line.Received(written)});
        } else if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            // The slave is held open here, so the line cannot hang up while the radio lives.
            error = "the pseudo-terminal failed";
            return false;
        }
    }
    return true;
}

}  // namespace talveron::vradio
