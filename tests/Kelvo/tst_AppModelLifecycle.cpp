#include "TestMain.h"

#include "AppModelFixture.h"

#include <QSignalSpy>

#include <functional>
#include <vector>

// Actions are made while a test runs, in the language it chose.
using MakeAction = std::function<AppAction()>;
Q_DECLARE_METATYPE(MakeAction)

namespace {

using enum AppLanguagePreference;
using TestSupport::row;

// Every (isRunning, runningFeature) pair the controller publishes, in order.
struct RunStateRecorder {
    std::vector<std::pair<bool, QString>> states;
    explicit RunStateRecorder(AppModel& model)
    {
        QObject::connect(model.runs(), &RunCoordinator::runStateChanged, &model, [this, &model] {
            states.emplace_back(model.runs()->isRunning(), model.runs()->runningFeatureRawValue());
        });
    }
};

} // namespace

class TestAppModelLifecycle : public QObject {
    Q_OBJECT

private slots:
    void initialState()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        QCOMPARE(model->runs()->statusTitle(), QStringLiteral("准备就绪"));
        QCOMPARE(model->runs()->statusDetail(), QStringLiteral("选择一个项目开始检查。"));
        QVERIFY(!model->runs()->isRunning());
        QVERIFY(!model->pendingAction());
        QVERIFY(!model->runs()->alertMessage());
        QCOMPARE(model->selectedFeature(), AppFeature::dashboard);
    }

    void destructiveActionsWaitForConfirmation_data()
    {
        QTest::addColumn<MakeAction>("make"); // tagged with the feature it runs
        row("clean", MakeAction([] { return AppActionFactory::clean(false); }));
        row("uninstall", MakeAction([] { return AppActionFactory::uninstall(false); }));
        row("optimize", MakeAction([] { return AppActionFactory::optimize(false); }));
        row("purge", MakeAction([] { return AppActionFactory::purge(false); }));
        row("installer", MakeAction([] { return AppActionFactory::installer(false); }));
    }
    void destructiveActionsWaitForConfirmation()
    {
        QFETCH(MakeAction, make);
        const QString feature = QTest::currentDataTag();
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        const AppAction action = make();
        RunStateRecorder recorder(*model);
        QSignalSpy pending(model.get(), &AppModel::pendingActionChanged);
        model->request(action);
        QCOMPARE(pending.count(), 1);
        QCOMPARE(model->pendingAction(), std::optional<AppAction>(action));
        QCOMPARE(model->pendingActionValue().value<AppAction>().detail, action.detail);
        QVERIFY(recorder.states.empty());

        model->confirmPendingAction();
        QVERIFY(!model->pendingAction());
        QVERIFY(finished(*model));
        QVERIFY(recorder.states.size() >= 2);
        QCOMPARE(recorder.states.front(), std::make_pair(true, feature));
        QCOMPARE(recorder.states.back(), std::make_pair(false, QString()));
    }

    void cancellingDropsTheParkedAction()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        RunStateRecorder recorder(*model);
        model->request(AppActionFactory::clean(false));
        model->cancelPendingAction();
        QVERIFY(!model->pendingAction());
        model->confirmPendingAction(); // nothing left to confirm
        QVERIFY(recorder.states.empty());
    }

    void protectionListRequestOpensTheEditorInsteadOfRunning()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        RunStateRecorder recorder(*model);
        model->request(AppActionFactory::cleanWhitelist());
        QVERIFY(model->clean()->showingProtectionSheet());
        QVERIFY(!model->pendingAction());
        QVERIFY(recorder.states.empty());
        QVERIFY(model->clean()->whitelistText().startsWith("$HOME/Library/Caches/ms-playwright*\n"));
    }

    void runTexts_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<MakeAction>("make");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<bool>("alert");
        const MakeAction version = AppActionFactory::version;
        const MakeAction help = AppActionFactory::help;
        const MakeAction touchID = [] { return AppActionFactory::touchID(true); };
        const MakeAction completion = [] { return AppActionFactory::completion(true); };
        const MakeAction remove = [] { return AppActionFactory::remove(true); };
        const QString unavailable = "This feature is not available in Kelvo yet.";
        row("version en", english, version, "Version Updated", "Local Build", false);
        row("version zh", chinese, version, "版本已更新", "本地版本", false);
        row("touch id en", english, touchID, "Not Available", unavailable, true);
        row("completion zh", chinese, completion, "暂不可用", "这个功能还没有在 Kelvo 里提供。", true);
        row("remove en", english, remove, "Not Available", unavailable, true);
        row("help en", english, help, "Completed", "查看帮助 is finished.", false);
        row("help zh", chinese, help, "处理完成", "查看帮助 已结束。", false);
        row("purge paths en", english, MakeAction(AppActionFactory::purgePaths), "Completed",
            "Set Scan Scope is finished.", false);
        row("menu zh", chinese, MakeAction(AppActionFactory::menu), "处理完成", "打开高级菜单 已结束。",
            false);
    }
    void runTexts()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(MakeAction, make);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        QFETCH(bool, alert);
        AppModelFixture fixture(language);
        const auto model = fixture.makeModel();
        const AppAction action = make();
        QStringList titlesSeen;
        connect(model->runs(), &RunCoordinator::statusChanged, this,
                [&] { titlesSeen << model->runs()->statusTitle(); });
        QVERIFY(run(*model, action));
        QCOMPARE(titlesSeen.first(), action.title);
        QCOMPARE(model->runs()->statusTitle(), title);
        QCOMPARE(model->runs()->statusDetail(), detail);
        QCOMPARE(model->runs()->alertMessage().has_value(), alert);
        if (alert) {
            QCOMPARE(*model->runs()->alertMessage(), detail);
            model->runs()->dismissAlert();
            QVERIFY(!model->runs()->alertMessage());
        }
    }

    void workingTextIsShownWhileRunning_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("working");
        row("english", english, "Working, please wait.");
        row("chinese", chinese, "正在处理，请稍等。");
    }
    void workingTextIsShownWhileRunning()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, working);
        AppModelFixture fixture(language);
        const auto model = fixture.makeModel();
        model->request(AppActionFactory::installer(true));
        QVERIFY(model->runs()->isRunning());
        QCOMPARE(model->runs()->statusDetail(), working);
        QVERIFY(finished(*model));
        QVERIFY(model->runs()->statusDetail() != working);
    }

    void completionTexts_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<bool>("cleanPreview");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detailStart");
        row("clean preview en", english, true, "Preview Complete", "Cleanable items have been checked.");
        row("clean preview zh", chinese, true, "预览完成", "已检查可清理项目。");
        row("other en", english, false, "Completed", "Check for Kelvo Updates is finished.");
        row("other zh", chinese, false, "处理完成", "检查 Kelvo 更新 已结束。");
    }
    void completionTexts()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(bool, cleanPreview);
        QFETCH(QString, title);
        QFETCH(QString, detailStart);
        AppModelFixture fixture(language);
        const auto model = fixture.makeModel();
        const AppAction action =
            cleanPreview ? AppActionFactory::clean(true) : AppActionFactory::update(false, false);
        QCOMPARE(model->completedTitle(action), title);
        QVERIFY2(model->completedDetail(action).startsWith(detailStart),
                 qPrintable(model->completedDetail(action)));
    }

    void aStoredTextKeepsItsLanguage()
    {
        AppModelFixture fixture(english);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::version()));
        LocalizationSettings::shared().setPreference(chinese);
        QCOMPARE(model->runs()->statusTitle(), QString("Version Updated"));
    }

    void selectedFeatureAcceptsOnlyKnownFeatures()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        QSignalSpy changed(model.get(), &AppModel::selectedFeatureChanged);
        model->setSelectedFeatureRawValue("analyze");
        model->setSelectedFeatureRawValue("Analyze");
        model->setSelectedFeatureRawValue("analyze");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model->selectedFeature(), AppFeature::analyze);
    }
};

KELVO_REGISTER_TEST(TestAppModelLifecycle)
#include "tst_AppModelLifecycle.moc"
