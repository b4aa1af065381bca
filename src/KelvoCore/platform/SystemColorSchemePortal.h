#pragma once

#include "platform/SystemColorScheme.h"

class QDBusMessage;

// The freedesktop desktop portal's appearance setting (org.freedesktop.appearance color-scheme),
// asked once without waiting and followed through the portal's SettingChanged signal.
class PortalColorScheme final : public SystemColorScheme {
    Q_OBJECT

public:
    explicit PortalColorScheme(QObject* parent);

private slots:
    // Taken as the whole message: QtDBus 6.4 refuses to connect a slot that takes the value as a
    // QDBusVariant.
    void settingChanged(const QDBusMessage& message);

private:
    // ReadOne first; portals before it know only Read.
    void read(const QString& method);
};
