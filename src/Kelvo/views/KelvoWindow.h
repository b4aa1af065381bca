#pragma once

#include <QUrl>

class AppModel;
class QQmlApplicationEngine;

// Loads the window's QML with the controller, the language settings and the action factory
// available to every view. Used by the application and by the window test.
namespace KelvoWindow {
QUrl mainUrl();
void load(QQmlApplicationEngine& engine, AppModel& model);
} // namespace KelvoWindow
