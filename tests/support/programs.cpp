#include "programs.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "image/cfg_file.h"
#include "platform/end_with_parent.h"
#include "test_support.h"

namespace talveron::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kSafetyLimit{10};

// Waits for pid to end within limit; kills it if it does not. -1 unless it exited.
int Reap(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        ::usleep(2000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Forks and runs program; the child's stdin is /dev/null, its stdout and stderr go to out and
// err (-1: left as they are). Everything the child needs is prepared before the fork. The
// child ends with the test program, even when that crashes or is killed.
pid_t Spawn(const std::string& program, std::vector<std::string> args, int out, int err) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        platform::EndWithParent(parent);
        const int in = ::open("/dev/null", O_RDONLY);
        if (in < 0 || ::dup2(in, 0) < 0) ::_exit(120);
        if (out >= 0) ::dup2(out, 1);
        if (err >= 0) ::dup2(err, 2);
        ::execv(argv[0], argv.data());
        ::_exit(121);
    }
    return child;
}

}  // namespace

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& env) {
    // env(1) sets the variables and runs the program.
    std::vector<std::string> all;
    for (const auto& [name, value] : env) all.push_back(name + "=" + value);
    all.push_back(program);
    all.insert(all.end(), args.begin(), args.end());
    TempDir dir;
    const int out = ::open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const int err = ::open(dir.file("err").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const pid_t child = Spawn("/usr/bin/env", all, out, err);
    ::close(out);
    ::close(err);
    const int status = child > 0 ? Reap(child, std::chrono::minutes(2)) : -1;
    return {status, ReadText(dir.file("out")), ReadText(dir.file("err"))};
}

std::string CliProgram() {
    return CLI_PROGRAM;
}

RunResult RunCli(const std::vector<std::string>& args,
                 const std::vector<std::pair<std::string, std::string>>& env) {
    return RunProgram(CLI_PROGRAM, args, env);
}

RunResult RunVradio(const std::vector<std::string>& args) {
    return RunProgram(VRADIO_PROGRAM, args);
}

std::string SamplePath(const std::string& name) {
    return std::string(SAMPLES_DIR) + "/" + name;
}

EepromImage ReadImage(const std::string& path) {
    const CfgReadResult read = ReadCfgFile(path);
    return read.ok() ? read.image : EepromImage{};
}

VradioProcess::VradioProcess(std::vector<std::string> args) {
    if (std::none_of(args.begin(), args.end(),
                     [](const std::string& a) { return a.rfind("--baud", 0) == 0; })) {
        args.insert(args.end(), {"--baud", "0"});
    }
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = Spawn(VRADIO_PROGRAM, args, out[1], -1);
    ::close(out[1]);
    // The first line on stdout is the pty's path; the program ends (and so the line) when it
    // cannot serve.
    stdout_ = ::fdopen(out[0], "r");
    char line[512];
    if (stdout_ && pid_ > 0 && std::fgets(line, sizeof line, stdout_) &&
        std::string_view(line).starts_with("/dev/")) {
        path_ = line;
        path_.pop_back();
    }
}

VradioProcess::~VradioProcess() {
    if (pid_ > 0) Stop(SIGKILL);
    if (stdout_) std::fclose(stdout_);
}

int VradioProcess::Stop(int signal) {
    if (pid_ <= 0) return -1;
    ::kill(pid_, signal);
    const int status = Reap(pid_, kSafetyLimit);
    pid_ = -1;
    return status;
}

}  // namespace talveron::test
