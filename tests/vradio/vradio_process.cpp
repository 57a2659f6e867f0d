#include "vradio_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace talveron::vradio::testing {

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    return text;
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Waits for pid to end within the safety limit; kills it if it does not.
int Reap(pid_t pid) {
    const auto deadline = Clock::now() + kSafetyLimit;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) return -1;
        if (Clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        ::usleep(2000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

pid_t Spawn(const std::vector<std::string>& args, int outFd, int errFd) {
    std::vector<char*> argv;
    std::string program = VRADIO_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

}  // namespace

VradioProcess::~VradioProcess() {
    ClosePort();
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    CloseFd(stdout_);
    CloseFd(stderr_);
}

bool VradioProcess::Start(const std::vector<std::string>& args) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return false;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }
    pid_ = Spawn(args, out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    stdout_ = out[0];
    stderr_ = err[0];
    return pid_ > 0;
}

std::string VradioProcess::ReadPortLine() {
    const auto deadline = Clock::now() + kSafetyLimit;
    while (stdoutRest_.find('\n') == std::string::npos) {
        pollfd pfd{stdout_, POLLIN, 0};
        if (::poll(&pfd, 1, RemainingMs(deadline)) <= 0) return {};
        char buffer[256];
        const ssize_t n = ::read(stdout_, buffer, sizeof buffer);
        if (n <= 0) return {};
        stdoutRest_.append(buffer, static_cast<std::size_t>(n));
    }
    const std::size_t nl = stdoutRest_.find('\n');
    std::string line = stdoutRest_.substr(0, nl);
    stdoutRest_.erase(0, nl + 1);
    return line;
}

bool VradioProcess::OpenPort(const std::string& path) {
    ClosePort();
    port_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (port_ < 0) return false;
    termios t{};
    if (::tcgetattr(port_, &t) != 0) return false;
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ::tcsetattr(port_, TCSANOW, &t) == 0;
}

void VradioProcess::ClosePort() {
    CloseFd(port_);
}

bool VradioProcess::Send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(port_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

Bytes VradioProcess::Receive(std::size_t count) {
    Bytes got;
    const auto deadline = Clock::now() + kSafetyLimit;
    while (got.size() < count) {
        pollfd pfd{port_, POLLIN, 0};
        if (::poll(&pfd, 1, RemainingMs(deadline)) <= 0) break;
        if (!(pfd.revents & POLLIN)) break;  // hung up
        std::uint8_t buffer[256];
        const ssize_t n = ::read(port_, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

Bytes VradioProcess::Exchange(const Bytes& frame, std::size_t count) {
    if (!Send(frame)) return {};
    return Receive(count);
}

Bytes VradioProcess::ReceiveWithin(std::chrono::milliseconds limit) {
    Bytes got;
    const auto deadline = Clock::now() + limit;
    for (;;) {
        pollfd pfd{port_, POLLIN, 0};
        if (::poll(&pfd, 1, RemainingMs(deadline)) <= 0 || !(pfd.revents & POLLIN)) break;
        std::uint8_t buffer[256];
        const ssize_t n = ::read(port_, buffer, sizeof buffer);
        if (n <= 0) break;
        got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

bool VradioProcess::WaitHangUp() {
    const auto deadline = Clock::now() + kSafetyLimit;
    while (Clock::now() < deadline) {
        pollfd pfd{port_, POLLIN, 0};
        if (::poll(&pfd, 1, RemainingMs(deadline)) < 0) return false;
        if (pfd.revents & (POLLHUP | POLLERR)) return true;
        if (pfd.revents & POLLIN) {
            std::uint8_t buffer[64];
            const ssize_t n = ::read(port_, buffer, sizeof buffer);
            if (n < 0 && errno == EIO) return true;  // a hung-up pty slave reads EIO
        }
    }
    return false;
}

int VradioProcess::Stop(int signal) {
    if (pid_ <= 0) return -1;
    ::kill(pid_, signal);
    return Wait();
}

bool VradioProcess::Running() {
    if (pid_ <= 0) return false;
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        return false;
    }
    return info.si_pid == 0;  // nothing to collect yet: still running
}

int VradioProcess::Wait() {
    if (pid_ <= 0) return -1;
    const int status = Reap(pid_);
    pid_ = -1;
    return status;
}

std::string VradioProcess::Stdout() {
    if (stdout_ < 0) return stdoutRest_;
    std::string text = stdoutRest_ + ReadAll(stdout_);
    stdoutRest_.clear();
    CloseFd(stdout_);
    return text;
}

std::string VradioProcess::Stderr() {
    if (stderr_ < 0) return {};
    std::string text = ReadAll(stderr_);
    CloseFd(stderr_);
    return text;
}

int RunToEnd(const std::vector<std::string>& args, std::string& err, std::string* out) {
    VradioProcess process;
    if (!process.Start(args)) return -1;
    const int status = process.Wait();
    err = process.Stderr();
    if (out) *out = process.Stdout();
    return status;
}

}  // namespace talveron::vradio::testing
