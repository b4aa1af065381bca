#pragma once

#include <functional>

// Sends a signal to one process, named by its pid, only while it is still the process meant.
namespace ProcessSignal {
// `isStillMeant` is asked once the process holding pid is held (Linux 5.3 and later: a pidfd), and the
// signal goes to the process held: one that ends after the check, its pid then taken by another,
// cannot be mistaken for it. Without a pidfd (macOS, older kernels) the check and the signal are two
// steps a moment apart. Returns 0 when the signal was sent, ESRCH when no process holds pid or it is
// not the one meant, else the errno of the failure (EPERM: not permitted).
int send(int pid, int signal, const std::function<bool()>& isStillMeant);
} // namespace ProcessSignal
