#pragma once

#include "status/SystemReport.h"
#include "vocabulary/KelvoError.h"

#include <cstdint>
#include <optional>

// Quitting and force-quitting a process from the dashboard's process list.
namespace ProcessControl {

// Why a process could not be ended; the description is the text the dashboard shows.
class Failure : public KelvoError {
public:
    enum class Kind { unknown, selfProcess, systemProcess, invalidPID, notPermitted, noSuchProcess };

    // code: the errno of an unknown failure, ignored for the other kinds.
    explicit Failure(Kind kind, std::int32_t code = 0);

    Kind kind() const { return m_kind; }
    std::int32_t code() const { return m_code; }

    bool operator==(const Failure& other) const;

private:
    Kind m_kind;
    std::int32_t m_code;
};

// Who looks at the process list: the user Kelvo runs as and, for root, whether every user's processes
// are asked for.
struct Viewer {
    qint64 uid = 0;
    bool allUsers = false;
};
// The user Kelvo runs as (its effective user id).
Viewer currentViewer(bool allUsers);

// Whether the list shows the process: everything, except that root sees only its own processes unless
// it asked for every user's (a process whose owner is not known is shown; it cannot be ended).
bool isListed(const SystemReport::ProcessInfo& process, const Viewer& viewer);
// Whether the list offers to end the process: never Kelvo itself nor the system's first processes,
// only a process whose start time and owner are known, and only the viewer's own unless root asked
// for every user's.
bool canTerminate(const SystemReport::ProcessInfo& process, const Viewer& viewer);

// Asks the process, named by its pid and start time, to quit (force: ends it at once). Right before
// the signal the process holding the pid is looked at again: when it is not the one listed (it ended,
// its pid maybe taken by another) nothing is sent and the failure is noSuchProcess; a kernel thread
// is refused as a system process. A macOS application is asked through its application object
// first, anything else gets SIGTERM (force: SIGKILL), on Linux through a pidfd taken before the
// check. True once the request is delivered; throws Failure when it is refused or cannot be delivered.
bool terminate(const SystemReport::ProcessInfo& process, bool force);

} // namespace ProcessControl
