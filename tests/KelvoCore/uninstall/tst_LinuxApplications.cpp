// The Linux application scan against a synthetic home: desktop entries, AppImages, a stand-in
// flatpak and the leftovers each app claims.
#include "TestMain.h"

#include "../optimize/StandInTool.h"
#include "SyntheticHome.h"

#include "platform/DesktopEntry.h"
#include "uninstall/FlatpakTool.h"
#include "uninstall/LinuxApplications.h"
#include "uninstall/LinuxLeftovers.h"

#include <chrono>

using namespace SyntheticHome;
using namespace TestSupport;
using namespace std::chrono_literals;

class TestLinuxApplications : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    QString tool(const QByteArray& body)
    {
        return standInTool(m_box.path("system"), "/usr/bin/flatpak", body);
    }

    UninstallPreviewReport scan(const QString& flatpak = {})
    {
        return LinuxApplications::snapshot(m_home, {flatpak, 2s, std::nullopt, m_box.path("system")});
    }

    // "path below the home:s" (strong) or ":p" (possible) of each leftover of the entry named so.
    QStringList leftoversOf(const UninstallPreviewReport& report, const QString& name) const
    {
        QStringList lines;
        for (const auto& entry : report.entries)
            if (entry.name == name)
                for (const auto& leftover : entry.leftovers)
                    lines << leftover.path.mid(m_home.size() + 1) +
                                 (leftover.match == UninstallPreviewReport::LeftoverMatch::strong ? ":s"
                                                                                                  : ":p");
        return lines;
    }

    // Makes each "path" an executable, "-path" a plain file and "path>target" a link to home/target.
    void make(const QStringList& files)
    {
        for (const QString& item : files)
            if (item.contains('>'))
                link(m_home + "/" + item.section('>', 1), m_home + "/" + item.section('>', 0, 0));
            else if (item.startsWith('-'))
                file(m_home + "/" + item.mid(1), 3000);
            else
                executable(m_home + "/" + item, 3000);
    }

    QString entry(const QString& id, const QByteArray& lines)
    {
        return write(m_home + "/.local/share/applications/" + id + ".desktop",
                     "[Desktop Entry]\nType=Application\n" + m_box.expand(lines).toUtf8() + "\n");
    }

    // "name|source|path below the home" of each entry, in report order.
    QStringList listed(const UninstallPreviewReport& report) const
    {
        QStringList lines;
        for (const auto& entry : report.entries)
            lines << entry.name + "|" + entry.source.text().section(" · ", 0, 0) + "|" +
                         entry.path.mid(m_home.size() + 1);
        return lines;
    }

private slots:
    void init() { m_home = m_box.renew(); }

    // The program a command line starts, quoted and prefixed as desktop entries write it.
    void program_data()
    {
        columns<QString, QString>("exec", "expected"); // "{home}" stands for the home folder; empty: none
        row("quoted with spaces", "\"~/My Apps/run me\" --flag", "{home}/My Apps/run me");
        row("escapes inside quotes", R"("/x/a\"b\\c\$d" %f)", R"(/x/a"b\c$d)");
        row("env by path and its variables first", "/usr/bin/env A=1 LANG=C $HOME/bin/t", "{home}/bin/t");
        row("only a space, tab or line feed separates words", "/opt/my\u3000app\u00a0\f/run\tx\ny",
            "/opt/my\u3000app\u00a0\f/run");
        row("env options taking an argument", "env -u NAME -C /opt/dir prog", "prog");
        row("env options attached, long and clustered",
            "env -uNAME -C/d --unset=X --chdir /d -iv0 --ignore-environment --null - A=1 ~/bin/t",
            "{home}/bin/t");
        row("env -S's string read as arguments", "env -S \"-u X A=1 prog --flag\" %f", "prog");
        row("env --split-string before more words", "env --split-string=A=1 ~/bin/t", "{home}/bin/t");
        row("-- ends env's options", "env -i -- -x", "-x");
        row("an option env does not take", "env -a name prog", "");
        row("an option without its argument", "env -C", "");
        row("a path with '=' is a program", "/x/a=b", "/x/a=b");
        row("~ only as the home folder", "~other/bin/tool", "~other/bin/tool");
        row("env alone", "env A=1", "");
        row("nothing", "  ", "");
    }
    void program()
    {
        const auto [exec, expected] = fetch<QString, QString>("exec", "expected");
        QCOMPARE(DesktopEntry::program(exec, m_home).value_or(""), m_box.expand(expected));
    }

    // Which desktop entries make an app, and what goes to the Trash with it: an executable file reached
    // without a link is a program; anything else an entry names leaves the entry alone, marked.
    void desktopEntries_data()
    {
        // The entry's lines, files made below the home folder (see make), what is listed.
        columns<QString, QStringList, QStringList>("entry", "files", "expected");
        const QString alone = "|.local/share/applications/tool.desktop";
        row("own folder below ~/opt", "Name=Tool\nExec=~/opt/Tool/bin/tool %F",
            QStringList{"opt/Tool/bin/tool"}, QStringList{"Tool|Local App|opt/Tool"});
        row("own folder below ~/.local/share", "Name=Tool\nExec=$HOME/.local/share/Tool/tool",
            QStringList{".local/share/Tool/tool"}, QStringList{"Tool|Local App|.local/share/Tool"});
        row("directly in ~/.local/bin: the file", "Name=Tool\nExec=tool", QStringList{".local/bin/tool"},
            QStringList{"Tool|Local App|.local/bin/tool"});
        row("in a folder of the home folder, quoted: the file alone",
            "Name=Tool\nExec=\"{home}/code/Tool/tool\"", QStringList{"code/Tool/tool"},
            QStringList{"Tool|Local App|code/Tool/tool"});
        row("a launcher kept among the entries: the file alone",
            "Name=Tool\nExec=~/.local/share/applications/run", QStringList{".local/share/applications/run"},
            QStringList{"Tool|Local App|.local/share/applications/run"});
        row("a line ends at a line feed only", "Name=Tool\nExec=~/opt/T\f\u0085\u2028\u2029/t",
            QStringList{"opt/T\f\u0085\u2028\u2029/t"},
            QStringList{"Tool|Local App|opt/T\f\u0085\u2028\u2029"});
        row("system program", "Name=Firefox\nExec=/usr/bin/firefox %u", QStringList{}, QStringList{});
        row("bare name not in the home folder", "Name=Firefox\nExec=firefox", QStringList{}, QStringList{});
        row("the home folder itself", "Name=Home\nExec=~", QStringList{},
            QStringList{"Home|Not a program" + alone});
        row("a personal folder", "Name=Docs\nExec=$HOME/Documents", QStringList{"-Documents/a.txt"},
            QStringList{"Docs|Not a program" + alone});
        row("an empty file name", "Name=Bin\nExec=~/.local/bin/", QStringList{"-.local/bin/other"},
            QStringList{"Bin|Not a program" + alone});
        row("a dot", "Name=Dot\nExec=.", QStringList{"-.local/bin/x"},
            QStringList{"Dot|Not a program" + alone});
        row("climbing out", "Name=Up\nExec=../../Projects", QStringList{"-Projects/x"},
            QStringList{"Up|Not a program" + alone});
        row("not executable", "Name=Tool\nExec=~/opt/T/t", QStringList{"-opt/T/t"},
            QStringList{"Tool|Not a program" + alone});
        row("the program a link", "Name=Tool\nExec=tool", QStringList{"opt/T/t", ".local/bin/tool>opt/T/t"},
            QStringList{"Tool|Program behind a link" + alone});
        row("a folder on the way a link", "Name=Tool\nExec=~/apps/T/t", QStringList{"opt/T/t", "apps>opt"},
            QStringList{"Tool|Program behind a link" + alone});
        row("program gone", "Name=Old\nExec=~/opt/Old/old", QStringList{},
            QStringList{"Old|Program missing" + alone});
        row("no name: the file's", "Exec=~/opt/T/t", QStringList{"opt/T/t"},
            QStringList{"tool|Local App|opt/T"});
    }
    void desktopEntries()
    {
        const auto [lines, files, expected] =
            fetch<QString, QStringList, QStringList>("entry", "files", "expected");
        make(files);
        entry("tool", lines.toUtf8());
        QCOMPARE(listed(scan()), expected);
        // The same entry through a link is not followed.
        QFile::rename(m_home + "/.local/share/applications/tool.desktop", m_box.path("tool.desktop"));
        link(m_box.path("tool.desktop"), m_home + "/.local/share/applications/tool.desktop");
        QCOMPARE(listed(scan()), QStringList());
    }

    // A folder holding several programs, or one many applications share, is nobody's: each program
    // takes the folder that holds it alone, or goes alone.
    void foldersSeveralProgramsShare()
    {
        const QString toolbox = ".local/share/JetBrains/Toolbox/";
        make({toolbox + "apps/idea/bin/idea.sh", toolbox + "apps/pycharm/bin/pycharm.sh",
              toolbox + "bin/jetbrains-toolbox", "opt/Suite/writer", "opt/Suite/calc"});
        entry("idea", "Name=IDEA\nExec=~/" + toolbox.toUtf8() + "apps/idea/bin/idea.sh");
        entry("pycharm", "Name=PyCharm\nExec=~/" + toolbox.toUtf8() + "apps/pycharm/bin/pycharm.sh");
        entry("jetbrains-toolbox", "Name=Toolbox\nExec=~/" + toolbox.toUtf8() + "bin/jetbrains-toolbox");
        entry("writer", "Name=Writer\nExec=~/opt/Suite/writer");
        entry("calc", "Name=Calc\nExec=~/opt/Suite/calc");
        QCOMPARE(listed(scan()),
                 (QStringList{"Calc|Local App|opt/Suite/calc", "IDEA|Local App|" + toolbox + "apps/idea",
                              "PyCharm|Local App|" + toolbox + "apps/pycharm",
                              "Toolbox|Local App|" + toolbox + "bin", "Writer|Local App|opt/Suite/writer"}));
    }

    // AppImages in the three folders, regular files only, named without version and architecture; one
    // with a desktop entry is that entry's app, with its icon, its entry and its autostart entry chosen.
    void appImages()
    {
        const QString obsidian = executable(m_home + "/Applications/Obsidian-1.5.3.AppImage", 9000);
        file(m_home + "/.local/bin/krita-5.2.2-x86_64.appimage", 10);
        file(m_home + "/Downloads/FreeCAD_v0.21.2-Linux-x86_64.AppImage", 10);
        file(m_home + "/Downloads/2048.AppImage", 10);
        file(m_home + "/Downloads/a-1.0.AppImage", 10); // a one-letter name before its version
        file(m_home + "/Downloads/-1.0.AppImage", 10);  // only a version: kept whole, never empty
        file(m_home + "/Documents/Elsewhere.AppImage", 10);
        folder(m_home + "/Applications/Folder.AppImage");
        link(obsidian, m_home + "/Applications/Linked.AppImage");
        const QString entry = write(m_home + "/.local/share/applications/md.obsidian.desktop",
                                    "[Desktop Entry]\nName=Obsidian Notes\nIcon=obsidian\nExec=\"" +
                                        obsidian.toUtf8() + "\" %U\n");
        const QString autostart = file(m_home + "/.config/autostart/md.obsidian.desktop");
        file(m_home + "/.local/share/icons/hicolor/32x32/apps/obsidian.png");
        const QString large = file(m_home + "/.local/share/icons/hicolor/256x256/apps/obsidian.png");
        file(m_home + "/.config/obsidian/settings.json");

        const UninstallPreviewReport report = scan();
        QCOMPARE(listed(report),
                 (QStringList{"-1.0|AppImage|Downloads/-1.0.AppImage",
                              "2048|AppImage|Downloads/2048.AppImage", "a|AppImage|Downloads/a-1.0.AppImage",
                              "FreeCAD|AppImage|Downloads/FreeCAD_v0.21.2-Linux-x86_64.AppImage",
                              "krita|AppImage|.local/bin/krita-5.2.2-x86_64.appimage",
                              "Obsidian Notes|AppImage|Applications/Obsidian-1.5.3.AppImage"}));
        const auto& app = report.entries[5];
        QCOMPARE(app.iconPath, large);
        QCOMPARE(app.leftoverPaths(), (QStringList{entry, autostart, m_home + "/.config/obsidian"}));
        QCOMPARE(app.appSizeBytes, allocated(obsidian));
    }

    // An identifier claims strongly, a display name only possibly; short and common words claim nothing.
    void claim_data()
    {
        columns<QString, QStringList, QStringList, int>("fileName", "identifiers", "names", "expected");
        const QStringList gimp{"org.gimp.GIMP"};
        row("identifier", "org.gimp.GIMP", gimp, QStringList{}, 2);
        row("identifier and more", "org.gimp.gimp.desktop-state", gimp, QStringList{}, 2);
        row("identifier as a prefix only", "org.gimp.GIMPx", gimp, QStringList{}, 0);
        row("identifier and a dot only", "org.gimp.GIMP.", gimp, QStringList{}, 0);
        row("display name, other case", "gimp", QStringList{}, QStringList{"GIMP"}, 1);
        row("containing the name", "gimp-2.10", QStringList{}, QStringList{"GIMP"}, 0);
        row("a three-letter identifier", "vlc", QStringList{"vlc"}, QStringList{"VLC"}, 0);
        row("a common word", "Code", QStringList{"code"}, QStringList{"Code"}, 0);
    }
    void claim()
    {
        const auto [fileName, identifiers, names, expected] =
            fetch<QString, QStringList, QStringList, int>("fileName", "identifiers", "names", "expected");
        QCOMPARE(int(LinuxLeftovers::claim(fileName, {identifiers, names})), expected);
    }

    // Whose a folder is, on a home where several installations meet: a Flatpak keeps its data in
    // ~/.var/app only, an entry overriding a system app claims nothing of it, a common name claims
    // nothing, a folder two applications could claim is nobody's, and an app's folder is no leftover.
    void leftoversOnAHomeWhereInstallationsMeet()
    {
        const QString system = m_box.path("system/usr/share/applications/");
        write(system + "google-chrome.desktop",
              "[Desktop Entry]\nName=Google Chrome\nExec=/usr/bin/google-chrome\n");
        write(system + "inkscape.desktop", "[Desktop Entry]\nName=Inkscape\nExec=inkscape %F\n");
        make({"bin/chrome-wrapper", "Applications/code.AppImage", "Applications/Inkscape-1.3.AppImage",
              "Applications/krita.AppImage", "Applications/Obsidian.AppImage", "Applications/Zettlr.AppImage",
              ".local/share/Zettlr/zettlr"});
        entry("google-chrome", "Name=Google Chrome\nExec=~/bin/chrome-wrapper");
        entry("org.kde.krita", "Name=Krita\nStartupWMClass=krita\nExec=~/Applications/krita.AppImage");
        entry("zettlr-beta", "Name=Zettlr Beta\nExec=~/.local/share/Zettlr/zettlr");
        for (const char* path : {".config/google-chrome/x", ".config/Code/x", ".config/GIMP/x",
                                 ".config/inkscape/x", ".config/obsidian/x", ".config/org.kde.krita.settings",
                                 ".local/share/krita/x", ".local/share/Steam/x", ".var/app/org.gimp.GIMP/x"})
            file(m_home + "/" + path);
        const UninstallPreviewReport report = scan(
            tool("printf 'com.valvesoftware.Steam\\tSteam\\t1\\t1 GB\\norg.gimp.GIMP\\tGIMP\\t2\\t1 GB\\n'"));
        const QString entries = ".local/share/applications/";
        QCOMPARE(leftoversOf(report, "Google Chrome"), QStringList{entries + "google-chrome.desktop:s"});
        QCOMPARE(leftoversOf(report, "GIMP"), QStringList{".var/app/org.gimp.GIMP:s"});
        QCOMPARE(leftoversOf(report, "Krita"),
                 (QStringList{entries + "org.kde.krita.desktop:s", ".config/org.kde.krita.settings:s",
                              ".local/share/krita:s"}));
        QCOMPARE(leftoversOf(report, "Obsidian"), QStringList{".config/obsidian:p"});
        for (const char* name : {"code", "Inkscape", "Steam", "Zettlr"})
            QCOMPARE(leftoversOf(report, name), QStringList());
        QCOMPARE(leftoversOf(report, "Zettlr Beta"), QStringList{entries + "zettlr-beta.desktop:s"});
    }

    // The list's rows as flatpak prints them; anything that is not an application ID is skipped.
    void flatpakList()
    {
        const QByteArray output = "org.gimp.GIMP\tGNU Image Manipulation Program\t2.10.38\t1.2\u00a0GB\n"
                                  "org.example.Hello\t\t\t201.2\u00a0kB\n"
                                  "org.example.Binary\tB\t1\t1,5 MiB\n"
                                  "org.example.Odd\tO\t1\t12\n"
                                  "Application ID\tName\tVersion\tSize\n"
                                  "../../etc\tEvil\t1\t1 kB\n"
                                  "\n";
        QCOMPARE(FlatpakTool::parseList(output),
                 (std::vector<FlatpakTool::App>{
                     {"org.gimp.GIMP", "GNU Image Manipulation Program", "2.10.38", 1'200'000'000},
                     {"org.example.Hello", "Hello", "", 201'200},
                     {"org.example.Binary", "B", "1", 1'572'864},
                     {"org.example.Odd", "O", "1", std::nullopt}}));
    }

    // A tool that fails or hangs lists nothing and says so; a missing tool lists nothing quietly.
    void flatpakTool_data()
    {
        columns<QByteArray, int, bool>("body", "apps", "note");
        row("lists", QByteArray("printf 'org.gimp.GIMP\\tGIMP\\t2.10\\t1 GB\\n'"), 1, false);
        row("fails", QByteArray("echo 'org.gimp.GIMP\tGIMP'; exit 1"), 0, true);
        row("hangs", QByteArray("exec sleep 30"), 0, true);
        row("missing", QByteArray(), 0, false);
    }
    void flatpakTool()
    {
        const auto [body, apps, note] = fetch<QByteArray, int, bool>("body", "apps", "note");
        const QString path = body.isEmpty() ? m_box.path("system/usr/bin/flatpak") : tool(body);
        const FlatpakTool::Listing listing = FlatpakTool::list(path, 500ms);
        QCOMPARE(int(listing.apps.size()), apps);
        QCOMPARE(listing.note.has_value(), note);
    }

    // A Flatpak app: its folder measured, its icon from the exports, its data folder's time.
    void flatpakApps()
    {
        const QString installed =
            file(m_home + "/.local/share/flatpak/app/org.gimp.GIMP/current/files/bin", 20000);
        const QString icon = file(
            m_home + "/.local/share/flatpak/exports/share/icons/hicolor/scalable/apps/org.gimp.GIMP.svg");
        file(m_home + "/.local/share/flatpak/exports/share/icons/hicolor/512x512/apps/org.gimp.GIMP.png");
        file(m_home + "/.var/app/org.gimp.GIMP/config/gimprc");
        const UninstallPreviewReport report =
            scan(tool("printf 'org.gimp.GIMP\\tGIMP\\t2.10\\t9 GB\\norg.example.Gone\\tGone\\t1\\t3 kB\\n'"));
        QCOMPARE(listed(report), (QStringList{"GIMP|Flatpak|.local/share/flatpak/app/org.gimp.GIMP",
                                              "Gone|Flatpak|.local/share/flatpak/app/org.example.Gone"}));
        const auto& gimp = report.entries[0];
        QCOMPARE(gimp.flatpakID, QString("org.gimp.GIMP"));
        QCOMPARE(gimp.appSizeBytes, allocated(installed));
        QCOMPARE(gimp.iconPath, icon);
        QVERIFY(gimp.lastOpened.has_value());
        QCOMPARE(gimp.leftoverPaths(), QStringList{m_home + "/.var/app/org.gimp.GIMP"});
        QCOMPARE(report.entries[1].appSizeBytes, qint64(3000)); // the tool's size column
        QCOMPARE(report.entries[1].lastOpened, std::nullopt);
        QVERIFY(report.notes.isEmpty());
    }
};

KELVO_REGISTER_TEST(TestLinuxApplications)
#include "tst_LinuxApplications.moc"
