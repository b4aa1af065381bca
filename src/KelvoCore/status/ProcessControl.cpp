#include "status/ProcessControl.h"

#include "platform/ProcessSignal.h"
#include "platform/RunningApplications.h"
#include "status/LocalSystemStatus.h"
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

// The refusal as the one error type names it.
KelvoError::Kind errorKind(Failure::Kind kind)
{
    switch (kind) {
    case Failure::Kind::notPermitted:
        return KelvoError::Kind::permission;
    case Failure::Kind::noSuchProcess:
        return KelvoError::Kind::changed;
    case Failure::Kind::selfProcess:
    case Failure::Kind::systemProcess:
    case Failure::Kind::invalidPID:
    case Failure::Kind::unknown:
        break;
    }
    return KelvoError::Kind::other;
}

} // namespace

Failure::Failure(Kind kind, std::int32_t code)
    : KelvoError(errorKind(kind), message(kind, code))
    , m_kind(kind)
    , m_code(kind == Kind::unknown ? code : 0)
{
}

bool Failure::operator==(const Failure& other) const
{
    return m_kind == other.m_kind && m_code == other.m_code;
}

Viewer currentViewer(bool allUsers)
{
    return {qint64(geteuid()), allUsers};
}

bool isListed(const SystemReport::ProcessInfo& process, const Viewer& viewer)
{
    return viewer.uid != 0 || viewer.allUsers || process.uid.value_or(0) == 0;
}

bool canTerminate(const SystemReport::ProcessInfo& process, const Viewer& viewer)
{
    const bool whose = process.uid == viewer.uid || (process.uid && viewer.uid == 0 && viewer.allUsers);
    return process.pid && *process.pid > lastSystemPid && *process.pid != getpid() && process.startTime &&
           whose;
}

bool terminate(const SystemReport::ProcessInfo& process, bool force)
{
    using Kind = Failure::Kind;
    const int pid = process.pid.value_or(0);
    if (pid < 1)
        throw Failure(Kind::invalidPID);
    if (pid == getpid())
        throw Failure(Kind::selfProcess);
    if (pid <= lastSystemPid)
        throw Failure(Kind::systemProcess);
    if (!process.startTime) // without it the pid alone does not say which process was meant
        throw Failure(Kind::invalidPID);
    const auto isTheOneListed = [&] {
        const auto now = LocalSystemStatus::processIdentity(pid);
        return now && now->startTime == *process.startTime && !now->kernelThread;
    };
    const std::optional<LocalSystemStatus::ProcessIdentity> now = LocalSystemStatus::processIdentity(pid);
    if (!now || now->startTime != *process.startTime)
        throw Failure(Kind::noSuchProcess);
    if (now->kernelThread)
        throw Failure(Kind::systemProcess);
    if (RunningApplications::askToQuit(pid, force))
        return true;
    const int error = ProcessSignal::send(pid, force ? SIGKILL : SIGTERM, isTheOneListed);
    switch (error) {
    case 0:
        return true;
    case ESRCH:
        throw Failure(Kind::noSuchProcess);
    case EPERM:
        throw Failure(Kind::notPermitted);
    default:
        throw Failure(Kind::unknown, error);
    }
}

} // namespace ProcessControl
