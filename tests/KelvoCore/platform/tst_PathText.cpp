// Path text as every guard compares it: standardised, then tested component by component.
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
        row("separators and dots", "/Users//./me///Library/", "/Users/me/Library");
        row("double dots", "/Users/me/../other", "/Users/other");
        row("double dots above root", "/../etc", "/etc");
        row("root", "/", "/");
        row("spaces kept", "/Users/me/My Files ", "/Users/me/My Files ");
    }
    void standardized()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(PathText::standardized(path), expected);
    }

    void belowAndJoined()
    {
        QVERIFY(PathText::isAtOrBelow("/Applications", "/Applications"));
        QVERIFY(PathText::isAtOrBelow("/System/x", "/"));
        QVERIFY(!PathText::isAtOrBelow("/ApplicationsOld", "/Applications"));
        QVERIFY(!PathText::isAtOrBelow("/", "/Applications"));
        QVERIFY(PathText::isAtOrBelowAny("/Applications/Foo.app", {"/Users/me", "/Applications"}));
        QVERIFY(!PathText::isAtOrBelowAny("/Users/me/x", {}));
        QCOMPARE(PathText::joined("/Users/me/", "Library"), QString("/Users/me/Library"));
        QCOMPARE(PathText::joined("/", "Library"), QString("/Library"));
        QCOMPARE(PathText::joined("/Users/./me", "../x"),
                 QString("/Users/./me/../x")); // nothing else standardised
    }
};

KELVO_REGISTER_TEST(TestPathText)
#include "tst_PathText.moc"
