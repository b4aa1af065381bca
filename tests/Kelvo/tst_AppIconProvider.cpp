#include "TestMain.h"

#include "AppIconProvider.h"
#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// A bundle whose Info.plist names iconName (none when empty) and whose Resources hold the given file,
// written in the format given or, with none, as bytes that are no image.
QString bundle(const QString& folder, const QString& iconName, const QString& resource, const QImage& image,
               const QByteArray& format)
{
    const QString path = makeApp(folder, "Tool", {}, {{"CFBundleIconFile", iconName}});
    const QString target = path + "/Contents/Resources/" + resource;
    if (!resource.isEmpty() && format.isEmpty())
        SyntheticHome::write(target, "icns but not really");
    else if (!resource.isEmpty())
        QImageWriter(SyntheticHome::file(target), format).write(image);
    return path;
}

QImage filled(int side, QColor colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestAppIconProvider : public QObject {
    Q_OBJECT

private slots:
    void bundlesShowTheirOwnIconOrTheNeutralOne_data()
    {
        QTest::addColumn<QString>("iconName");
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QByteArray>("format"); // empty: the file is not an image
        QTest::addColumn<bool>("own");
        QTest::newRow("icns named without suffix") << "AppIcon"
                                                   << "AppIcon.icns" << QByteArray("icns") << true;
        QTest::newRow("png named with suffix") << "Icon.png"
                                               << "Icon.png" << QByteArray("png") << true;
        QTest::newRow("no icon named") << ""
                                       << "AppIcon.icns" << QByteArray("icns") << false;
        QTest::newRow("named icon missing") << "AppIcon"
                                            << "" << QByteArray() << false;
        QTest::newRow("corrupt icon file") << "AppIcon"
                                           << "AppIcon.icns" << QByteArray() << false;
    }
    void bundlesShowTheirOwnIconOrTheNeutralOne()
    {
        QFETCH(QString, iconName);
        QFETCH(QString, resource);
        QFETCH(QByteArray, format);
        QFETCH(bool, own);
        QTemporaryDir dir;
        const QString path = bundle(dir.path(), iconName, resource, filled(64, Qt::red), format);

        AppIconProvider provider;
        QSize size;
        const QImage image =
            provider.requestImage(QString::fromUtf8(QUrl::toPercentEncoding(path)), &size, QSize(32, 32));
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(size, QSize(32, 32));
        QImageReader neutralReader(":/icons/app.svg");
        neutralReader.setScaledSize(QSize(32, 32));
        const QImage neutral = neutralReader.read();
        QVERIFY(!neutral.isNull());
        QCOMPARE(image.convertToFormat(QImage::Format_ARGB32) ==
                     neutral.convertToFormat(QImage::Format_ARGB32),
                 !own);
        if (own)
            QCOMPARE(QColor(image.pixel(16, 16)), QColor(Qt::red));
    }

    void theIconIsScaledToTheRequestedSize()
    {
        // Asking for a smaller size scales the icon down, a larger one up; no size keeps its own.
        QTemporaryDir dir;
        const QString path = bundle(dir.path(), "Icon.png", "Icon.png", filled(48, Qt::blue), "png");
        AppIconProvider provider;
        const QString id = QString::fromUtf8(QUrl::toPercentEncoding(path));
        QCOMPARE(provider.requestImage(id, nullptr, QSize(16, 16)).size(), QSize(16, 16));
        QCOMPARE(provider.requestImage(id, nullptr, QSize(96, 96)).size(), QSize(96, 96));
        QCOMPARE(provider.requestImage(id, nullptr, QSize()).size(), QSize(48, 48));
    }
};

KELVO_REGISTER_TEST(TestAppIconProvider)
#include "tst_AppIconProvider.moc"
