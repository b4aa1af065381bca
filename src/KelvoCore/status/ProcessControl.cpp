#include "status/ProcessControl.h"

#include "platform/RunningApplications.h"
#include "vocabulary/AppLocalization.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace ProcessControl {

namespace {

// The kernel and the system's own daemons start first and take the lowest process ids.
constexpr int lastSystemPid = 100;

QString message(Failure::Kind kind, std::int32_t code)
{
    using Kind = Failure::Kind;
    switch (kind) {
    case Kind::selfProcess:
        return AppLocalization::localized(QStringLiteral("不能结束 Kelvo 自身。"),
                                          QStringLiteral("Kelvo cannot terminate itself."));
    case Kind::systemProcess:
        return AppLocalization::localized(
            QStringLiteral("这是系统进程,不允许结束。"),
            QStringLiteral("This is a system process and cannot be terminated."));
    case Kind::invalidPID:
        return AppLocalization::localized(QStringLiteral("进程 ID 无效。"),
                                          QStringLiteral("Invalid process identifier."));
    case Kind::notPermitted:
        return AppLocalization::localized(QStringLiteral("权限不足,无法结束这个进程。"),
                                          QStringLiteral("Operation not permitted for this process."));
    case Kind::noSuchProcess:
        return AppLocalization::localized(QStringLiteral("进程已经不存在。"),
                                          QStringLiteral("Process no longer exists."));
    case Kind::unknown:
        break;
    }
    return AppLocalization::localized(QStringLiteral("结束进程失败 (代码 %1)。"),
                                      QStringLiteral("Failed to terminate process (code %1)."))
        .arg(code);
}

} // namespace

Failure::Failure(Kind kind, std::int32_t code)
    : KelvoError(message(kind, code))
    , m_kind(kind)
    , m_code(kind == Kind::unknown ? code : 0)
{
}

bool Failure::operator==(const Failure& other) const
{
    return m_kind == other.m_kind && m_code == other.m_code;
}

bool canTerminate(std::optional<int> pid)
{
    return pid && *pid > lastSystemPid && *pid != getpid();
}

bool terminate(int pid, bool force)
{
    using Kind = Failure::Kind;
    if (pid < 1)
        throw Failure(Kind::invalidPID);
    if (pid == getpid())
        throw Failure(Kind::selfProcess);
    if (pid <= lastSystemPid)
        throw Failure(Kind::systemProcess);
    if (RunningApplications::askToQuit(pid, force))
        return true;
    if (kill(pid, force ? SIGKILL : SIGTERM) == 0)
        return true;
    const int error = errno;
    switch (error) {
    case ESRCH:
        throw Failure(Kind::noSuchProcess);
    case EPERM:
        throw Failure(Kind::notPermitted);
    default:
        throw Failure(Kind::unknown, error);
    }
}

} // namespace ProcessControl
