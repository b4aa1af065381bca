// The installer preview of a Linux desktop against a synthetic home: the folders the user-dirs file
// names, the Linux packages and the archives that carry one, and the macOS places kept for macOS.
#include "TestMain.h"

#include "SyntheticHome.h"
#include "ZipDirectory.h"

#include "installer/LocalInstallerPreview.h"

using namespace SyntheticHome;
using namespace std::chrono_literals;
using namespace TestSupport;

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
                    TargetSystem::linuxDesktop,
                    m_home + "/.config"};
    }

    // Files below the test folder, found with their kind or ("-") not found: a Linux desktop searches the
    // folders its user-dirs file names for its own packages, macOS its own places for its types (depth,
    // hidden items and links are the shared walk's, checked with the macOS places).
    void finds_data()
    {
        columns<TargetSystem, QByteArray, QStringList>("system", "userDirs", "files");
        const TargetSystem onLinux = TargetSystem::linuxDesktop;
        row("the folders a Chinese user-dirs file names, not the usual ones nor macOS's", onLinux,
            chineseUserDirs,
            QStringList{"home/下载/a.deb=deb", "home/桌面/b.rpm=rpm", "home/文档/s/c.AppImage=appimage",
                        "-home/Downloads/d.deb", "-shared/e.deb", "-system/Updates/f.deb"});
        row("every package type, in any letter case", onLinux, QByteArray(),
            QStringList{"home/Downloads/a.DEB=deb", "home/Downloads/b.Rpm=rpm",
                        "home/Downloads/c.appimage=appimage", "home/Downloads/d.FlatpakRef=flatpakref",
                        "home/Downloads/e.flatpak=flatpak", "home/Desktop/f.SNAP=snap",
                        "home/Documents/g.run=run"});
        row("not Linux installers, or not in a searched folder", onLinux, QByteArray(),
            QStringList{"-home/Downloads/a.dmg", "-home/Downloads/c.deb.part", "-home/Music/f.deb",
                        "-home/Downloads/h.tar"});
        row("macOS keeps its places and types", TargetSystem::macOS, chineseUserDirs,
            QStringList{"home/Downloads/a.dmg=", "shared/b.pkg=", "-home/下载/c.dmg",
                        "-home/Downloads/d.deb"});
    }
    void finds()
    {
        const auto [system, userDirs, files] =
            fetch<TargetSystem, QByteArray, QStringList>("system", "userDirs", "files");
        if (!userDirs.isNull())
            write(m_home + "/.config/user-dirs.dirs", userDirs);
        m_places.system = system;
        QStringList expected;
        for (const QString& entry : files) {
            const QString path = entry.section('=', 0, 0);
            file(m_box.path(path.startsWith('-') ? path.mid(1) : path));
            if (!path.startsWith('-'))
                expected << entry;
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
        row("a zip carrying an AppImage", "a.zip", zipOf({"Tool/Tool-x86_64.AppImage"}), none, true);
        row("a zip carrying only text", "b.zip", zipOf({"README.txt", "deb/notes"}), none, false);
        row("a zip that cannot be listed, a package name in its bytes", "c.ZIP",
            QByteArray(2000, 'j') + "setup.deb", none, false);
        row("a tarball in capitals carrying a package", "d.TGZ", x, QStringList{"echo d/tool.run"}, true);
        row("a tarball whose lister fails", "e.tar.xz", x, QStringList{"echo a.deb; exit 2"}, false);
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
};

KELVO_REGISTER_TEST(TestLinuxInstallerPreview)
#include "tst_LinuxInstallerPreview.moc"
