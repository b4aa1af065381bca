#include "TestMain.h"

#include "platform/PathText.h"

class TestPathText : public QObject {
    Q_OBJECT

private slots:
    void standardized_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("already standard") << "/Users/me/Library"
                                          << "/Users/me/Library";
        QTest::newRow("trailing separator") << "/Users/me/"
                                            << "/Users/me";
        QTest::newRow("double separators") << "/Users//me///Library"
                                           << "/Users/me/Library";
        QTest::newRow("single dots") << "/Users/./me/./Library"
                                     << "/Users/me/Library";
        QTest::newRow("double dots") << "/Users/me/../other"
                                     << "/Users/other";
        QTest::newRow("double dots above root") << "/../etc"
                                                << "/etc";
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("spaces kept") << "/Users/me/My Files/"
                                     << "/Users/me/My Files";
    }
    void standardized()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(PathText::standardized(path), expected);
    }

    void isAtOrBelow_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("expected");
        QTest::newRow("equal") << "/Applications"
                               << "/Applications" << true;
        QTest::newRow("child") << "/Applications/Foo.app"
                               << "/Applications" << true;
        QTest::newRow("deep child") << "/Applications/Foo.app/Contents/MacOS"
                                    << "/Applications" << true;
        QTest::newRow("sibling sharing a prefix") << "/ApplicationsOld"
                                                  << "/Applications" << false;
        QTest::newRow("parent") << "/"
                                << "/Applications" << false;
        QTest::newRow("everything is below root") << "/System/x"
                                                  << "/" << true;
        QTest::newRow("case differs") << "/applications/Foo.app"
                                      << "/Applications" << false;
    }
    void isAtOrBelow()
    {
        QFETCH(QString, path);
        QFETCH(QString, root);
        QFETCH(bool, expected);
        QCOMPARE(PathText::isAtOrBelow(path, root), expected);
    }

    void isAtOrBelowAny()
    {
        const QStringList roots{"/Users/me", "/Applications"};
        QVERIFY(PathText::isAtOrBelowAny("/Applications/Foo.app", roots));
        QVERIFY(PathText::isAtOrBelowAny("/Users/me", roots));
        QVERIFY(!PathText::isAtOrBelowAny("/Users/meOther/x", roots));
        QVERIFY(!PathText::isAtOrBelowAny("/Users/me/x", {}));
    }

    void joined_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/Users/me"
                               << "Library/Caches"
                               << "/Users/me/Library/Caches";
        QTest::newRow("base with separator") << "/Users/me/"
                                             << "Library"
                                             << "/Users/me/Library";
        QTest::newRow("root") << "/"
                              << "Library"
                              << "/Library";
        QTest::newRow("nothing else standardised") << "/Users/./me"
                                                   << "../x"
                                                   << "/Users/./me/../x";
    }
    void joined()
    {
        QFETCH(QString, base);
        QFETCH(QString, relative);
        QFETCH(QString, expected);
        QCOMPARE(PathText::joined(base, relative), expected);
    }
};

KELVO_REGISTER_TEST(TestPathText)
#include "tst_PathText.moc"
