// The words the engine speaks: how a preference and the system's languages pick Chinese or English,
// how actions are made and map back to features, and the one text form of sizes and percentages.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"
#include "vocabulary/LocalText.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"
#include "vocabulary/TargetSystem.h"

#include <QLocale>

#include <functional>
#include <limits>
#include <thread>

using namespace SyntheticHome;
using namespace TestSupport;
using MakeAction = std::function<AppAction()>;
Q_DECLARE_METATYPE(MakeAction)
Q_DECLARE_METATYPE(AppLanguagePreference)

class VocabularyTest : public QObject {
    Q_OBJECT

    Sandbox m_box;

private slots:
    void init() { m_box.renew(); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void languageIsResolved_data()
    {
        columns<AppLanguagePreference, QStringList, QString>("preference", "languages", "expected");
        const auto system = AppLanguagePreference::system;
        row("chinese in any case", system, QStringList{"Zh_TW"}, "中文");
        row("only the first language counts", system, QStringList{"ja", "zh-CN"}, "English");
        row("no languages", system, QStringList{}, "English");
        row("zh must be at the start", system, QStringList{"en-zh"}, "English");
        row("chinese whatever the system", AppLanguagePreference::chinese, QStringList{}, "中文");
        row("english whatever the system", AppLanguagePreference::english, QStringList{"zh-CN"}, "English");
    }
    void languageIsResolved()
    {
        const auto [preference, languages, expected] =
            fetch<AppLanguagePreference, QStringList, QString>("preference", "languages", "expected");
        QCOMPARE(AppLocalization::text("中文", "English", preference, languages), expected);
        QCOMPARE(AppLocalization::resolvedLanguage(preference, languages) == AppResolvedLanguage::chinese,
                 expected == "中文");
    }

    // Each operation's words, whether it needs a confirmation, and the feature it belongs to.
    void operationsBuildTheirAction_data()
    {
        columns<QStringList, bool, QString, MakeAction>("arguments", "isDestructive", "feature",
                                                        "make"); // feature: raw value; empty for none
        using namespace AppActionFactory;
        const auto action = [](const char* name, const QStringList& arguments, bool destructive,
                               const char* feature, const MakeAction& make) {
            row(name, arguments, destructive, QString(feature), make);
        };
        action("clean preview debug", {"clean", "--dry-run", "--debug"}, false, "clean",
               [] { return clean(true, true); });
        action("clean", {"clean"}, true, "clean", [] { return clean(false); });
        action("uninstall debug", {"uninstall", "--debug"}, true, "uninstall",
               [] { return uninstall(false, true); });
        action("safeguards", {"optimize", "--whitelist"}, false, "optimize",
               [] { return optimizeWhitelist(); });
        action("purge", {"purge"}, true, "purge", [] { return purge(false); });
        action("installer preview", {"installer", "--dry-run"}, false, "installer",
               [] { return installer(true); });
        action("analyze json", {"analyze", "--json", "/a"}, false, "analyze",
               [] { return analyze("/a", true); });
        action("analyze a folder named like a command", {"analyze", "--json", "clean"}, false, "analyze",
               [] { return analyze("clean", true); });
        action("analyze blank path", {"analyze"}, false, "analyze", [] { return analyze(" \t\n", false); });
        action("analyze path kept whole", {"analyze", " /a b "}, false, "analyze",
               [] { return analyze(" /a b ", false); });
        action("status json is the dashboard", {"status", "--json"}, false, "dashboard",
               [] { return status(true); });
        action("plain status", {"status"}, false, "", [] { return status(false); });
        action("update nightly force", {"update", "--nightly", "--force"}, false, "",
               [] { return update(true, true); });
        action("remove", {"remove"}, true, "", [] { return remove(false); });
        action("menu", {}, false, "", [] { return menu(); });
    }
    void operationsBuildTheirAction()
    {
        const auto [arguments, isDestructive, feature, make] =
            fetch<QStringList, bool, QString, MakeAction>("arguments", "isDestructive", "feature", "make");
        const AppAction action = make();
        QCOMPARE(action.arguments, arguments);
        QCOMPARE(action.isDestructive, isDestructive);
        QVERIFY(!action.prefersTerminal && !action.title.isEmpty() && !action.detail.isEmpty());
        QVERIFY(!action.id.isNull() && make().id != action.id);
        const std::optional<AppFeature> found = AppActionFactory::featureForAction(action);
        QCOMPARE(found ? AppFeatures::rawValue(*found) : QString(), feature);
        QCOMPARE(AppFeatures::fromRawValue(feature), found);
        QVERIFY(!AppFeatures::fromRawValue(" " + feature));
    }

    // An action's texts are in the language of the moment it was made.
    void actionTextsAreInTheDisplayLanguage()
    {
        const AppAction english = AppActionFactory::clean(true);
        useLanguage(AppLanguagePreference::chinese);
        const AppAction chinese = AppActionFactory::clean(true);
        QVERIFY(english.title.startsWith("Preview") && english.detail.startsWith("Only"));
        QVERIFY(chinese.title.startsWith("预览") && chinese.detail.startsWith("只"));
    }

    // A text a scan keeps is shown in the language of the moment it is shown; one made by a function
    // that speaks the current language is made in both, on this thread only, and the language in
    // force afterwards is the one before.
    void keptTextsFollowTheLanguageShown()
    {
        const auto unknown = [] { return SizeText::percent(std::nullopt); };
        const LocalText made = LocalText::made(unknown) + LocalText{"：%1", ": %1"}.arg(3);
        QCOMPARE(made.text(), "Unknown: 3");
        QCOMPARE(unknown(), "Unknown");
        QString elsewhere;
        std::thread other(
            [&] { elsewhere = AppLocalization::madeIn(AppResolvedLanguage::chinese, unknown); });
        other.join();
        useLanguage(AppLanguagePreference::chinese);
        QCOMPARE(made.text(), "未知：3");
        QCOMPARE(elsewhere, "未知");
        // The Trash by the desktop's own Chinese word.
        QCOMPARE(LocalText("移到废纸篓", "Move to Trash").text(),
                 TargetSystems::built() == TargetSystem::macOS ? "移到废纸篓" : "移到回收站");
    }

    // Decimal units, adaptive fraction digits rounded half up, never a decimal comma or digit grouping
    // whatever the process locale.
    void byteCounts_data()
    {
        columns<bool, qint64, QString, QString>("defaultUnits", "count", "english", "chinese");
        const auto size = [](const char* name, bool defaultUnits, qint64 count, const char* english,
                             const char* chinese = nullptr) {
            row(name, defaultUnits, count, QString(english), QString(chinese ? chinese : english));
        };
        size("zero", false, 0, "Zero KB", "零 KB");
        size("one byte is never nothing", false, 1, "1 KB");
        size("KB rounds half up, 1000 bytes a KB", false, 1500, "2 KB");
        size("rounding up to 1000 KB moves to MB", false, 999'500, "1 MB");
        size("just below a GB", false, 999'949'999, "999.9 MB");
        size("rounding up to 1000 MB moves to GB", false, 999'950'000, "1 GB");
        size("GB trailing zero dropped", false, 1'204'999'999, "1.2 GB");
        size("GB leading fraction zero kept", false, 2'050'000'000, "2.05 GB");
        size("largest count", false, std::numeric_limits<qint64>::max(), "9223372.04 TB");
        size("most negative count", false, std::numeric_limits<qint64>::min(), "-9223372.04 TB");
        size("default units: zero", true, 0, "Zero bytes", "零字节");
        size("default units: one byte", true, 1, "1 byte", "1 字节");
        size("default units: 999 bytes", true, 999, "999 bytes", "999 字节");
        size("default units: 1000 bytes is a KB", true, 1000, "1 KB");
        size("default units: an exabyte stays in PB", true, 1'000'000'000'000'000'000, "1000 PB");
        size("default units: negative one byte", true, -1, "-1 byte", "-1 字节");
        size("default units: negative KB", true, -2048, "-2 KB");
    }
    void byteCounts()
    {
        const auto [defaultUnits, count, english, chinese] =
            fetch<bool, qint64, QString, QString>("defaultUnits", "count", "english", "chinese");
        const auto text = [defaultUnits = defaultUnits, count = count] {
            return defaultUnits ? SizeText::bytesWithDefaultUnits(count) : SizeText::bytes(count);
        };
        QCOMPARE(text(), english);
        useLanguage(AppLanguagePreference::chinese);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(text(), chinese);
    }

    // KELVO_SYSTEM chooses the system by name; the other system only previews, an unknown name
    // chooses none.
    void theTargetSystemIsChosenByName_data()
    {
        const TargetSystem built = TargetSystems::built();
        const bool mac = built == TargetSystem::macOS;
        const TargetChoice other{mac ? TargetSystem::linuxDesktop : TargetSystem::macOS, true};
        columns<QString, std::optional<TargetChoice>>("name", "chosen");
        row("unset", QString(), std::optional(TargetChoice{built}));
        row("blank", QString("  "), std::optional(TargetChoice{built}));
        row("the other system, any case, spaced", QString(mac ? " Linux " : " MacOS "), std::optional(other));
        row("the built system", QString(mac ? "macos" : "linux"), std::optional(TargetChoice{built}));
        row("unknown", QString("windows"), std::optional<TargetChoice>());
        row("a prefix only", QString("mac"), std::optional<TargetChoice>());
    }
    void theTargetSystemIsChosenByName()
    {
        const auto [name, expected] = fetch<QString, std::optional<TargetChoice>>("name", "chosen");
        QProcessEnvironment environment;
        if (!name.isNull())
            environment.insert("KELVO_SYSTEM", name);
        const std::optional<TargetChoice> chosen = TargetSystems::chosen(environment);
        QCOMPARE(chosen, expected);
        QCOMPARE(chosen && TargetSystems::actingRefusal(*chosen).has_value(), chosen && chosen->previewOnly);
    }

    void standardized_data()
    {
        columns<QString, QString>("path", "expected");
        row("separators and dots", "/Users//./me///Library/", "/Users/me/Library");
        row("double dots", "/Users/me/../other", "/Users/other");
        row("double dots above root", "/../etc", "/etc");
    }
    void standardized()
    {
        const auto [path, expected] = fetch<QString, QString>("path", "expected");
        QCOMPARE(PathText::standardized(path), expected);
    }

    void percentagesAndAbsentValues()
    {
        QCOMPARE(SizeText::bytes(std::nullopt), QString("Unknown"));
        QCOMPARE(SizeText::percent(std::nullopt), QString("Unknown"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(SizeText::percent(-1234.56), QString("-1234.6%")); // rounded, no grouping, a full stop
    }
};

KELVO_REGISTER_TEST(VocabularyTest)
#include "tst_Vocabulary.moc"
