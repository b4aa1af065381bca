#include "TestMain.h"

#include "SyntheticHome.h"
#include "WindowBackgroundStore.h"

#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

using SyntheticHome::contents;
using SyntheticHome::write;

class TestWindowBackgroundStore : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_support = m_dir->filePath("Application Support/Kelvo");
    }

    void installedNameFollowsTheSource_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("extension");
        QTest::newRow("png") << "sunset.png"
                             << "png";
        QTest::newRow("upper-case extension") << "SUNSET.PNG"
                                              << "png";
        QTest::newRow("no extension") << "sunset"
                                      << "jpg";
        QTest::newRow("two dots") << "my.holiday.HEIC"
                                  << "heic";
    }
    void installedNameFollowsTheSource()
    {
        QFETCH(QString, source);
        QFETCH(QString, extension);
        const QString sourcePath = write(m_dir->filePath(source), "image bytes");
        const QString installed = WindowBackgroundStore::installImage(sourcePath, m_support);
        static const QRegularExpression name(
            "^wallpaper-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.(\\w+)$");
        const QRegularExpressionMatch match = name.match(QFileInfo(installed).fileName());
        QVERIFY2(match.hasMatch(), qPrintable(installed));
        QCOMPARE(match.captured(1), extension);
        QCOMPARE(QFileInfo(installed).absolutePath(), m_support + "/WindowBackground");
        QCOMPARE(contents(installed), QByteArray("image bytes"));
        QVERIFY(QFileInfo::exists(sourcePath));
    }

    void installingReplacesEveryEarlierWallpaper()
    {
        const QString first =
            WindowBackgroundStore::installImage(write(m_dir->filePath("a.png"), "a"), m_support);
        const QString folder = QFileInfo(first).absolutePath();
        write(folder + "/wallpaper-stray.jpg", "stray");
        write(folder + "/notes.txt", "kept");
        const QString second =
            WindowBackgroundStore::installImage(write(m_dir->filePath("b.jpg"), "b"), m_support);
        QCOMPARE(QDir(folder).entryList({"wallpaper*"}, QDir::Files),
                 QStringList{QFileInfo(second).fileName()});
        QVERIFY(QFileInfo::exists(folder + "/notes.txt"));
    }

    void aVanishedSourceKeepsTheCurrentWallpaper()
    {
        const QString current =
            WindowBackgroundStore::installImage(write(m_dir->filePath("a.png"), "a"), m_support);
        QVERIFY_THROWS_EXCEPTION(KelvoError,
                                 WindowBackgroundStore::installImage(m_dir->filePath("gone.png"), m_support));
        QVERIFY(QFileInfo::exists(current));
    }

    void removingLeavesOtherFilesAlone()
    {
        const QString installed =
            WindowBackgroundStore::installImage(write(m_dir->filePath("a.png"), "a"), m_support);
        const QString folder = QFileInfo(installed).absolutePath();
        write(folder + "/keep.png", "keep");
        WindowBackgroundStore::removeInstalledImages(m_support);
        QVERIFY(!QFileInfo::exists(installed));
        QVERIFY(QFileInfo::exists(folder + "/keep.png"));
    }

    void aStorageFolderBlockedByAFileIsAnError()
    {
        write(m_dir->filePath("blocked"), "a file where the folder should be");
        QVERIFY_THROWS_EXCEPTION(KelvoError,
                                 WindowBackgroundStore::storageDirectory(m_dir->filePath("blocked")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_support;
};

KELVO_REGISTER_TEST(TestWindowBackgroundStore)
#include "tst_WindowBackgroundStore.moc"
