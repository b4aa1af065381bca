// The installer preview of a Linux desktop against a synthetic home: the folders the user-dirs file
// names, the Linux packages and the archives that carry one, and the macOS places kept for macOS.
#include "TestMain.h"

#include "SyntheticHome.h"
#include "ZipDirectory.h"

#include "installer/LocalInstallerPreview.h"
#include "platform/ToolRunner.h"

using namespace SyntheticHome;
using namespace std::chrono_literals;
using namespace TestSupport;
using LocalInstallerPreview::InstallerSystem;

namespace {

const QByteArray chineseUserDirs = "# written by xdg-user-dirs-update\n"
                                   "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n"
                                   "XDG_DOWNLOAD_DIR=\"$HOME/下载\"\n"
                                   "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n";

} // namespace

class TestLinuxInstallerPreview : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    LocalInstallerPreview::Places m_places;

    // "path=kind" for each entry, below the test folder, sorted.
    QStringList found(const LocalInstallerPreview::Options& options = {})
    {
        QStringList lines;
        for (const auto& entry : LocalInstallerPreview::snapshot(m_home, m_places, 2, options).entries)
            lines << entry.path.mid(m_box.path().size() + 1) + "=" + entry.kind;
        lines.sort();
        return lines;
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        // The shared folder and the system places are given, so that leaving them out is seen.
        m_places = {m_box.path("shared"),
                    m_home,
                    {{m_box.path("system/Updates"), "系统更新", "System Updates"}},
                    InstallerSystem::linuxDesktop,
                    m_home + "/.config"};
    }

    // The places each system searches, in order; a Linux desktop's come from its user-dirs file.
    void places_data()
    {
        columns<InstallerSystem, QByteArray, QStringList>("system", "userDirs", "places");
        const InstallerSystem onLinux = InstallerSystem::linuxDesktop;
        row("Linux, a Chinese user-dirs file", onLinux, chineseUserDirs,
            QStringList{"home/下载", "home/桌面", "home/文档", "home/Public", "home/下载/Telegram Desktop"});
        row("Linux, no user-dirs file", onLinux, QByteArray(),
            QStringList{"home/Downloads", "home/Desktop", "home/Documents", "home/Public",
                        "home/Downloads/Telegram Desktop"});
        row("macOS ignores the user-dirs file", InstallerSystem::macOS, chineseUserDirs,
            QStringList{"home/Downloads", "home/Desktop", "home/Documents", "home/Public",
                        "home/Library/Downloads", "shared", "shared/Downloads",
                        "home/Library/Caches/Homebrew",
                        "home/Library/Mobile Documents/com~apple~CloudDocs/Downloads",
                        "home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads",
                        "home/Library/Application Support/Telegram Desktop",
                        "home/Downloads/Telegram Desktop", "system/Updates"});
    }
    void places()
    {
        const auto [system, userDirs, places] =
            fetch<InstallerSystem, QByteArray, QStringList>("system", "userDirs", "places");
        if (!userDirs.isNull())
            write(m_home + "/.config/user-dirs.dirs", userDirs);
        m_places.system = system;
        QStringList paths;
        for (const auto& location : LocalInstallerPreview::availableScanLocations(m_home, m_places))
            paths << location.path.mid(m_box.path().size() + 1);
        QCOMPARE(paths, places);
    }

    // Files below the home folder, found with their kind or ("-") not found.
    void finds_data()
    {
        columns<QByteArray, QStringList>("userDirs", "files");
        row("the folders a Chinese user-dirs file names, not the usual ones", chineseUserDirs,
            QStringList{"下载/a.deb=deb", "桌面/b.rpm=rpm", "文档/s/c.AppImage=appimage", "-Downloads/d.deb",
                        "-Desktop/e.deb"});
        row("every package type, in any letter case", QByteArray(),
            QStringList{"Downloads/a.DEB=deb", "Downloads/b.Rpm=rpm", "Downloads/c.appimage=appimage",
                        "Downloads/d.FlatpakRef=flatpakref", "Downloads/e.flatpak=flatpak",
                        "Desktop/f.SNAP=snap", "Documents/g.run=run"});
        row("not Linux installers, or not where they are looked for", QByteArray(),
            QStringList{"-Downloads/a.dmg", "-Downloads/b.pkg", "-Downloads/c.deb.part", "-Downloads/.d.deb",
                        "-Downloads/s/t/e.deb", "-Music/f.deb", "-Downloads/Tool.app.zip"});
    }
    void finds()
    {
        const auto [userDirs, files] = fetch<QByteArray, QStringList>("userDirs", "files");
        if (!userDirs.isNull())
            write(m_home + "/.config/user-dirs.dirs", userDirs);
        QStringList expected;
        for (const QString& entry : files) {
            const QString path = entry.section('=', 0, 0);
            file(m_home + "/" + (path.startsWith('-') ? path.mid(1) : path));
            if (!path.startsWith('-'))
                expected << "home/" + entry;
        }
        expected.sort();
        QCOMPARE(found(), expected);
    }

    // An archive is an installer when its listing shows a package among its first fifty names; one
    // that cannot be listed is not, whatever its bytes hold.
    void archives_data()
    {
        // tools: shell scripts standing in for the archive's listing tool; none: unzip and tar
        columns<QString, QByteArray, QStringList, bool>("name", "bytes", "tools", "listed");
        const QStringList none;
        const QByteArray x = "x";
        QString fifty;
        for (int i = 1; i <= 50; ++i)
            fifty += QString("echo p%1.txt; ").arg(i);
        row("a zip carrying an AppImage", "a.zip", zipOf({"Tool/Tool-x86_64.AppImage"}), none, true);
        row("a zip carrying only text", "b.zip", zipOf({"README.txt", "deb/notes"}), none, false);
        row("a zip that cannot be listed, a package name in its bytes", "c.ZIP",
            QByteArray(2000, 'j') + "setup.deb", none, false);
        row("a tarball in capitals carrying a package", "d.TGZ", x, QStringList{"echo d/tool.run"}, true);
        row("a tarball whose lister fails", "e.tar.xz", x, QStringList{"echo a.deb; exit 2"}, false);
        row("the 50th name counts", "f.tar.zst", x,
            QStringList{fifty.mid(fifty.indexOf(';') + 1) + "echo x.snap"}, true);
        row("the 51st does not", "g.tar.bz2", x, QStringList{fifty + "echo x.snap"}, false);
        row("a plain tarball is not looked at", "h.tar", x, QStringList{"echo x.deb"}, false);
    }
    void archives()
    {
        const auto [name, bytes, tools, listed] =
            fetch<QString, QByteArray, QStringList, bool>("name", "bytes", "tools", "listed");
        LocalInstallerPreview::Options options;
        if (!tools.isEmpty()) {
            options.listing = {{}, 1000ms}; // far above a shell's start, even on a busy machine
            for (const QString& script : tools)
                options.listing.tools.push_back({"/bin/sh", {"-c", script, "lister"}});
            options.tarListing = options.listing;
        } else if (!QFileInfo("/usr/bin/unzip").isExecutable()) {
            QSKIP("needs /usr/bin/unzip");
        }
        write(m_home + "/Downloads/" + name, bytes);
        QCOMPARE(found(options), listed ? QStringList{"home/Downloads/" + name + "=archive"} : QStringList{});
    }

    // The standard tar listing reads a compressed tarball as the machine's tar writes it, and the
    // archive's kind names what it carries.
    void aRealTarballIsListed()
    {
        if (!QFileInfo("/usr/bin/tar").isExecutable() || !QFileInfo("/usr/bin/xz").isExecutable())
            QSKIP("needs /usr/bin/tar and xz");
        file(m_box.path("content/app/Notes.AppImage"));
        const QString archive = m_home + "/Downloads/notes.tar.xz";
        folder(m_home + "/Downloads");
        QVERIFY(ToolRunner::run({"/usr/bin/tar", {"-cJf", archive, "-C", m_box.path("content"), "app"}, 20s})
                    .succeeded());
        const auto entries = LocalInstallerPreview::snapshot(m_home, m_places).entries;
        QCOMPARE(entries.size(), std::size_t(1));
        QCOMPARE(entries[0].kind + " " + entries[0].kindText, "archive Archive · AppImage");
    }

    // A link is never listed, whatever it leads to, nor is a linked folder searched.
    void linksAreNeitherListedNorFollowed()
    {
        link(file(m_box.path("outside/real.deb")), m_home + "/Downloads/link.deb");
        link(file(m_box.path("outside/real.AppImage")), m_home + "/Desktop/Tool.AppImage");
        link(m_box.path("outside"), m_home + "/Documents/dir");
        link(m_box.path("outside"), m_home + "/Public");
        QCOMPARE(found(), QStringList{});
    }
};

KELVO_REGISTER_TEST(TestLinuxInstallerPreview)
#include "tst_LinuxInstallerPreview.moc"
