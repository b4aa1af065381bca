#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include "clean/CleanWhitelistStore.h"

#include <QFileInfo>
#include <QSignalSpy>

using namespace SyntheticHome;
using namespace TestSupport;

class TestAppModelSettings : public QObject {
    Q_OBJECT

private slots:
    // Each stored value is read by its kind; one of another type reads as never or nothing.
    void storedValuesAreReadByKind_data()
    {
        columns<QString, QVariant, QVariant>("key", "stored", "expected"); // stored none: nothing stored
        const QVariant big(qint64(6'000'000'000));
        row("date", "lastCleanDate", QVariant(1733400000.5), QVariant(1733400000.5));
        row("count beyond 32 bits", "lastPurgeCleanedBytes", big, big);
        row("text", "lastAnalysisPath", QVariant("/Users/me/Library"), QVariant("/Users/me/Library"));
        row("count stored as a fraction", "lastOptimizeCount", QVariant(2.5), QVariant(qint64(0)));
        row("no aura stored", "showHealthAura", QVariant(), QVariant(true));
        row("no colour scheme stored", "kelvo.appearance.colorScheme", QVariant(), QVariant("system"));
        row("dark scheme", "kelvo.appearance.colorScheme", QVariant("dark"), QVariant("dark"));
        row("unknown colour scheme", "kelvo.appearance.colorScheme", QVariant("sepia"), QVariant("system"));
    }
    void storedValuesAreReadByKind()
    {
        const auto [key, stored, expected] = fetch<QString, QVariant, QVariant>("key", "stored", "expected");
        AppModelFixture fixture;
        if (stored.isValid())
            DefaultsStore::open()->setValue(key, stored);
        const auto model = fixture.makeModel();
        const QVariant actual = key == "showHealthAura" ? model->appearance()->property("showHealthAura")
                                : key.startsWith("kelvo.appearance.")
                                    ? model->appearance()->property("colorScheme")
                                    : model->statistics()->values().value(key);
        QCOMPARE(actual, expected);
    }

    // Settings are stored at once; observers hear of a new language before it is stored.
    void settingsAreStoredAtOnce()
    {
        AppModelFixture fixture(AppLanguagePreference::english);
        const auto model = fixture.makeModel();
        QSignalSpy auraChanged(model->appearance(), &AppearanceController::showHealthAuraChanged);
        model->appearance()->setShowHealthAura(false);
        QCOMPARE(auraChanged.count(), 1);
        QCOMPARE(fixture.makeModel()->appearance()->showHealthAura(), false);

        LocalizationSettings& settings = LocalizationSettings::shared();
        QString storedWhenNotified;
        connect(&settings, &LocalizationSettings::preferenceChanged, this, [&] {
            storedWhenNotified = DefaultsStore::open()->value(LanguagePreferenceStore::key()).toString();
        });
        QSignalSpy changed(&settings, &LocalizationSettings::preferenceChanged);
        for (const char* rawValue : {"chinese", "klingon", "english", "chinese"})
            settings.setPreferenceRawValue(rawValue);
        disconnect(&settings, nullptr, this, nullptr);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(storedWhenNotified, QString("english"));
        QCOMPARE(LanguagePreferenceStore::load(), AppLanguagePreference::chinese);
        settings.setPreference(AppLanguagePreference::english);
    }

    // A chosen picture is copied in, replacing earlier copies; start-up forgets one that vanished.
    void theWindowBackgroundIsACopy()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        AppearanceController* appearance = model->appearance();
        appearance->chooseWindowBackgroundImage(
            QUrl::fromLocalFile(write(fixture.root.filePath("my.sky.PNG"), "png")));
        const QString first = appearance->customWindowBackgroundPath();
        QVERIFY2(first.startsWith(fixture.support + "/WindowBackground/wallpaper-") && first.endsWith(".png"),
                 qPrintable(first));
        QCOMPARE(contents(first), QByteArray("png"));
        const QString stray = write(fixture.support + "/WindowBackground/wallpaper-stray.jpg", "stray");
        const QString notes = write(fixture.support + "/WindowBackground/notes.txt", "kept");
        appearance->chooseWindowBackgroundImage(
            QUrl::fromLocalFile(write(fixture.root.filePath("sunset"), "")));
        const QString second = appearance->customWindowBackgroundPath();
        QVERIFY(second.endsWith(".jpg") && !exists(first) && !exists(stray) && exists(notes));
        QCOMPARE(DefaultsStore::open()->value("customWindowBackgroundPath").toString(), second);

        const auto kept = fixture.makeModel("1.4.2");
        kept->startUp();
        QCOMPARE(kept->appearance()->customWindowBackgroundPath(), second);
        QCOMPARE(kept->appearance()->versionText(), QString("1.4.2"));
        QCOMPARE(kept->runs()->statusTitle(), QString("Kelvo Is Ready"));
        // A choice that cannot be copied says why and keeps the current copy.
        kept->appearance()->chooseWindowBackgroundImage(
            QUrl::fromLocalFile(fixture.root.filePath("gone.png")));
        QVERIFY(alertOf(*kept).startsWith("Could not set the background image: "));
        QVERIFY(kept->appearance()->customWindowBackgroundPath() == second && exists(second));
        QVERIFY(QFile::remove(second));
        const auto vanished = fixture.makeModel();
        vanished->startUp();
        QVERIFY(vanished->appearance()->customWindowBackgroundURL().isEmpty());
        QCOMPARE(DefaultsStore::open()->value("customWindowBackgroundPath").toString(), QString());
    }

    // The background folder is reached from the home folder without a link at any level: a link
    // refuses the choice, naming it, and what lies outside the home keeps every byte.
    void theWindowBackgroundFolderIsReachedWithoutLinks_data()
    {
        columns<QString, QString>("link", "named"); // link: below the home, to the outside
        row("the background folder", ".local/share/Kelvo/WindowBackground",
            "“~/.local/share/Kelvo/WindowBackground” is a link");
        row("the data folder", ".local/share", "“~/.local/share” is a link");
    }
    void theWindowBackgroundFolderIsReachedWithoutLinks()
    {
        const auto [linkPath, named] = fetch<QString, QString>("link", "named");
        AppModelFixture fixture;
        fixture.support = fixture.home + "/.local/share/Kelvo";
        for (const char* kept : {"wallpaper-old.png", "Kelvo/WindowBackground/wallpaper-old.png"})
            write(fixture.root.filePath("outside/") + kept, "old");
        link(fixture.root.filePath("outside"), fixture.home + "/" + linkPath);
        const QMap<QString, QByteArray> outside = tree(fixture.root.filePath("outside"));
        const auto model = fixture.makeModel();
        model->appearance()->chooseWindowBackgroundImage(
            QUrl::fromLocalFile(write(fixture.root.filePath("sky.png"), "png")));
        QVERIFY2(alertOf(*model).contains(named), qPrintable(alertOf(*model)));
        QVERIFY(model->appearance()->customWindowBackgroundPath().isEmpty());
        QCOMPARE(tree(fixture.root.filePath("outside")), outside);
    }

    // An unreadable list is reported, never opened in an editor whose save would overwrite it.
    void anUnreadableListIsReportedAndLeftAlone_data()
    {
        columns<AppAction, QString>("action", "file"); // file: in the home
        row("protection list", AppActionFactory::cleanWhitelist(), ".config/kelvo/whitelist");
        row("optimisation safeguards", AppActionFactory::optimizeWhitelist(),
            ".config/kelvo/whitelist_optimize");
    }
    void anUnreadableListIsReportedAndLeftAlone()
    {
        const auto [action, file] = fetch<AppAction, QString>("action", "file");
        AppModelFixture fixture;
        const QByteArray latin1("~/caf\xe9\n");
        write(fixture.home + "/" + file, latin1);
        const auto model = fixture.makeModel();
        QSignalSpy runState(model->runs(), &RunCoordinator::runStateChanged);
        model->request(action);
        QVERIFY2(alertOf(*model).contains("not UTF-8"), qPrintable(alertOf(*model)));
        QVERIFY(!model->clean()->showingProtectionSheet() && !model->optimize()->showingProtectionSheet());
        QVERIFY(!model->pendingAction() && runState.isEmpty());
        QCOMPARE(contents(fixture.home + "/" + file), latin1);
    }

    void savingKeepsTrimmedNonEmptyLinesInOrder()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        model->clean()->setShowingProtectionSheet(true);
        model->clean()->setWhitelistText("  ~/b  \n\n\t~/a\r\n# note\n~/b\n");
        QVERIFY(model->clean()->saveWhitelistEditor());
        QCOMPARE(CleanWhitelistStore::load(fixture.home).patterns, (QStringList{"~/b", "~/a"}));
        QVERIFY(contents(CleanWhitelistStore::configURL(fixture.home)).contains("# note\n"));
        QCOMPARE(model->runs()->statusTitle(), QString("Protection List Updated"));
        QVERIFY(!model->clean()->showingProtectionSheet() && !model->runs()->alertMessage());

        // Entries are saved as they are meant, and the lines written differently are named.
        model->clean()->setWhitelistText("~/a/\n${HOME}//b\n~/c");
        QVERIFY(model->clean()->saveWhitelistEditor());
        QCOMPARE(CleanWhitelistStore::load(fixture.home).patterns, (QStringList{"~/a", "$HOME/b", "~/c"}));
        QVERIFY(alertOf(*model).endsWith("\n~/a/ → ~/a\n${HOME}//b → $HOME/b"));

        // A line that could never protect anything is named, and nothing is saved; "*" anywhere is fine.
        const QByteArray saved = contents(CleanWhitelistStore::configURL(fixture.home));
        model->clean()->setShowingProtectionSheet(true);
        model->clean()->setWhitelistText(
            "~/.config/*/Cache/keep*\nLibrary/Caches/x\n~user/x\n~/a/../b\n*.log");
        QVERIFY(!model->clean()->saveWhitelistEditor());
        QVERIFY(model->clean()->showingProtectionSheet());
        QCOMPARE(contents(CleanWhitelistStore::configURL(fixture.home)), saved);
        QCOMPARE(alertOf(*model).count("\n“"), 3);
        QVERIFY(alertOf(*model).contains("\n“Library/Caches/x”") && alertOf(*model).contains("\n“~user/x”") &&
                alertOf(*model).contains("\n“~/a/../b”"));

        // A failed save says why, leaves the status alone and keeps the editor open.
        model->clean()->setWhitelistText("~/a");
        model->runs()->setStatus(LocalText::same("Editing"), {});
        QVERIFY(QFile::remove(CleanWhitelistStore::configURL(fixture.home)));
        QVERIFY(QDir().mkpath(CleanWhitelistStore::configURL(fixture.home))); // a folder where the file goes
        model->clean()->setShowingProtectionSheet(true);
        QVERIFY(!model->clean()->saveWhitelistEditor());
        QVERIFY(alertOf(*model).contains(CleanWhitelistStore::configURL(fixture.home)));
        QVERIFY(model->clean()->showingProtectionSheet());
        QCOMPARE(model->runs()->statusTitle(), QString("Editing"));
    }
};

KELVO_REGISTER_TEST(TestAppModelSettings)
#include "tst_AppModelSettings.moc"
