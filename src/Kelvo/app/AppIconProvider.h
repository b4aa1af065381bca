#pragma once

#include <QQuickImageProvider>

// Serves "image://appicon/<path, percent-encoded>": a Linux application's PNG or SVG icon file, or the
// icon an application bundle names in its Info.plist, read through Qt's image plugins (the .icns reader
// included), or the neutral application icon when there is no readable one.
class AppIconProvider : public QQuickImageProvider {
public:
    AppIconProvider();
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};
