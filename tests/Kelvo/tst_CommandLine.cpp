#include "TestMain.h"

#include "CleanReports.h"
#include "SyntheticHome.h"

#include "analysis/LocalAnalysis.h"
#include "clean/CleanLocations.h"
#include "clean/CleanPreviewParser.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanPreview.h"
#include "cli/CommandLine.h"
#include "platform/DefaultsStore.h"
#include "status/SystemReportParser.h"
#include "vocabulary/AppLocalization.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

using namespace SyntheticHome;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run run(const QStringList& arguments, const QString& home, const QString& input = {})
{
    Run result;
    QString inText = input;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    QTextStream in(&inText);
    CommandLine::Streams streams{out, err, in, false};
    result.status = CommandLine::run(arguments, {home, "9.8.7"}, streams);
    return result;
}

// What matters of an entry once it went through text: ids are fresh on every reading.
QString described(const CleanPreviewReport& report)
{
    return CleanReports::describe(report, CleanPreviewReport::EntryStatus::summary);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        AppLocalization::savePreference(AppLanguagePreference::english, *DefaultsStore::open());
        m_dir = std::make_unique<QTemporaryDir>();
        m_home = m_dir->filePath("home");
        const CleanCatalogue& catalogue = CleanLocations::forThisSystem();
        m_caches = m_home + "/" + catalogue.userEssentials.targets.front().relativePath;
        m_trash = m_home + "/" + catalogue.trash.targets.front().relativePath;
        file(m_caches + "/app/data.bin", 5000);
        file(m_trash + "/files/old.txt", 100);
    }
    void cleanup() { AppLocalization::overrideLanguage(std::nullopt); }

    void whichArgumentsOpenTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("commandLine");
        QTest::newRow("no arguments: the window") << QStringList{} << false;
        QTest::newRow("clean") << QStringList{"clean", "--dry-run"} << true;
        QTest::newRow("help") << QStringList{"--help"} << true;
        QTest::newRow("version") << QStringList{"--version"} << true;
        QTest::newRow("language first") << QStringList{"--lang", "zh", "clean"} << true;
        QTest::newRow("a typo: a usage error, never the window") << QStringList{"clena"} << true;
        QTest::newRow("the Finder's process number") << QStringList{"-psn_0_12345"} << false;
    }
    void whichArgumentsOpenTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, commandLine);
        QCOMPARE(CommandLine::wantsCommandLine(arguments), commandLine);
    }

    void dryRunReadsBackToTheSameEntries_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("english") << "en";
        QTest::newRow("chinese") << "zh";
    }
    void dryRunReadsBackToTheSameEntries()
    {
        QFETCH(QString, language);
        const Run result = run({"clean", "--dry-run", "--lang", language}, m_home);
        QCOMPARE(result.status, 0);
        const CleanPreviewReport direct = LocalCleanPreview::snapshot(m_home);
        const CleanPreviewReport readBack = CleanPreviewParser::parse(result.out);
        QCOMPARE(described(readBack), described(direct));
        // The format's readers look for "Potential space:"; a Chinese summary stands behind it.
        QVERIFY(readBack.summary && direct.summary);
        QVERIFY2(readBack.summary->startsWith("Potential space:"), qPrintable(*readBack.summary));
        QVERIFY2(readBack.summary->endsWith(*direct.summary), qPrintable(*readBack.summary));
        QVERIFY(exists(m_caches + "/app/data.bin"));
    }

    void jsonReadsBackToTheSameReport()
    {
        const Run result = run({"clean", "--dry-run", "--json"}, m_home);
        QCOMPARE(result.status, 0);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const CleanPreviewReport readBack = CleanPreviewReport::fromJson(document.object());
        QCOMPARE(described(readBack), described(LocalCleanPreview::snapshot(m_home)));
        QCOMPARE(readBack.sectionCount(), 2);
    }

    void cleaningAsksFirst_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<int>("status");
        QTest::newRow("answered yes") << QStringList{"clean"} << "y\n" << true << 0;
        QTest::newRow("answered YES") << QStringList{"clean"} << "YES\n" << true << 0;
        QTest::newRow("answered no") << QStringList{"clean"} << "n\n" << false << 1;
        QTest::newRow("just enter") << QStringList{"clean"} << "\n" << false << 1;
        QTest::newRow("no input at all") << QStringList{"clean"} << "" << false << 1;
        QTest::newRow("--yes asks nothing") << QStringList{"clean", "--yes"} << "" << true << 0;
    }
    void cleaningAsksFirst()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        QFETCH(bool, deleted);
        QFETCH(int, status);
        const Run result = run(arguments, m_home, answer);
        QCOMPARE(result.status, status);
        QCOMPARE(!exists(m_caches + "/app/data.bin"), deleted);
        QCOMPARE(!exists(m_trash + "/files/old.txt"), deleted);
        QVERIFY(exists(m_caches)); // the location itself always stays
        if (deleted)
            QVERIFY2(result.out.contains("Cleaned 2 items. Freed "), qPrintable(result.out));
        else
            QVERIFY(result.out.contains("Nothing was deleted."));
    }

    // A clean that cannot start safely removes nothing; one that left something says what and why;
    // both end with status 1.
    void cleaningStopsOrSaysWhatStayed_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("said"); // part of the error output
        QTest::newRow("unreadable protection list") << "list"
                                                    << "Smart Clean stopped before removing anything.";
        QTest::newRow("a home of /") << "root home"
                                     << "root folder";
        QTest::newRow("no home") << "empty home"
                                 << "HOME is empty";
        QTest::newRow("a mount inside a cache") << "mount"
                                                << "1 items stayed:";
    }
    void cleaningStopsOrSaysWhatStayed()
    {
        QFETCH(QString, setup);
        QFETCH(QString, said);
        QString home = m_home;
        std::unique_ptr<BindMount> mount;
        if (setup == "list") {
            write(CleanWhitelistStore::configURL(m_home), "~/keep\n# caf\xe9\n");
        } else if (setup == "mount") {
            file(m_dir->filePath("outside/precious"));
            mount = std::make_unique<BindMount>(m_dir->filePath("outside"), folder(m_caches + "/mounted"));
            if (!mount->mounted())
                QSKIP("this process may not mount");
        } else {
            home = setup == "root home" ? "/" : "";
        }
        const Run result = run({"clean", "--yes"}, home);
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains(said), qPrintable(result.err));
        QCOMPARE(exists(m_caches + "/app/data.bin"), setup != "mount");
        QVERIFY(exists(m_dir->filePath("outside")) || setup != "mount");
    }

    void anEmptyHomeHasNothingToClean()
    {
        const QString empty = folder(m_dir->filePath("empty-home"));
        const Run result = run({"clean", "--yes"}, empty);
        QCOMPARE(result.status, 0);
        QVERIFY(result.out.contains("Nothing to clean."));
    }

    void languageOverrideIsForThisRunOnly()
    {
        const Run chinese = run({"--lang", "zh", "clean", "--dry-run"}, m_home);
        QVERIFY2(chinese.out.contains("预计可清理："), qPrintable(chinese.out));
        QCOMPARE(AppLocalization::loadPreference(*DefaultsStore::open()), AppLanguagePreference::english);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown command") << QStringList{"clean-all"} << "Unknown command: clean-all";
        QTest::newRow("help for an unknown command") << QStringList{"help", "nope"} << "Unknown command: nope";
        QTest::newRow("unknown option")
            << QStringList{"clean", "--force"} << "clean does not know this option: --force";
        QTest::newRow("json without dry run")
            << QStringList{"clean", "--json"} << "--json goes with --dry-run only.";
        QTest::newRow("bad language") << QStringList{"--lang", "fr", "clean"} << "--lang takes en or zh.";
        QTest::newRow("language without value") << QStringList{"clean", "--lang"} << "--lang takes en or zh.";
        QTest::newRow("analyze without a path")
            << QStringList{"analyze", "--json"} << "analyze needs a path.";
        QTest::newRow("purge that would remove")
            << QStringList{"purge", "/tmp"} << "purge supports --dry-run only";
        QTest::newRow("two paths") << QStringList{"analyze", "/a", "/b"} << "analyze takes one path.";
        QTest::newRow("installer that would remove")
            << QStringList{"installer", "--json"}
            << "installer supports --dry-run only; choose what to move to the Trash in the window.";
        QTest::newRow("uninstall with an unknown option") << QStringList{"uninstall", "--dry-run", "--force"}
                                                          << "uninstall does not know this option: --force";
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run result = run(arguments, m_home);
        QCOMPARE(result.status, 2);
        QVERIFY2(result.err.startsWith(message), qPrintable(result.err));
        QVERIFY(exists(m_caches + "/app/data.bin"));
    }

    // A path that cannot be scanned is an error saying why, not an empty report.
    void pathsThatCannotBeScanned_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::newRow("analyze, missing") << "analyze" << "missing" << "does not exist.";
        QTest::newRow("analyze, a file") << "analyze" << "file" << "is not a folder.";
        QTest::newRow("purge, missing") << "purge" << "missing" << "does not exist.";
    }
    void pathsThatCannotBeScanned()
    {
        QFETCH(QString, command);
        QFETCH(QString, path);
        QFETCH(QString, message);
        const QString target = m_dir->filePath(path);
        if (path == "file")
            file(target);
        const QStringList words = command == "analyze" ? QStringList{command, "--json", target}
                                                       : QStringList{command, "--dry-run", "--json", target};
        const Run result = run(words, m_home);
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains(QString("“%1” %2").arg(target, message)), qPrintable(result.err));
        QVERIFY(result.out.isEmpty());
    }

    void everyCommandHasItsHelp()
    {
        for (const char* command : {"clean", "analyze", "purge", "installer", "uninstall"}) {
            for (const QStringList& words : {QStringList{command, "--help"}, QStringList{"help", command}}) {
                const Run result = run(words, m_home);
                QCOMPARE(result.status, 0);
                QVERIFY2(result.out.startsWith(QString("Usage: kelvo %1").arg(command)), qPrintable(result.out));
            }
        }
        QVERIFY(exists(m_caches + "/app/data.bin"));
    }

    // Every command's JSON has one shape: its kind, when it was made, then its content; ids stay the
    // same from run to run, sizes are bytes.
    void jsonHasOneShape()
    {
        file(m_home + "/Downloads/Tool.dmg", 9000);
        file(m_home + "/project/node_modules/x.js", 9000);
        const QList<std::pair<QStringList, QString>> commands{
            {{"clean", "--dry-run", "--json"}, "clean_preview"},
            {{"analyze", "--json", m_home}, "analysis"},
            {{"purge", "--dry-run", "--json", m_home + "/project"}, "purge_preview"},
            {{"installer", "--dry-run", "--json"}, "installer_preview"},
            {{"uninstall", "--dry-run", "--json"}, "uninstall_preview"}};
        for (const auto& [words, kind] : commands) {
            const QJsonObject first = QJsonDocument::fromJson(run(words, m_home).out.toUtf8()).object();
            const QJsonObject second = QJsonDocument::fromJson(run(words, m_home).out.toUtf8()).object();
            QCOMPARE(first.value("kind").toString(), kind);
            QVERIFY(QDateTime::fromString(first.value("generated_at").toString(), Qt::ISODateWithMs).isValid());
            const QJsonArray entries = first.value("entries").toArray();
            if (kind != "uninstall_preview")
                QVERIFY2(!entries.isEmpty(), qPrintable(kind));
            for (qsizetype i = 0; i < entries.size(); ++i) {
                const QJsonObject entry = entries[i].toObject();
                if (entry.contains("id"))
                    QCOMPARE(entry.value("id"), second.value("entries").toArray()[i].toObject().value("id"));
                if (entry.contains("size") && kind != "clean_preview")
                    QVERIFY2(entry.value("size").isDouble(), qPrintable(kind));
            }
        }
    }

    void analyzeJsonReadsBack()
    {
        const Run result = run({"analyze", "--json", m_home}, m_home);
        QCOMPARE(result.status, 0);
        const AnalysisReport readBack = SystemReportParser::parseAnalysis(result.out.toUtf8());
        QCOMPARE(readBack, LocalAnalysis::snapshot(m_home, m_home));
        QCOMPARE(readBack.path, m_home);
    }

    void purgeListsArtefacts()
    {
        file(m_home + "/code/web/node_modules/x.js", 3000);
        const Run json = run({"purge", "--dry-run", "--json", m_home + "/code"}, m_home);
        QCOMPARE(json.status, 0);
        const QJsonArray entries =
            QJsonDocument::fromJson(json.out.toUtf8()).object().value("entries").toArray();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].toObject().value("path").toString(), m_home + "/code/web/node_modules");
        const Run text = run({"purge", "--dry-run", m_home + "/code"}, m_home);
        QVERIFY2(text.out.contains("JavaScript / Node") && text.out.contains("1 items, total "),
                 qPrintable(text.out));
        QVERIFY(exists(m_home + "/code/web/node_modules/x.js"));
    }

    void installerAndUninstallOnlyList()
    {
        const QString dmg = file(m_home + "/Downloads/Tool.dmg", 9000);
        const QString cache = folder(m_home + "/Library/Caches/com.example.foo");
        const QString app = m_home + "/Applications/Foo.app";
        file(app + "/Contents/MacOS/Foo", 4000);
        write(app + "/Contents/Info.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>CFBundleName</key><string>Foo</string>
<key>CFBundleIdentifier</key><string>com.example.foo</string></dict></plist>
)");

        const Run installers = run({"installer", "--dry-run", "--json"}, m_home);
        QCOMPARE(installers.status, 0);
        const QJsonArray files =
            QJsonDocument::fromJson(installers.out.toUtf8()).object().value("entries").toArray();
        QCOMPARE(files.size(), 1);
        QCOMPARE(files[0].toObject().value("path").toString(), dmg);
        QCOMPARE(files[0].toObject().value("location").toString(), m_home + "/Downloads");
        const Run installerText = run({"installer", "--dry-run"}, m_home);
        QVERIFY2(installerText.out.contains(dmg) && installerText.out.contains("1 files, total "),
                 qPrintable(installerText.out));

        const Run apps = run({"uninstall", "--dry-run", "--json"}, m_home);
        QCOMPARE(apps.status, 0);
        const QJsonArray listed =
            QJsonDocument::fromJson(apps.out.toUtf8()).object().value("entries").toArray();
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed[0].toObject().value("path").toString(), app);
        QCOMPARE(listed[0].toObject().value("bundle_id").toString(), QString("com.example.foo"));
        const QJsonObject leftover = listed[0].toObject().value("leftovers").toArray().at(0).toObject();
        QCOMPARE(leftover.value("path").toString(), cache);
        QCOMPARE(leftover.value("match").toString(), QString("strong"));
        const Run appText = run({"uninstall", "--dry-run", "--lang", "zh"}, m_home);
        QVERIFY2(appText.out.contains("Foo  (") && appText.out.contains("1 个应用项目"),
                 qPrintable(appText.out));

        QVERIFY(exists(dmg) && exists(app));
    }

    void helpAndVersion()
    {
        QVERIFY(run({"--help"}, m_home).out.startsWith("Usage: kelvo"));
        QVERIFY(run({"--help", "--lang", "zh"}, m_home).out.startsWith("用法：kelvo"));
        QCOMPARE(run({"--version"}, m_home).out, QString("Kelvo 9.8.7\n"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home;
    QString m_caches;
    QString m_trash;
};

KELVO_REGISTER_TEST(TestCommandLine)
#include "tst_CommandLine.moc"
