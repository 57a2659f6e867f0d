#include "vradio/serve.h"

#include <poll.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "vradio/line_pacer.h"

namespace talveron::vradio {

namespace {

using Clock = LinePacer::Clock;

// The radio stops listening while this much of its output waits for a reader, as a real
// radio's receiver would be flow-controlled by its own transmit buffer.
constexpr std::size_t kOutputLimit = 4096;

// Bytes waiting to be sent, oldest first.
class OutQueue {
  public:
    Bytes& Tail() { return bytes_; }
    bool Empty() const { return head_ == bytes_.size(); }
    std::size_t Size() const { return bytes_.size() - head_; }
    const std::uint8_t* Data() const { return bytes_.data() + head_; }
    void Drop(std::size_t n) {
        head_ += n;
        if (head_ == bytes_.size()) {
            bytes_.clear();
            head_ = 0;
        } else if (head_ > kOutputLimit) {
            bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
            head_ = 0;
        }
    }
    void Clear() {
        bytes_.clear();
        head_ = 0;
    }

  private:
    Bytes bytes_;
    std::size_t head_ = 0;
};

timespec ToTimespec(Clock::duration d) {
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
    LinePacer pacer(baud);
#ifdef __linux__
    // A byte at 9600 baud takes about a millisecond; the kernel's default timer slack of
    // 50 us per wake-up would stretch a paced reply noticeably.
    if (pacer.Paced()) prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
    OutQueue out;
    bool writeBlocked = false;
    Clock::time_point lastReceived = Clock::now();

    while (!stop) {
        if (radio.Dead()) {
            // The line goes dead: no answer, nothing more sent, the port hangs up.
            out.Clear();
            pty.Close();
            while (!stop) sigsuspend(&waitMask);
            return true;
        }

        // Send what the line lets go now.
        Clock::time_point now = Clock::now();
        while (!out.Empty() && !writeBlocked && pacer.MaySend(now)) {
            const std::size_t chunk = pacer.Paced() ? 1 : out.Size();
            const ssize_t n = ::write(pty.Master(), out.Data(), chunk);
            if (n < 0) {
                if (errno == EINTR) continue;
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    writeBlocked = true;
                    break;
                }
                error = Failure("write");
                return false;
            }
            out.Drop(static_cast<std::size_t>(n));
            now = Clock::now();
            pacer.Sent(now);
        }

        // Wait for input, for room to write, for the next byte's turn, or for a stop signal.
        pollfd pfd{};
        pfd.fd = pty.Master();
        if (out.Size() < kOutputLimit) pfd.events |= POLLIN;
        if (writeBlocked) pfd.events |= POLLOUT;
        Clock::time_point deadline = Clock::time_point::max();
        if (!out.Empty() && !writeBlocked) deadline = pacer.NextDue();
        if (radio.FrameInProgress()) {
            deadline = std::min(deadline, lastReceived + std::chrono::milliseconds(kFrameGapMs));
        }
        timespec timeout{};
        const bool timed = deadline != Clock::time_point::max();
        if (timed) timeout = ToTimespec(deadline - Clock::now());
        const int ready = ppoll(&pfd, 1, timed ? &timeout : nullptr, &waitMask);
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
            if (n > 0) {
                // A half-received frame that went quiet is over before the new bytes count,
                // however late this wake-up came.
                const Clock::time_point arrived = Clock::now();
                if (radio.FrameInProgress() &&
                    arrived - lastReceived >= std::chrono::milliseconds(kFrameGapMs)) {
                    radio.AbandonFrame();
                }
                lastReceived = arrived;
                for (ssize_t i = 0; i < n && !radio.Dead(); ++i)
                    radio.Receive(buffer[i], out.Tail());
            }
        } else if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            // The slave is held open here, so the line cannot hang up while the radio lives.
            error = "the pseudo-terminal failed";
            return false;
        }

        if (radio.FrameInProgress() &&
            Clock::now() - lastReceived >= std::chrono::milliseconds(kFrameGapMs)) {
            radio.AbandonFrame();
        }
    }
    return true;
}

}  // namespace talveron::vradio
