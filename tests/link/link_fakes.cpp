#include "link_fakes.h"

#include <algorithm>

namespace talveron::link::test {

std::vector<std::uint8_t> MiniRadio::Receive(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> out;
    for (std::uint8_t b : bytes) {
        out.push_back(b);  // the echo
        frame.push_back(b);
        const std::uint8_t letter = frame.front();
        const std::size_t need = letter == 'V'   ? 1
                                 : letter == 'I' ? 2
                                 : letter == 'R' ? 3
                                 : letter == 'W' ? 7
                                                 : 1;
        if (frame.size() < need) continue;
        std::vector<std::uint8_t> answer;
        int address = -1;
        if (letter == 'V') answer = {vAnswer};
        if (letter == 'I') answer = {identity};
        if (letter == 'R' || letter == 'W') {
            address = frame[1] * 256 + frame[2];
            if (letter == 'W') {
                ++framesW;
                writeAddresses.push_back(address);
                for (int i = 0; i < 4; ++i) {
                    if (address + i < static_cast<int>(memory.size()))
                        memory[address + i] = frame[3 + i];
                }
            } else {
                ++framesR;
            }
            for (int i = 0; i < 4; ++i) {
                answer.push_back(address + i < static_cast<int>(memory.size()) ? memory[address + i]
                                                                               : 0xFF);
            }
        }
        if (tamper) tamper(answer, address);
        out.insert(out.end(), answer.begin(), answer.end());
        frame.clear();
    }
    return out;
}

OpenResult FakePort::Open() {
    OpenResult r;
    r.device = device_.empty() ? "COM" + std::to_string(number_) : device_;
    if (!device_.empty()) {
        if (device_ != radioDevice) {
            r.failure = OpenFailure::NotFound;
            return r;
        }
    } else if (denied.count(number_)) {
        r.failure = OpenFailure::Permission;
        r.message = r.device + ": permission denied (join the group dialout that owns it)";
        return r;
    } else if (!openable.count(number_)) {
        r.failure = OpenFailure::NotFound;
        return r;
    }
    open_ = true;
    opened.push_back(r.device);
    return r;
}

bool FakePort::Write(std::span<const std::uint8_t> bytes) {
    if (!open_) return false;
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    writes.emplace_back(clock_.Elapsed(), data);
    if (OnRadio()) {
        rx_.insert(rx_.end(), stray.begin(), stray.end());
        stray.clear();
        for (std::uint8_t b : radio.Receive(data)) {
            if (pace.count() == 0) {
                rx_.push_back(b);
                continue;
            }
            const auto after = onLine_.empty() ? clock_.Now() : onLine_.back().first;
            onLine_.emplace_back(std::max(after, clock_.Now()) + pace, b);
        }
    }
    return true;
}

void FakePort::TakeArrived() {
    for (; !onLine_.empty() && onLine_.front().first <= clock_.Now(); onLine_.pop_front())
        rx_.push_back(onLine_.front().second);
}

WaitResult FakePort::WaitForBytes(std::chrono::microseconds timeout) {
    ++waits;
    if (!open_) return WaitResult::PortLost;
    if (lostAfterWrite) {
        open_ = false;
        return WaitResult::PortLost;
    }
    if (!late.empty() && late.front().first <= timeout) {
        clock_.Advance(late.front().first);
        for (std::uint8_t b : late.front().second) rx_.push_back(b);
        late.pop_front();
        return WaitResult::MoreBytes;
    }
    if (!onLine_.empty() && onLine_.front().first - clock_.Now() <= timeout) {
        clock_.Advance(std::chrono::duration_cast<std::chrono::microseconds>(std::max(
            onLine_.front().first - clock_.Now(), std::chrono::steady_clock::duration::zero())));
        TakeArrived();
        return WaitResult::MoreBytes;
    }
    clock_.Advance(timeout);
    return WaitResult::TimedOut;
}

}  // namespace talveron::link::test
