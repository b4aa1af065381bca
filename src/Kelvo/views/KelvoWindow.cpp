#include "views/KelvoWindow.h"

#include "app/AppIconProvider.h"
#include "views/QmlTypes.h"

#include "platform/Desktop.h"

#include <QQmlApplicationEngine>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace KelvoWindow {

void chooseRenderer()
{
    for (const char* named : {"QT_QUICK_BACKEND", "QSG_RHI_BACKEND"})
        if (qEnvironmentVariableIsSet(named))
            return;
    if (!Desktop::hasGraphicsDevice())
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

QUrl mainUrl()
{
    return QUrl(QStringLiteral("qrc:/qt/qml/Kelvo/qml/Main.qml"));
}

void load(QQmlApplicationEngine& engine, AppModel& model)
{
    QmlTypes::provideAppModel(&model);
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.addImageProvider(QStringLiteral("appicon"), new AppIconProvider);
    engine.load(mainUrl());
}

} // namespace KelvoWindow
