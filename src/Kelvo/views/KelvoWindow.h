#pragma once

#include <QUrl>

class AppModel;
class QQmlApplicationEngine;

// Loads the window's QML with the controller, the language settings and the action factory
// available to every view. Used by the application and by the window test.
namespace KelvoWindow {
QUrl mainUrl();
// Before the first window: without a graphics device the scene graph draws in software, which looks
// the same here and costs a fraction of emulating OpenGL on the CPU; a backend named in the
// environment (QT_QUICK_BACKEND, QSG_RHI_BACKEND) is left to Qt.
void chooseRenderer();
void load(QQmlApplicationEngine& engine, AppModel& model);
} // namespace KelvoWindow
