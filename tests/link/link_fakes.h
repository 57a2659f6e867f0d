// Test doubles for the radio link: a clock that moves only when the link waits or sleeps, a
// serial port with a small radio behind it (echo, "V", "I", "R", "W" over a memory), and the
// user-side services answering from a script and recording what they were asked and shown.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "link/radio_link.h"

namespace talveron::link::test {

class FakeClock final : public Clock {
  public:
    time_point Now() override { return now_; }
    void SleepFor(std::chrono::microseconds d) override { now_ += d; }
    void Advance(std::chrono::microseconds d) { now_ += d; }
    // Time passed since the clock was made.
    std::chrono::microseconds Elapsed() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(now_ - start_);
    }

  private:
    time_point start_ = time_point{} + std::chrono::hours(1000);
    time_point now_ = start_;
};

// A radio's side of the protocol over a memory, as small as a test needs: echo every byte,
// answer a frame once it is complete.
struct MiniRadio {
    std::vector<std::uint8_t> memory = std::vector<std::uint8_t>(144, 0);
    std::uint8_t vAnswer = 0x11;
    std::uint8_t identity = 0x0F;
    std::vector<std::uint8_t> frame;
    // Applied to every complete answer before it goes out (to cut, lengthen, corrupt).
    using Tamper = std::function<void(std::vector<std::uint8_t>& answer, int address)>;
    Tamper tamper;
    int framesR = 0;
    int framesW = 0;
    std::vector<int> writeAddresses;

    std::vector<std::uint8_t> Receive(const std::vector<std::uint8_t>& bytes);
};

// One fake machine with serial ports 1..8 and device paths. The radio sits on radioPort (a
// number, or a device path in radioDevice).
class FakePort final : public SerialPort {
  public:
    explicit FakePort(FakeClock& clock) : clock_(clock) {}

    std::set<int> openable{1};
    std::set<int> denied;  // numbers that fail for lack of permission
    int radioPort = 1;
    std::string radioDevice;
    MiniRadio radio;
    bool lostAfterWrite = false;  // the device vanishes once a frame has been written
    Bytes stray;                  // bytes the line brings ahead of the next reply, once
    // Bytes the radio sends later than at once: delivered when the link waits.
    std::deque<std::pair<std::chrono::microseconds, std::vector<std::uint8_t>>> late;
    // When set, the line is paced: the bytes the radio sends come in one per pace after the
    // write, and a wait wakes for each (a port that cannot wait for a count).
    std::chrono::microseconds pace{0};

    std::vector<std::string> opened;  // every successful open, by name
    std::vector<std::pair<std::chrono::microseconds, std::vector<std::uint8_t>>> writes;
    int waitingLooks = 0;
    int waits = 0;

    void SelectPort(int number) override {
        number_ = number;
        device_.clear();
    }
    void SelectDevice(const std::string& path) override {
        device_ = path;
        number_ = 0;
    }
    OpenResult Open() override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void SetInputMode(InputMode) override {}
    void ClearReceiveBuffer() override {
        TakeArrived();
        rx_.clear();
    }
    std::size_t BytesWaiting() override {
        ++waitingLooks;
        TakeArrived();
        return rx_.size();
    }
    bool Write(std::span<const std::uint8_t> bytes) override;
    Bytes ReadAll() override {
        TakeArrived();
        Bytes out(rx_.begin(), rx_.end());
        rx_.clear();
        return out;
    }
    WaitResult WaitForBytes(std::chrono::microseconds timeout) override;

  private:
    bool OnRadio() const {
        return radioDevice.empty() ? (device_.empty() && number_ == radioPort)
                                   : device_ == radioDevice;
    }

    void TakeArrived();

    FakeClock& clock_;
    std::deque<std::pair<Clock::time_point, std::uint8_t>> onLine_;  // paced, not yet in
    int number_ = 0;
    std::string device_;
    bool open_ = false;
    std::deque<std::uint8_t> rx_;
};

// Answers questions from a script (then with the fallback) and keeps every question asked.
class ScriptedPrompt final : public UserPrompt {
  public:
    std::deque<Answer> script;
    Answer fallback = Answer::No;
    std::vector<Question> asked;

    Answer Ask(const Question& q) override {
        asked.push_back(q);
        if (script.empty()) return fallback;
        const Answer a = script.front();
        script.pop_front();
        return a;
    }
};

class RecordingStatus final : public StatusLine {
  public:
    std::string text;
    StatusColor color = StatusColor::Black;
    int fontSize = 0;

    void SetStatus(const std::string& t, StatusColor c) override {
        text = t;
        color = c;
    }
    void FitStatus(int size) override { fontSize = size; }
    std::string StatusText() const override { return text; }
};

class RecordingView final : public TransferView {
  public:
    int begins = 0;
    int ends = 0;
    int maximum = -1;
    std::vector<int> values;
    bool busy = false;
    int events = 0;

    void BeginTransfer() override { ++begins; }
    void EndTransfer() override { ++ends; }
    void PlaceProgress() override { values.clear(); }
    void SetProgressMaximum(int m) override { maximum = m; }
    void SetProgressValue(int v) override { values.push_back(v); }
    void SetBusy(bool b) override { busy = b; }
    void ProcessEvents() override { ++events; }
};

// The link over the fake port and clock with the scripted and recording user side.
struct Rig {
    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompt prompt;
    RecordingStatus status;
    RecordingView view;
    RadioLink link{port, prompt, status, view, clock, LinkState{}};
};

}  // namespace talveron::link::test
