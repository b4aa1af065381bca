#include "platform/SystemColorSchemePortal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceNamespace = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");
// The start-up asks without waiting; a portal that has not answered by then is taken as absent.
constexpr int replyTimeoutMs = 1500;

// ReadOne answers a variant; the older Read answers the value wrapped in one more.
QVariant unwrapped(QVariant value)
{
    while (value.typeId() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

std::unique_ptr<SystemColorScheme> SystemColorScheme::create(QObject* parent)
{
    return std::make_unique<PortalColorScheme>(parent);
}

PortalColorScheme::PortalColorScheme(QObject* parent)
    : SystemColorScheme(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QDBusMessage)));
    read(QStringLiteral("ReadOne"));
}

void PortalColorScheme::settingChanged(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() == 3 && arguments[0].toString() == appearanceNamespace &&
        arguments[1].toString() == colorSchemeKey)
        setPrefersDark(portalValuePrefersDark(unwrapped(arguments[2])));
}

void PortalColorScheme::read(const QString& method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, method);
    call << appearanceNamespace << colorSchemeKey;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, replyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, method](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *done;
        if (reply.isError()) {
            // Any error but a missing ReadOne leaves the light preference.
            if (method == QLatin1String("ReadOne") && reply.error().type() == QDBusError::UnknownMethod)
                read(QStringLiteral("Read"));
            return;
        }
        setPrefersDark(portalValuePrefersDark(unwrapped(reply.value().variant())));
    });
}
