#include "TestMain.h"

#include "platform/PathText.h"

using TestSupport::row;

class TestPathText : public QObject {
    Q_OBJECT

private slots:
    void standardized_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        row("already standard", "/Users/me/Library", "/Users/me/Library");
        row("trailing separator", "/Users/me/", "/Users/me");
        row("double separators", "/Users//me///Library", "/Users/me/Library");
        row("single dots", "/Users/./me/./Library", "/Users/me/Library");
        row("double dots", "/Users/me/../other", "/Users/other");
        row("double dots above root", "/../etc", "/etc");
        row("root", "/", "/");
        row("spaces kept", "/Users/me/My Files/", "/Users/me/My Files");
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
        row("equal", "/Applications", "/Applications", true);
        row("child", "/Applications/Foo.app", "/Applications", true);
        row("deep child", "/Applications/Foo.app/Contents/MacOS", "/Applications", true);
        row("sibling sharing a prefix", "/ApplicationsOld", "/Applications", false);
        row("parent", "/", "/Applications", false);
        row("everything is below root", "/System/x", "/", true);
        row("case differs", "/applications/Foo.app", "/Applications", false);
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
        row("plain", "/Users/me", "Library/Caches", "/Users/me/Library/Caches");
        row("base with separator", "/Users/me/", "Library", "/Users/me/Library");
        row("root", "/", "Library", "/Library");
        row("nothing else standardised", "/Users/./me", "../x", "/Users/./me/../x");
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
