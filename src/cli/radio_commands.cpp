#include "cli/radio_commands.h"

#include <QCoreApplication>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/file_commands.h"
#include "image/cfg_file.h"
#include "link/port_detect.h"
#include "link/radio_link.h"
#include "link/transfer.h"
#include "platform/serial_port_qt.h"

#ifdef _WIN32
#include <io.h>
#define TALVERON_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define TALVERON_ISATTY(fd) ::isatty(fd)
#endif

namespace talveron::cli {

namespace {

using namespace talveron::link;

constexpr const char* kIdentifyUsage =
    "usage: talveron-cli identify --port PORT\n"
    "  Looks for the radio on PORT (a number 1..8 or a device path such as /dev/ttyUSB0)\n"
    "  and prints what the status line shows (\"VK-A1   detected\") and the size of its\n"
    "  memory. Exit 0 when a radio answered, 1 when none did.\n";

constexpr const char* kReadUsage =
    "usage: talveron-cli read --port PORT -o OUT.cfg [--retries N] [--quiet]\n"
    "  Reads the radio's memory into OUT.cfg (435 or 2427 bytes). A failed read creates\n"
    "  no file and leaves an existing OUT.cfg untouched. --retries N tries again up to N\n"
    "  times after a failure. Exit 0 on success, 1 when the radio is not found or the\n"
    "  read fails.\n";

constexpr const char* kWriteUsage =
    "usage: talveron-cli write --port PORT FILE.cfg [--force] [--retries N] [--quiet]\n"
    "  Writes FILE.cfg into the radio, checking every block by its read-back (one retry\n"
    "  per pass). A file for another model, or one with a channel out of band or raster,\n"
    "  is refused with exit 3 unless --force. Exit 0 on success, 1 when the radio is not\n"
    "  found or the write fails, 2 for a file that cannot be opened.\n";

constexpr const char* kVerifyUsage =
    "usage: talveron-cli verify --port PORT FILE.cfg [--quiet]\n"
    "  Reads the radio and compares it with what write would send for FILE.cfg; prints\n"
    "  each differing address with the file's and the radio's byte. Exit 0 when equal,\n"
    "  1 when they differ or the radio cannot be read, 2 for a file that cannot be opened.\n";

constexpr const char* kCliTitle = "talveron-cli";

bool EndsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Answers the link's questions from the command's flags.
class FlagPrompt final : public UserPrompt {
  public:
    FlagPrompt(int retries, bool force, bool quiet, std::ostream& err)
        : retriesLeft_(retries), force_(force), quiet_(quiet), err_(err) {}

    Answer Ask(const Question& q) override {
        if (EndsWith(q.text, kTryAgain)) {
            if (retriesLeft_ <= 0) return Answer::No;
            --retriesLeft_;
            if (!quiet_) {
                err_ << "\n"
                     << q.text.substr(0, q.text.size() - kTryAgain.size()) << "  (trying again)\n";
            }
            return Answer::Yes;
        }
        if (EndsWith(q.text, kContinueText)) return force_ ? Answer::Yes : Answer::No;
        err_ << q.text << "\n";
        return q.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }

  private:
    int retriesLeft_;
    bool force_;
    bool quiet_;
    std::ostream& err_;
};

class TextStatus final : public StatusLine {
  public:
    void SetStatus(const std::string& text, std::uint32_t color) override {
        text_ = text;
        color_ = color;
    }
    void FitStatus(int) override {}
    std::string StatusText() const override { return text_; }
    std::uint32_t Color() const { return color_; }

  private:
    std::string text_;
    std::uint32_t color_ = kStatusBlack;
};

// A progress bar on stderr when it is a terminal and --quiet is not given.
class ProgressView final : public TransferView {
  public:
    explicit ProgressView(bool show) : show_(show) {}
    ~ProgressView() override { Finish(); }

    void BeginTransfer() override {}
    void EndTransfer() override { Finish(); }
    void PlaceProgress() override { value_ = 0; }
    void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
    void SetProgressValue(int value) override {
        value_ = value;
        Draw();
    }
    void SetBusy(bool) override {}
    void ProcessEvents() override { QCoreApplication::processEvents(); }

  private:
    void Draw() {
        if (!show_ || maximum_ <= 0) return;
        constexpr int kWidth = 40;
        const int filled = value_ * kWidth / maximum_;
        std::fprintf(stderr, "\r[%s%s] %4d/%d", std::string(filled, '#').c_str(),
                     std::string(kWidth - filled, '.').c_str(), value_, maximum_);
        std::fflush(stderr);
        drawn_ = true;
    }
    void Finish() {
        if (drawn_) std::fputc('\n', stderr);
        drawn_ = false;
    }

    bool show_;
    int maximum_ = 0;
    int value_ = 0;
    bool drawn_ = false;
};

// Everything a radio command works with: the Qt application the serial port needs, the port,
// the answers and the link.
class RadioSession {
  public:
    RadioSession(const PortChoice& port, int retries, bool force, bool quiet, std::ostream& err)
        : prompt_(retries, force, quiet, err),
          view_(!quiet && &err == &std::cerr && TALVERON_ISATTY(2) != 0),
          err_(err) {
        if (QCoreApplication::instance() == nullptr) {
            app_ = std::make_unique<QCoreApplication>(argc_, argv_);
        }
        port_ = std::make_unique<platform::QtSerialPort>();
        link_ = std::make_unique<RadioLink>(
            RadioLink{*port_, prompt_, status_, view_, clock_, LinkState{}});
        UsePort(link_->state, port);
    }
    ~RadioSession() {
        if (port_) port_->Close();
    }

    RadioLink& Link() { return *link_; }
    const TextStatus& Status() const { return status_; }

    // Why no radio was found: the status line and what the port's open said.
    void ReportNotFound() {
        err_ << status_.StatusText() << "\n";
        const OpenResult& open = port_->LastOpen();
        if (!open.ok() && open.failure != OpenFailure::Permission) err_ << open.message << "\n";
    }

  private:
    static inline int argc_ = 1;
    static inline char name_[] = "talveron-cli";
    static inline char* argv_[] = {name_, nullptr};

    std::unique_ptr<QCoreApplication> app_;
    FlagPrompt prompt_;
    TextStatus status_;
    ProgressView view_;
    SteadyClock clock_;
    std::unique_ptr<platform::QtSerialPort> port_;
    std::unique_ptr<RadioLink> link_;
    std::ostream& err_;
};

struct RadioOptions {
    PortChoice port;
    int retries = 0;
    bool force = false;
    bool quiet = false;
};

// Reads --port, --retries, --force and --quiet; an empty text when they are sound.
std::string ReadRadioOptions(const Args& args, RadioOptions& options) {
    const auto port = args.value("--port");
    if (!port || !ParsePortChoice(*port, options.port)) return "--port PORT is needed";
    if (const auto retries = args.value("--retries")) {
        std::size_t used = 0;
        int n = -1;
        try {
            n = std::stoi(*retries, &used);
        } catch (...) {
            n = -1;
        }
        if (n < 0 || used != retries->size()) return "--retries takes a whole number >= 0";
        options.retries = n;
    }
    options.force = args.has("--force");
    options.quiet = args.has("--quiet") || args.has("-q");
    return {};
}

std::string MemoryText(bool large) {
    return std::to_string(MemorySize(large ? kLargeChannels : kSmallChannels)) + " bytes";
}

// Prints the outcome of a failed transfer and gives its exit status.
int ReportFailure(const TransferOutcome& outcome, RadioSession& session, std::ostream& err) {
    if (outcome.result == TransferOutcome::Result::ConnectFailed) session.ReportNotFound();
    if (outcome.result == TransferOutcome::Result::Declined) {
        err << outcome.message << "\n";
        return kExitBandWarning;
    }
    err << outcome.message << "\n";
    return kExitFault;
}

}  // namespace

int RunIdentify(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kIdentifyUsage, kExitOk;
    Args args(argv, {"--port"}, {"--quiet", "-q"});
    if (!args.ok()) return Usage(err, kIdentifyUsage, args.error());
    if (!args.positional().empty()) return Usage(err, kIdentifyUsage, "identify takes no file");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options); !problem.empty())
        return Usage(err, kIdentifyUsage, problem);

    RadioSession session(options.port, 0, false, options.quiet, err);
    RadioLink& link = session.Link();
    ConnectRadio(link);
    if (link.state.linkDown) {
        session.ReportNotFound();
        return kExitFault;
    }
    out << session.Status().StatusText() << "\n";
    if (!ProbeMemory(link)) {
        err << kCheckConnection << "\n";
        return kExitFault;
    }
    out << "memory " << MemoryText(link.state.largeMemory) << "\n";
    return kExitOk;
}

int RunRead(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kReadUsage, kExitOk;
    Args args(argv, {"--port", "--retries", "-o", "--output"}, {"--quiet", "-q"});
    if (!args.ok()) return Usage(err, kReadUsage, args.error());
    auto target = args.value("-o");
    if (!target) target = args.value("--output");
    if (!target || target->empty()) return Usage(err, kReadUsage, "read needs -o OUT.cfg");
    if (!args.positional().empty()) return Usage(err, kReadUsage, "read takes no file but -o");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options); !problem.empty())
        return Usage(err, kReadUsage, problem);

    RadioSession session(options.port, options.retries, false, options.quiet, err);
    const TransferOutcome outcome = RunTransfer(session.Link(), {kOpUpload, nullptr, kCliTitle});
    if (outcome.result != TransferOutcome::Result::Uploaded) {
        return ReportFailure(outcome, session, err);
    }
    const CfgWriteResult written = WriteCfgFile(*target, outcome.image);
    if (!written.ok()) {
        err << written.message << "\n";
        return kExitFault;
    }
    if (!options.quiet) {
        out << ShortModelName(outcome.modelCode) << std::string(kDetectedSuffix) << ": read "
            << outcome.image.size() - 1 << " bytes into " << *target << "\n";
    }
    return kExitOk;
}

int RunWrite(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kWriteUsage, kExitOk;
    Args args(argv, {"--port", "--retries"}, {"--force", "--quiet", "-q"});
    if (!args.ok()) return Usage(err, kWriteUsage, args.error());
    if (args.positional().size() != 1) return Usage(err, kWriteUsage, "write takes one file");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options); !problem.empty())
        return Usage(err, kWriteUsage, problem);
    const auto doc = LoadDocument(args.positional()[0], err);
    if (!doc) return kExitUsage;

    RadioSession session(options.port, options.retries, options.force, options.quiet, err);
    const TransferOutcome outcome = RunTransfer(session.Link(), {kOpDownload, &*doc, doc->caption});
    if (outcome.result != TransferOutcome::Result::Downloaded) {
        return ReportFailure(outcome, session, err);
    }
    if (!options.quiet) {
        out << "wrote " << session.Link().state.imageLast << " bytes of " << args.positional()[0]
            << "\n";
    }
    return kExitOk;
}

int RunVerify(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
    if (WantsHelp(argv)) return out << kVerifyUsage, kExitOk;
    Args args(argv, {"--port", "--retries"}, {"--quiet", "-q"});
    if (!args.ok()) return Usage(err, kVerifyUsage, args.error());
    if (args.positional().size() != 1) return Usage(err, kVerifyUsage, "verify takes one file");
    RadioOptions options;
    if (auto problem = ReadRadioOptions(args, options); !problem.empty())
        return Usage(err, kVerifyUsage, problem);
    const auto doc = LoadDocument(args.positional()[0], err);
    if (!doc) return kExitUsage;

    RadioSession session(options.port, options.retries, false, options.quiet, err);
    const TransferOutcome outcome = RunTransfer(session.Link(), {kOpUpload, nullptr, kCliTitle});
    if (outcome.result != TransferOutcome::Result::Uploaded) {
        return ReportFailure(outcome, session, err);
    }
    const bool large = session.Link().state.largeMemory;
    const EepromImage expected = SentImage(BuildImage(*doc), large);
    int differences = 0;
    for (std::size_t a = 0; a < expected.size() && a + 1 < outcome.image.size(); ++a) {
        if (expected[a] == outcome.image[a]) continue;
        ++differences;
        out << std::uppercase << std::hex << std::setfill('0') << "0x" << std::setw(4) << a
            << ": file 0x" << std::setw(2) << int{expected[a]} << " radio 0x" << std::setw(2)
            << int{outcome.image[a]} << std::dec << "\n";
    }
    if (doc->state.model != outcome.modelCode) {
        out << "model: file " << int{doc->state.model} << " radio " << outcome.modelCode << "\n";
        ++differences;
    }
    if (differences > 0) {
        err << differences << " difference(s)\n";
        return kExitFault;
    }
    if (!options.quiet) {
        out << "radio matches " << args.positional()[0] << "\n";
        // A 16-channel file on a 99-channel radio: what write would send matches, but the
        // radio holds channels the file does not describe.
        const std::size_t memory = outcome.image.empty() ? 0 : outcome.image.size() - 1;
        if (expected.size() < memory) {
            out << "note: the radio holds " << memory << " bytes; the file covers the first "
                << expected.size() << "\n";
        }
    }
    return kExitOk;
}

}  // namespace talveron::cli
