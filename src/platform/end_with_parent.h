// A helper program started by this one (talveron-vradio) must not outlive it, however it ends:
// a crash or a kill skips every orderly stop. Called in the child between fork and exec,
// EndWithParent asks the kernel to send the child SIGTERM when its parent goes, and ends the
// child at once if the parent went before the request. Only async-signal-safe calls. Linux
// only; elsewhere it does nothing and the orderly stop is all there is.
#pragma once

#include <unistd.h>

#ifdef __linux__
#include <sys/prctl.h>

#include <csignal>
#endif

namespace talveron::platform {

// parent: the starting process's pid, taken before the fork.
inline void EndWithParent([[maybe_unused]] pid_t parent) {
#ifdef __linux__
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(127);
#endif
}

}  // namespace talveron::platform
