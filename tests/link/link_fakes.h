// Test doubles for the radio link: a clock that moves only when the link waits or sleeps, a
// machine's serial ports 1..8 with the virtual radio behind one of them, and the user-side
// services answering from a script and recording what they were asked and shown.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "link/radio_link.h"
#include "vradio/fault.h"
#include "vradio/virtual_radio.h"

namespace talveron::link::test {

using std::chrono::microseconds;

class FakeClock final : public Clock {
  public:
    time_point Now() override { return now_; }
    void SleepFor(microseconds d) override { now_ += d; }
    // Time passed since the clock was made.
    microseconds Elapsed() const { return std::chrono::duration_cast<microseconds>(now_ - start_); }

  private:
    time_point start_ = time_point{} + std::chrono::hours(1000);
    time_point now_ = start_;
};

// A radio of this model over memory, with the faults of talveron-vradio's --fault texts.
inline vradio::VirtualRadio Radio(int model, EepromImage memory, const std::string& faults = "") {
    std::vector<vradio::Fault> parsed;
    std::istringstream texts(faults);
    for (std::string text, error; texts >> text;)
        parsed.push_back(*vradio::ParseFault(text, error));
    return vradio::VirtualRadio(model, std::move(memory), parsed);
}

class FakePort final : public SerialPort {
  public:
    explicit FakePort(FakeClock& clock) : clock_(clock) {}

    std::set<int> openable{1};
    std::set<int> denied;  // numbers that fail for lack of permission
    int radioPort = 1;
    vradio::VirtualRadio radio = Radio(0, EepromImage(144, 0));
    std::function<void(Bytes&)> tamper;  // applied to the radio's bytes after each write
    bool lostAfterWrite = false;         // the device vanishes once a frame has been written
    Bytes stray;                         // bytes the line brings ahead of the next reply, once
    // The radio's bytes come in one per pace after the write, and a wait wakes for each (a
    // port that cannot wait for a count); at once when zero.
    microseconds pace{0};

    std::vector<std::string> opened;  // every successful open, by name
    std::vector<std::pair<microseconds, Bytes>> writes;
    int waitingLooks = 0;
    int waits = 0;

    // The addresses of the frames of this letter written, in order.
    std::vector<int> Frames(std::uint8_t letter) const {
        std::vector<int> at;
        for (std::size_t i = 0; i + 1 < writes.size(); ++i) {
            if (writes[i].second == Bytes{letter} && writes[i + 1].second.size() >= 2)
                at.push_back(writes[i + 1].second[0] * 256 + writes[i + 1].second[1]);
        }
        return at;
    }

    void SelectPort(int number) override { number_ = number; }
    void SelectDevice(const std::string&) override { number_ = 0; }
    OpenResult Open() override {
        OpenResult r;
        r.device = "COM" + std::to_string(number_);
        r.failure = denied.count(number_)      ? OpenFailure::Permission
                    : !openable.count(number_) ? OpenFailure::NotFound
                                               : OpenFailure::None;
        if (denied.count(number_))
            r.message = r.device + ": permission denied (join the group dialout that owns it)";
        if (r.ok()) opened.push_back(r.device);
        open_ = open_ || r.ok();
        return r;
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void SetInputMode(InputMode) override {}
    void ClearReceiveBuffer() override { ReadAll(); }
    std::size_t BytesWaiting() override {
        ++waitingLooks;
        TakeArrived();
        return rx_.size();
    }
    bool Write(std::span<const std::uint8_t> bytes) override {
        if (!open_) return false;
        writes.emplace_back(clock_.Elapsed(), Bytes(bytes.begin(), bytes.end()));
        if (number_ != radioPort) return true;
        Bytes answer = radio.Receive(bytes);
        if (tamper) tamper(answer);
        answer.insert(answer.begin(), stray.begin(), stray.end());
        stray.clear();
        for (std::uint8_t b : answer) {
            const auto after = onLine_.empty() ? clock_.Now() : onLine_.back().first;
            onLine_.emplace_back(std::max(after, clock_.Now()) + pace, b);
        }
        return true;
    }
    Bytes ReadAll() override {
        TakeArrived();
        return std::exchange(rx_, {});
    }
    WaitResult WaitForBytes(microseconds timeout) override {
        ++waits;
        if (lostAfterWrite) open_ = false;
        if (!open_) return WaitResult::PortLost;
        if (!onLine_.empty() && onLine_.front().first - clock_.Now() <= timeout) {
            clock_.SleepFor(std::chrono::duration_cast<microseconds>(
                std::max(onLine_.front().first - clock_.Now(),
                         std::chrono::steady_clock::duration::zero())));
            return WaitResult::MoreBytes;
        }
        clock_.SleepFor(timeout);
        return WaitResult::TimedOut;
    }

  private:
    void TakeArrived() {
        for (; !onLine_.empty() && onLine_.front().first <= clock_.Now(); onLine_.pop_front())
            rx_.push_back(onLine_.front().second);
    }

    FakeClock& clock_;
    std::deque<std::pair<Clock::time_point, std::uint8_t>> onLine_;  // paced, not yet in
    int number_ = 0;
    bool open_ = false;
    Bytes rx_;
};

// The user's side: answers questions from a script (then with the fallback) and keeps every
// question asked, the status line and what the transfer showed.
class Recorder final : public UserPrompt, public StatusLine, public TransferView {
  public:
    std::deque<Answer> script;
    Answer fallback = Answer::No;
    std::vector<Question> asked;
    std::function<void()> onAsk;  // runs before each answer
    std::string text;             // the status line
    StatusColor color = StatusColor::Black;
    int fontSize = 0, begins = 0, ends = 0, maximum = -1, events = 0;
    std::vector<int> values;  // of the progress bar since it was placed
    bool busy = false;

    Answer Ask(const Question& q) override {
        asked.push_back(q);
        if (onAsk) onAsk();
        if (script.empty()) return fallback;
        const Answer a = script.front();
        script.pop_front();
        return a;
    }
    void SetStatus(const std::string& t, StatusColor c) override { text = t, color = c; }
    void FitStatus(int size) override { fontSize = size; }
    std::string StatusText() const override { return text; }
    void BeginTransfer() override { ++begins; }
    void EndTransfer() override { ++ends; }
    void PlaceProgress() override { values.clear(); }
    void SetProgressMaximum(int m) override { maximum = m; }
    void SetProgressValue(int v) override { values.push_back(v); }
    void SetBusy(bool b) override { busy = b; }
    void ProcessEvents() override { ++events; }
};

// The link over the fake port and clock with the recording user side.
struct Rig {
    FakeClock clock;
    FakePort port{clock};
    Recorder ui;
    RadioLink link{port, ui, ui, ui, clock, LinkState{}};
};

}  // namespace talveron::link::test
