#include "views/QmlTypes.h"

#include <QQmlEngine>

namespace {

AppModel* givenModel = nullptr;

template <typename Object> Object* keptByCpp(Object* object)
{
    QQmlEngine::setObjectOwnership(object, QQmlEngine::CppOwnership);
    return object;
}

} // namespace

void QmlTypes::provideAppModel(AppModel* model)
{
    givenModel = model;
}

AppModel* AppModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    Q_ASSERT_X(givenModel, "AppModel", "the window loads only after a controller was provided");
    return keptByCpp(givenModel);
}

LocalizationSettings* LocalizationSingleton::create(QQmlEngine*, QJSEngine*)
{
    return keptByCpp(&LocalizationSettings::shared());
}
