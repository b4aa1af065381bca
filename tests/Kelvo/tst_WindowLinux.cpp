// Installer Cleanup and Uninstall on a Linux home as a person sees them: the folders the user-dirs file
// names (下载, 桌面 and 文档 on a Chinese desktop), each package with its kind; AppImages, local programs
// and a Flatpak app listed by a stand-in flatpak, each with its icon.
#include "TestMain.h"

#include "../KelvoCore/installer/ZipDirectory.h"
#include "../KelvoCore/optimize/StandInTool.h"
#include "WindowTestSupport.h"
#include "app/AppIconProvider.h"

#include <QImageWriter>

using SyntheticHome::file;
using SyntheticHome::write;

class TestWindowLinux : public WindowTestCase {
    Q_OBJECT

    QString obsidianIcon() const { return homePath(".local/share/icons/hicolor/256x256/apps/obsidian.png"); }

    // An installer in each folder the user-dirs file names, and in the documents a zip carrying one.
    void buildInstallers(const QStringList& folders)
    {
        write(homePath(".config/user-dirs.dirs"),
              "XDG_DOWNLOAD_DIR=\"$HOME/" + folders[0].toUtf8() + "\"\nXDG_DESKTOP_DIR=\"$HOME/" +
                  folders[1].toUtf8() + "\"\nXDG_DOCUMENTS_DIR=\"$HOME/" + folders[2].toUtf8() + "\"\n");
        file(homePath(folders[0] + "/tool_2.4_amd64.deb"), 3'000'000);
        file(homePath(folders[0] + "/notes.flatpakref"), 2'000);
        file(homePath(folders[1] + "/editor-1.8.x86_64.rpm"), 1'200'000);
        write(homePath(folders[2] + "/viewer.zip"), zipOf({"Viewer/Viewer-x86_64.AppImage"}));
    }

    // An AppImage with its entry and a PNG icon, a program in ~/opt with an SVG one, an entry whose program
    // is gone and one that names a folder, a Flatpak app with its exported icon, and each one's leftovers.
    void buildApps()
    {
        SyntheticHome::executable(homePath("Applications/Obsidian-1.5.3.AppImage"), 2'400'000);
        write(homePath(".local/share/applications/md.obsidian.desktop"),
              "[Desktop Entry]\nName=Obsidian\nName[zh_CN]=Obsidian 笔记\nIcon=obsidian\n"
              "Exec=\"~/Applications/Obsidian-1.5.3.AppImage\" %U\n");
        QImage icon(128, 128, QImage::Format_ARGB32);
        icon.fill(QColor(0x7C, 0x3A, 0xED));
        QImageWriter(file(obsidianIcon()), "png").write(icon);
        SyntheticHome::executable(homePath("opt/Zettlr/zettlr"), 1'800'000);
        const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
                               "<circle cx='5' cy='5' r='5' fill='#1cb27e'/></svg>";
        write(homePath(".local/share/applications/Zettlr.desktop"),
              "[Desktop Entry]\nName=Zettlr\nIcon=" + write(homePath("opt/Zettlr/zettlr.svg"), svg).toUtf8() +
                  "\nExec=env LANG=C ~/opt/Zettlr/zettlr\n");
        write(homePath(".local/share/applications/old-sync.desktop"),
              "[Desktop Entry]\nName=Old Sync\nExec=$HOME/opt/OldSync/sync --tray\n");
        write(homePath(".local/share/applications/notes-folder.desktop"),
              "[Desktop Entry]\nName=Notes Folder\nName[zh_CN]=笔记文件夹\nExec=$HOME/Documents\n");
        SyntheticHome::folder(homePath("Documents"));
        standInTool(m_fixture->systemRoot, "/usr/bin/flatpak",
                    "[ \"$1\" = list ] && printf 'org.gimp.GIMP\\tGNU Image Manipulation "
                    "Program\\t2.10.38\\t1.2 GB\\n'");
        file(homePath(".local/share/flatpak/app/org.gimp.GIMP/current/active/files/bin/gimp"), 3'100'000);
        write(homePath(".local/share/flatpak/exports/share/icons/hicolor/scalable/apps/org.gimp.GIMP.svg"),
              svg);
        for (const char* path :
             {".config/obsidian/obsidian.json", ".config/autostart/md.obsidian.desktop",
              ".cache/Zettlr/Cache/data_0", ".var/app/org.gimp.GIMP/config/GIMP/2.10/gimprc",
              ".cache/org.gimp.GIMP.thumbnails/a.png"})
            file(homePath(path), 40'000);
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>();
        m_fixture->installerPlaces = {
            {}, m_fixture->home, {}, TargetSystem::linuxDesktop, homePath(".config")};
        m_fixture->uninstallSystem = TargetSystem::linuxDesktop;
        buildApps();
        openWindow();
    }

    // The page searches the folders the user-dirs file names and shows what the preview found.
    void packagesAreListedWithTheirKinds_data() { languageRows(); }
    void packagesAreListedWithTheirKinds()
    {
        useRowLanguage();
        const QStringList folders = rowLanguage() == "zh" ? QStringList{"下载", "桌面", "文档"}
                                                          : QStringList{"Downloads", "Desktop", "Documents"};
        buildInstallers(folders);
        showPage("dashboard");
        showPage("installer"); // the places are looked at as the page opens
        QCOMPARE(linesOf(model().installer()->scanLocations(), "path").value(0), homePath(folders[0]));
        click("installerPreviewButton");
        waitForTheRun();
        QCOMPARE(linesIn(shown("installerRow"), "rowName rowKind rowSource"),
                 linesOf(model().installer()->entries(), "name kind source"));
        scrollIntoView(shown("installerRow").constFirst());
        photograph(shotName("installer-linux"));
    }

    // A Linux home is analysed with its personal folders (here 下载, 桌面 and 文档 on a Chinese desktop):
    // they are counted like any other folder, and nothing is said to be left out but hidden items.
    void aLinuxHomeIsAnalysedWithItsPersonalFolders_data() { languageRows(); }
    void aLinuxHomeIsAnalysedWithItsPersonalFolders()
    {
        useRowLanguage();
        const QString downloads = rowLanguage() == "zh" ? "下载" : "Downloads";
        file(homePath(downloads + "/large-download.iso"), 8'000'000);
        showPage("analyze");
        model().analysis()->setPath(m_fixture->home);
        click("analysisRunButton");
        waitForTheRun();
        QVERIFY(model().analysis()->report()->leftOut->protectedFolders.isEmpty());
        QVERIFY(linesIn(shown("analysisRow"), "rowName").contains(downloads));
        photograph(shotName("analyze-linux-home"));
    }

    // Every app's row shows the report and its icon; a row opens to its leftovers and can be chosen.
    void linuxAppsWithIconsAndLeftovers_data() { languageRows(); }
    void linuxAppsWithIconsAndLeftovers()
    {
        useRowLanguage();
        showPage("uninstall");
        click("uninstallPreviewButton");
        waitForTheRun();
        const QList<QQuickItem*> rows = shown("uninstallRow");
        QCOMPARE(linesIn(rows, "rowName rowSource rowSize"),
                 linesOf(model().uninstall()->apps(), "name source sizeText"));
        QCOMPARE(rows.size(), 5);
        for (QQuickItem* row : rows)
            QTRY_COMPARE(findItem(row, "rowAppIcon")->property("status").toInt(), 1); // Image.Ready
        // The icon is the app's own picture, not the neutral symbol.
        QSize size;
        const QImage picture =
            AppIconProvider().requestImage(QUrl::toPercentEncoding(obsidianIcon()), &size, {52, 52});
        QCOMPARE(picture.pixelColor(26, 26), QColor(0x7C, 0x3A, 0xED));
        QQuickItem* obsidian = nullptr;
        for (QQuickItem* row : rows)
            obsidian = textIn(row, "rowName").startsWith("Obsidian") ? row : obsidian;
        QVERIFY(obsidian);
        click(findItem(obsidian, "rowExpandButton"));
        click(findItem(obsidian, "rowSelectBox"));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("uninstall-linux"));
        verifyALiveSwitch(
            [&] {
                QCOMPARE(linesIn(shown("uninstallRow"), "rowName rowSource rowSize"),
                         linesOf(model().uninstall()->apps(), "name source sizeText"));
                QCOMPARE(textIn(obsidian, "rowName"), "Obsidian 笔记"); // the entry's own Chinese name
            },
            "zh-uninstall-switched");
        click(findItem(obsidian, "rowExpandButton"));
        click("clearSelectionButton");
    }
};

KELVO_REGISTER_TEST(TestWindowLinux)
#include "tst_WindowLinux.moc"
