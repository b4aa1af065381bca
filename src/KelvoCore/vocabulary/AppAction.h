#pragma once

#include "vocabulary/AppFeature.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// What an action does, one value per operation of the factory. The window routes by it; the argument
// words say the same in the command line's and the older tool's terms.
enum class AppOperation {
    clean,
    cleanWhitelist,
    uninstall,
    optimize,
    optimizeWhitelist,
    analyze,
    status,
    purge,
    purgePaths,
    installer,
    touchID,
    completion,
    update,
    remove,
    menu,
    help,
    version,
};

// One request to do something: display texts resolved when it was made, the operation and its modes
// that route it in the controller, its argument words, and whether running it changes the machine.
struct AppAction {
    Q_GADGET
    Q_PROPERTY(QString title MEMBER title CONSTANT)
    Q_PROPERTY(QString detail MEMBER detail CONSTANT)
    Q_PROPERTY(QStringList arguments MEMBER arguments CONSTANT)
    Q_PROPERTY(bool isDestructive MEMBER isDestructive CONSTANT)

public:
    QUuid id;
    QString title;
    QString detail;
    QStringList arguments;
    AppOperation operation = AppOperation::menu;
    bool dryRun = false; // only looks: "--dry-run"
    bool json = false;   // the report the window reads: "--json" (analyze, status)
    bool isDestructive = false;
    bool prefersTerminal = false;

    bool operator==(const AppAction&) const = default;
};
Q_DECLARE_METATYPE(AppAction)

// The only producer of actions. Each operation resolves the display language once, when it runs.
namespace AppActionFactory {
AppAction clean(bool dryRun, bool debug = false);
AppAction cleanWhitelist();
AppAction uninstall(bool dryRun, bool debug = false);
AppAction optimize(bool dryRun, bool debug = false);
AppAction optimizeWhitelist();
AppAction analyze(const QString& path, bool json);
AppAction status(bool json);
AppAction purge(bool dryRun, bool debug = false);
AppAction purgePaths();
AppAction installer(bool dryRun, bool debug = false);
AppAction touchID(bool dryRun);
AppAction completion(bool dryRun);
AppAction update(bool nightly, bool force);
AppAction remove(bool dryRun);
AppAction menu();
AppAction help();
AppAction version();

// The feature an action belongs to; maintenance is never produced.
std::optional<AppFeature> featureForAction(const AppAction& action);
} // namespace AppActionFactory
