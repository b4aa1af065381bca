// The action vocabulary: every factory operation's routing words, texts in both languages and
// flags, the way actions map back to features, and the raw values of features.
#include "TestMain.h"

#include "platform/DefaultsStore.h"
#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"
#include "vocabulary/AppLocalization.h"

#include <QSettings>

#include <functional>

using MakeAction = std::function<AppAction()>;
Q_DECLARE_METATYPE(MakeAction)
Q_DECLARE_METATYPE(AppLanguagePreference)

namespace {

void storePreference(AppLanguagePreference preference)
{
    const auto defaults = DefaultsStore::open();
    AppLocalization::savePreference(preference, *defaults);
}

struct ExpectedAction {
    const char* name;
    MakeAction make;
    QStringList arguments;
    bool isDestructive;
    QString titleZh;
    QString titleEn;
    QString detailZh;
    QString detailEn;
};

QList<ExpectedAction> everyOperation()
{
    using namespace AppActionFactory;
    const QString touchIdZh = QStringLiteral("Kelvo 暂不支持 Touch ID 配置。");
    const QString touchIdEn = QStringLiteral("Touch ID configuration is not available in Kelvo yet.");
    const QString completionZh = QStringLiteral("Kelvo 暂不支持快捷输入配置。");
    const QString completionEn = QStringLiteral("Shell completion setup is not available in Kelvo yet.");
    const QString removeZh = QStringLiteral("Kelvo 暂不支持从这里移除应用。");
    const QString removeEn = QStringLiteral("Removing Kelvo from this screen is not supported yet.");
    const QString cleanPreviewZh = QStringLiteral("只检查可清理项目，不会删除任何内容。");
    const QString cleanPreviewEn = QStringLiteral("Only check cleanable items. Nothing will be deleted.");
    const QString cleanRealZh =
        QStringLiteral("确认后开始清理缓存、日志、残留文件和废纸篓内容；需要管理员权限的系统缓存会跳过。");
    const QString cleanRealEn =
        QStringLiteral("After confirmation, clean caches, logs, leftovers, and Trash. "
                       "System caches requiring admin access will be skipped.");
    const QString analyzeJsonZh = QStringLiteral("检查所选位置，并汇总空间占用。");
    const QString analyzeJsonEn = QStringLiteral("Scan the selected location and summarize storage usage.");
    const QString analyzeViewZh = QStringLiteral("打开更详细的空间查看窗口。");
    const QString analyzeViewEn = QStringLiteral("Open a more detailed storage view.");
    const QString updateZh = QStringLiteral("从配置的更新源检查是否有新版本。");
    const QString updateEn = QStringLiteral("Check the configured update feed for a newer version.");

    return {
        {"clean preview",
         [] { return clean(true); },
         {"clean", "--dry-run"},
         false,
         "预览清理项目",
         "Preview Cleanup Items",
         cleanPreviewZh,
         cleanPreviewEn},
        {"clean preview debug",
         [] { return clean(true, true); },
         {"clean", "--dry-run", "--debug"},
         false,
         "预览清理项目",
         "Preview Cleanup Items",
         cleanPreviewZh,
         cleanPreviewEn},
        {"clean",
         [] { return clean(false); },
         {"clean"},
         true,
         "开始清理",
         "Start Cleaning",
         cleanRealZh,
         cleanRealEn},
        {"clean debug",
         [] { return clean(false, true); },
         {"clean", "--debug"},
         true,
         "开始清理",
         "Start Cleaning",
         cleanRealZh,
         cleanRealEn},
        {"cleanWhitelist",
         [] { return cleanWhitelist(); },
         {"clean", "--whitelist"},
         false,
         "编辑保护名单",
         "Edit Protection List",
         "选择永远不要被清理的位置。",
         "Choose locations that should never be cleaned."},
        {"uninstall preview",
         [] { return uninstall(true); },
         {"uninstall", "--dry-run"},
         false,
         "预览卸载项目",
         "Preview Uninstall Items",
         "查看可移除的应用残留，不会删除任何内容。",
         "Review removable app leftovers. Nothing will be deleted."},
        {"uninstall debug",
         [] { return uninstall(false, true); },
         {"uninstall", "--debug"},
         true,
         "选择应用卸载",
         "Choose Apps to Uninstall",
         "选择要卸载的应用和相关文件。",
         "Choose the apps and related files to uninstall."},
        {"optimize preview debug",
         [] { return optimize(true, true); },
         {"optimize", "--dry-run", "--debug"},
         false,
         "预览优化项目",
         "Preview Optimization Items",
         "预览可优化的项目，不会改动电脑。",
         "Preview optimization items without changing your Mac."},
        {"optimize",
         [] { return optimize(false); },
         {"optimize"},
         true,
         "开始优化",
         "Start Optimizing",
         "确认后刷新系统服务、重建缓存并整理诊断数据。",
         "After confirmation, refresh services, rebuild caches, and organize diagnostics."},
        {"optimizeWhitelist",
         [] { return optimizeWhitelist(); },
         {"optimize", "--whitelist"},
         false,
         "编辑优化保护项",
         "Edit Optimization Safeguards",
         "选择优化时要跳过的项目。",
         "Choose items to skip during optimization."},
        {"analyze json with path",
         [] { return analyze("/Users/ann/Movies", true); },
         {"analyze", "--json", "/Users/ann/Movies"},
         false,
         "分析空间",
         "Analyze Storage",
         analyzeJsonZh,
         analyzeJsonEn},
        {"analyze json with blank path",
         [] { return analyze("   ", true); },
         {"analyze", "--json"},
         false,
         "分析空间",
         "Analyze Storage",
         analyzeJsonZh,
         analyzeJsonEn},
        {"analyze path keeps its spaces",
         [] { return analyze("  /tmp/a b  ", false); },
         {"analyze", "  /tmp/a b  "},
         false,
         "打开详细查看",
         "Open Advanced View",
         analyzeViewZh,
         analyzeViewEn},
        {"analyze line breaks count as blank",
         [] { return analyze("\n\t \r\n", false); },
         {"analyze"},
         false,
         "打开详细查看",
         "Open Advanced View",
         analyzeViewZh,
         analyzeViewEn},
        {"analyze empty path",
         [] { return analyze(QString(), false); },
         {"analyze"},
         false,
         "打开详细查看",
         "Open Advanced View",
         analyzeViewZh,
         analyzeViewEn},
        {"status json",
         [] { return status(true); },
         {"status", "--json"},
         false,
         "刷新状态",
         "Refresh Status",
         "刷新 CPU、内存、磁盘、电池和网络状态。",
         "Refresh CPU, memory, disk, battery, and network status."},
        {"status",
         [] { return status(false); },
         {"status"},
         false,
         "刷新状态",
         "Refresh Status",
         "刷新 CPU、内存、磁盘、电池和网络状态。",
         "Refresh CPU, memory, disk, battery, and network status."},
        {"purge preview",
         [] { return purge(true); },
         {"purge", "--dry-run"},
         false,
         "预览项目文件",
         "Preview Project Files",
         "查找可整理的项目文件，不会删除任何内容。",
         "Find project files that can be cleaned up without deleting anything."},
        {"purge debug",
         [] { return purge(false, true); },
         {"purge", "--debug"},
         true,
         "选择项目清理",
         "Choose Project Cleanup",
         "选择要清理的项目文件。",
         "Choose the project files to clean up."},
        {"purgePaths",
         [] { return purgePaths(); },
         {"purge", "--paths"},
         false,
         "配置检查范围",
         "Set Scan Scope",
         "选择项目瘦身要检查的位置。",
         "Choose the locations to scan for project cleanup."},
        {"installer preview",
         [] { return installer(true); },
         {"installer", "--dry-run"},
         false,
         "预览安装包",
         "Preview Installer Files",
         "查找安装包文件，不会删除任何内容。",
         "Find installer files without deleting anything."},
        {"installer",
         [] { return installer(false); },
         {"installer"},
         true,
         "选择安装包清理",
         "Choose Installer Cleanup",
         "选择要清理的安装包文件。",
         "Choose the installer files to clean up."},
        {"touchID preview",
         [] { return touchID(true); },
         {"touchid", "--dry-run"},
         false,
         "预览 Touch ID",
         "Preview Touch ID",
         touchIdZh,
         touchIdEn},
        {"touchID",
         [] { return touchID(false); },
         {"touchid"},
         true,
         "启用 Touch ID",
         "Enable Touch ID",
         touchIdZh,
         touchIdEn},
        {"completion preview",
         [] { return completion(true); },
         {"completion", "--dry-run"},
         false,
         "预览快捷输入",
         "Preview Shell Completion",
         completionZh,
         completionEn},
        {"completion",
         [] { return completion(false); },
         {"completion"},
         true,
         "启用快捷输入",
         "Enable Shell Completion",
         completionZh,
         completionEn},
        {"update",
         [] { return update(false, false); },
         {"update"},
         false,
         "检查 Kelvo 更新",
         "Check for Kelvo Updates",
         updateZh,
         updateEn},
        {"update nightly",
         [] { return update(true, false); },
         {"update", "--nightly"},
         false,
         "检查 Kelvo 更新",
         "Check for Kelvo Updates",
         updateZh,
         updateEn},
        {"update force",
         [] { return update(false, true); },
         {"update", "--force"},
         false,
         "检查 Kelvo 更新",
         "Check for Kelvo Updates",
         updateZh,
         updateEn},
        {"update nightly force",
         [] { return update(true, true); },
         {"update", "--nightly", "--force"},
         false,
         "检查 Kelvo 更新",
         "Check for Kelvo Updates",
         updateZh,
         updateEn},
        {"remove preview",
         [] { return remove(true); },
         {"remove", "--dry-run"},
         false,
         "预览移除",
         "Preview Removal",
         removeZh,
         removeEn},
        {"remove",
         [] { return remove(false); },
         {"remove"},
         true,
         "移除 Kelvo",
         "Remove Kelvo",
         removeZh,
         removeEn},
        // The advanced-menu vocabulary is Chinese in both languages.
        {"menu",
         [] { return menu(); },
         {},
         false,
         "打开高级菜单",
         "打开高级菜单",
         "打开高级辅助窗口。",
         "打开高级辅助窗口。"},
        {"help",
         [] { return help(); },
         {"--help"},
         false,
         "查看帮助",
         "查看帮助",
         "查看帮助信息。",
         "查看帮助信息。"},
        {"version",
         [] { return version(); },
         {"--version"},
         false,
         "查看版本",
         "查看版本",
         "查看当前版本。",
         "查看当前版本。"},
    };
}

} // namespace

class AppActionFactoryTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { DefaultsStore::open()->remove(AppLocalization::preferenceKey()); }

    void operationsBuildTheirAction_data()
    {
        QTest::addColumn<MakeAction>("make");
        QTest::addColumn<AppLanguagePreference>("preference");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("isDestructive");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");

        for (const ExpectedAction& expected : everyOperation()) {
            QTest::addRow("%s, english", expected.name)
                << expected.make << AppLanguagePreference::english << expected.arguments
                << expected.isDestructive << expected.titleEn << expected.detailEn;
            QTest::addRow("%s, chinese", expected.name)
                << expected.make << AppLanguagePreference::chinese << expected.arguments
                << expected.isDestructive << expected.titleZh << expected.detailZh;
        }
    }

    void operationsBuildTheirAction()
    {
        QFETCH(MakeAction, make);
        QFETCH(AppLanguagePreference, preference);
        QFETCH(QStringList, arguments);
        QFETCH(bool, isDestructive);
        QFETCH(QString, title);
        QFETCH(QString, detail);

        storePreference(preference);
        const AppAction action = make();

        QCOMPARE(action.arguments, arguments);
        QCOMPARE(action.isDestructive, isDestructive);
        QCOMPARE(action.title, title);
        QCOMPARE(action.detail, detail);
        QCOMPARE(action.prefersTerminal, false);
        QVERIFY(!action.id.isNull());
    }

    void everyActionGetsAFreshId()
    {
        const AppAction first = AppActionFactory::clean(true);
        const AppAction second = AppActionFactory::clean(true);
        QVERIFY(first.id != second.id);
        QVERIFY(!(first == second));
        QCOMPARE(first.title, second.title);
        QCOMPARE(first.arguments, second.arguments);
        QVERIFY(AppActionFactory::menu().id != AppActionFactory::menu().id);
    }

    void anActionKeepsTheLanguageItWasMadeIn()
    {
        storePreference(AppLanguagePreference::english);
        const AppAction madeInEnglish = AppActionFactory::clean(false);

        storePreference(AppLanguagePreference::chinese);
        const AppAction madeInChinese = AppActionFactory::clean(false);

        QCOMPARE(madeInEnglish.title, QStringLiteral("Start Cleaning"));
        QCOMPARE(madeInChinese.title, QStringLiteral("开始清理"));
    }

    void anUnknownStoredPreferenceFollowsTheSystem()
    {
        DefaultsStore::open()->setValue(AppLocalization::preferenceKey(), QStringLiteral("Chinese"));
        const bool systemIsChinese =
            AppLocalization::resolvedLanguage(AppLanguagePreference::system,
                                              AppLocalization::systemPreferredLanguages()) ==
            AppResolvedLanguage::chinese;
        QCOMPARE(AppActionFactory::status(false).title,
                 systemIsChinese ? QStringLiteral("刷新状态") : QStringLiteral("Refresh Status"));
    }

    void actionsMapToTheirFeature_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("feature"); // raw value; empty for none

        QTest::newRow("clean") << QStringList{"clean", "--dry-run"} << "clean";
        QTest::newRow("protection list belongs to clean") << QStringList{"clean", "--whitelist"} << "clean";
        QTest::newRow("uninstall") << QStringList{"uninstall"} << "uninstall";
        QTest::newRow("optimize safeguards") << QStringList{"optimize", "--whitelist"} << "optimize";
        QTest::newRow("analyze") << QStringList{"analyze", "--json", "/tmp"} << "analyze";
        QTest::newRow("purge paths") << QStringList{"purge", "--paths"} << "purge";
        QTest::newRow("installer") << QStringList{"installer", "--dry-run"} << "installer";
        QTest::newRow("status json is the dashboard") << QStringList{"status", "--json"} << "dashboard";
        QTest::newRow("plain status has no feature") << QStringList{"status"} << "";
        QTest::newRow("status with another flag") << QStringList{"status", "--debug"} << "";
        QTest::newRow("status json needs that order") << QStringList{"--json", "status"} << "";
        QTest::newRow("a later word still counts") << QStringList{"status", "--json", "purge"} << "purge";
        QTest::newRow("rule order beats word order") << QStringList{"installer", "clean"} << "clean";
        QTest::newRow("purge before installer") << QStringList{"installer", "purge"} << "purge";
        QTest::newRow("whole words only") << QStringList{"analyze", "/Users/a/clean"} << "analyze";
        QTest::newRow("a path that is a command word") << QStringList{"analyze", "uninstall"} << "uninstall";
        QTest::newRow("case-sensitive") << QStringList{"Clean"} << "";
        QTest::newRow("touchid") << QStringList{"touchid"} << "";
        QTest::newRow("update") << QStringList{"update", "--force"} << "";
        QTest::newRow("remove") << QStringList{"remove"} << "";
        QTest::newRow("menu") << QStringList{} << "";
        QTest::newRow("help") << QStringList{"--help"} << "";
        QTest::newRow("maintenance is never produced") << QStringList{"maintenance"} << "";
    }

    void actionsMapToTheirFeature()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, feature);

        AppAction action;
        action.arguments = arguments;
        const std::optional<AppFeature> mapped = AppActionFactory::featureForAction(action);
        QCOMPARE(mapped ? AppFeatures::rawValue(*mapped) : QString(), feature);
    }

    void factoryActionsMapToTheirPage_data()
    {
        QTest::addColumn<AppAction>("action");
        QTest::addColumn<QString>("feature");

        QTest::newRow("cleanWhitelist") << AppActionFactory::cleanWhitelist() << "clean";
        QTest::newRow("uninstall") << AppActionFactory::uninstall(false) << "uninstall";
        QTest::newRow("optimizeWhitelist") << AppActionFactory::optimizeWhitelist() << "optimize";
        QTest::newRow("analyze") << AppActionFactory::analyze("/tmp", false) << "analyze";
        QTest::newRow("purgePaths") << AppActionFactory::purgePaths() << "purge";
        QTest::newRow("installer") << AppActionFactory::installer(true) << "installer";
        QTest::newRow("status json") << AppActionFactory::status(true) << "dashboard";
        QTest::newRow("status") << AppActionFactory::status(false) << "";
        QTest::newRow("touchID") << AppActionFactory::touchID(true) << "";
        QTest::newRow("version") << AppActionFactory::version() << "";
    }

    void factoryActionsMapToTheirPage()
    {
        QFETCH(AppAction, action);
        QFETCH(QString, feature);

        const std::optional<AppFeature> mapped = AppActionFactory::featureForAction(action);
        QCOMPARE(mapped ? AppFeatures::rawValue(*mapped) : QString(), feature);
    }

    void featureRawValuesRoundTrip_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("rawValue");

        const char* rawValues[] = {"dashboard", "clean", "uninstall", "optimize",
                                   "analyze",   "purge", "installer", "maintenance"};
        for (int index = 0; index < 8; ++index)
            QTest::newRow(rawValues[index]) << index << QString::fromLatin1(rawValues[index]);
    }

    void featureRawValuesRoundTrip()
    {
        QFETCH(int, index);
        QFETCH(QString, rawValue);

        const AppFeature feature = AppFeatures::allCases.at(index);
        QCOMPARE(static_cast<int>(feature), index);
        QCOMPARE(AppFeatures::rawValue(feature), rawValue);
        QCOMPARE(AppFeatures::fromRawValue(rawValue), std::optional<AppFeature>(feature));
    }

    void unknownFeatureRawValuesAreRefused_data()
    {
        QTest::addColumn<QString>("rawValue");

        QTest::newRow("empty") << "";
        QTest::newRow("capitalised") << "Clean";
        QTest::newRow("upper case") << "DASHBOARD";
        QTest::newRow("leading space") << " clean";
        QTest::newRow("trailing space") << "purge ";
        QTest::newRow("a command word that is no feature") << "status";
        QTest::newRow("settings") << "settings";
    }

    void unknownFeatureRawValuesAreRefused()
    {
        QFETCH(QString, rawValue);
        QVERIFY(!AppFeatures::fromRawValue(rawValue).has_value());
    }
};

KELVO_REGISTER_TEST(AppActionFactoryTest)
#include "tst_AppActionFactory.moc"
