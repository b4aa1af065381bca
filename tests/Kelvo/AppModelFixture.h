#pragma once

#include "app/AppModel.h"
#include "app/LocalizationSettings.h"

#include "SyntheticHome.h"

#include "clean/CleanLocations.h"
#include "platform/DefaultsStore.h"
#include "platform/LanguagePreferenceStore.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSemaphore>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <memory>
#include <utility>

// Keeps every worker busy while it lives, or until release(), so that a run cannot finish before the
// test has looked at it. Drawing uses the same workers: while they are held, press buttons by signal.
class WorkersHeld {
public:
    WorkersHeld()
        : m_workers(QThreadPool::globalInstance()->maxThreadCount())
    {
        auto started = std::make_shared<QSemaphore>();
        for (int i = 0; i < m_workers; ++i)
            QThreadPool::globalInstance()->start([started, release = m_release] {
                started->release();
                release->acquire();
            });
        started->acquire(m_workers);
    }
    ~WorkersHeld() { release(); }
    WorkersHeld(const WorkersHeld&) = delete;
    WorkersHeld& operator=(const WorkersHeld&) = delete;

    void release() { m_release->release(std::exchange(m_workers, 0)); }

private:
    std::shared_ptr<QSemaphore> m_release = std::make_shared<QSemaphore>();
    int m_workers = 0;
};

// A controller over a synthetic home and support folder, with an empty defaults store.
struct AppModelFixture {
    QTemporaryDir root;
    QString home = root.filePath("home");
    QString support = root.filePath("support/Kelvo");
    // Where the optimisation steps look for their tools: stand-ins a test writes, never the machine's.
    QString systemRoot = root.filePath("system");
    // No update feed unless a test names one; an installer that works in temporary folders only.
    QProcessEnvironment processEnvironment;
    UpdateInstaller::Options updateInstaller{.installation = root.filePath("installation"),
                                             .relaunch = [](const QString&) { return false; },
                                             .quit = [] {},
                                             .temporaryFolder = root.filePath("tmp")};
    // Where installers are looked for: the macOS places below the synthetic home unless a test
    // chooses a Linux desktop's.
    LocalInstallerPreview::Places installerPlaces;
    // Uninstall lists macOS bundles unless a test asks for the applications of a Linux home.
    TargetSystem uninstallSystem = TargetSystem::macOS;
    // Whose places the other features look at: this system's, acting allowed, unless a test chooses.
    TargetChoice target = TargetSystems::builtChoice();

    AppModelFixture(AppLanguagePreference language = AppLanguagePreference::english)
    {
        QDir().mkpath(home);
        QDir().mkpath(systemRoot);
        QDir().mkpath(updateInstaller.temporaryFolder);
        const auto store = DefaultsStore::open();
        store->clear();
        LanguagePreferenceStore::save(language, *store);
        LocalizationSettings::shared().setPreference(language);
    }

    // A place Smart Clean empties, and the Trash it empties; the system's own catalogue decides.
    static const CleanCatalogue& catalogue() { return CleanLocations::of(TargetSystems::built()); }
    // A cache only Smart Clean empties (maintenance clears the thumbnails on its own).
    QString caches() const { return home + "/" + catalogue().developerTools.targets.front().relativePath; }
    QString trash() const { return home + "/" + catalogue().trash.targets.front().relativePath; }

    std::unique_ptr<AppModel> makeModel(const QString& version = {}, StatusSampling sampling = {}) const
    {
        // Applications and installers are looked for in the synthetic home only.
        const auto homeApplications = [home = home] {
            return std::vector{LocalUninstallPreview::applicationFolders(home).back()};
        };
        const KelvoEnvironment shared{
            home, version, systemRoot, {}, processEnvironment, updateInstaller, uninstallSystem, target};
        return std::make_unique<AppModel>(
            AppModel::Environment{shared, support, homeApplications, installerPlaces, std::move(sampling)});
    }
};

// One role of every row of a list model, by the role's name, as the views read it.
inline QStringList column(const QAbstractItemModel& model, const QByteArray& role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values << model.data(model.index(row, 0), model.roleNames().key(role, -1)).toString();
    return values;
}

// Waits as long as QTRY_VERIFY would for the runs to end; false if one still runs.
inline bool finished(const AppModel& model)
{
    return QTest::qWaitFor([&] { return !model.runs()->isRunning(); });
}

// The alert shown; empty when there is none.
inline QString alertOf(const AppModel& model)
{
    return model.runs()->alertMessage().value_or(QString());
}

// Requests the action and waits for the run it starts.
inline bool run(AppModel& model, const AppAction& action)
{
    model.request(action);
    return finished(model);
}

// Requests a destructive action, confirms it and waits for the run.
inline bool runConfirmed(AppModel& model, const AppAction& action)
{
    model.request(action);
    model.confirmPendingAction();
    return finished(model);
}
