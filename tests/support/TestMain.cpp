#include "TestMain.h"

#include "platform/DefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

namespace TestSupport {

QString enterSandbox(QTemporaryDir& root)
{
    const QString base = root.path();
    for (const char* folder : {"home", "data", "config", "cache", "runtime"})
        QDir().mkpath(base + "/" + folder);
    qputenv("HOME", (base + "/home").toUtf8());
    qputenv("XDG_DATA_HOME", (base + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + "/config").toUtf8());
    qputenv("XDG_CACHE_HOME", (base + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (base + "/runtime").toUtf8());
    QFile::setPermissions(base + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("KELVO_DEFAULTS_FILE", (base + "/defaults.ini").toUtf8());
    DefaultsStore::useFile(base + "/defaults.ini");
    return base;
}

int runAll(int argc, char** argv)
{
    int failures = 0;
    for (const TestFactory& make : registry()) {
        std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}

} // namespace TestSupport
