#include "app/AppIconProvider.h"

#include "uninstall/LinuxIcons.h"
#include "uninstall/LocalUninstallPreview.h"

#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

AppIconProvider::AppIconProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{
}

QImage AppIconProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    const QString path = QUrl::fromPercentEncoding(id.toUtf8());
    // A Linux application names its PNG or SVG file itself; a bundle names its icon in its Info.plist.
    const std::optional<QString> file =
        LinuxIcons::isIconFile(path) ? std::optional(path) : LocalUninstallPreview::iconFilePath(path);
    // A drawing is drawn at the size asked for; a picture file picks the best of the sizes it holds.
    const bool drawing = file && QStringList{QStringLiteral("svg"), QStringLiteral("svgz")}.contains(
                                     QFileInfo(*file).suffix(), Qt::CaseInsensitive);
    QImage best;
    if (drawing) {
        QImageReader reader(*file);
        if (requestedSize.isValid())
            reader.setScaledSize(requestedSize);
        best = reader.read();
    } else if (file) {
        // An icon file holds several sizes: take the smallest that is at least as large as asked.
        const int wanted = std::max(requestedSize.width(), requestedSize.height());
        QImageReader reader(*file);
        const int count = std::max(reader.imageCount(), 1);
        for (int index = 0; index < count; ++index) {
            if (index > 0 && !reader.jumpToImage(index))
                break;
            const QImage image = reader.read();
            if (image.isNull())
                continue;
            const int side = std::max(image.width(), image.height());
            const int bestSide = std::max(best.width(), best.height());
            const bool fits = side >= wanted;
            const bool bestFits = !best.isNull() && bestSide >= wanted;
            if (best.isNull() || (fits && (!bestFits || side < bestSide)) ||
                (!fits && !bestFits && side > bestSide))
                best = image;
        }
    }
    if (best.isNull()) {
        QImageReader neutral(QStringLiteral(":/icons/app.svg"));
        if (requestedSize.isValid())
            neutral.setScaledSize(requestedSize);
        best = neutral.read();
    } else if (requestedSize.isValid()) {
        best = best.scaled(requestedSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (size)
        *size = best.size();
    return best;
}
