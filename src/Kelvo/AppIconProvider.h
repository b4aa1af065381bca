#pragma once

#include <QQuickImageProvider>

// Serves "image://appicon/<bundle path, percent-encoded>": the icon an application bundle names in
// its Info.plist, read through Qt's image plugins (the .icns reader included), or the neutral
// application icon when the bundle has no readable one.
class AppIconProvider : public QQuickImageProvider {
public:
    AppIconProvider();
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};
