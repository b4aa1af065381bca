// The window's program: kelvo-window on Linux, the application bundle's one program on macOS, where
// it runs the command line as well.
#include "ProgramStart.h"

#include "app/AppModel.h"
#include "cli/CommandLine.h"
#include "views/KelvoWindow.h"

#include "platform/HomeFolder.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QStandardPaths>
#include <QtQml/qqmlextensionplugin.h>

#include <optional>

// The views' module, linked in statically.
Q_IMPORT_QML_PLUGIN(KelvoPlugin)

namespace {

int runWindow(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kelvo"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kelvo"));
    QGuiApplication::setApplicationVersion(ProgramStart::version());
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    ProgramStart::useStoredLanguage();
    const std::optional<TargetChoice> target = ProgramStart::chosenTarget();
    if (!target)
        return 2;

    const QString dataRoot = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    AppModel model({{.home = HomeFolder::current(),
                     .version = ProgramStart::version(),
                     .build = ProgramStart::buildNumber(),
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
    if (CommandLine::wantsCommandLine(ProgramStart::argumentsOf(argc, argv)))
        return ProgramStart::runCommandLine(argc, argv);
    return runWindow(argc, argv);
}
