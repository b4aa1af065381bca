#include "app/AppModel.h"
#include "cli/CommandLine.h"
#include "views/KelvoWindow.h"

#include "platform/HomeFolder.h"
#include "platform/LanguagePreferenceStore.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/TargetSystem.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QStandardPaths>
#include <QTextStream>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <optional>
#include <unistd.h>

// The views' module, linked in statically.
Q_IMPORT_QML_PLUGIN(KelvoPlugin)

namespace {

// The build number, when the build was configured with one.
std::optional<QString> buildNumber()
{
#ifdef KELVO_BUILD_NUMBER
    return QStringLiteral(KELVO_BUILD_NUMBER);
#else
    return std::nullopt;
#endif
}

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Every text from the first one on is in the stored language; the window's settings then follow
// each change.
void useStoredLanguage()
{
    AppLocalization::setPreference(LanguagePreferenceStore::load());
}

// The system whose places the features look at, chosen here, once, and passed down; none, after
// saying why, when KELVO_SYSTEM names no system.
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
    return CommandLine::run(argumentsOf(argc, argv),
                            {.home = HomeFolder::current(),
                             .version = QStringLiteral(KELVO_VERSION),
                             .build = buildNumber(),
                             .target = *target},
                            streams);
}

int runWindow(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kelvo"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kelvo"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KELVO_VERSION));
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    useStoredLanguage();
    const std::optional<TargetChoice> target = chosenTarget();
    if (!target)
        return 2;

    const QString dataRoot = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    AppModel model({{.home = HomeFolder::current(),
                     .version = QStringLiteral(KELVO_VERSION),
                     .build = buildNumber(),
                     .target = *target},
                    dataRoot + QStringLiteral("/Kelvo")});

    KelvoWindow::chooseRenderer();
    QQmlApplicationEngine engine;
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    KelvoWindow::load(engine, model);
    return QGuiApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (CommandLine::wantsCommandLine(argumentsOf(argc, argv)))
        return runCommandLine(argc, argv);
    return runWindow(argc, argv);
}
