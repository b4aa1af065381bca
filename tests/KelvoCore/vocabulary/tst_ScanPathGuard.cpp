// Which paths may be moved to the Trash: the home folder and /Applications, and what lies below.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "vocabulary/ScanPathGuard.h"

using TestSupport::row;

class ScanPathGuardTest : public QObject {
    Q_OBJECT

    SyntheticHome::Sandbox m_box;
    QString m_home; // the guard only reads path text

private slots:
    void initTestCase() { m_home = m_box.renew(); }

    void candidates_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("allowed");

        const char* home = "{home}";
        row("home itself", "{home}", home, true);
        row("below home", "{home}/Documents/report.pdf", home, true);
        row("home with trailing separator", "{home}/", home, true);
        row("below home with trailing separator", "{home}/Downloads/old/", home, true);
        row("home library", "{home}/Library/Caches/com.example", home, true);
        row("home applications", "{home}/Applications/Tool.app", home, true);
        row("single-dot components", "{home}/./Documents/./a", home, true);
        row("double-dot staying inside", "{home}/Documents/../Downloads/x", home, true);
        row("redundant separators", "{home}//Documents///a", home, true);
        row("double-dot climbing out", "{home}/../other", home, false);
        row("double-dot to the parent", "{home}/..", home, false);
        row("deep climb out", "{home}/a/../../../etc/passwd", home, false);
        row("sibling sharing the prefix", "{home}2/x", home, false);
        row("applications itself", "/Applications", home, true);
        row("applications with trailing separator", "/Applications/", home, true);
        row("an application", "/Applications/Foo.app", home, true);
        row("inside an application", "/Applications/Foo.app/Contents/Info.plist", home, true);
        row("applications redundant separators", "//Applications//Foo.app", home, true);
        row("double-dot between applications", "/Applications/Foo.app/../Bar.app", home, true);
        row("double-dot out of applications", "/Applications/../Library/x", home, false);
        row("applications sibling", "/Applications2/x", home, false);
        row("applications prefix only", "/ApplicationsOld", home, false);
        row("applications in lower case", "/applications/Foo.app", home, false);
        row("system library", "/Library/Caches/x", home, false);
        row("system", "/System/x", home, false);
        row("private tmp", "/private/tmp/x", home, false);
        row("root", "/", home, false);
        row("empty path", "", home, false);
        row("relative path", "Applications/Foo.app", home, false);
        row("home given with trailing separator", "{home}/Desktop/x", "{home}/", true);
        row("home with trailing separator, sibling", "{home}2", "{home}/", false);
        row("home given with single-dot components", "{home}/x", "{home}/./", true);
        row("home given with double-dot components", "{home}/x", "{home}/sub/..", true);
        row("empty home admits no library", "/Library/x", "", false);
        row("empty home still admits applications", "/Applications/Foo.app", "", true);
        row("relative home admits nothing of its own", "/x/y", "x", false);
    }

    void candidates()
    {
        QFETCH(QString, path);
        QFETCH(QString, home);
        QFETCH(bool, allowed);

        QCOMPARE(ScanPathGuard::isTrashAllowed(m_box.expand(path), m_box.expand(home)), allowed);
    }

    void rootsAreStandardisedAndOrdered_data()
    {
        QTest::addColumn<QString>("home");

        QTest::newRow("plain") << "{home}";
        QTest::newRow("trailing separator") << "{home}/";
        QTest::newRow("dot components") << "{home}/./sub/../";
    }

    void rootsAreStandardisedAndOrdered()
    {
        QFETCH(QString, home);

        const QStringList expected{m_home, QStringLiteral("/Applications"),
                                   m_home + QStringLiteral("/Applications"),
                                   m_home + QStringLiteral("/Library")};
        QCOMPARE(ScanPathGuard::allowedTrashRoots(m_box.expand(home)), expected);
    }
};

KELVO_REGISTER_TEST(ScanPathGuardTest)
#include "tst_ScanPathGuard.moc"
