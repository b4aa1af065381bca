#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include "clean/CleanWhitelistStore.h"

#include <QFileInfo>
#include <QSignalSpy>

using SyntheticHome::contents;
using SyntheticHome::write;
using TestSupport::row;

class TestAppModelSettings : public QObject {
    Q_OBJECT

private slots:
    void statisticsAreReadWhenTheControllerIsMade_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("clean date") << "lastCleanDate" << QVariant(1733400000.5) << QVariant(1733400000.5);
        QTest::newRow("clean count") << "lastCleanCount" << QVariant(12) << QVariant(qint64(12));
        QTest::newRow("purge bytes") << "lastPurgeCleanedBytes" << QVariant(qint64(6'000'000'000))
                                     << QVariant(qint64(6'000'000'000));
        QTest::newRow("installer count") << "lastInstallerCleanedCount" << QVariant(3) << QVariant(qint64(3));
        QTest::newRow("analysis path")
            << "lastAnalysisPath" << QVariant("/Users/me/Library") << QVariant("/Users/me/Library");
        QTest::newRow("count stored as words")
            << "lastUninstallCount" << QVariant("many") << QVariant(qint64(0));
        QTest::newRow("count stored as a fraction")
            << "lastOptimizeCount" << QVariant(2.5) << QVariant(qint64(0));
        QTest::newRow("date stored as words") << "lastAnalysisDate" << QVariant("yesterday") << QVariant(0.0);
        QTest::newRow("aura stored as a number") << "showHealthAura" << QVariant(7) << QVariant(true);
        QTest::newRow("aura off") << "showHealthAura" << QVariant(false) << QVariant(false);
        QTest::newRow("missing aura") << "showHealthAura" << QVariant() << QVariant(true);
    }
    void statisticsAreReadWhenTheControllerIsMade()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, expected);
        AppModelFixture fixture;
        if (stored.isValid())
            DefaultsStore::open()->setValue(key, stored);
        const auto model = fixture.makeModel();
        const QVariant actual = key == "showHealthAura" ? model->appearance()->property("showHealthAura")
                                                        : model->statistics()->values().value(key);
        QCOMPARE(actual, expected);
    }

    void everyStatisticStartsAtItsDefault()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        const QVariantMap values = model->statistics()->values();
        QCOMPARE(values.size(), qsizetype(Statistics::table().size()));
        for (const Statistics::Row& row : Statistics::table()) {
            const QVariant expected = row.kind == Statistics::Kind::date    ? QVariant(0.0)
                                      : row.kind == Statistics::Kind::count ? QVariant(qint64(0))
                                                                            : QVariant(QString());
            QCOMPARE(values.value(row.key), expected);
        }
        QCOMPARE(model->appearance()->versionText(), QStringLiteral("未检查"));
        QCOMPARE(model->purge()->scanPath(), fixture.home);
        QCOMPARE(model->analysis()->path(), fixture.home + "/Library");
    }

    void healthAuraIsStoredAtOnce()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        QSignalSpy changed(model->appearance(), &AppearanceController::showHealthAuraChanged);
        model->appearance()->setShowHealthAura(false);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(DefaultsStore::open()->value("showHealthAura").toString(), QString("false"));
        QCOMPARE(fixture.makeModel()->appearance()->showHealthAura(), false);
    }

    void refreshEnvironment_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("bundleVersion");
        QTest::addColumn<QString>("versionText");
        QTest::addColumn<QString>("title");
        row("english release", AppLanguagePreference::english, "1.4.2", "1.4.2", "Kelvo Is Ready");
        row("english local", AppLanguagePreference::english, "", "Local Build", "Kelvo Is Ready");
        row("chinese local", AppLanguagePreference::chinese, "", "本地版本", "Kelvo 已就绪");
    }
    void refreshEnvironment()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, bundleVersion);
        QFETCH(QString, versionText);
        QFETCH(QString, title);
        AppModelFixture fixture(language);
        const auto model = fixture.makeModel(bundleVersion);
        QSignalSpy versionChanged(model->appearance(), &AppearanceController::versionTextChanged);
        model->appearance()->refreshEnvironment();
        QCOMPARE(versionChanged.count(), 1);
        QCOMPARE(model->appearance()->versionText(), versionText);
        QCOMPARE(model->runs()->statusTitle(), title);
        QVERIFY(!model->runs()->statusDetail().isEmpty());
    }

    // Window background ------------------------------------------------------------------------------

    void choosingABackgroundInstallsACopy()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        const QString source = fixture.root.filePath("Pictures/sky.PNG");
        write(source, "png");
        QSignalSpy changed(model->appearance(), &AppearanceController::windowBackgroundChanged);
        model->appearance()->chooseWindowBackgroundImage(QUrl::fromLocalFile(source));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model->appearance()->windowBackgroundRevision(), 1);
        const QString installed = model->appearance()->customWindowBackgroundPath();
        QVERIFY(installed.startsWith(fixture.support + "/WindowBackground/wallpaper-"));
        QVERIFY(installed.endsWith(".png"));
        QCOMPARE(model->appearance()->customWindowBackgroundURL(), QUrl::fromLocalFile(installed));
        QCOMPARE(DefaultsStore::open()->value("customWindowBackgroundPath").toString(), installed);

        model->appearance()->chooseWindowBackgroundImage(QUrl::fromLocalFile(source));
        QCOMPARE(model->appearance()->windowBackgroundRevision(), 2);
        QVERIFY(!QFileInfo::exists(installed));
    }

    void aFailedChoiceRaisesTheTranslatedAlertAndKeepsTheBackground_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("prefix");
        row("english", AppLanguagePreference::english, "Could not set the background image: ");
        row("chinese", AppLanguagePreference::chinese, "无法设置背景图片：");
    }
    void aFailedChoiceRaisesTheTranslatedAlertAndKeepsTheBackground()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, prefix);
        AppModelFixture fixture(language);
        const auto model = fixture.makeModel();
        write(fixture.root.filePath("a.jpg"), "jpg");
        model->appearance()->chooseWindowBackgroundImage(QUrl::fromLocalFile(fixture.root.filePath("a.jpg")));
        const QString before = model->appearance()->customWindowBackgroundPath();
        model->appearance()->chooseWindowBackgroundImage(
            QUrl::fromLocalFile(fixture.root.filePath("vanished.jpg")));
        QVERIFY(model->runs()->alertMessage().has_value());
        QVERIFY2(model->runs()->alertMessage()->startsWith(prefix),
                 qPrintable(*model->runs()->alertMessage()));
        QCOMPARE(model->appearance()->customWindowBackgroundPath(), before);
        QVERIFY(QFileInfo::exists(before));
    }

    void clearingRemovesTheCopy()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        write(fixture.root.filePath("a.jpg"), "jpg");
        model->appearance()->chooseWindowBackgroundImage(QUrl::fromLocalFile(fixture.root.filePath("a.jpg")));
        const QString installed = model->appearance()->customWindowBackgroundPath();
        model->appearance()->clearWindowBackgroundImage();
        QCOMPARE(model->appearance()->customWindowBackgroundPath(), QString());
        QVERIFY(model->appearance()->customWindowBackgroundURL().isEmpty());
        QCOMPARE(model->appearance()->windowBackgroundRevision(), 2);
        QVERIFY(!QFileInfo::exists(installed));
        QCOMPARE(DefaultsStore::open()->value("customWindowBackgroundPath").toString(), QString());
    }

    void startUpForgetsABackgroundWhoseFileVanished_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("file still there") << true;
        QTest::newRow("file vanished") << false;
    }
    void startUpForgetsABackgroundWhoseFileVanished()
    {
        QFETCH(bool, fileExists);
        AppModelFixture fixture;
        const QString image = fixture.root.filePath("kept/wallpaper-1.png");
        if (fileExists)
            write(image, "png");
        DefaultsStore::open()->setValue("customWindowBackgroundPath", image);
        const auto model = fixture.makeModel();
        model->startUp();
        QCOMPARE(model->appearance()->customWindowBackgroundPath(), fileExists ? image : QString());
        QCOMPARE(DefaultsStore::open()->value("customWindowBackgroundPath").toString(),
                 fileExists ? image : QString());
    }

    // Protection list editor -------------------------------------------------------------------------

    void editorShowsTheStoredList()
    {
        AppModelFixture fixture;
        write(CleanWhitelistStore::configURL(fixture.home), "# header\n~/Projects\n$HOME/.cache/*\n");
        const auto model = fixture.makeModel();
        QVERIFY(model->clean()->loadWhitelistEditor());
        QCOMPARE(model->clean()->whitelistText(), QString("~/Projects\n$HOME/.cache/*"));
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
        QVERIFY(!model->clean()->showingProtectionSheet());
        QVERIFY(!model->runs()->alertMessage());

        // Entries are saved as they are meant, and the lines written differently are named.
        model->clean()->setWhitelistText("~/a/\n${HOME}//b\n~/c");
        QVERIFY(model->clean()->saveWhitelistEditor());
        QCOMPARE(CleanWhitelistStore::load(fixture.home).patterns, (QStringList{"~/a", "$HOME/b", "~/c"}));
        QVERIFY(model->runs()->alertMessage()->endsWith("\n~/a/ → ~/a\n${HOME}//b → $HOME/b"));
    }

    void restoreDefaultsFillsTheEditorWithoutSaving()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        model->clean()->restoreWhitelistDefaults();
        QCOMPARE(model->clean()->whitelistText().split('\n'), CleanWhitelistStore::defaultPatterns());
        QVERIFY(!QFileInfo::exists(CleanWhitelistStore::configURL(fixture.home)));
    }

    void anUnreadableListIsReportedAndNotOverwritten_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("words");
        row("english", AppLanguagePreference::english, "not UTF-8");
        row("chinese", AppLanguagePreference::chinese, "不是 UTF-8");
    }
    void anUnreadableListIsReportedAndNotOverwritten()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, words);
        AppModelFixture fixture(language);
        const QByteArray latin1("~/caf\xe9\n");
        write(CleanWhitelistStore::configURL(fixture.home), latin1);
        const auto model = fixture.makeModel();
        model->request(AppActionFactory::cleanWhitelist());
        QVERIFY(model->runs()->alertMessage().has_value());
        QVERIFY2(model->runs()->alertMessage()->contains(words), qPrintable(*model->runs()->alertMessage()));
        QVERIFY(!model->clean()->showingProtectionSheet());
        QCOMPARE(contents(CleanWhitelistStore::configURL(fixture.home)), latin1);
    }

    void aFailedSaveKeepsThePreviousFileAndTheEditorOpen()
    {
        AppModelFixture fixture;
        // A folder standing where the list file goes makes the write fail, even for root.
        QVERIFY(QDir().mkpath(CleanWhitelistStore::configURL(fixture.home) + "/blocker"));
        const auto model = fixture.makeModel();
        model->clean()->setShowingProtectionSheet(true);
        model->clean()->setWhitelistText("~/keep");
        const QString statusBefore = model->runs()->statusTitle();
        QVERIFY(!model->clean()->saveWhitelistEditor());
        QVERIFY(model->runs()->alertMessage().has_value());
        QVERIFY(model->clean()->showingProtectionSheet());
        QCOMPARE(model->runs()->statusTitle(), statusBefore);
        QCOMPARE(model->clean()->whitelistText(), QString("~/keep"));
        QVERIFY(QFileInfo(CleanWhitelistStore::configURL(fixture.home) + "/blocker").isDir());
    }
};

KELVO_REGISTER_TEST(TestAppModelSettings)
#include "tst_AppModelSettings.moc"
