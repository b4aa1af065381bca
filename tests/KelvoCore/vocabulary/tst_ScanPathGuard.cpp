// Which paths may be moved to the Trash: the home folder and /Applications, and what lies below.
#include "TestMain.h"

#include "vocabulary/ScanPathGuard.h"

class ScanPathGuardTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_home; // a synthetic home; the guard only reads path text

    // "{home}" in a table cell stands for the synthetic home folder.
    QString expand(QString text) const { return text.replace(QStringLiteral("{home}"), m_home); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_home = m_root.filePath(QStringLiteral("home"));
    }

    void candidates_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("home");
        QTest::addColumn<bool>("allowed");

        const QString home = QStringLiteral("{home}");
        QTest::newRow("home itself") << "{home}" << home << true;
        QTest::newRow("below home") << "{home}/Documents/report.pdf" << home << true;
        QTest::newRow("home with trailing separator") << "{home}/" << home << true;
        QTest::newRow("below home with trailing separator") << "{home}/Downloads/old/" << home << true;
        QTest::newRow("home library") << "{home}/Library/Caches/com.example" << home << true;
        QTest::newRow("home applications") << "{home}/Applications/Tool.app" << home << true;
        QTest::newRow("single-dot components") << "{home}/./Documents/./a" << home << true;
        QTest::newRow("double-dot staying inside") << "{home}/Documents/../Downloads/x" << home << true;
        QTest::newRow("redundant separators") << "{home}//Documents///a" << home << true;
        QTest::newRow("double-dot climbing out") << "{home}/../other" << home << false;
        QTest::newRow("double-dot to the parent") << "{home}/.." << home << false;
        QTest::newRow("deep climb out") << "{home}/a/../../../etc/passwd" << home << false;
        QTest::newRow("sibling sharing the prefix") << "{home}2/x" << home << false;
        QTest::newRow("applications itself") << "/Applications" << home << true;
        QTest::newRow("applications with trailing separator") << "/Applications/" << home << true;
        QTest::newRow("an application") << "/Applications/Foo.app" << home << true;
        QTest::newRow("inside an application") << "/Applications/Foo.app/Contents/Info.plist" << home << true;
        QTest::newRow("applications redundant separators") << "//Applications//Foo.app" << home << true;
        QTest::newRow("double-dot between applications")
            << "/Applications/Foo.app/../Bar.app" << home << true;
        QTest::newRow("double-dot out of applications") << "/Applications/../Library/x" << home << false;
        QTest::newRow("applications sibling") << "/Applications2/x" << home << false;
        QTest::newRow("applications prefix only") << "/ApplicationsOld" << home << false;
        QTest::newRow("applications in lower case") << "/applications/Foo.app" << home << false;
        QTest::newRow("system library") << "/Library/Caches/x" << home << false;
        QTest::newRow("system") << "/System/x" << home << false;
        QTest::newRow("private tmp") << "/private/tmp/x" << home << false;
        QTest::newRow("root") << "/" << home << false;
        QTest::newRow("empty path") << "" << home << false;
        QTest::newRow("relative path") << "Applications/Foo.app" << home << false;
        QTest::newRow("home given with trailing separator") << "{home}/Desktop/x"
                                                            << "{home}/" << true;
        QTest::newRow("home with trailing separator, sibling") << "{home}2"
                                                               << "{home}/" << false;
        QTest::newRow("home given with single-dot components") << "{home}/x"
                                                               << "{home}/./" << true;
        QTest::newRow("home given with double-dot components") << "{home}/x"
                                                               << "{home}/sub/.." << true;
        QTest::newRow("empty home admits no library") << "/Library/x"
                                                      << "" << false;
        QTest::newRow("empty home still admits applications") << "/Applications/Foo.app"
                                                              << "" << true;
        QTest::newRow("relative home admits nothing of its own") << "/x/y"
                                                                 << "x" << false;
    }

    void candidates()
    {
        QFETCH(QString, path);
        QFETCH(QString, home);
        QFETCH(bool, allowed);

        QCOMPARE(ScanPathGuard::isTrashAllowed(expand(path), expand(home)), allowed);
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
        QCOMPARE(ScanPathGuard::allowedTrashRoots(expand(home)), expected);
    }
};

KELVO_REGISTER_TEST(ScanPathGuardTest)
#include "tst_ScanPathGuard.moc"
