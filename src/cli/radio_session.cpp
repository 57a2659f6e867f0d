#include "cli/radio_session.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "image/model_table.h"
#include "image/text_util.h"
#include "link/port_detect.h"
#include "link/trace_port.h"
#include "platform/serial_port_qt.h"

#ifdef _WIN32
#include <io.h>
#define TALVERON_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define TALVERON_ISATTY(fd) ::isatty(fd)
#endif

namespace talveron::cli {

using namespace talveron::link;

namespace {

int gArgc = 1;
char gName[] = "talveron-cli";
char* gArgv[] = {gName, nullptr};

// Adds a port named by the user, once.
std::string AddPort(const std::string& text, std::vector<PortChoice>& ports) {
    PortChoice port;
    if (!ParsePortChoice(text, port)) return "an empty port name";
    const bool known = std::any_of(ports.begin(), ports.end(),
                                   [&](const PortChoice& p) { return p.Name() == port.Name(); });
    if (!known) ports.push_back(port);
    return {};
}

}  // namespace

QtApp::QtApp() {
    if (QCoreApplication::instance() == nullptr)
        app_ = std::make_unique<QCoreApplication>(gArgc, gArgv);
}

QtApp::~QtApp() = default;

std::string ReadRadioOptions(const Args& args, RadioOptions& options, bool several) {
    for (const std::string& port : args.values("--port")) {
        if (auto problem = AddPort(port, options.ports); !problem.empty()) return problem;
    }
    for (const std::string& list : args.values("--ports")) {
        std::size_t start = 0;
        for (std::size_t comma = 0; comma != std::string::npos; start = comma + 1) {
            comma = list.find(',', start);
            const std::string port = Trim(std::string_view(list).substr(start, comma - start));
            if (!AddPort(port, options.ports).empty())
                return "--ports LIST names ports separated by \",\"";
        }
    }
    options.allPorts = args.has("--all-ports");
    if (options.allPorts && !options.ports.empty())
        return "--all-ports does not go with --port or --ports";
    if (options.ports.empty() && !options.allPorts) return "--port PORT is needed";
    if (!several && (options.ports.size() > 1 || options.allPorts))
        return "this command takes one --port";
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
    options.trace = args.has("--trace");
    return {};
}

void TextStatus::SetStatus(const std::string& text, StatusColor) {
    text_ = text;
}

Answer FlagPrompt::Ask(const Question& q) {
    if (q.kind == Asks::TryAgain) {
        if (retriesLeft_ <= 0) return Answer::No;
        --retriesLeft_;
        // The question without its "Try Again ?" line.
        if (!quiet_) err_ << "\n" << q.text.substr(0, q.text.rfind('\n')) << "  (trying again)\n";
        return Answer::Yes;
    }
    if (q.kind == Asks::BandWarning) return force_ ? Answer::Yes : Answer::No;
    err_ << q.text << "\n";
    return q.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

void ProgressView::SetProgressValue(int value) {
    value_ = value;
    if (!show_ || maximum_ <= 0) return;
    constexpr int kWidth = 40;
    const int filled = value_ * kWidth / maximum_;
    std::fprintf(stderr, "\r[%s%s] %4d/%d", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, '.').c_str(), value_, maximum_);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressView::Finish() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}

bool ErrIsTerminal(const std::ostream& err) {
    return &err == &std::cerr && TALVERON_ISATTY(2) != 0;
}

RadioSession::RadioSession(const PortChoice& port, const RadioOptions& options,
                           std::unique_ptr<TransferView> view, std::ostream& err)
    : prompt_(options.retries, options.force, options.quiet, err),
      view_(std::move(view)),
      port_(std::make_unique<platform::QtSerialPort>()),
      err_(err) {
    if (options.trace) trace_ = std::make_unique<TracePort>(*port_, clock_, err);
    SerialPort& wire = trace_ ? static_cast<SerialPort&>(*trace_) : *port_;
    link_ =
        std::make_unique<RadioLink>(RadioLink{wire, prompt_, status_, *view_, clock_, LinkState{}});
    UsePort(link_->state, port);
}

RadioSession::~RadioSession() {
    if (trace_) trace_->Close();
    if (port_) port_->Close();
}

std::string RadioSession::ModelName() const {
    if (link_->state.linkDown) return {};
    return Trim(ShortModelName(link_->state.modelCode));
}

void RadioSession::ReportNotFound() {
    err_ << status_.StatusText() << "\n";
    const OpenResult& open = port_->LastOpen();
    if (!open.ok() && open.failure != OpenFailure::Permission) err_ << open.message << "\n";
}

int RadioSession::ReportFailure(const TransferOutcome& outcome) {
    if (outcome.result == TransferOutcome::Result::ConnectFailed) ReportNotFound();
    err_ << outcome.message << "\n";
    return outcome.result == TransferOutcome::Result::Declined ? kExitBandWarning : kExitFault;
}

}  // namespace talveron::cli
