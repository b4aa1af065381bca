#include "KelvoWindow.h"

#include "ActionFactoryBridge.h"
#include "AppIconProvider.h"
#include "AppModel.h"
#include "LocalizationSettings.h"
#include "SizeTextBridge.h"

#include <QQmlApplicationEngine>
#include <QQmlEngine>

namespace KelvoWindow {

QUrl mainUrl()
{
    return QUrl(QStringLiteral("qrc:/qml/Main.qml"));
}

void load(QQmlApplicationEngine& engine, AppModel& model)
{
    static ActionFactoryBridge actions;
    static SizeTextBridge sizeText;
    QQmlEngine::setObjectOwnership(&model, QQmlEngine::CppOwnership);
    qmlRegisterSingletonInstance("Kelvo", 1, 0, "AppModel", &model);
    qmlRegisterSingletonInstance("Kelvo", 1, 0, "Localization", &LocalizationSettings::shared());
    qmlRegisterSingletonInstance("Kelvo", 1, 0, "Actions", &actions);
    qmlRegisterSingletonInstance("Kelvo", 1, 0, "SizeText", &sizeText);
    engine.addImageProvider(QStringLiteral("appicon"), new AppIconProvider);
    engine.load(mainUrl());
}

} // namespace KelvoWindow
