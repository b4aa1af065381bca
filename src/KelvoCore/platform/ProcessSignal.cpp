#include "platform/ProcessSignal.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

#ifdef __linux__
#include <sys/syscall.h>
#endif

namespace ProcessSignal {

int send(int pid, int signal, const std::function<bool()>& isStillMeant)
{
#if defined(SYS_pidfd_open) && defined(SYS_pidfd_send_signal)
    const int held = int(::syscall(SYS_pidfd_open, pid, 0));
    if (held >= 0) {
        int outcome = ESRCH;
        if (isStillMeant())
            outcome = ::syscall(SYS_pidfd_send_signal, held, signal, nullptr, 0) == 0 ? 0 : errno;
        ::close(held);
        return outcome;
    }
    // A kernel without pidfds, or a sandbox that forbids the call: the check and the signal apart.
    if (errno != ENOSYS && errno != EPERM)
        return errno;
#endif
    if (!isStillMeant())
        return ESRCH;
    return ::kill(pid, signal) == 0 ? 0 : errno;
}

} // namespace ProcessSignal
