#include "cli/fleet.h"

#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <memory>
#include <mutex>
#include <ostream>
#include <sstream>

#include "cli/commands.h"
#include "link/port_detect.h"
#include "platform/port_names.h"

namespace talveron::cli {

using namespace talveron::link;

namespace {

// One progress line per port on the terminal (stderr), redrawn in place. Workers call Set from
// their own threads.
class ProgressBoard {
  public:
    ProgressBoard(std::vector<std::string> names, bool show)
        : names_(std::move(names)), rows_(names_.size()), show_(show) {
        for (const std::string& n : names_) width_ = std::max(width_, n.size());
        if (!show_) return;
        for (std::size_t row = 0; row < rows_.size(); ++row) std::fputc('\n', stderr);
        for (std::size_t row = 0; row < rows_.size(); ++row) Draw(row);
        std::fflush(stderr);
    }

    void Set(std::size_t row, int value, int maximum) {
        if (!show_) return;
        const std::lock_guard<std::mutex> lock(mutex_);
        rows_[row] = {value, maximum};
        Draw(row);
        std::fflush(stderr);
    }

  private:
    struct Row {
        int value = 0;
        int maximum = 0;
    };

    // Moves up to the port's line, rewrites it and comes back below the board.
    void Draw(std::size_t row) {
        constexpr int kWidth = 30;
        const Row& r = rows_[row];
        const int filled = r.maximum > 0 ? r.value * kWidth / r.maximum : 0;
        const int up = static_cast<int>(rows_.size() - row);
        std::fprintf(stderr, "\x1b[%dA\r%-*s [%s%s] %4d/%d\x1b[K\x1b[%dB\r", up,
                     static_cast<int>(width_), names_[row].c_str(),
                     std::string(filled, '#').c_str(), std::string(kWidth - filled, '.').c_str(),
                     r.value, r.maximum, up);
    }

    std::vector<std::string> names_;
    std::vector<Row> rows_;
    std::size_t width_ = 0;
    bool show_;
    std::mutex mutex_;
};

// A worker's transfer view: its line on the board.
class BoardView final : public TransferView {
  public:
    BoardView(ProgressBoard& board, std::size_t row) : board_(board), row_(row) {}
    void BeginTransfer() override {}
    void EndTransfer() override {}
    void PlaceProgress() override { board_.Set(row_, 0, maximum_); }
    void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
    void SetProgressValue(int value) override { board_.Set(row_, value, maximum_); }
    void SetBusy(bool) override {}
    void ProcessEvents() override {}

  private:
    ProgressBoard& board_;
    std::size_t row_;
    int maximum_ = 0;
};

// Runs the job on one port and times it.
void RunOne(const PortChoice& port, const RadioOptions& options, const PortJob& job,
            std::unique_ptr<TransferView> view, PortResult& result, std::ostream& out,
            std::ostream& err) {
    const auto start = std::chrono::steady_clock::now();
    result.port = port.Name();
    {
        RadioSession session(port, options, std::move(view), err);
        job(session, port, result, out, err);
        result.model = session.ModelName();
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (result.result.empty()) result.result = result.status == kExitOk ? "ok" : "failed";
}

// Every line of text with the port's name in front; empty lines are left out.
void PrintPrefixed(const std::string& name, const std::string& text, std::ostream& to) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) to << name << ": " << line << "\n";
    }
}

void PrintTable(const std::vector<PortResult>& results, std::ostream& out) {
    std::size_t portWidth = 4;
    std::size_t modelWidth = 5;
    std::size_t resultWidth = 6;
    for (const PortResult& r : results) {
        portWidth = std::max(portWidth, r.port.size());
        modelWidth = std::max(modelWidth, r.model.size());
        resultWidth = std::max(resultWidth, r.result.size());
    }
    const auto row = [&](const std::string& port, const std::string& model,
                         const std::string& result, const std::string& time) {
        out << std::left << std::setw(static_cast<int>(portWidth)) << port << "  "
            << std::setw(static_cast<int>(modelWidth)) << model << "  "
            << std::setw(static_cast<int>(resultWidth)) << result << "  " << std::right
            << std::setw(7) << time << "\n";
    };
    row("PORT", "MODEL", "RESULT", "TIME");
    for (const PortResult& r : results) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f s", r.seconds);
        row(r.port, r.model.empty() ? "-" : r.model, r.result, seconds);
    }
}

}  // namespace

std::vector<PortResult> RunOnPorts(const std::vector<PortChoice>& ports,
                                   const RadioOptions& options, const PortJob& job,
                                   std::ostream& out, std::ostream& err) {
    std::vector<PortResult> results(ports.size());
    if (ports.size() == 1) {
        auto view = std::make_unique<ProgressView>(!options.quiet && ErrIsTerminal(err));
        RunOne(ports[0], options, job, std::move(view), results[0], out, err);
        return results;
    }

    std::vector<std::string> names;
    for (const PortChoice& port : ports) names.push_back(port.Name());
    ProgressBoard board(names, !options.quiet && ErrIsTerminal(err));
    std::vector<std::ostringstream> outs(ports.size());
    std::vector<std::ostringstream> errs(ports.size());
    // Each worker makes its serial port in its own thread, as Qt wants of the objects a thread
    // uses; the port waits for the line in the system, so idle workers cost no processor.
    std::vector<std::unique_ptr<QThread>> workers;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        workers.emplace_back(QThread::create([&, i] {
            RunOne(ports[i], options, job, std::make_unique<BoardView>(board, i), results[i],
                   outs[i], errs[i]);
        }));
        workers.back()->start();
    }
    for (auto& worker : workers) worker->wait();

    for (std::size_t i = 0; i < ports.size(); ++i) {
        PrintPrefixed(names[i], outs[i].str(), out);
        PrintPrefixed(names[i], errs[i].str(), err);
    }
    if (!options.quiet) PrintTable(results, out);
    return results;
}

int WorstStatus(const std::vector<PortResult>& results) {
    int worst = kExitOk;
    for (const PortResult& r : results) {
        if (r.status == kExitFault) return kExitFault;
        if (r.status != kExitOk) worst = r.status;
    }
    return worst;
}

std::vector<PortChoice> AnsweringPorts(const RadioOptions& options) {
    std::vector<PortChoice> found;
    std::ostringstream quiet;
    for (const std::string& device : platform::NumberedPortDevices()) {
        const PortChoice port{0, device};
        RadioSession session(port, options, std::make_unique<ProgressView>(false), quiet);
        ConnectRadio(session.Link());
        if (!session.Link().state.linkDown) found.push_back(port);
    }
    return found;
}

std::string PortFileText(const PortChoice& port) {
    if (port.device.empty()) return "port" + std::to_string(port.number);
    std::string text = port.device;
    if (text.rfind("/dev/", 0) == 0) text.erase(0, 5);
    for (char& c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (!plain) c = '-';
    }
    return text;
}

}  // namespace talveron::cli
