#include "ProgramStart.h"

#include "cli/CommandLine.h"
#include "platform/HomeFolder.h"
#include "platform/LanguagePreferenceStore.h"
#include "vocabulary/AppLocalization.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace ProgramStart {

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void useStoredLanguage()
{
    AppLocalization::setPreference(LanguagePreferenceStore::load());
}

std::optional<TargetChoice> chosenTarget()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const std::optional<TargetChoice> target = TargetSystems::chosen(environment);
    if (!target)
        std::fprintf(
            stderr, "%s\n",
            qPrintable(TargetSystems::unknownNameText(environment.value(QStringLiteral("KELVO_SYSTEM")))));
    return target;
}

QString version()
{
    return QStringLiteral(KELVO_VERSION);
}

std::optional<QString> buildNumber()
{
#ifdef KELVO_BUILD_NUMBER
    return QStringLiteral(KELVO_BUILD_NUMBER);
#else
    return std::nullopt;
#endif
}

int runCommandLine(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    useStoredLanguage();
    const std::optional<TargetChoice> target = chosenTarget();
    if (!target)
        return 2;
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    CommandLine::Streams streams{out, err, in, isatty(STDOUT_FILENO) == 1, isatty(STDERR_FILENO) == 1};
    return CommandLine::run(
        argumentsOf(argc, argv),
        {.home = HomeFolder::current(), .version = version(), .build = buildNumber(), .target = *target},
        streams);
}

QString windowFailedText(const QString& program, const QString& reason)
{
    return AppLocalization::localized(QStringLiteral("无法启动 Kelvo 的窗口（%1）：%2"),
                                      QStringLiteral("Kelvo's window (%1) could not be started: %2"))
        .arg(program, reason);
}

} // namespace ProgramStart
