#pragma once

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

// Whether the list offers to end the process: never Kelvo itself nor the system's first processes.
bool canTerminate(std::optional<int> pid);

// Asks the process to quit (force: ends it at once). A macOS application is asked through its
// application object first, anything else gets SIGTERM (force: SIGKILL). True once the request is
// delivered; throws Failure when it is refused or cannot be delivered.
bool terminate(int pid, bool force);

} // namespace ProcessControl
