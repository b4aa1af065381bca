#include "TestMain.h"

#include "platform/DefaultsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtGlobal>

#include <algorithm>

namespace TestSupport {

QString enterSandbox(QTemporaryDir& root)
{
    const QString base = root.path();
    // The data folder is inside the home folder, where the Trash must be.
    for (const char* folder : {"home/.local/share", "config", "cache", "runtime"})
        QDir().mkpath(base + "/" + folder);
    qputenv("HOME", (base + "/home").toUtf8());
    qputenv("XDG_DATA_HOME", (base + "/home/.local/share").toUtf8());
    qputenv("XDG_CONFIG_HOME", (base + "/config").toUtf8());
    qputenv("XDG_CACHE_HOME", (base + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (base + "/runtime").toUtf8());
    QFile::setPermissions(base + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("KELVO_DEFAULTS_FILE", (base + "/defaults.ini").toUtf8());
    DefaultsStore::useFile(base + "/defaults.ini");
    return base;
}

// Arguments of the form Class::function pick functions of one class; with any of them, classes not
// named are skipped. Every other argument goes to each class as it stands.
int runAll(int argc, char** argv)
{
    const QStringList arguments = QCoreApplication::arguments();
    const bool picksClasses = std::any_of(arguments.begin() + 1, arguments.end(),
                                          [](const QString& argument) { return argument.contains(u"::"); });
    int failures = 0;
    for (const TestFactory& make : registry()) {
        std::unique_ptr<QObject> test = make();
        const QString className = QString::fromLatin1(test->metaObject()->className());
        QStringList own{arguments.first()};
        bool named = false;
        for (const QString& argument : arguments.mid(1)) {
            if (!argument.contains(u"::")) {
                own << argument;
            } else if (argument.section(QStringLiteral("::"), 0, 0) == className) {
                own << argument.section(QStringLiteral("::"), 1);
                named = true;
            }
        }
        if (picksClasses && !named)
            continue;
        failures += picksClasses ? QTest::qExec(test.get(), own) : QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}

} // namespace TestSupport
