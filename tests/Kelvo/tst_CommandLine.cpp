#include "TestMain.h"

#include "ServedRelease.h"
#include "SyntheticHome.h"

#include "../KelvoCore/optimize/StandInTool.h"
#include "clean/CleanLocations.h"
#include "clean/CleanWhitelistStore.h"
#include "cli/CommandLine.h"
#include "optimize/OptimizeWhitelistStore.h"
#include "platform/LanguagePreferenceStore.h"
#include "status/LocalSystemStatus.h"
#include "status/SystemReportParser.h"
#include "vocabulary/AppLocalization.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>

using namespace SyntheticHome;
using TestSupport::row;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

// Where the optimisation steps find their tools: stand-ins the tests write, never the machine's.
QString systemRoot;
// The update feed (none unless a test names one) and the installation an update replaces.
QProcessEnvironment processEnvironment;
UpdateInstaller::Options updateInstaller;
// Whether standard output is a terminal.
bool outIsTerminal = false;

Run run(const QStringList& arguments, const QString& home, QString input = {},
        std::optional<TargetSystem> uninstallSystem = TargetSystem::macOS,
        TargetChoice target = TargetSystems::builtChoice())
{
    Run result;
    QTextStream out(&result.out), err(&result.err), in(&input);
    CommandLine::Streams streams{out, err, in, outIsTerminal};
    result.status = CommandLine::run(arguments,
                                     {home, "9.8.7", systemRoot, std::nullopt, processEnvironment,
                                      updateInstaller, uninstallSystem, target},
                                     streams);
    return result;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        useLanguage(AppLanguagePreference::english);
        m_dir = std::make_unique<QTemporaryDir>();
        m_home = m_dir->filePath("home");
        systemRoot = m_dir->filePath("system");
        processEnvironment = {};
        outIsTerminal = false;
        updateInstaller = {};
        updateInstaller.installation = m_dir->filePath("installation");
        updateInstaller.temporaryFolder = folder(m_dir->filePath("tmp"));
        const CleanCatalogue& catalogue = CleanLocations::of(TargetSystems::built());
        m_caches = m_home + "/" + catalogue.userEssentials.targets.front().relativePath;
        m_trash = m_home + "/" + catalogue.trash.targets.front().relativePath;
        file(m_caches + "/app/data.bin", 5000);
        file(m_trash + "/files/old.txt", 100);
    }
    void cleanup() { AppLocalization::overrideLanguage(std::nullopt); }

    void whichArgumentsOpenTheCommandLine()
    {
        QVERIFY(!CommandLine::wantsCommandLine({}));       // the window
        QVERIFY(CommandLine::wantsCommandLine({"clena"})); // a typo is a usage error, never the window
        QVERIFY(!CommandLine::wantsCommandLine({"-psn_0_12345"})); // the process number the Finder adds
    }

    // The language asked for is this run's only; a preview removes nothing.
    void languageIsForThisRunOnly()
    {
        const Run result = run({"--lang", "zh", "clean", "--dry-run"}, m_home);
        QCOMPARE(result.status, 0);
        QVERIFY2(result.out.contains("预计可清理："), qPrintable(result.out));
        QVERIFY(exists(m_caches + "/app/data.bin"));
        QCOMPARE(LanguagePreferenceStore::load(), AppLanguagePreference::english);
    }

    // A clean asks first; status 0 when done, 1 when declined, stopped, or something stayed (said why).
    void cleanExitStatus_data()
    {
        TestSupport::columns<QStringList, QString, int, QString>("arguments", "answer", "status",
                                                                 "said"); // said: part of the output
        const QStringList clean{"clean"}, yes{"clean", "--yes"};
        row("answered y", clean, "y\n", 0, "Removed 2 files, freeing ");
        row("answered YES", clean, "YES\n", 0, "Removed 2 files, freeing ");
        row("no answer", clean, "", 1, "Nothing was deleted.");
        row("the prompt counts the places and names the Trash apart", clean, "n\n", 1,
            "will be deleted. The Trash (");
        row("--yes asks nothing", yes, "", 0, "Removed 2 files, freeing ");
        row("nothing to clean", clean, "", 0, "Nothing to clean.");
        row("unreadable protection list", yes, "", 1, "Smart Clean stopped before removing anything.");
        row("no home", yes, "", 1, "HOME is empty");
        row("a mount inside a cache", yes, "", 1, "1 item stayed:");
    }
    void cleanExitStatus()
    {
        const auto [arguments, answer, status, said] =
            TestSupport::fetch<QStringList, QString, int, QString>("arguments", "answer", "status", "said");
        const QByteArray setup = QTest::currentDataTag();
        std::unique_ptr<BindMount> mount;
        if (setup == "unreadable protection list")
            write(CleanWhitelistStore::configURL(m_home), "~/keep\n# caf\xe9\n");
        if (setup == "nothing to clean")
            QVERIFY(QDir(m_home).removeRecursively() && QDir().mkpath(m_home));
        if (setup == "a mount inside a cache") {
            file(m_dir->filePath("outside/precious"));
            mount = std::make_unique<BindMount>(m_dir->filePath("outside"), folder(m_caches + "/mounted"));
            if (!mount->mounted())
                QSKIP("this process may not mount");
        }
        const Run result = run(arguments, setup == "no home" ? QString() : m_home, answer);
        QCOMPARE(result.status, status);
        QVERIFY2((result.out + result.err).contains(said), qPrintable(result.out + result.err));
        QVERIFY(!result.out.contains("Dry run complete")); // only a dry run says so
        const bool kept = !said.startsWith("Removed") && status == 1 && setup != "a mount inside a cache";
        QCOMPARE(exists(m_caches + "/app/data.bin") + exists(m_trash + "/files/old.txt"), kept ? 2 : 0);
        QVERIFY(exists(m_dir->filePath("outside/precious")) || !mount);
    }

    // An optimisation asks first and runs the stand-in tools; status 1 when a step failed, when declined
    // and when the safeguard list cannot be read (then nothing runs).
    void optimizeExitStatus_data()
    {
        // safeguards: the file's bytes, null for no file; ran: the working stand-in
        TestSupport::columns<QStringList, QString, QByteArray, int, bool>("arguments", "answer", "safeguards",
                                                                          "status", "ran");
        const QStringList optimize{"optimize"}, yes{"optimize", "--yes"};
        row("answered y, one step fails", optimize, "y\n", QByteArray(), 1, true);
        row("no answer", optimize, "", QByteArray(), 1, false);
        row("--yes asks nothing", yes, "", QByteArray(), 1, true);
        row("the failing step protected", yes, "", QByteArray("dns_cache_flush\n"), 0, true);
        row("a preview", QStringList{"optimize", "--dry-run"}, "", QByteArray(), 0, false);
        row("unreadable safeguard list", yes, "", QByteArray("caf\xe9\n"), 1, false);
    }
    void optimizeExitStatus()
    {
        const auto [arguments, answer, safeguards, status, ran] =
            TestSupport::fetch<QStringList, QString, QByteArray, int, bool>("arguments", "answer",
                                                                            "safeguards", "status", "ran");
        const QString marker = m_dir->filePath("fc-cache ran");
        standInTool(systemRoot, "/usr/bin/fc-cache", "touch '" + marker.toUtf8() + "'");
        standInTool(systemRoot, "/usr/bin/resolvectl", "exit 3");
        write(systemRoot + "/run/systemd/resolve/io.systemd.Resolve", "");
        if (!safeguards.isNull())
            write(OptimizeWhitelistStore::optimizeConfigURL(m_home), safeguards);
        const Run result = run(arguments, m_home, answer);
        QCOMPARE(result.status, status);
        QCOMPARE(exists(marker), ran);
        QVERIFY2(status == 0 || !result.err.isEmpty() || result.out.contains("Nothing was run."),
                 qPrintable(result.out + result.err));
    }

    // kelvo uninstall APP: the app a word names goes with its strong leftovers after the question; a
    // word that names no app or several moves nothing.
    void uninstallNamedApps_data()
    {
        TestSupport::columns<QStringList, QString, int, bool>("arguments", "answer", "status", "moved");
        row("asked, yes", QStringList{"uninstall", "Tool"}, "y\n", 0, true);
        row("asked, no", QStringList{"uninstall", "Tool"}, "n\n", 1, false);
        row("--yes, by path", QStringList{"uninstall", "--yes", "{home}/opt/Tool"}, "", 0, true);
        row("--dry-run shows only", QStringList{"uninstall", "--dry-run", "tool"}, "", 0, false);
        row("no such app", QStringList{"uninstall", "--yes", "Tool", "Nothing"}, "", 1, false);
        row("several apps", QStringList{"uninstall", "--yes", "Twin"}, "", 1, false);
        row("no app named", QStringList{"uninstall", "--yes"}, "", 2, false);
    }
    void uninstallNamedApps()
    {
        const auto [arguments, answer, status, moved] =
            TestSupport::fetch<QStringList, QString, int, bool>("arguments", "answer", "status", "moved");
        for (const char* app : {"Tool", "TwinA", "TwinB"}) {
            executable(m_home + "/opt/" + app + "/run");
            write(m_home + "/.local/share/applications/org.example." + app + ".desktop",
                  "[Desktop Entry]\nName=" + QByteArray(app).left(4) + "\nExec=~/opt/" + app + "/run\n");
        }
        const QString config = file(m_home + "/.config/org.example.Tool/settings");
        const Run result = run(QStringList(arguments).replaceInStrings("{home}", m_home), m_home, answer,
                               TargetSystem::linuxDesktop);
        QCOMPARE(result.status, status);
        QCOMPARE(!exists(m_home + "/opt/Tool") && !exists(config), moved);
        QVERIFY(exists(m_home + "/opt/TwinA/run") && exists(m_home + "/opt/TwinB/run"));
    }

    // The preview as JSON: every step of the catalogue with what a run would do with it; nothing runs.
    void optimizePreviewJson()
    {
        const QString marker = m_dir->filePath("fc-cache ran");
        standInTool(systemRoot, "/usr/bin/fc-cache", "touch '" + marker.toUtf8() + "'");
        OptimizeWhitelistStore::save({{"thumbnail_cache_cleanup"}, {}}, m_home);
        const Run result = run({"optimize", "--dry-run", "--json"}, m_home);
        QCOMPARE(result.status, 0);
        const QJsonObject report = QJsonDocument::fromJson(result.out.toUtf8()).object();
        QCOMPARE(report.value("kind").toString(), QString("optimize_preview"));
        QMap<QString, QString> states;
        for (const QJsonValue& entry : report.value("entries").toArray()) {
            QVERIFY(!entry.toObject().value("name").toString().isEmpty());
            QVERIFY(!entry.toObject().value("state_text").toString().isEmpty());
            states.insert(entry.toObject().value("id").toString(),
                          entry.toObject().value("state").toString());
        }
        QCOMPARE(states.size(), OptimizeWhitelistStore::options().size());
        QCOMPARE((QStringList{states["font_cache_rebuild"], states["thumbnail_cache_cleanup"],
                              states["dns_cache_flush"], states["autostart_audit"]}),
                 (QStringList{"willRun", "protected", "unavailable", "reportOnly"}));
        QVERIFY(!exists(marker));
    }

    // Help and version: status 0; words that form no command: 2; a path that cannot be scanned: 1.
    void whatEachCommandLineSays_data()
    {
        // message: how the output (status 0) or the error output starts
        TestSupport::columns<QStringList, int, QString>("arguments", "status", "message");
        row("version", QStringList{"--version"}, 0, "Kelvo 9.8.7\n");
        row("help", QStringList{"-h"}, 0, "Usage: kelvo [command]");
        row("clean --help", QStringList{"clean", "--help"}, 0, "Usage: kelvo clean");
        row("help uninstall", QStringList{"help", "uninstall"}, 0, "Usage: kelvo uninstall");
        row("unknown command", QStringList{"clean-all"}, 2, "Unknown command: clean-all");
        row("help for an unknown command", QStringList{"help", "nope"}, 2, "Unknown command: nope\n");
        row("a mistyped command", QStringList{"clen"}, 2, "Unknown command: clen. Did you mean clean?");
        row("a short option", QStringList{"analyze", "-j", "{dir}"}, 2,
            "analyze does not know this option: -j");
        row("unknown option", QStringList{"clean", "--force"}, 2, "clean does not know this option: --force");
        row("json without dry run", QStringList{"clean", "--json"}, 2, "--json goes with --dry-run only.");
        row("optimize, json without dry run", QStringList{"optimize", "--json"}, 2,
            "--json goes with --dry-run only.");
        row("bad language", QStringList{"--lang", "fr", "clean"}, 2, "--lang takes en or zh.");
        row("analyze without a path", QStringList{"analyze", "--json"}, 2, "analyze needs a path.");
        row("two paths", QStringList{"analyze", "/a", "/b"}, 2, "analyze takes one path.");
        row("purge that would remove", QStringList{"purge", "/tmp"}, 2, "purge supports --dry-run only");
        row("installer that would remove", QStringList{"installer"}, 2, "installer supports --dry-run only");
        row("analyze a folder", QStringList{"analyze", "{dir}"}, 0, "Location: {dir}\n");
        row("analyze, import and a path", QStringList{"analyze", "--import", "{dir}/file", "{dir}"}, 2,
            "analyze --import takes no path.");
        row("analyze, export without a file", QStringList{"analyze", "--export"}, 2,
            "--export needs a file.");
        row("analyze, import of a missing file", QStringList{"analyze", "--import", "{dir}/missing.json"}, 1,
            "Could not read “{dir}/missing.json”");
        row("analyze, import of what is no export", QStringList{"analyze", "--import", "{dir}/file"}, 1,
            "The ncdu export cannot be imported, at byte 0");
        row("analyze, missing", QStringList{"analyze", "{dir}/missing"}, 1,
            "“{dir}/missing” does not exist.");
        row("purge, a file", QStringList{"purge", "--dry-run", "{dir}/file"}, 1,
            "“{dir}/file” is not a folder.");
        row("status, replay without a folder", QStringList{"status", "--replay"}, 2,
            "--replay needs a folder.");
        row("status of every user's processes", QStringList{"status", "--all-users", "--json"}, 0, "{");
        row("status, interval not a number", QStringList{"status", "--interval", "soon"}, 1,
            "--interval takes a number of seconds from 0.5 to 3600, not “soon”.");
        row("status, interval too short", QStringList{"status", "--interval", "0.1"}, 1, "--interval takes");
        row("status, interval without seconds", QStringList{"status", "--interval", "--json"}, 2,
            "--interval needs a number of seconds.");
        row("status, replay of a missing folder", QStringList{"status", "--replay", "{dir}/missing"}, 1,
            "“{dir}/missing” does not exist.");
        row("update without a mode", QStringList{"update", "--yes"}, 2, "update takes --check or --install.");
        row("update, json with install", QStringList{"update", "--install", "--json"}, 2,
            "--json goes with --check only.");
        row("update, nothing configured", QStringList{"update", "--check"}, 1,
            "The update feed URL has not been configured.\nName the feed");
    }
    void whatEachCommandLineSays()
    {
        auto [arguments, status, message] =
            TestSupport::fetch<QStringList, int, QString>("arguments", "status", "message");
        file(m_dir->filePath("file"));
        arguments.replaceInStrings("{dir}", m_dir->path());
        const Run result = run(arguments, m_home);
        QCOMPARE(result.status, status);
        const QString& said = status == 0 ? result.out : result.err;
        QVERIFY2(said.startsWith(message.replace("{dir}", m_dir->path())), qPrintable(said));
        QVERIFY((status == 0 ? result.err : result.out).isEmpty());
        QVERIFY(exists(m_caches + "/app/data.bin"));
    }

    // The terminal's locale names the language (LC_ALL, then LC_MESSAGES, then LANG); --lang overrides
    // it; the window's stored choice holds only when the locale names none.
    void languageFollowsTheTerminal_data()
    {
        TestSupport::columns<QStringList, AppLanguagePreference, QStringList, bool>("locale", "stored",
                                                                                    "arguments", "chinese");
        const auto zh = AppLanguagePreference::chinese, en = AppLanguagePreference::english;
        const QStringList help{"help"};
        row("LANG names Chinese", QStringList{"LANG=zh_CN.UTF-8"}, en, help, true);
        row("LANG names English over the window's Chinese", QStringList{"LANG=en_US.UTF-8"}, zh, help, false);
        row("LC_ALL before LANG", QStringList{"LC_ALL=en_GB", "LANG=zh_CN"}, zh, help, false);
        row("LC_MESSAGES before LANG", QStringList{"LC_MESSAGES=zh_CN", "LANG=en_US"}, en, help, true);
        row("another language reads English", QStringList{"LANG=fr_FR.UTF-8"}, zh, help, false);
        row("C names no language", QStringList{"LANG=C.UTF-8"}, zh, help, true);
        row("nothing set", QStringList{}, zh, help, true);
        row("--lang over the locale", QStringList{"LANG=en_US"}, en, QStringList{"--lang", "zh", "help"},
            true);
    }
    void languageFollowsTheTerminal()
    {
        const auto [locale, stored, arguments, chinese] =
            TestSupport::fetch<QStringList, AppLanguagePreference, QStringList, bool>("locale", "stored",
                                                                                      "arguments", "chinese");
        useLanguage(stored);
        for (const QString& variable : locale)
            processEnvironment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        const Run result = run(arguments, m_home);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out.startsWith("用法"), chinese);
    }

    // Colour only for a terminal, and not when NO_COLOR is set or the terminal is dumb.
    void colourOnlyForATerminal_data()
    {
        TestSupport::columns<bool, QString, bool>("terminal", "variable", "colour");
        row("a terminal", true, QString(), true);
        row("a pipe", false, QString(), false);
        row("NO_COLOR", true, QString("NO_COLOR=1"), false);
        row("NO_COLOR empty", true, QString("NO_COLOR="), true);
        row("a dumb terminal", true, QString("TERM=dumb"), false);
    }
    void colourOnlyForATerminal()
    {
        const auto [terminal, variable, colour] =
            TestSupport::fetch<bool, QString, bool>("terminal", "variable", "colour");
        outIsTerminal = terminal;
        if (!variable.isEmpty())
            processEnvironment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        const Run result = run({"clean", "--dry-run"}, m_home);
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out.contains("\x1B["), colour);
    }

    // A folder named through a link is analysed where the link leads, saying so, as du -D does; a
    // path starting with "-" is given after "--".
    void foldersNamedAsATerminalNamesThem()
    {
        file(m_dir->filePath("real/data.bin"), 5000);
        link(m_dir->filePath("real"), m_dir->filePath("through-link"));
        for (const QStringList& command : {QStringList{"analyze"}, QStringList{"purge", "--dry-run"}}) {
            const Run linked = run(command + QStringList{m_dir->filePath("through-link")}, m_home);
            QCOMPARE(linked.status, 0);
            QVERIFY2(linked.err.contains(m_dir->filePath("real")), qPrintable(linked.err));
        }
        QVERIFY(run({"analyze", m_dir->filePath("through-link")}, m_home).out.contains("Files: 1 "));
        file(m_dir->filePath("-dashed/data.bin"));
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        const Run dashed = run({"analyze", "--", "-dashed"}, m_home);
        QVERIFY(QDir::setCurrent(previous));
        QCOMPARE(dashed.status, 0);
        QVERIFY2(dashed.out.contains("Files: 1 "), qPrintable(dashed.out));
    }

    // update --check: status 0 whether or not a newer release is out (the JSON says which), 1 when the
    // feed cannot be read, with the message on standard error.
    void updateCheckSaysWhichRelease_data()
    {
        TestSupport::columns<QString, int, QString>("feed", "status",
                                                    "said"); // said: update_available, or the error
        row("a newer release", QString("9.9.0"), 0, QString("true"));
        row("the same release", QString("9.8.7"), 0, QString("false"));
        row("a failing feed", QString("failing"), 1,
            QString("Update check failed: The update check failed with server status 404.\n"));
    }
    void updateCheckSaysWhichRelease()
    {
        const auto [feed, status, said] = TestSupport::fetch<QString, int, QString>("feed", "status", "said");
        ServedRelease release;
        if (feed != "failing")
            release.publish(feed);
        processEnvironment = release.environment();
        const Run result = run({"update", "--check", "--json"}, m_home);
        QCOMPARE(result.status, status);
        if (status == 1) {
            QCOMPARE(result.err, said);
            return;
        }
        const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
        QCOMPARE(json.keys(),
                 (QStringList{"current_build", "current_version", "download", "feed_url", "generated_at",
                              "kind", "latest", "status_text", "update_available"}));
        QCOMPARE(json["kind"].toString(), "update_check");
        QCOMPARE(json["update_available"].toVariant().toString(), said);
        QCOMPARE(json["latest"]["version"].toString(), feed);
        QCOMPARE(json["download"]["url"].toString(),
                 said == "true" ? release.server.url("/kelvo.tar.gz").toString() : QString());
    }

    // update --install replaces the installation with the package once confirmed; a "no" or a package that
    // does not match its checksum leaves the old one.
    void updateInstallReplacesTheInstallation_data()
    {
        TestSupport::columns<QStringList, QString, int, QString>("arguments", "answer", "status",
                                                                 "installed");
        const QStringList install{"update", "--install"}, yes{"update", "--install", "--yes"};
        row("--yes asks nothing", yes, QString(), 0, QString("Kelvo 9.9.0"));
        row("answered n", install, QString("n\n"), 1, QString("Kelvo 9.8.7"));
        row("a wrong checksum", yes, QString(), 1, QString("Kelvo 9.8.7"));
    }
    void updateInstallReplacesTheInstallation()
    {
#ifdef Q_OS_MACOS
        QSKIP("the macOS package is a disk image");
#endif
        const auto [arguments, answer, status, installed] =
            TestSupport::fetch<QStringList, QString, int, QString>("arguments", "answer", "status",
                                                                   "installed");
        ServedRelease release;
        release.publish("9.9.0", QTest::currentDataTag() == QByteArray("a wrong checksum")
                                     ? std::optional(QString(64, 'f'))
                                     : std::nullopt);
        processEnvironment = release.environment();
        ServedRelease::installation(updateInstaller.installation, "9.8.7");
        const Run result = run(arguments, m_home, answer);
        QCOMPARE(result.status, status);
        QVERIFY2(
            result.out.startsWith("New version available: v9.9.0\n\nFaster scans.\nA new update sheet.\n"),
            qPrintable(result.out));
        QCOMPARE(ServedRelease::versionOf(updateInstaller.installation), installed);
        if (status == 0)
            QVERIFY2(result.out.endsWith("Installed Kelvo v9.9.0: " + updateInstaller.installation +
                                         "/bin/kelvo\n"),
                     qPrintable(result.out));
        QCOMPARE(release.server.requestCount("/kelvo.tar.gz"), answer.startsWith('n') ? 0 : 1);
    }

    // One JSON shape for every listing (kind, date, entries with stable ids and sizes in bytes); text alike.
    // A folder exported and imported again reads as the folder itself: the same totals and items.
    void anExportedScanReadsBack()
    {
        file(m_home + "/code/web/a.js", 3000);
        file(m_home + "/code/web/lib/b.js", 7000);
        file(m_home + "/code/notes.md", 500);
        const QString exported = m_dir->filePath("scan.json");
        const Run written = run({"analyze", "--export", exported, m_home + "/code"}, m_home);
        QCOMPARE(written.status, 0);
        QVERIFY(written.err.contains(exported));
        const auto analysis = [&](const QStringList& words) {
            QJsonObject report = QJsonDocument::fromJson(run(words, m_home).out.toUtf8()).object();
            QStringList seen{report.value("path").toString(),
                             QString::number(report.value("total_size").toDouble()),
                             QString::number(report.value("total_files").toDouble())};
            for (const QJsonValue entry : report.value("entries").toArray())
                seen << entry.toObject().value("name").toString() + "=" +
                            QString::number(entry.toObject().value("size").toDouble());
            return seen;
        };
        const QStringList walked = analysis({"analyze", "--json", m_home + "/code"});
        QCOMPARE(walked.mid(1, 2), (QStringList{"10500", "3"}));
        QCOMPARE(analysis({"analyze", "--json", "--import", exported}), walked);
    }

    void listingsSayWhatTheyFound()
    {
        // A Linux desktop looks for its own packages, and says which kind each is.
        const bool mac = TargetSystems::built() == TargetSystem::macOS;
        const QString installer = file(m_home + (mac ? "/Downloads/Tool.dmg" : "/Downloads/Tool.deb"), 9000);
        const QString installerKind = mac ? QString() : QString("deb");
        const QString modules = folder(m_home + "/code/web/node_modules");
        file(modules + "/x.js", 3000);
        const QString cache = folder(m_home + "/Library/Caches/com.example.foo");
        const QString app = makeApp(m_home + "/Applications", "Foo", "com.example.foo");
        const QList<std::pair<QStringList, QString>> commands{
            {{"clean", "--dry-run", "--json"}, "clean_preview"},
            {{"analyze", "--json", m_home}, "analysis"},
            {{"purge", "--dry-run", "--json", m_home + "/code"}, "purge_preview"},
            {{"installer", "--dry-run", "--json"}, "installer_preview"},
            {{"uninstall", "--dry-run", "--json"}, "uninstall_preview"}};
        QMap<QString, QJsonObject> firstEntry;
        for (const auto& [words, kind] : commands) {
            const Run first = run(words, m_home);
            const QJsonObject report = QJsonDocument::fromJson(first.out.toUtf8()).object();
            const QJsonArray entries = report.value("entries").toArray();
            const QJsonArray again =
                QJsonDocument::fromJson(run(words, m_home).out.toUtf8()).object().value("entries").toArray();
            QCOMPARE(first.status, 0);
            QCOMPARE(report.value("kind").toString(), kind);
            QVERIFY(
                QDateTime::fromString(report.value("generated_at").toString(), Qt::ISODateWithMs).isValid());
            QVERIFY2(!entries.isEmpty(), qPrintable(kind));
            for (qsizetype i = 0; i < entries.size(); ++i) {
                const QJsonObject entry = entries[i].toObject();
                QCOMPARE(entry.value("id"), again[i].toObject().value("id"));
                if (entry.contains("size") && kind != "clean_preview")
                    QVERIFY2(entry.value("size").isDouble(), qPrintable(kind));
            }
            firstEntry[kind] = entries[0].toObject();
        }
        const QJsonObject foo = firstEntry["uninstall_preview"];
        const QJsonObject leftover = foo.value("leftovers").toArray().at(0).toObject();
        const auto text = [](const QJsonObject& json, const char* key) { return json.value(key).toString(); };
        QCOMPARE((QStringList{text(firstEntry["purge_preview"], "path"),
                              text(firstEntry["installer_preview"], "path"),
                              text(firstEntry["installer_preview"], "location"),
                              text(firstEntry["installer_preview"], "kind"), text(foo, "path"),
                              text(foo, "bundle_id"), text(leftover, "path"), text(leftover, "match")}),
                 (QStringList{modules, installer, m_home + "/Downloads", installerKind, app,
                              "com.example.foo", cache, "strong"}));
        QVERIFY(run({"uninstall", "--dry-run"}, m_home).out.contains("Foo  ("));
        // On Linux the same command lists the home folder's AppImages instead of bundles.
        file(m_home + "/Applications/Tool-2.0-x86_64.AppImage", 4000);
        const QString linuxApps = run({"uninstall", "--dry-run"}, m_home, {}, TargetSystem::linuxDesktop).out;
        QVERIFY2(linuxApps.contains("Tool  (AppImage)") && !linuxApps.contains("Foo"), qPrintable(linuxApps));
        QCOMPARE(text(firstEntry["purge_preview"], "ecosystem"), "JavaScript / Node");
        QVERIFY(!firstEntry["purge_preview"].value("chosen_by_default").toBool()); // no package.json
        // The text analysis marks what it does not follow and says what it left out until told to count it.
        link(m_home + "/gone", m_home + "/code/web/gone");
        file(m_home + "/code/web/.env", 10);
        const QString analysis = run({"analyze", m_home + "/code/web"}, m_home).out;
        QVERIFY2(analysis.contains("gone  (dangling link)\n") &&
                     analysis.contains("Not counted: 1 hidden items"),
                 qPrintable(analysis));
        QVERIFY(!run({"analyze", "--all", m_home + "/code/web"}, m_home).out.contains("Not counted"));
        QVERIFY(exists(installer) && exists(modules + "/x.js") && exists(app));
    }

    // A macOS home looked at from any machine (KELVO_SYSTEM=macos): each preview sees it as macOS
    // would, with its catalogue, installer types, bundles and their Library leftovers and maintenance
    // steps; whatever would act refuses, and the home stays exactly as it was.
    void aForeignSystemOnlyPreviews_data()
    {
        TestSupport::columns<QString, int, QString>("arguments", "status", "said");
        row("clean looks in the Library", "clean --dry-run", 0, "Clean Your Mac\n");
        row("clean refuses", "clean --yes", 1, "for previews only");
        row("installer finds disk images, not packages", "installer --dry-run", 0,
            "/Tool.dmg\n1 installer file, ");
        row("uninstall lists bundles with leftovers", "uninstall --dry-run", 0,
            "Foo  (User Apps · 2 leftovers)");
        row("uninstall refuses", "uninstall --yes Foo", 1, "for previews only");
        row("optimize lists the macOS steps", "optimize --dry-run", 0, " of 23 steps will run.");
        row("optimize refuses", "optimize --yes", 1, "for previews only");
    }
    void aForeignSystemOnlyPreviews()
    {
        const auto [words, status, said] =
            TestSupport::fetch<QString, int, QString>("arguments", "status", "said");
        const QStringList arguments = words.split(' ');
        file(m_home + "/Library/Caches/com.example.foo/data.bin", 5000);
        folder(m_home + "/Library/Application Support/com.example.foo");
        file(m_home + "/.Trash/old.txt", 100);
        makeApp(m_home + "/Applications", "Foo", "com.example.foo");
        file(m_home + "/Downloads/Tool.dmg", 9000);
        file(m_home + "/Downloads/Tool.deb", 9000);
        const QMap<QString, QByteArray> before = tree(m_dir->path());
        const Run result = run(arguments, m_home, "y\n", std::nullopt, {TargetSystem::macOS, true});
        QCOMPARE(result.status, status);
        QVERIFY2((result.out + result.err).contains(said), qPrintable(result.out + result.err));
        if (arguments.contains("clean"))
            QVERIFY(result.out.contains(m_home + "/Library/Caches  # "));
        QCOMPARE(tree(m_dir->path()), before);
    }

    // The status JSON reads back to the report it was made from; the summary of a replayed Mac has its
    // battery and proxy, and no health score, the kernel's readings being left out of a replay.
    void aReplayedMacReadsBack_data()
    {
        TestSupport::columns<QString, QString, double, QStringList>("folder", "language", "percent", "said");
        row("charging, HTTP proxy", "mac-replay", "en", 98.0,
            QStringList{"—  Unknown", "98%  charging  0:42", "HTTP 127.0.0.1"});
        row("on battery, automatic proxy", "mac-replay-battery-pac", "en", 64.0,
            QStringList{"—  Unknown", "64%  discharging  3:12",
                        "Automatic (PAC) http://wpad.example.com/proxy.pac"});
        row("on battery, in Chinese", "mac-replay-battery-pac", "zh", 64.0,
            QStringList{"—  未知", "自动配置 (PAC) http://wpad.example.com/proxy.pac"});
    }
    void aReplayedMacReadsBack()
    {
        const auto [folder, language, percent, said] =
            TestSupport::fetch<QString, QString, double, QStringList>("folder", "language", "percent",
                                                                      "said");
        const QString replay = QStringLiteral(KELVO_TEST_DATA_DIR "/") + folder;
        const Run result = run({"status", "--json", "--replay", replay}, m_home);
        QCOMPARE(result.status, 0);
        const SystemReport report = SystemReportParser::parseStatus(result.out.toUtf8());
        QCOMPARE(report,
                 SystemReportParser::parseStatus(
                     QJsonDocument(LocalSystemStatus::replaySnapshot(replay, m_home).toJson()).toJson()));
        QCOMPARE(report.battery()->percent, percent);
        QCOMPARE(report.healthScoreMsg,
                 std::optional<QString>("Unknown")); // the JSON's verdicts stay English
        const QString summary = run({"--lang", language, "status", "--replay", replay}, m_home).out;
        for (const QString& text : said)
            QVERIFY2(summary.contains(text), qPrintable(summary));
    }

    // One sample cannot know a rate: the disk rates are unknown; a second sample an interval later
    // knows them, and the JSON says over what interval.
    void ratesNeedTwoSamples_data()
    {
        TestSupport::columns<QStringList, bool>("arguments", "rates");
        row("one sample", QStringList{"status", "--json"}, false);
        row("two samples", QStringList{"status", "--json", "--interval", "0.5"}, true);
    }
    void ratesNeedTwoSamples()
    {
        const auto [arguments, rates] = TestSupport::fetch<QStringList, bool>("arguments", "rates");
        const Run result = run(arguments, m_home);
        QCOMPARE(result.status, 0);
        const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
        const SystemReport report = SystemReportParser::parseStatus(result.out.toUtf8());
        QVERIFY(report.diskIO);
        QCOMPARE(report.diskIO->readRate.has_value(), rates);
        QCOMPARE(json.value("interval").toDouble(), rates ? 0.5 : 0.0);
        QVERIFY(!report.topProcesses.empty() && report.topProcesses.front().command);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home;
    QString m_caches;
    QString m_trash;
};

KELVO_REGISTER_TEST(TestCommandLine)
#include "tst_CommandLine.moc"
