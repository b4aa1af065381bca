#include "AppModel.h"
#include "KelvoWindow.h"
#include "cli/CommandLine.h"

#include "platform/HomeFolder.h"

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

int runCommandLine(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    CommandLine::Streams streams{out, err, in, isatty(STDOUT_FILENO) == 1};
    return CommandLine::run(
        argumentsOf(argc, argv),
        {.home = HomeFolder::current(), .version = QStringLiteral(KELVO_VERSION), .build = buildNumber()},
        streams);
}

int runWindow(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kelvo"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kelvo"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KELVO_VERSION));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    const QString dataRoot = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    AppModel model({.home = HomeFolder::current(),
                    .applicationSupport = dataRoot + QStringLiteral("/Kelvo"),
                    .bundleVersion = QStringLiteral(KELVO_VERSION),
                    .bundleBuild = buildNumber()});

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
