// One radio as the radio commands of talveron-cli work with it: the serial port, the link and
// the services the link asks of its user, answered from the command's flags. A session lives
// in one thread: the commands that serve several radios give each its own session in its own
// worker thread.
#pragma once

#include <QCoreApplication>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/args.h"
#include "link/radio_link.h"
#include "link/transfer.h"

namespace talveron::platform {
class QtSerialPort;
}
namespace talveron::link {
class TracePort;
}

namespace talveron::cli {

// The Qt application the serial ports need, made once per command in the main thread.
class QtApp {
  public:
    QtApp();
    ~QtApp();

  private:
    std::unique_ptr<QCoreApplication> app_;
};

struct RadioOptions {
    std::vector<link::PortChoice> ports;  // in the order named, each port once
    bool allPorts = false;                // --all-ports: every numbered port a radio answers on
    int retries = 0;
    bool force = false;
    bool quiet = false;
    bool trace = false;  // --trace: every byte sent and received, on err
};

// Reads --port (repeatable), --ports LIST (separated by ","), --all-ports, --retries, --force,
// --quiet and --trace; an empty text when they are sound. several: more than one port may be named.
std::string ReadRadioOptions(const Args& args, RadioOptions& options, bool several);

// The link's status line as text.
class TextStatus final : public link::StatusLine {
  public:
    void SetStatus(const std::string& text, StatusColor color) override;
    void FitStatus(int) override {}
    std::string StatusText() const override { return text_; }

  private:
    std::string text_;
};

// Answers the link's questions from the command's flags: "Try Again ?" with Yes up to retries
// times (each told on err unless quiet), the band warning with Yes only when forced.
class FlagPrompt final : public link::UserPrompt {
  public:
    FlagPrompt(int retries, bool force, bool quiet, std::ostream& err)
        : retriesLeft_(retries), force_(force), quiet_(quiet), err_(err) {}
    link::Answer Ask(const link::Question& q) override;

  private:
    int retriesLeft_;
    bool force_;
    bool quiet_;
    std::ostream& err_;
};

// A progress bar on stderr when it is a terminal (one radio).
class ProgressView final : public link::TransferView {
  public:
    explicit ProgressView(bool show) : show_(show) {}
    ~ProgressView() override { Finish(); }

    void BeginTransfer() override {}
    void EndTransfer() override { Finish(); }
    void PlaceProgress() override { value_ = 0; }
    void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
    void SetProgressValue(int value) override;
    void SetBusy(bool) override {}
    // The command-line tool has no windows to keep alive between frames.
    void ProcessEvents() override {}

  private:
    void Finish();

    bool show_;
    int maximum_ = 0;
    int value_ = 0;
    bool drawn_ = false;
};

// True when err is the process's stderr and that is a terminal.
bool ErrIsTerminal(const std::ostream& err);

// The port, the link and its services for one radio. Made, used and destroyed in one thread.
class RadioSession {
  public:
    RadioSession(const link::PortChoice& port, const RadioOptions& options,
                 std::unique_ptr<link::TransferView> view, std::ostream& err);
    ~RadioSession();

    link::RadioLink& Link() { return *link_; }
    const TextStatus& Status() const { return status_; }
    // The model the radio reported ("VK-A1"), or an empty text when none answered.
    std::string ModelName() const;

    // Why no radio was found: the status line and what the port's open said.
    void ReportNotFound();
    // Prints a failed transfer's outcome and gives its exit status.
    int ReportFailure(const link::TransferOutcome& outcome);

  private:
    FlagPrompt prompt_;
    TextStatus status_;
    std::unique_ptr<link::TransferView> view_;
    link::SteadyClock clock_;
    std::unique_ptr<platform::QtSerialPort> port_;
    std::unique_ptr<link::TracePort> trace_;  // with --trace, between the link and the port
    std::unique_ptr<link::RadioLink> link_;
    std::ostream& err_;
};

}  // namespace talveron::cli
