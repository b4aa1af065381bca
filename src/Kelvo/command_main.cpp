// `kelvo` on Linux: the command line in a program that loads Qt Core alone, so a command such as
// `kelvo status --json` starts in a few milliseconds instead of loading Qt Quick first. Without a
// command it becomes the window's program, kelvo-window, installed beside it.
#include "ProgramStart.h"

#include "cli/CommandLine.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The process list reads every process's stat file twice and keeps them open in between, up to half
// of what the process may open: the soft limit is often 1,024 where the hard one is far higher.
void allowMoreOpenFiles()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    const rlim_t wanted = std::min<rlim_t>(limit.rlim_max, 65536);
    if (limit.rlim_cur < wanted) {
        limit.rlim_cur = wanted;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// The window's own program, kelvo-window, in the folder this program was started from; the
// kernel's link names it even when it was started through a link of its own.
QByteArray windowProgram()
{
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return QFile::encodeName(QFileInfo(program).absolutePath() + QStringLiteral("/kelvo-window"));
}

} // namespace

int main(int argc, char** argv)
{
    if (CommandLine::wantsCommandLine(ProgramStart::argumentsOf(argc, argv))) {
        allowMoreOpenFiles();
        return ProgramStart::runCommandLine(argc, argv);
    }
    QByteArray window = windowProgram();
    argv[0] = window.data();
    execv(window.constData(), argv);
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    ProgramStart::useStoredLanguage();
    std::fprintf(stderr, "%s\n",
                 qPrintable(ProgramStart::windowFailedText(QFile::decodeName(window), reason)));
    return 127;
}
