// Entry point of the application's test executables: a GUI application, drawn offscreen.
#include "TestMain.h"

#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

// The views' module, linked in statically.
Q_IMPORT_QML_PLUGIN(KelvoPlugin)

int main(int argc, char** argv)
{
    QTemporaryDir sandbox;
    TestSupport::enterSandbox(sandbox);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return TestSupport::runAll(argc, argv);
}
