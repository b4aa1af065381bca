// The optimisation executor with a step table of stand-in scripts: which steps run and what becomes
// of each, that plan and run agree, cancelling, and the emptying of the thumbnail folder through the
// removal model.
#include "TestMain.h"

#include "StandInTool.h"
#include "SyntheticHome.h"

#include "optimize/LocalOptimizeExecutor.h"

using namespace SyntheticHome;
using namespace TestSupport;
using State = OptimizeStepState;

Q_DECLARE_METATYPE(OptimizeStepState)

namespace {

OptimizePreviewReport::Entry entry(const QString& id, bool safe = true)
{
    return {id, id, QString(), safe, std::nullopt};
}

} // namespace

class OptimizeExecutorTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    QString m_ran; // each stand-in tool adds its name here
    LocalOptimizeExecutor::Options m_options;

    OptimizeStepAction tool(const QString& name, const QByteArray& body, const QString& condition = {})
    {
        standInTool(m_options.systemRoot, "/usr/bin/" + name,
                    "echo " + name.toUtf8() + " >> '" + m_ran.toUtf8() + "'\n" + body);
        OptimizeStepAction action{OptimizeStepAction::Command{"/usr/bin/" + name, {}}, {}, std::nullopt};
        if (!condition.isEmpty())
            action.condition = OptimizeStepAction::Condition{condition, "没有", "Not here"};
        return action;
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_ran = m_box.path("ran");
        m_options = {};
        m_options.home = m_home;
        m_options.systemRoot = m_box.path("root");
        m_options.timeLimit = std::chrono::milliseconds(300);
        OptimizeStepAction missingTool{OptimizeStepAction::Command{"/usr/bin/absent", {}}, {}, std::nullopt};
        m_options.actions = std::map<QString, OptimizeStepAction>{
            {"ok", tool("ok", "exit 0")},
            {"three", tool("three", "exit 3")},
            {"hang", tool("hang", "exec sleep 5")},
            {"absent", missingTool},
            {"no_socket", tool("no_socket", "exit 0", "/run/nothing")},
            {"socket", tool("socket", "exit 0", "/run/there")},
        };
        file(m_options.systemRoot + "/run/there");
    }

    void selection_data()
    {
        columns<QString, bool, bool, State, int>("id", "safe", "protected", "state", "exitCode"); // -1: none
        row("protected", "ok", true, true, State::protectedStep, -1);
        row("not safe", "ok", false, false, State::notSafe, -1);
        row("protected before not safe", "three", false, true, State::protectedStep, -1);
        row("no action", "sqlite_vacuum", true, false, State::reportOnly, -1);
        row("missing tool", "absent", true, false, State::unavailable, -1);
        row("missing condition", "no_socket", true, false, State::unavailable, -1);
        row("condition holds", "socket", true, false, State::completed, 0);
        row("exit 0", "ok", true, false, State::completed, 0);
        row("exit 3", "three", true, false, State::failed, 3);
        row("hang past the limit", "hang", true, false, State::timedOut, -1);
    }
    void selection()
    {
        const auto [id, safe, isProtected, state, exitCode] =
            fetch<QString, bool, bool, State, int>("id", "safe", "protected", "state", "exitCode");
        const QSet<QString> skipped = isProtected ? QSet<QString>{id} : QSet<QString>{};
        const OptimizePreviewReport report{{entry(id, safe)}};
        const OptimizeStepState planned =
            LocalOptimizeExecutor::plan(report.entries[0], skipped, m_options).state;
        const LocalOptimizeResult result = LocalOptimizeExecutor::run(report, skipped, m_options);
        const OptimizeStepOutcome& step = result.steps.at(0);
        QCOMPARE(step.state, state);
        QCOMPARE(step.exitCode.value_or(-1), exitCode);
        const bool ran = state == State::completed || state == State::failed || state == State::timedOut;
        QCOMPARE(planned, ran ? State::willRun : state);
        QCOMPARE(contents(m_ran).contains(id.toUtf8()), ran);
        QCOMPARE(result.completed.size(), std::size_t(state == State::completed ? 1 : 0));
        QCOMPARE(result.skipped.size(), std::size_t(state == State::completed ? 0 : 1));
        QCOMPARE(result.failedCount(), state == State::failed || state == State::timedOut ? 1 : 0);
    }

    // Steps run in report order; once cancelled, every later entry is not run and counts as skipped.
    void cancelBetweenSteps()
    {
        std::atomic_bool cancelled = false;
        m_options.cancelled = &cancelled;
        QStringList announced;
        m_options.onStep = [&](const OptimizePreviewReport::Entry& step, int index, int count) {
            announced << QString("%1 %2/%3").arg(step.id).arg(index).arg(count);
            cancelled = step.id == "three";
        };
        const OptimizePreviewReport report{
            {entry("ok"), entry("sqlite_vacuum"), entry("three"), entry("socket")}};
        const LocalOptimizeResult result = LocalOptimizeExecutor::run(report, {}, m_options);
        QCOMPARE(announced, (QStringList{"ok 0/3", "three 1/3"}));
        QCOMPARE(result.steps[2].state, State::failed);
        QCOMPARE(result.steps[3].state, State::notRun);
        QCOMPARE(result.completed.size(), std::size_t(1));
        QCOMPARE(result.skipped.size(), std::size_t(3));
        QVERIFY(!contents(m_ran).contains("socket"));
    }

    // The thumbnail folder is emptied below the home folder without following a link, keeping what
    // the Smart Clean protection list protects.
    void thumbnails_data()
    {
        columns<QString, State>("setup", "state");
        row("emptied, link and protected file kept", QString(), State::completed);
        row("folder swapped for a link", "swapped", State::failed);
        row("protection list unreadable", "unreadable list", State::failed);
        row("no folder", "missing", State::completed);
        row("home refused", "relative home", State::failed);
    }
    void thumbnails()
    {
        const auto [setup, state] = fetch<QString, State>("setup", "state");
        const QString thumbnails = m_home + "/.cache/thumbnails";
        const QString outside = file(m_box.path("outside/keep.png"));
        if (setup == "swapped") {
            link(m_box.path("outside"), thumbnails);
        } else if (setup != "missing") {
            file(thumbnails + "/normal/a.png");
            file(thumbnails + "/mine/keep.png");
            link(m_box.path("outside"), thumbnails + "/outside");
        }
        write(m_home + "/.config/kelvo/whitelist",
              setup == "unreadable list" ? "\xff\n" : "~/.cache/thumbnails/mine/keep.png\n");
        m_options.home = setup == "relative home" ? "home" : m_home;
        m_options.actions = std::nullopt;
        m_options.system = TargetSystem::linuxDesktop;

        const LocalOptimizeResult result =
            LocalOptimizeExecutor::run({{entry("thumbnail_cache_cleanup")}}, {}, m_options);
        QCOMPARE(result.steps.at(0).state, state);
        QVERIFY(exists(outside));
        const bool filled = setup == "unreadable list" || setup == "relative home";
        QCOMPARE(exists(thumbnails + "/normal/a.png"), filled);
        QCOMPARE(exists(thumbnails + "/mine/keep.png"), filled || setup.isEmpty());
        QVERIFY(!exists(thumbnails + "/outside") || QFileInfo(thumbnails + "/outside").isSymLink());
    }

    // The folder a tool works on, and the folder its condition names, are reached from the home
    // folder without a link at any level: a link there makes the step unavailable in the plan (and
    // so in the preview), and one put there before the step's turn refuses it; the tool does not run and
    // what lies outside the home keeps every byte. A step that runs starts in its folder, handed ".".
    void toolFoldersAreReachedWithoutLinks_data()
    {
        // link: below the home, to the outside; named: the refusal's place, none for a run
        columns<QString, QString, QString, bool>("folder", "link", "named", "afterPlan");
        const QString mime = ".local/share/mime";
        const QString menu = ".local/share/applications";
        row("file types: runs in its folder", mime, "", "", false);
        row("file types: its folder a link", mime, mime, "“~/.local/share/mime” is a link", false);
        row("file types: its packages a link", mime, mime + "/packages",
            "“~/.local/share/mime/packages” is a link", false);
        row("file types: a parent a link", mime, ".local/share", "“~/.local/share” is a link", false);
        row("file types: swapped before its turn", mime, mime, "“~/.local/share/mime” is a link", true);
        row("app menu: runs in its folder", menu, "", "", false);
        row("app menu: its folder a link", menu, menu, "“~/.local/share/applications” is a link", false);
    }
    void toolFoldersAreReachedWithoutLinks()
    {
        const auto [folderPath, linkPath, named, afterPlan] =
            fetch<QString, QString, QString, bool>("folder", "link", "named", "afterPlan");
        const QString id = folderPath.endsWith("mime") ? "mime_database_refresh" : "desktop_database_refresh";
        for (const char* tool : {"/usr/bin/update-mime-database", "/usr/bin/update-desktop-database"})
            standInTool(m_options.systemRoot, tool,
                        "echo \"$(pwd -P) $1\" >> '" + m_ran.toUtf8() +
                            "'; rm -f \"$1\"/*/old.xml \"$1\"/a.desktop");
        // What a tool would find at every level a link could lead to, and in the home.
        for (const char* name :
             {"packages/old.xml", "mime/packages/old.xml", "a.desktop", "applications/a.desktop"}) {
            write(m_box.path("outside/") + name, "kept");
            write(m_home + "/.local/share/" + QString(name), "kept");
        }
        const QString swap = m_home + "/" + linkPath;
        if (!linkPath.isEmpty() && !afterPlan) {
            QDir(swap).removeRecursively();
            link(m_box.path("outside"), swap);
        }
        const QMap<QString, QByteArray> outside = tree(m_box.path("outside"));
        m_options.actions = std::nullopt;
        m_options.system = TargetSystem::linuxDesktop;
        m_options.onStep = [&, afterPlan = afterPlan](const OptimizePreviewReport::Entry&, int, int) {
            if (afterPlan)
                QVERIFY(QDir().rename(swap, swap + "-moved") && QFile::link(m_box.path("outside"), swap));
        };

        const OptimizeStepOutcome planned = LocalOptimizeExecutor::plan(entry(id), {}, m_options);
        const OptimizeStepOutcome ran = LocalOptimizeExecutor::run({{entry(id)}}, {}, m_options).steps.at(0);
        QCOMPARE(tree(m_box.path("outside")), outside);
        QCOMPARE(ran.state, named.isEmpty() ? State::completed : State::unavailable);
        QVERIFY2(ran.reason.contains(named), qPrintable(ran.reason));
        QCOMPARE(planned.reason, afterPlan ? QString() : ran.reason);
        QCOMPARE(contents(m_ran),
                 named.isEmpty() ? QFile::encodeName(QDir(m_home + "/" + folderPath).canonicalPath()) + " .\n"
                                 : QByteArray());
    }
};

KELVO_REGISTER_TEST(OptimizeExecutorTest)
#include "tst_OptimizeExecutor.moc"
