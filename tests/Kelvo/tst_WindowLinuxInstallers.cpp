// Installer Cleanup on a Linux desktop as a person sees it: the folders its user-dirs file names
// (下载, 桌面 and 文档 on a Chinese one), the Linux file types, and each package with its kind.
#include "TestMain.h"

#include "../KelvoCore/installer/ZipDirectory.h"
#include "WindowTestSupport.h"

#include <QFileInfo>

class TestWindowLinuxInstallers : public WindowTestCase {
    Q_OBJECT

    // A Chinese desktop names its folders in its user-dirs file; an English one keeps the usual names.
    // Each folder gets an installer, the documents a zip carrying an AppImage and one of photos.
    QStringList buildHome(bool chinese)
    {
        const QStringList folders =
            chinese ? QStringList{"下载", "桌面", "文档"} : QStringList{"Downloads", "Desktop", "Documents"};
        QStringList paths;
        for (const QString& folder : folders)
            paths << homePath(folder);
        SyntheticHome::write(homePath(".config/user-dirs.dirs"),
                             "XDG_DOWNLOAD_DIR=\"$HOME/" + folders[0].toUtf8() +
                                 "\"\nXDG_DESKTOP_DIR=\"$HOME/" + folders[1].toUtf8() +
                                 "\"\nXDG_DOCUMENTS_DIR=\"$HOME/" + folders[2].toUtf8() + "\"\n");
        SyntheticHome::file(paths[0] + "/tool_2.4_amd64.deb", 3'000'000);
        SyntheticHome::file(paths[0] + "/Notes-x86_64.AppImage", 2'000'000);
        SyntheticHome::file(paths[1] + "/editor-1.8.x86_64.rpm", 1'200'000);
        SyntheticHome::write(paths[2] + "/viewer.zip", zipOf({"Viewer/Viewer-x86_64.AppImage"}));
        SyntheticHome::write(paths[2] + "/photos.zip", zipOf({"beach.jpg", "notes.txt"}));
        return paths;
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>();
        m_fixture->installerPlaces = {{},
                                      m_fixture->home,
                                      {},
                                      LocalInstallerPreview::InstallerSystem::linuxDesktop,
                                      homePath(".config")};
        openWindow();
    }

    void packagesAreListedWithTheirKinds_data() { languageRows(); }
    void packagesAreListedWithTheirKinds()
    {
        if (!QFileInfo("/usr/bin/unzip").isExecutable())
            QSKIP("needs /usr/bin/unzip to list the archive");
        useRowLanguage();
        const QStringList folders = buildHome(rowLanguage() == "zh");
        showPage("installer");
        QStringList searched;
        for (const QVariant& location : model().installer()->scanLocations())
            searched << location.toMap()["path"].toString();
        QCOMPARE(searched.mid(0, 3), folders);

        click("installerPreviewButton");
        waitForTheRun();
        QStringList kinds;
        for (const auto& entry : model().installer()->report()->entries)
            kinds << entry.kind;
        QCOMPARE(kinds, (QStringList{"deb", "appimage", "rpm", "archive"}));
        const QVariantMap report = model().installer()->property("report").toMap();
        QCOMPARE(linesIn(shown("installerRow"), "rowName rowKind rowSource"),
                 linesOf(report["entries"], "name kind source"));
        scrollIntoView(shown("installerRow").constFirst());
        photograph(shotName("installer-linux"));
    }
};

KELVO_REGISTER_TEST(TestWindowLinuxInstallers)
#include "tst_WindowLinuxInstallers.moc"
