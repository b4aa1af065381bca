#include "TestMain.h"

#include "AppModelFixture.h"
#include "ServedRelease.h"

using TestSupport::row;

class TestAppModelUpdate : public QObject {
    Q_OBJECT

private slots:
    // A check's outcome is always on the settings page; the status line or an alert say it only when the
    // user asked. Nothing is asked of a feed that is not configured.
    void aCheckSaysWhatItFound_data()
    {
        TestSupport::columns<QString, bool, QString, QString, QString, bool>(
            "feed", "silent", "detail", "statusTitle", "alert",
            "installable"); // feed: none, failing or a version
        const QString none = "The update feed URL has not been configured.",
                      newer = "New version available: v9.0",
                      failed = "Update check failed: The update check failed with server status 404.",
                      latest = "You are already on the latest version.", ready = "Kelvo Is Ready",
                      asked = "Check for Kelvo Updates";
        const auto add = [](const char* tag, const QString& feed, bool silent, const QString& detail,
                            const QString& title, const QString& alert,
                            bool installable) { row(tag, feed, silent, detail, title, alert, installable); };
        add("start-up, nothing configured", "none", true, none, ready, "", false);
        add("start-up, a failing feed", "failing", true, failed, ready, "", false);
        add("start-up, a newer release", "9.0", true, newer, ready, "", true);
        add("asked, nothing configured", "none", false, none, asked, "", false);
        add("asked, a failing feed", "failing", false, failed, asked, failed, false);
        add("asked, a newer release", "9.0", false, newer, "Update Available", "", true);
        add("asked, the same release", "1.4.2.0", false, latest, "Up to Date", "", false);
    }
    void aCheckSaysWhatItFound()
    {
        const auto [feed, silent, detail, statusTitle, alert, installable] =
            TestSupport::fetch<QString, bool, QString, QString, QString, bool>(
                "feed", "silent", "detail", "statusTitle", "alert", "installable");
        AppModelFixture fixture;
        ServedRelease release;
        if (feed != "none")
            fixture.processEnvironment = release.environment();
        if (feed[0].isDigit())
            release.publish(feed);
        const auto model = fixture.makeModel("1.4.2");
        UpdateController* update = model->update();
        bool wasChecking = false;
        connect(update, &UpdateController::checkChanged, this,
                [&] { wasChecking = wasChecking || update->isCheckingForUpdates(); });
        if (silent) {
            model->startUp();
            QTRY_VERIFY(!update->isCheckingForUpdates());
        } else {
            model->appearance()->refreshEnvironment();
            QVERIFY(run(*model, AppActionFactory::update(false, false)));
        }
        QCOMPARE(update->updateStatusDetail(), detail);
        QCOMPARE(model->runs()->statusTitle(), statusTitle);
        QCOMPARE(alertOf(*model), alert);
        QCOMPARE(update->canInstallUpdate(), installable);
        QCOMPARE(update->latestUpdateVersionText(), feed[0].isDigit() ? "v" + feed : QString());
        QCOMPARE(wasChecking, feed != "none");
        QCOMPARE(model->statistics()->date(StatisticKey::lastUpdateCheckDate) > 0, feed != "none");
    }
};

KELVO_REGISTER_TEST(TestAppModelUpdate)
#include "tst_AppModelUpdate.moc"
