#pragma once

#include "vocabulary/AppAction.h"

#include <QObject>

// The action factory as the views see it: each call makes a fresh action in the display language.
class ActionFactoryBridge : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE AppAction clean(bool dryRun) const { return AppActionFactory::clean(dryRun); }
    Q_INVOKABLE AppAction cleanWhitelist() const { return AppActionFactory::cleanWhitelist(); }
    Q_INVOKABLE AppAction uninstall(bool dryRun) const { return AppActionFactory::uninstall(dryRun); }
    Q_INVOKABLE AppAction optimize(bool dryRun) const { return AppActionFactory::optimize(dryRun); }
    Q_INVOKABLE AppAction optimizeWhitelist() const { return AppActionFactory::optimizeWhitelist(); }
    Q_INVOKABLE AppAction analyze(const QString& path, bool json) const
    {
        return AppActionFactory::analyze(path, json);
    }
    Q_INVOKABLE AppAction purge(bool dryRun) const { return AppActionFactory::purge(dryRun); }
    Q_INVOKABLE AppAction installer(bool dryRun) const { return AppActionFactory::installer(dryRun); }
    Q_INVOKABLE AppAction status(bool json) const { return AppActionFactory::status(json); }
    Q_INVOKABLE AppAction version() const { return AppActionFactory::version(); }
};
