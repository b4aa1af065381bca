// Which paths may be moved to the Trash: the home folder and /Applications, and what lies below.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/FileWalker.h"
#include "vocabulary/ScanPathGuard.h"

#include <QDir>

#include <cstdio>

using namespace SyntheticHome;
using namespace TestSupport;

class ScanPathGuardTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

private slots:
    void init() { m_home = m_box.renew(); }

    void candidates_data()
    {
        columns<QString, QString, bool>("path", "home", "allowed");
        const char* home = "{home}";
        row("home itself", "{home}", home, true);
        row("below home", "{home}/Documents/report.pdf", home, true);
        row("home with trailing separator", "{home}/", home, true);
        row("double-dot staying inside", "{home}/Documents/../Downloads/x", home, true);
        row("redundant separators and single dots", "{home}//Documents/.//a", home, true);
        row("double-dot climbing out", "{home}/../other", home, false);
        row("double-dot to the parent", "{home}/..", home, false);
        row("deep climb out", "{home}/a/../../../etc/passwd", home, false);
        row("sibling sharing the prefix", "{home}2/x", home, false);
        row("applications itself", "/Applications", home, true);
        row("applications with trailing separator", "/Applications/", home, true);
        row("inside an application", "/Applications/Foo.app/Contents/Info.plist", home, true);
        row("applications redundant separators", "//Applications//Foo.app", home, true);
        row("double-dot between applications", "/Applications/Foo.app/../Bar.app", home, true);
        row("double-dot out of applications", "/Applications/../Library/x", home, false);
        row("applications sibling", "/Applications2/x", home, false);
        row("applications prefix only", "/ApplicationsOld", home, false);
        row("applications in lower case", "/applications/Foo.app", home, false);
        row("system library", "/Library/Caches/x", home, false);
        row("root", "/", home, false);
        row("empty path", "", home, false);
        row("relative path", "Applications/Foo.app", home, false);
        row("home given with trailing separator", "{home}/Desktop/x", "{home}/", true);
        row("home with trailing separator, sibling", "{home}2", "{home}/", false);
        row("home given with double-dot components", "{home}/x", "{home}/sub/..", true);
        row("empty home admits no library", "/Library/x", "", false);
        row("empty home still admits applications", "/Applications/Foo.app", "", true);
        row("relative home admits nothing of its own", "/x/y", "x", false);
        row("a home of / admits nothing of its own", "/etc/passwd", "/", false);
        row("a home of /. admits nothing of its own", "/Users/x", "/.", false);
        row("a home of / still admits applications", "/Applications/Foo.app", "/", true);
    }

    void candidates()
    {
        const auto [path, home, allowed] = fetch<QString, QString, bool>("path", "home", "allowed");
        QCOMPARE(ScanPathGuard::isTrashAllowed(m_box.expand(path), m_box.expand(home)), allowed);
    }

    // The guarded move itself: only the item the scan listed, reached without a link, inside a sound
    // home folder, goes to the Trash (the sandbox's).
    void theGuardedMove_data()
    {
        columns<QString, QString>("setup", "refusal"); // refusal: part of the message; empty: moved
        row("an item of the home", "plain", "");
        row("a home that is itself a link", "home link", "");
        row("below a link inside the home", "link above", "is a link");
        row("its folder became a link after the scan", "swapped", "is a link");
        row("replaced since the scan", "replaced", "changed since");
        row("not from a scan", "no identity", "changed since");
        row("the home folder itself", "home itself", "outside the places");
        row("a home of /", "root home", "root folder");
        row("an empty home", "empty home", "not set");
        row("outside the home", "outside", "outside the allowed scope");
    }
    void theGuardedMove()
    {
        const auto [setup, refusal] = fetch<QString, QString>("setup", "refusal");
#ifdef Q_OS_MACOS
        if (refusal.isEmpty())
            QSKIP("a move would reach Finder's Trash, which is the user's own");
#endif
        const QString outside = file(m_box.path("outside/photos/item"), 10);
        const auto identityOf = [](const QString& item) { return FileWalker::statItem(item)->identity; };
        QString home = m_home, path = file(m_home + "/photos/item", 10);
        std::optional<FileIdentity> identity = identityOf(path);
        if (setup == "home link") {
            home = link(m_home, m_box.path("home-link"));
            path = home + "/photos/item";
        } else if (setup == "link above") {
            link(m_box.path("outside"), m_home + "/ext");
            path = m_home + "/ext/photos/item";
            identity = identityOf(outside);
        } else if (setup == "swapped") {
            QVERIFY(QDir().rename(m_home + "/photos", m_home + "/photos.real"));
            link(m_box.path("outside/photos"), m_home + "/photos");
            identity = identityOf(outside); // as if the scan had seen it there
        } else if (setup == "replaced") {
            QVERIFY(::rename(QFile::encodeName(file(path + ".new")).constData(),
                             QFile::encodeName(path).constData()) == 0);
        } else if (setup == "no identity") {
            identity.reset();
        } else if (setup == "home itself") {
            identity = identityOf(path = m_home);
        } else if (setup == "root home" || setup == "empty home") {
            home = setup == "root home" ? "/" : "";
        } else if (setup == "outside") {
            identity = identityOf(path = outside);
        }
        const std::optional<QString> refused = ScanPathGuard::moveToTrash(path, identity, home);
        QVERIFY2(refused.value_or("").contains(refusal) && refused.has_value() == !refusal.isEmpty(),
                 qPrintable(refused.value_or("moved")));
        QVERIFY(exists(outside));
        QCOMPARE(exists(m_home + "/photos/item"), !refusal.isEmpty());
    }
};

KELVO_REGISTER_TEST(ScanPathGuardTest)
#include "tst_ScanPathGuard.moc"
