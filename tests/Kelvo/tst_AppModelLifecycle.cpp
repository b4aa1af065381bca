#include "TestMain.h"

#include "AppModelFixture.h"

#include <QSignalSpy>

#include <vector>

namespace {

// Every (isRunning, runningFeature) pair the controller publishes, in order.
struct RunStateRecorder {
    std::vector<std::pair<bool, QString>> states;
    explicit RunStateRecorder(AppModel& model)
    {
        QObject::connect(&model, &AppModel::runStateChanged, &model, [this, &model] {
            states.emplace_back(model.isRunning(), model.runningFeatureRawValue());
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
        QCOMPARE(model->statusTitle(), QStringLiteral("准备就绪"));
        QCOMPARE(model->statusDetail(), QStringLiteral("选择一个项目开始检查。"));
        QVERIFY(!model->isRunning());
        QVERIFY(!model->pendingAction());
        QVERIFY(!model->alertMessage());
        QCOMPARE(model->selectedFeature(), AppFeature::dashboard);
    }

    void destructiveActionsWaitForConfirmation_data()
    {
        QTest::addColumn<QString>("feature");
        QTest::newRow("clean") << "clean";
        QTest::newRow("uninstall") << "uninstall";
        QTest::newRow("optimize") << "optimize";
        QTest::newRow("purge") << "purge";
        QTest::newRow("installer") << "installer";
    }
    void destructiveActionsWaitForConfirmation()
    {
        QFETCH(QString, feature);
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        const AppAction action = feature == "clean"       ? AppActionFactory::clean(false)
                                 : feature == "uninstall" ? AppActionFactory::uninstall(false)
                                 : feature == "optimize"  ? AppActionFactory::optimize(false)
                                 : feature == "purge"     ? AppActionFactory::purge(false)
                                                          : AppActionFactory::installer(false);
        RunStateRecorder recorder(*model);
        QSignalSpy pending(model.get(), &AppModel::pendingActionChanged);
        model->request(action);
        QCOMPARE(pending.count(), 1);
        QCOMPARE(model->pendingAction(), std::optional<AppAction>(action));
        QCOMPARE(model->pendingActionValue().value<AppAction>().detail, action.detail);
        QVERIFY(recorder.states.empty());

        model->confirmPendingAction();
        QVERIFY(!model->pendingAction());
        QTRY_VERIFY(!model->isRunning());
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
        QVERIFY(model->showingCleanProtectionSheet());
        QVERIFY(!model->pendingAction());
        QVERIFY(recorder.states.empty());
        QVERIFY(model->cleanWhitelistText().startsWith("$HOME/Library/Caches/ms-playwright*\n"));
    }

    void runTexts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<bool>("alert");
        const int en = int(AppLanguagePreference::english);
        const int zh = int(AppLanguagePreference::chinese);
        QTest::newRow("version en") << en << "version"
                                    << "Version Updated"
                                    << "Local Build" << false;
        QTest::newRow("version zh") << zh << "version"
                                    << "版本已更新"
                                    << "本地版本" << false;
        QTest::newRow("touch id en") << en << "touchid"
                                     << "Not Available"
                                     << "This feature is not available in Kelvo yet." << true;
        QTest::newRow("completion zh") << zh << "completion"
                                       << "暂不可用"
                                       << "这个功能还没有在 Kelvo 里提供。" << true;
        QTest::newRow("remove en") << en << "remove"
                                   << "Not Available"
                                   << "This feature is not available in Kelvo yet." << true;
        QTest::newRow("help en") << en << "help"
                                 << "Completed"
                                 << "查看帮助 is finished." << false;
        QTest::newRow("help zh") << zh << "help"
                                 << "处理完成"
                                 << "查看帮助 已结束。" << false;
        QTest::newRow("purge paths en") << en << "purgePaths"
                                        << "Completed"
                                        << "Set Scan Scope is finished." << false;
        QTest::newRow("menu zh") << zh << "menu"
                                 << "处理完成"
                                 << "打开高级菜单 已结束。" << false;
    }
    void runTexts()
    {
        QFETCH(int, language);
        QFETCH(QString, which);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        QFETCH(bool, alert);
        AppModelFixture fixture(static_cast<AppLanguagePreference>(language));
        const auto model = fixture.makeModel();
        const AppAction action = which == "version"      ? AppActionFactory::version()
                                 : which == "touchid"    ? AppActionFactory::touchID(true)
                                 : which == "completion" ? AppActionFactory::completion(true)
                                 : which == "remove"     ? AppActionFactory::remove(true)
                                 : which == "help"       ? AppActionFactory::help()
                                 : which == "menu"       ? AppActionFactory::menu()
                                                         : AppActionFactory::purgePaths();
        QStringList titlesSeen;
        connect(model.get(), &AppModel::statusChanged, this, [&] { titlesSeen << model->statusTitle(); });
        model->request(action);
        QTRY_VERIFY(!model->isRunning());
        QCOMPARE(titlesSeen.first(), action.title);
        QCOMPARE(model->statusTitle(), title);
        QCOMPARE(model->statusDetail(), detail);
        QCOMPARE(model->alertMessage().has_value(), alert);
        if (alert) {
            QCOMPARE(*model->alertMessage(), detail);
            model->dismissAlert();
            QVERIFY(!model->alertMessage());
        }
    }

    void workingTextIsShownWhileRunning_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("working");
        QTest::newRow("english") << int(AppLanguagePreference::english) << "Working, please wait.";
        QTest::newRow("chinese") << int(AppLanguagePreference::chinese) << "正在处理，请稍等。";
    }
    void workingTextIsShownWhileRunning()
    {
        QFETCH(int, language);
        QFETCH(QString, working);
        AppModelFixture fixture(static_cast<AppLanguagePreference>(language));
        const auto model = fixture.makeModel();
        QStringList detailsWhileRunning;
        connect(model.get(), &AppModel::statusChanged, this, [&] {
            if (model->isRunning())
                detailsWhileRunning << model->statusDetail();
        });
        model->request(AppActionFactory::version());
        QTRY_VERIFY(!model->isRunning());
        QVERIFY(detailsWhileRunning.contains(working));
    }

    void completionTexts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("cleanPreview");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detailStart");
        const int en = int(AppLanguagePreference::english);
        const int zh = int(AppLanguagePreference::chinese);
        QTest::newRow("clean preview en") << en << true << "Preview Complete"
                                          << "Cleanable items have been checked.";
        QTest::newRow("clean preview zh") << zh << true << "预览完成"
                                          << "已检查可清理项目。";
        QTest::newRow("other en") << en << false << "Completed"
                                  << "Check for Kelvo Updates is finished.";
        QTest::newRow("other zh") << zh << false << "处理完成"
                                  << "检查 Kelvo 更新 已结束。";
    }
    void completionTexts()
    {
        QFETCH(int, language);
        QFETCH(bool, cleanPreview);
        QFETCH(QString, title);
        QFETCH(QString, detailStart);
        AppModelFixture fixture(static_cast<AppLanguagePreference>(language));
        const auto model = fixture.makeModel();
        const AppAction action =
            cleanPreview ? AppActionFactory::clean(true) : AppActionFactory::update(false, false);
        QCOMPARE(model->completedTitle(action), title);
        QVERIFY2(model->completedDetail(action).startsWith(detailStart),
                 qPrintable(model->completedDetail(action)));
    }

    void aStoredTextKeepsItsLanguage()
    {
        AppModelFixture fixture(AppLanguagePreference::english);
        const auto model = fixture.makeModel();
        model->request(AppActionFactory::version());
        QTRY_VERIFY(!model->isRunning());
        LocalizationSettings::shared().setPreference(AppLanguagePreference::chinese);
        QCOMPARE(model->statusTitle(), QString("Version Updated"));
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
