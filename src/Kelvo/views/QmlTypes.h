#pragma once

#include "app/ActionFactoryBridge.h"
#include "app/AppModel.h"
#include "app/ChoiceSectionModel.h"
#include "app/LocalizationSettings.h"
#include "app/RowFilter.h"
#include "app/SizeTextBridge.h"
#include "app/ViewEnums.h"
#include "features/CleanEntryModel.h"
#include "features/InstallerEntryModel.h"
#include "features/ProtectionEntryModel.h"
#include "features/PurgeEntryModel.h"
#include "features/ScanLocationModel.h"
#include "features/StatusPresenter.h"
#include "features/UninstallAppModel.h"

#include <QtQml/qqml.h>

class QJSEngine;
class QQmlEngine;

// The singletons of the Kelvo module as the views see them. The controller and the language
// settings live as long as the process and are owned by C++; the window hands the controller over
// before it loads, so every engine sees the one it was given.
namespace QmlTypes {
void provideAppModel(AppModel* model);
} // namespace QmlTypes

struct AppModelSingleton {
    Q_GADGET
    QML_FOREIGN(AppModel)
    QML_NAMED_ELEMENT(AppModel)
    QML_SINGLETON

public:
    static AppModel* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct LocalizationSingleton {
    Q_GADGET
    QML_FOREIGN(LocalizationSettings)
    QML_NAMED_ELEMENT(Localization)
    QML_SINGLETON

public:
    static LocalizationSettings* create(QQmlEngine* engine, QJSEngine* scriptEngine);
};

struct ActionsSingleton {
    Q_GADGET
    QML_FOREIGN(ActionFactoryBridge)
    QML_NAMED_ELEMENT(Actions)
    QML_SINGLETON
};

struct SizeTextSingleton {
    Q_GADGET
    QML_FOREIGN(SizeTextBridge)
    QML_NAMED_ELEMENT(SizeText)
    QML_SINGLETON
};

// The enumerations the views compare instead of texts.
namespace AppFeatureForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(AppFeatureQml)
QML_NAMED_ELEMENT(AppFeature)
} // namespace AppFeatureForeign

namespace CleanEntryStatusForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(CleanEntryStatusQml)
QML_NAMED_ELEMENT(CleanEntryStatus)
} // namespace CleanEntryStatusForeign

namespace StatusLevelForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(StatusPresenter)
QML_NAMED_ELEMENT(StatusLevel)
} // namespace StatusLevelForeign

struct UpdateControllerForeign {
    Q_GADGET
    QML_FOREIGN(UpdateController)
    QML_NAMED_ELEMENT(UpdateController)
    QML_UNCREATABLE("the application's model owns the update controller")
};

// The result lists, read through their roles; made by the controllers only.
struct ResultListModelForeign {
    Q_GADGET
    QML_FOREIGN(ResultListModel)
    QML_NAMED_ELEMENT(ResultListModel)
    QML_UNCREATABLE("the controllers make the result lists")
};

struct OptimizeStepModelForeign {
    Q_GADGET
    QML_FOREIGN(OptimizeStepModel)
    QML_NAMED_ELEMENT(OptimizeStepModel)
    QML_UNCREATABLE("the optimisation controller makes its steps")
};

struct SafeguardOptionModelForeign {
    Q_GADGET
    QML_FOREIGN(SafeguardOptionModel)
    QML_NAMED_ELEMENT(SafeguardOptionModel)
    QML_UNCREATABLE("the optimisation controller makes its safeguard options")
};

struct ProcessListModelForeign {
    Q_GADGET
    QML_FOREIGN(ProcessListModel)
    QML_NAMED_ELEMENT(ProcessListModel)
    QML_UNCREATABLE("the status controller lists the processes")
};

struct AnalysisEntryModelForeign {
    Q_GADGET
    QML_FOREIGN(AnalysisEntryModel)
    QML_NAMED_ELEMENT(AnalysisEntryModel)
    QML_UNCREATABLE("the analysis controller lists what it found")
};

struct ChoiceListModelType {
    Q_GADGET
    QML_FOREIGN(ChoiceListModel)
    QML_NAMED_ELEMENT(ChoiceListModel)
    QML_UNCREATABLE("a controller's list")
};

struct ChoiceSectionModelType {
    Q_GADGET
    QML_FOREIGN(ChoiceSectionModel)
    QML_NAMED_ELEMENT(ChoiceSectionModel)
    QML_UNCREATABLE("a controller's list")
};

struct CleanEntryModelType {
    Q_GADGET
    QML_FOREIGN(CleanEntryModel)
    QML_NAMED_ELEMENT(CleanEntryModel)
    QML_UNCREATABLE("a controller's list")
};

struct ProtectionEntryModelType {
    Q_GADGET
    QML_FOREIGN(ProtectionEntryModel)
    QML_NAMED_ELEMENT(ProtectionEntryModel)
    QML_UNCREATABLE("the clean controller makes the protection list's rows")
};

struct PurgeEntryModelType {
    Q_GADGET
    QML_FOREIGN(PurgeEntryModel)
    QML_NAMED_ELEMENT(PurgeEntryModel)
    QML_UNCREATABLE("a controller's list")
};

struct InstallerEntryModelType {
    Q_GADGET
    QML_FOREIGN(InstallerEntryModel)
    QML_NAMED_ELEMENT(InstallerEntryModel)
    QML_UNCREATABLE("a controller's list")
};

struct ScanLocationModelType {
    Q_GADGET
    QML_FOREIGN(ScanLocationModel)
    QML_NAMED_ELEMENT(ScanLocationModel)
    QML_UNCREATABLE("a controller's list")
};

struct InstallerShownEntriesType {
    Q_GADGET
    QML_FOREIGN(InstallerShownEntries)
    QML_NAMED_ELEMENT(InstallerShownEntries)
    QML_UNCREATABLE("a controller's list")
};

struct UninstallAppModelType {
    Q_GADGET
    QML_FOREIGN(UninstallAppModel)
    QML_NAMED_ELEMENT(UninstallAppModel)
    QML_UNCREATABLE("a controller's list")
};

struct UninstallLeftoverModelType {
    Q_GADGET
    QML_FOREIGN(UninstallLeftoverModel)
    QML_NAMED_ELEMENT(UninstallLeftoverModel)
    QML_UNCREATABLE("a controller's list")
};

struct RowFilterType {
    Q_GADGET
    QML_FOREIGN(RowFilter)
    QML_NAMED_ELEMENT(RowFilter)
};
