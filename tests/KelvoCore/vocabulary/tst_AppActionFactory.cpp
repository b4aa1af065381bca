// The action vocabulary: each operation's command words and flags, the display language of its texts,
// and the way actions map back to features.
#include "TestMain.h"

#include "Language.h"

#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <functional>

using MakeAction = std::function<AppAction()>;
Q_DECLARE_METATYPE(MakeAction)

class AppActionFactoryTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TestSupport::forgetLanguage(); }

    void operationsBuildTheirAction_data()
    {
        QTest::addColumn<MakeAction>("make");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("isDestructive");
        using namespace AppActionFactory;
        const auto row = [](const char* name, const QStringList& arguments, bool destructive,
                            const MakeAction& make) {
            QTest::newRow(name) << make << arguments << destructive;
        };
        row("clean preview debug", {"clean", "--dry-run", "--debug"}, false,
            [] { return clean(true, true); });
        row("clean", {"clean"}, true, [] { return clean(false); });
        row("cleanWhitelist", {"clean", "--whitelist"}, false, [] { return cleanWhitelist(); });
        row("uninstall preview", {"uninstall", "--dry-run"}, false, [] { return uninstall(true); });
        row("uninstall debug", {"uninstall", "--debug"}, true, [] { return uninstall(false, true); });
        row("optimize preview", {"optimize", "--dry-run"}, false, [] { return optimize(true); });
        row("optimize", {"optimize"}, true, [] { return optimize(false); });
        row("optimizeWhitelist", {"optimize", "--whitelist"}, false, [] { return optimizeWhitelist(); });
        row("analyze json", {"analyze", "--json", "/Users/a/Movies"}, false,
            [] { return analyze("/Users/a/Movies", true); });
        row("analyze blank path", {"analyze", "--json"}, false, [] { return analyze(" \t\n", true); });
        row("analyze path keeps its spaces", {"analyze", "  /a b  "}, false,
            [] { return analyze("  /a b  ", false); });
        row("status json", {"status", "--json"}, false, [] { return status(true); });
        row("status", {"status"}, false, [] { return status(false); });
        row("purge preview", {"purge", "--dry-run"}, false, [] { return purge(true); });
        row("purge", {"purge"}, true, [] { return purge(false); });
        row("purgePaths", {"purge", "--paths"}, false, [] { return purgePaths(); });
        row("installer preview", {"installer", "--dry-run"}, false, [] { return installer(true); });
        row("installer debug", {"installer", "--debug"}, true, [] { return installer(false, true); });
        row("touchID preview", {"touchid", "--dry-run"}, false, [] { return touchID(true); });
        row("touchID", {"touchid"}, true, [] { return touchID(false); });
        row("completion preview", {"completion", "--dry-run"}, false, [] { return completion(true); });
        row("completion", {"completion"}, true, [] { return completion(false); });
        row("update", {"update"}, false, [] { return update(false, false); });
        row("update nightly force", {"update", "--nightly", "--force"}, false,
            [] { return update(true, true); });
        row("remove preview", {"remove", "--dry-run"}, false, [] { return remove(true); });
        row("remove", {"remove"}, true, [] { return remove(false); });
        row("menu", {}, false, [] { return menu(); });
        row("help", {"--help"}, false, [] { return help(); });
        row("version", {"--version"}, false, [] { return version(); });
    }
    void operationsBuildTheirAction()
    {
        QFETCH(MakeAction, make);
        QFETCH(QStringList, arguments);
        QFETCH(bool, isDestructive);
        const AppAction action = make();
        QCOMPARE(action.arguments, arguments);
        QCOMPARE(action.isDestructive, isDestructive);
        QVERIFY(!action.prefersTerminal && !action.title.isEmpty() && !action.detail.isEmpty());
        QVERIFY(!action.id.isNull() && make().id != action.id);
    }

    // The language is read when the action is made; the advanced menu speaks Chinese in both.
    void textsAreInTheDisplayLanguage()
    {
        TestSupport::useLanguage(AppLanguagePreference::english);
        const AppAction english = AppActionFactory::clean(true);
        QCOMPARE(english.title, QStringLiteral("Preview Cleanup Items"));
        QCOMPARE(AppActionFactory::menu().title, QStringLiteral("打开高级菜单"));
        TestSupport::useLanguage(AppLanguagePreference::chinese);
        QCOMPARE(AppActionFactory::clean(true).title, QStringLiteral("预览清理项目"));
        QCOMPARE(english.title, QStringLiteral("Preview Cleanup Items"));
    }

    void argumentsMapToTheirFeature_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("feature"); // raw value; empty for none
        using TestSupport::row;
        row("clean", QStringList{"clean", "--dry-run"}, "clean");
        row("uninstall", QStringList{"uninstall"}, "uninstall");
        row("optimize", QStringList{"optimize", "--whitelist"}, "optimize");
        row("analyze", QStringList{"analyze", "--json", "/tmp"}, "analyze");
        row("purge", QStringList{"purge", "--paths"}, "purge");
        row("installer", QStringList{"installer", "--dry-run"}, "installer");
        row("status json is the dashboard", QStringList{"status", "--json"}, "dashboard");
        row("status with another flag", QStringList{"status", "--debug"}, "");
        row("status json needs that order", QStringList{"--json", "status"}, "");
        row("a later word still counts", QStringList{"status", "--json", "purge"}, "purge");
        row("rule order beats word order", QStringList{"installer", "clean"}, "clean");
        row("purge before installer", QStringList{"installer", "purge"}, "purge");
        row("whole words only", QStringList{"analyze", "/Users/a/clean"}, "analyze");
        row("case-sensitive", QStringList{"Clean"}, "");
        row("no words", QStringList{}, "");
    }
    void argumentsMapToTheirFeature()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, feature);
        AppAction action;
        action.arguments = arguments;
        const std::optional<AppFeature> found = AppActionFactory::featureForAction(action);
        QCOMPARE(found ? AppFeatures::rawValue(*found) : QString(), feature);
        QCOMPARE(AppFeatures::fromRawValue(feature), found);
    }

    void featuresReadBackFromTheirRawValues()
    {
        for (AppFeature feature : AppFeatures::allCases)
            QCOMPARE(AppFeatures::fromRawValue(AppFeatures::rawValue(feature)), std::optional(feature));
        for (const char* other : {"Clean", " purge ", "status"})
            QVERIFY(!AppFeatures::fromRawValue(other));
    }
};

KELVO_REGISTER_TEST(AppActionFactoryTest)
#include "tst_AppActionFactory.moc"
