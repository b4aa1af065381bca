// Entry point of the engine's test executables: no GUI.
#include "TestMain.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QTemporaryDir sandbox;
    TestSupport::enterSandbox(sandbox);
    QCoreApplication app(argc, argv);
    return TestSupport::runAll(argc, argv);
}
