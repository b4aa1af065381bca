// Uninstalling what was chosen: the plan keeps what the removal policy keeps and what another
// application owns, leftovers follow only an app that went, and on generated homes no choice ever
// plans a shared folder, something behind a link, a program that is not a file or another's item.
#include "TestMain.h"

#include "../optimize/StandInTool.h"
#include "SyntheticHome.h"

#include "platform/ConfinedPath.h"
#include "uninstall/LinuxApplications.h"
#include "uninstall/LinuxPrograms.h"
#include "uninstall/UninstallExecutor.h"
#include "vocabulary/PathText.h"

#include <chrono>
#include <random>

using namespace SyntheticHome;
using namespace TestSupport;
using namespace std::chrono_literals;
using Match = UninstallPreviewReport::LeftoverMatch;

class TestUninstallExecutor : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    UninstallPreviewReport::Entry app(const QString& relative, const QStringList& leftovers)
    {
        std::vector<UninstallPreviewReport::Leftover> found;
        for (const QString& leftover : leftovers)
            found.push_back({m_home + "/" + leftover, 100, Match::strong, std::nullopt});
        return UninstallPreviewReport::makeEntry(relative, std::nullopt, LocalText::same("Local App"),
                                                 relative, m_home + "/" + relative, 1000, found,
                                                 std::nullopt);
    }

    // "path below the home" of each planned item, and "kept path" of each kept one.
    QStringList planned(const UninstallExecutor::Plan& plan) const
    {
        QStringList lines;
        for (const auto& app : plan.apps) {
            lines << app.app.path.mid(m_home.size() + 1);
            for (const auto& leftover : app.leftovers)
                lines << "  " + leftover.path.mid(m_home.size() + 1);
        }
        for (const auto& kept : plan.kept)
            lines << "kept " + kept.path.mid(m_home.size() + 1);
        return lines;
    }

    // A random Linux home: desktop entries with programs of every kind, AppImages, native data, links
    // at random places, system and Flatpak applications.
    void generateHome(std::mt19937& random)
    {
        const auto pick = [&](const QStringList& words) { return words[int(random() % words.size())]; };
        const auto chance = [&](int percent) { return int(random() % 100) < percent; };
        const QStringList programs{"~/opt/A/bin/a",
                                   "$HOME/Documents",
                                   "~/.local/bin/",
                                   ".",
                                   "../../Projects",
                                   "tool",
                                   "~",
                                   "/tmp/evil",
                                   "~/.local/share/applications/run.sh",
                                   "~/.local/share/B/b",
                                   "~/.local/share/JetBrains/Toolbox/apps/idea/bin/idea.sh",
                                   "env A=1 ~/opt/A/a2",
                                   "\"~/My Apps/x\"",
                                   "~/opt/L/l",
                                   "~/Applications/Tool.AppImage",
                                   "~/code/x/run"};
        const QStringList names{"Tool", "code", "GIMP", "Steam", "krita", "Google", "data", "Obsidian", "A"};
        // Links where the scan or the move would pass, made first so that what is written through them
        // lands outside: everything there must stay as it is.
        int linked = 0;
        for (const QString at :
             {"opt/L", ".local/share/B", ".config/krita", ".local/bin/tool", ".var/app/org.gimp.GIMP",
              ".cache", ".config", ".local/share/applications", "Applications"})
            if (chance(15))
                link(folder(m_box.path("outside/" + QString::number(++linked))), m_home + "/" + at);
        for (const QString& program : programs)
            if (!program.contains(' ') && !program.startsWith('/') && chance(60)) {
                const QString path = QString(program).replace("~", m_home).replace("$HOME", m_home);
                if (!path.endsWith('/') && path.startsWith(m_home + "/") && !path.contains("Documents"))
                    chance(80) ? (void)executable(path) : (void)file(path);
            }
        folder(m_home + "/Documents/mine");
        for (int i = int(random() % 6); i >= 0; --i)
            write(m_home + "/.local/share/applications/e" + QString::number(i) + ".desktop",
                  "[Desktop Entry]\nName=" + pick(names).toUtf8() + "\nStartupWMClass=" +
                      pick(names).toUtf8() + "\nExec=" + pick(programs).toUtf8() + " %U\n");
        for (int i = int(random() % 3); i > 0; --i)
            executable(m_home + "/" + pick({"Applications/", ".local/bin/"}) + pick(names) + ".AppImage");
        for (const QString data : {".config/Code", ".config/krita", ".config/google-chrome", ".config/GIMP",
                                   ".config/Obsidian", ".cache/krita", ".cache/Obsidian",
                                   ".local/share/Steam", ".local/share/Krita", ".var/app/org.gimp.GIMP"})
            if (chance(60))
                file(m_home + "/" + data + "/settings");
        for (const QString id : {"gimp", "google-chrome", "e1", "Tool"})
            if (chance(40))
                write(m_box.path("system/usr/share/applications/" + id + ".desktop"),
                      "[Desktop Entry]\nName=" + id.toUtf8() + "\nExec=" + id.toUtf8() + "\n");
        QByteArray flatpaks;
        for (const char* row :
             {"org.gimp.GIMP\\tGIMP", "com.valvesoftware.Steam\\tSteam", "org.example.Tool\\tTool"})
            if (chance(40))
                flatpaks += QByteArray(row) + "\\t1\\t1 kB\\n";
        standInTool(m_box.path("system"), "/usr/bin/flatpak",
                    "[ \"$1\" = list ] && printf '" + flatpaks + "'");
    }

private slots:
    void init() { m_home = m_box.renew(); }

    // The policy's folders, a folder holding an app that stays, and an item two chosen apps list.
    void thePlanKeepsWhatIsNotTheirs()
    {
        const UninstallPreviewReport report(
            {app(".local/share", {}), app("opt/B", {".config/b", ".config", ".cache/both", "opt/Suite"}),
             app("opt/C", {".cache/both", ".config/c"}), app("opt/Suite/d", {})});
        const UninstallExecutor::Choice choice{
            {m_home + "/.local/share", m_home + "/opt/B", m_home + "/opt/C"},
            {m_home + "/.config/b", m_home + "/.config", m_home + "/.cache/both", m_home + "/opt/Suite"}};
        const RemovalPolicy::SharedFolders shared(m_home, {m_home + "/Documents"});
        QCOMPARE(planned(UninstallExecutor::plan(report, choice, shared)),
                 (QStringList{"opt/B", "  .config/b", "  .cache/both", "opt/C", "kept .local/share",
                              "kept .config", "kept opt/Suite"}));
    }

    // The sentence both ask with names the apps (five, then how many more), counts one leftover as
    // one, and says when nothing chosen may go; it speaks of the Trash when something goes there.
    void confirmationCountsWhatGoes_data()
    {
        columns<int, int, bool, QString>("apps", "leftovers", "flatpaks", "opening");
        row("nothing that may go", 0, 0, false, "Nothing can be uninstalled.");
        row("one app alone", 1, 0, false, "Uninstalls opt/a0, ");
        row("one leftover", 3, 1, false, "Uninstalls opt/a0, opt/a1 and opt/a2 with 1 leftover, ");
        row("five named", 5, 2, false,
            "Uninstalls opt/a0, opt/a1, opt/a2, opt/a3 and opt/a4 with 2 leftovers, ");
        row("past five", 7, 0, false, "Uninstalls opt/a0, opt/a1, opt/a2, opt/a3, opt/a4 and 2 more, ");
        row("a Flatpak alone", 1, 0, true, "Uninstalls opt/a0, ");
        row("a Flatpak with one leftover", 1, 1, true, "Uninstalls opt/a0 with 1 leftover, ");
    }
    void confirmationCountsWhatGoes()
    {
        const auto [apps, leftovers, flatpaks, opening] =
            fetch<int, int, bool, QString>("apps", "leftovers", "flatpaks", "opening");
        std::vector<UninstallPreviewReport::Entry> entries;
        UninstallExecutor::Choice choice;
        for (int i = 0; i < apps; ++i) {
            const QString name = "opt/a" + QString::number(i);
            entries.push_back(app(name, i < leftovers ? QStringList{".config/" + name} : QStringList{}));
            if (flatpaks)
                entries.back().flatpakID = "org.example.A" + QString::number(i);
            choice.apps << m_home + "/" + name;
            choice.leftovers << m_home + "/.config/" + name;
        }
        const UninstallExecutor::Plan plan =
            UninstallExecutor::plan(UninstallPreviewReport(entries), choice, {m_home, {}});
        const QString sentence = UninstallExecutor::confirmation(plan);
        QVERIFY2(sentence.startsWith(opening), qPrintable(sentence));
        QCOMPARE(sentence.contains("moved to the Trash"), apps > 0 && (!flatpaks || leftovers > 0));
    }

    // A leftover follows its app only once the app went: an app swapped after the scan stays, and so do
    // its chosen leftovers.
    void leftoversFollowOnlyAnAppThatWent()
    {
        for (const char* name : {"Keep", "Move"}) {
            executable(m_home + "/opt/" + name + "/bin/run");
            write(m_home + "/.local/share/applications/" + name + ".desktop",
                  "[Desktop Entry]\nName=" + QByteArray(name) + "\nExec=~/opt/" + name + "/bin/run\n");
            file(m_home + "/.config/" + name + "/settings");
        }
        const UninstallPreviewReport report =
            LinuxApplications::snapshot(m_home, {{}, 1s, std::nullopt, m_box.path()});
        QVERIFY(QDir().rename(m_home + "/opt/Keep", m_home + "/opt/Keep.old"));
        executable(m_home + "/opt/Keep/bin/run");
        QSet<QString> apps;
        for (const auto& entry : report.entries)
            apps << entry.id;
        const UninstallExecutor::Plan plan = UninstallExecutor::plan(
            report, UninstallExecutor::withStrongLeftovers(report, apps), {m_home, {}});
        const UninstallExecutor::Result result = UninstallExecutor::run(plan, m_home, {});
        QCOMPARE(result.failed, 1);
        QVERIFY(exists(m_home + "/opt/Keep/bin/run") && exists(m_home + "/.config/Keep/settings") &&
                exists(m_home + "/.local/share/applications/Keep.desktop"));
        QVERIFY(!exists(m_home + "/opt/Move") && !exists(m_home + "/.config/Move") &&
                !exists(m_home + "/.local/share/applications/Move.desktop"));
    }

    // Whatever a generated home holds and whatever is chosen, the plan takes only items of their own,
    // and carrying it out leaves everything behind the links as it was.
    void generatedHomesNeverPlanWhatIsNotTheirs()
    {
        std::mt19937 random(20261206);
        for (int home = 0; home < 100; ++home) {
            m_home = m_box.renew();
            file(m_box.path("outside/keep.txt"), 10);
            generateHome(random);
            const UninstallPreviewReport report = LinuxApplications::snapshot(
                m_home, {m_box.path("system/usr/bin/flatpak"), 2s, std::nullopt, m_box.path("system")});
            UninstallExecutor::Choice everything;
            QStringList locations;
            for (const auto& entry : report.entries) {
                everything.apps << entry.id;
                locations << entry.path;
                for (const auto& leftover : entry.leftovers)
                    everything.leftovers << leftover.path;
            }
            const RemovalPolicy::SharedFolders shared(m_home);
            const UninstallExecutor::Plan plan = UninstallExecutor::plan(report, everything, shared);
            const QString seen = QString::number(home) + ": ";
            QVERIFY2(plan.kept.empty(),
                     qPrintable(seen + (plan.kept.empty() ? "" : plan.kept.front().reason)));
            for (const auto& app : plan.apps) {
                QStringList items{app.app.path};
                for (const auto& leftover : app.leftovers)
                    items << leftover.path;
                for (const QString& path : items.mid(app.flatpakID ? 1 : 0)) {
                    QVERIFY2(!shared.isShared(path), qPrintable(seen + path));
                    QVERIFY2(ConfinedPath::reach(m_home, path).item,
                             qPrintable(seen + "behind a link: " + path));
                    for (const QString& other : locations)
                        QVERIFY2(other == app.app.path || !PathText::isAtOrBelow(other, path),
                                 qPrintable(seen + path + " holds " + other));
                }
                const QFileInfo program(app.app.path);
                QVERIFY2(app.flatpakID || (program.isFile() && !program.isSymLink()) ||
                             PathText::isAtOrBelowAny(app.app.path, LinuxPrograms::applicationRoots(m_home)),
                         qPrintable(seen + "not a program's: " + app.app.path));
            }
            if (home % 8 == 0) {
                const auto before = tree(m_box.path("outside"));
                UninstallExecutor::run(plan, m_home, m_box.path("system/usr/bin/flatpak"));
                QCOMPARE(tree(m_box.path("outside")), before);
                QVERIFY(isEmptyFolder(m_home + "/Documents/mine"));
            }
        }
    }
};

KELVO_REGISTER_TEST(TestUninstallExecutor)
#include "tst_UninstallExecutor.moc"
