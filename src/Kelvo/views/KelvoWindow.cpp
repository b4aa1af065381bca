#include "views/KelvoWindow.h"

#include "app/AppIconProvider.h"
#include "views/QmlTypes.h"

#include <QQmlApplicationEngine>
#include <QQmlEngine>

namespace KelvoWindow {

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
