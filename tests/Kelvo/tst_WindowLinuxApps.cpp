// The Uninstall page on a Linux home: an AppImage with its desktop entry and icon, a program in ~/opt,
// an entry whose program is gone and a Flatpak app listed by a stand-in flatpak.
#include "TestMain.h"

#include "../KelvoCore/optimize/StandInTool.h"
#include "AppIconProvider.h"
#include "WindowTestSupport.h"

#include <QImageWriter>

class TestWindowLinuxApps : public WindowTestCase {
    Q_OBJECT

    QString obsidianIcon() const { return homePath(".local/share/icons/hicolor/256x256/apps/obsidian.png"); }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>();
        m_fixture->uninstallSystem = UninstallSystem::linux;
        using SyntheticHome::file;
        using SyntheticHome::write;
        file(homePath("Applications/Obsidian-1.5.3.AppImage"), 2'400'000);
        write(homePath(".local/share/applications/md.obsidian.desktop"),
              "[Desktop Entry]\nType=Application\nName=Obsidian\nName[zh_CN]=Obsidian 笔记\nIcon=obsidian\n"
              "Exec=\"~/Applications/Obsidian-1.5.3.AppImage\" %U\n");
        QImage icon(128, 128, QImage::Format_ARGB32);
        icon.fill(QColor(0x7C, 0x3A, 0xED));
        QImageWriter(file(obsidianIcon()), "png").write(icon);
        file(homePath("opt/Zettlr/zettlr"), 1'800'000);
        const QString zettlrIcon = write(homePath("opt/Zettlr/zettlr.svg"),
                                         "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
                                         "<circle cx='5' cy='5' r='5' fill='#1cb27e'/></svg>");
        write(homePath(".local/share/applications/Zettlr.desktop"),
              ("[Desktop Entry]\nName=Zettlr\nIcon=" + zettlrIcon + "\nExec=env LANG=C ~/opt/Zettlr/zettlr\n")
                  .toUtf8());
        write(homePath(".local/share/applications/old-sync.desktop"),
              "[Desktop Entry]\nName=Old Sync\nExec=$HOME/opt/OldSync/sync --tray\n");
        standInTool(m_fixture->systemRoot, "/usr/bin/flatpak",
                    "[ \"$1\" = list ] && printf 'org.gimp.GIMP\\tGNU Image Manipulation "
                    "Program\\t2.10.38\\t1.2 GB\\n'");
        file(homePath(".local/share/flatpak/app/org.gimp.GIMP/current/active/files/bin/gimp"), 3'100'000);
        write(homePath(".local/share/flatpak/exports/share/icons/hicolor/scalable/apps/org.gimp.GIMP.svg"),
              "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>"
              "<rect width='10' height='10' rx='2' fill='#8a6f4b'/></svg>");
        for (const auto& [path, size] : std::initializer_list<std::pair<const char*, qint64>>{
                 {".config/obsidian/obsidian.json", 20'000},
                 {".config/autostart/md.obsidian.desktop", 300},
                 {".cache/Zettlr/Cache/data_0", 600'000},
                 {".config/Zettlr/config.json", 12'000},
                 {".var/app/org.gimp.GIMP/config/GIMP/2.10/gimprc", 40'000},
                 {".cache/org.gimp.GIMP.thumbnails/a.png", 250'000}})
            file(homePath(path), size);
        openWindow();
    }

    void linuxAppsWithIconsAndLeftovers_data() { languageRows(); }
    void linuxAppsWithIconsAndLeftovers()
    {
        useRowLanguage();
        showPage("uninstall");
        click("uninstallPreviewButton");
        waitForTheRun();
        const QList<QQuickItem*> rows = shown("uninstallRow");
        const QVariantList entries =
            model().property("uninstall").value<QObject*>()->property("report").toMap()["entries"].toList();
        QCOMPARE(linesIn(rows, "rowName rowSource rowSize"), linesOf(entries, "name source sizeText"));
        QCOMPARE(rows.size(), 4);
        for (QQuickItem* row : rows)
            QTRY_COMPARE(findItem(row, "rowAppIcon")->property("status").toInt(), 1); // Image.Ready
        // The icon is the app's own picture, not the neutral symbol.
        QSize size;
        const QImage picture =
            AppIconProvider().requestImage(QUrl::toPercentEncoding(obsidianIcon()), &size, {52, 52});
        QCOMPARE(picture.pixelColor(26, 26), QColor(0x7C, 0x3A, 0xED));
        QQuickItem* obsidian = nullptr;
        for (QQuickItem* row : rows)
            if (textIn(row, "rowName").startsWith("Obsidian"))
                obsidian = row;
        QVERIFY(obsidian);
        click(findItem(obsidian, "rowExpandButton"));
        click(findItem(obsidian, "rowSelectBox"));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("uninstall-linux"));
        click(findItem(obsidian, "rowExpandButton"));
        click("clearSelectionButton");
    }
};

KELVO_REGISTER_TEST(TestWindowLinuxApps)
#include "tst_WindowLinuxApps.moc"
