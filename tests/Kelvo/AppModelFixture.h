#pragma once

#include "AppModel.h"
#include "LocalizationSettings.h"

#include "platform/DefaultsStore.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// A controller over a synthetic home and support folder, with an empty defaults store.
struct AppModelFixture {
    QTemporaryDir root;
    QString home = root.filePath("home");
    QString support = root.filePath("support/Kelvo");

    AppModelFixture(AppLanguagePreference language = AppLanguagePreference::english)
    {
        QDir().mkpath(home);
        const auto store = DefaultsStore::open();
        store->clear();
        AppLocalization::savePreference(language, *store);
        LocalizationSettings::shared().setPreference(language);
    }

    std::unique_ptr<AppModel> makeModel(const QString& version = {}) const
    {
        // Applications and installers are looked for in the synthetic home only.
        const auto homeApplications = [home = home] {
            return std::vector{LocalUninstallPreview::applicationFolders(home).back()};
        };
        return std::make_unique<AppModel>(
            AppModel::Environment{home, support, version, homeApplications, LocalInstallerPreview::Places{}});
    }
};
