#include "AppModel.h"
#include "KelvoWindow.h"

#include "platform/HomeFolder.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kelvo"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kelvo"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KELVO_VERSION));
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    const QString dataRoot = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    AppModel model({.home = HomeFolder::current(),
                    .applicationSupport = dataRoot + QStringLiteral("/Kelvo"),
                    .bundleVersion = QStringLiteral(KELVO_VERSION)});

    QQmlApplicationEngine engine;
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    KelvoWindow::load(engine, model);
    return QGuiApplication::exec();
}
