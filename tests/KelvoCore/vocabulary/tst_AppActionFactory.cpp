// The action vocabulary: every factory operation's routing words, texts in both languages and
// flags, the way actions map back to features, and the raw values of features.
#include "TestMain.h"

#include "Language.h"

#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <functional>

using MakeAction = std::function<AppAction()>;
Q_DECLARE_METATYPE(MakeAction)
Q_DECLARE_METATYPE(AppLanguagePreference)

namespace {

QString featureOf(const AppAction& action)
{
    const std::optional<AppFeature> feature = AppActionFactory::featureForAction(action);
    return feature ? AppFeatures::rawValue(*feature) : QString();
}

} // namespace

class AppActionFactoryTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TestSupport::forgetLanguage(); }

    void operationsBuildTheirAction_data()
    {
        QTest::addColumn<MakeAction>("make");
        QTest::addColumn<AppLanguagePreference>("preference");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("isDestructive");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("feature"); // raw value; empty for none

        using namespace AppActionFactory;
        using Texts = std::pair<QString, QString>; // Chinese, English
        const auto row = [](const char* name, const MakeAction& make, const QStringList& arguments,
                            bool destructive, const char* feature, const Texts& title, const Texts& detail) {
            QTest::addRow("%s, english", name)
                << make << AppLanguagePreference::english << arguments << destructive << title.second
                << detail.second << QString(feature);
            QTest::addRow("%s, chinese", name)
                << make << AppLanguagePreference::chinese << arguments << destructive << title.first
                << detail.first << QString(feature);
        };
        const Texts analyzeJson{"检查所选位置，并汇总空间占用。",
                                "Scan the selected location and summarize storage usage."};
        const Texts analyzeView{"打开更详细的空间查看窗口。", "Open a more detailed storage view."};
        const Texts statusText{"刷新 CPU、内存、磁盘、电池和网络状态。",
                               "Refresh CPU, memory, disk, battery, and network status."};
        const Texts touchId{"Kelvo 暂不支持 Touch ID 配置。",
                            "Touch ID configuration is not available in Kelvo yet."};
        const Texts completionText{"Kelvo 暂不支持快捷输入配置。",
                                   "Shell completion setup is not available in Kelvo yet."};
        const Texts removeText{"Kelvo 暂不支持从这里移除应用。",
                               "Removing Kelvo from this screen is not supported yet."};
        const Texts updateTitle{"检查 Kelvo 更新", "Check for Kelvo Updates"};
        const Texts updateText{"从配置的更新源检查是否有新版本。",
                               "Check the configured update feed for a newer version."};

        const Texts previewClean{"预览清理项目", "Preview Cleanup Items"};
        const Texts previewCleanText{"只检查可清理项目，不会删除任何内容。",
                                     "Only check cleanable items. Nothing will be deleted."};
        const Texts startClean{"开始清理", "Start Cleaning"};
        const Texts startCleanText{
            "确认后开始清理缓存、日志、残留文件和废纸篓内容；需要管理员权限的系统缓存会跳过。",
            "After confirmation, clean caches, logs, leftovers, and Trash. System caches "
            "requiring admin access will be skipped."};
        row(
            "clean preview", [] { return clean(true); }, {"clean", "--dry-run"}, false, "clean", previewClean,
            previewCleanText);
        row(
            "clean preview debug", [] { return clean(true, true); }, {"clean", "--dry-run", "--debug"}, false,
            "clean", previewClean, previewCleanText);
        row(
            "clean", [] { return clean(false); }, {"clean"}, true, "clean", startClean, startCleanText);
        row(
            "clean debug", [] { return clean(false, true); }, {"clean", "--debug"}, true, "clean", startClean,
            startCleanText);
        row("cleanWhitelist", [] { return cleanWhitelist(); }, {"clean", "--whitelist"}, false, "clean",
            {"编辑保护名单", "Edit Protection List"},
            {"选择永远不要被清理的位置。", "Choose locations that should never be cleaned."});
        row("uninstall preview debug", [] { return uninstall(true, true); },
            {"uninstall", "--dry-run", "--debug"}, false, "uninstall",
            {"预览卸载项目", "Preview Uninstall Items"},
            {"查看可移除的应用残留，不会删除任何内容。",
             "Review removable app leftovers. Nothing will be deleted."});
        row("uninstall", [] { return uninstall(false); }, {"uninstall"}, true, "uninstall",
            {"选择应用卸载", "Choose Apps to Uninstall"},
            {"选择要卸载的应用和相关文件。", "Choose the apps and related files to uninstall."});
        row("optimize preview", [] { return optimize(true); }, {"optimize", "--dry-run"}, false, "optimize",
            {"预览优化项目", "Preview Optimization Items"},
            {"预览可优化的项目，不会改动电脑。", "Preview optimization items without changing your Mac."});
        row("optimize debug", [] { return optimize(false, true); }, {"optimize", "--debug"}, true, "optimize",
            {"开始优化", "Start Optimizing"},
            {"确认后刷新系统服务、重建缓存并整理诊断数据。",
             "After confirmation, refresh services, rebuild caches, and organize diagnostics."});
        row("optimizeWhitelist", [] { return optimizeWhitelist(); }, {"optimize", "--whitelist"}, false,
            "optimize", {"编辑优化保护项", "Edit Optimization Safeguards"},
            {"选择优化时要跳过的项目。", "Choose items to skip during optimization."});
        row(
            "analyze json with path", [] { return analyze("/Users/ann/Movies", true); },
            {"analyze", "--json", "/Users/ann/Movies"}, false, "analyze", {"分析空间", "Analyze Storage"},
            analyzeJson);
        row(
            "analyze json with blank path", [] { return analyze(" \t\n", true); }, {"analyze", "--json"},
            false, "analyze", {"分析空间", "Analyze Storage"}, analyzeJson);
        row(
            "analyze path keeps its spaces", [] { return analyze("  /tmp/a b  ", false); },
            {"analyze", "  /tmp/a b  "}, false, "analyze", {"打开详细查看", "Open Advanced View"},
            analyzeView);
        row(
            "analyze empty path", [] { return analyze(QString(), false); }, {"analyze"}, false, "analyze",
            {"打开详细查看", "Open Advanced View"}, analyzeView);
        row(
            "status json", [] { return status(true); }, {"status", "--json"}, false, "dashboard",
            {"刷新状态", "Refresh Status"}, statusText);
        row(
            "status", [] { return status(false); }, {"status"}, false, "", {"刷新状态", "Refresh Status"},
            statusText);
        row("purge preview debug", [] { return purge(true, true); }, {"purge", "--dry-run", "--debug"}, false,
            "purge", {"预览项目文件", "Preview Project Files"},
            {"查找可整理的项目文件，不会删除任何内容。",
             "Find project files that can be cleaned up without deleting anything."});
        row("purge", [] { return purge(false); }, {"purge"}, true, "purge",
            {"选择项目清理", "Choose Project Cleanup"},
            {"选择要清理的项目文件。", "Choose the project files to clean up."});
        row("purgePaths", [] { return purgePaths(); }, {"purge", "--paths"}, false, "purge",
            {"配置检查范围", "Set Scan Scope"},
            {"选择项目瘦身要检查的位置。", "Choose the locations to scan for project cleanup."});
        row("installer preview", [] { return installer(true); }, {"installer", "--dry-run"}, false,
            "installer", {"预览安装包", "Preview Installer Files"},
            {"查找安装包文件，不会删除任何内容。", "Find installer files without deleting anything."});
        row("installer debug", [] { return installer(false, true); }, {"installer", "--debug"}, true,
            "installer", {"选择安装包清理", "Choose Installer Cleanup"},
            {"选择要清理的安装包文件。", "Choose the installer files to clean up."});
        row(
            "touchID preview", [] { return touchID(true); }, {"touchid", "--dry-run"}, false, "",
            {"预览 Touch ID", "Preview Touch ID"}, touchId);
        row(
            "touchID", [] { return touchID(false); }, {"touchid"}, true, "",
            {"启用 Touch ID", "Enable Touch ID"}, touchId);
        row(
            "completion preview", [] { return completion(true); }, {"completion", "--dry-run"}, false, "",
            {"预览快捷输入", "Preview Shell Completion"}, completionText);
        row(
            "completion", [] { return completion(false); }, {"completion"}, true, "",
            {"启用快捷输入", "Enable Shell Completion"}, completionText);
        row(
            "update", [] { return update(false, false); }, {"update"}, false, "", updateTitle, updateText);
        row(
            "update nightly", [] { return update(true, false); }, {"update", "--nightly"}, false, "",
            updateTitle, updateText);
        row(
            "update force", [] { return update(false, true); }, {"update", "--force"}, false, "", updateTitle,
            updateText);
        row(
            "update nightly force", [] { return update(true, true); }, {"update", "--nightly", "--force"},
            false, "", updateTitle, updateText);
        row(
            "remove preview", [] { return remove(true); }, {"remove", "--dry-run"}, false, "",
            {"预览移除", "Preview Removal"}, removeText);
        row(
            "remove", [] { return remove(false); }, {"remove"}, true, "", {"移除 Kelvo", "Remove Kelvo"},
            removeText);
        // The advanced-menu vocabulary is Chinese in both languages.
        row("menu", [] { return menu(); }, {}, false, "", {"打开高级菜单", "打开高级菜单"},
            {"打开高级辅助窗口。", "打开高级辅助窗口。"});
        row("help", [] { return help(); }, {"--help"}, false, "", {"查看帮助", "查看帮助"},
            {"查看帮助信息。", "查看帮助信息。"});
        row("version", [] { return version(); }, {"--version"}, false, "", {"查看版本", "查看版本"},
            {"查看当前版本。", "查看当前版本。"});
    }

    void operationsBuildTheirAction()
    {
        QFETCH(MakeAction, make);
        QFETCH(AppLanguagePreference, preference);
        QFETCH(QStringList, arguments);
        QFETCH(bool, isDestructive);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        QFETCH(QString, feature);

        TestSupport::useLanguage(preference);
        const AppAction action = make();
        QCOMPARE(action.arguments, arguments);
        QCOMPARE(action.isDestructive, isDestructive);
        QCOMPARE(action.title, title);
        QCOMPARE(action.detail, detail);
        QCOMPARE(action.prefersTerminal, false);
        QCOMPARE(featureOf(action), feature);
        QVERIFY(!action.id.isNull());
        QVERIFY(make().id != action.id);
    }

    void argumentsMapToTheirFeature_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("feature"); // raw value; empty for none

        QTest::newRow("clean") << QStringList{"clean", "--dry-run"} << "clean";
        QTest::newRow("uninstall") << QStringList{"uninstall"} << "uninstall";
        QTest::newRow("optimize") << QStringList{"optimize", "--whitelist"} << "optimize";
        QTest::newRow("analyze") << QStringList{"analyze", "--json", "/tmp"} << "analyze";
        QTest::newRow("purge") << QStringList{"purge", "--paths"} << "purge";
        QTest::newRow("installer") << QStringList{"installer", "--dry-run"} << "installer";
        QTest::newRow("status json is the dashboard") << QStringList{"status", "--json"} << "dashboard";
        QTest::newRow("status with another flag") << QStringList{"status", "--debug"} << "";
        QTest::newRow("status json needs that order") << QStringList{"--json", "status"} << "";
        QTest::newRow("a later word still counts") << QStringList{"status", "--json", "purge"} << "purge";
        QTest::newRow("rule order beats word order") << QStringList{"installer", "clean"} << "clean";
        QTest::newRow("purge before installer") << QStringList{"installer", "purge"} << "purge";
        QTest::newRow("whole words only") << QStringList{"analyze", "/Users/a/clean"} << "analyze";
        QTest::newRow("case-sensitive") << QStringList{"Clean"} << "";
        QTest::newRow("maintenance is never produced") << QStringList{"maintenance"} << "";
    }

    void argumentsMapToTheirFeature()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, feature);

        AppAction action;
        action.arguments = arguments;
        QCOMPARE(featureOf(action), feature);
    }

    void featureRawValues_data()
    {
        QTest::addColumn<QString>("rawValue");
        QTest::addColumn<int>("index"); // -1: no feature

        const char* rawValues[] = {"dashboard", "clean", "uninstall", "optimize",
                                   "analyze",   "purge", "installer", "maintenance"};
        for (int index = 0; index < 8; ++index)
            QTest::newRow(rawValues[index]) << QString::fromLatin1(rawValues[index]) << index;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("capitalised") << "Clean" << -1;
        QTest::newRow("padded") << " purge " << -1;
        QTest::newRow("a command word that is no feature") << "status" << -1;
    }

    void featureRawValues()
    {
        QFETCH(QString, rawValue);
        QFETCH(int, index);

        const std::optional<AppFeature> feature = AppFeatures::fromRawValue(rawValue);
        QCOMPARE(feature.has_value(), index >= 0);
        if (!feature)
            return;
        QCOMPARE(*feature, AppFeatures::allCases.at(index));
        QCOMPARE(static_cast<int>(*feature), index);
        QCOMPARE(AppFeatures::rawValue(*feature), rawValue);
    }
};

KELVO_REGISTER_TEST(AppActionFactoryTest)
#include "tst_AppActionFactory.moc"
