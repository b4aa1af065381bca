// The Installer Cleanup and Uninstall pages as a person uses them: the real views over a real
// controller on a synthetic home, drawn offscreen in both languages. Rows are chosen with their check
// boxes and the chosen installers and apps really leave the synthetic home. Any QML warning fails the test.
#include "TestMain.h"

#include "WindowTestSupport.h"

#include "vocabulary/AppFeature.h"

#include <QImageWriter>
#include <QPainter>

namespace {

using enum AppLanguagePreference;
using TestSupport::row;

// Installers in two download places, sizes far enough apart that their order is plain.
const SizedFile installerFiles[] = {
    {"Downloads/Big.dmg", 3'000'000},
    {"Downloads/Tool.pkg", 1'200'000},
    {"Desktop/Setup.pkg", 600'000},
    {"Desktop/Another.dmg", 200'000},
};

// Two apps in the home folder's Applications, each with something it left in the Library.
const struct {
    const char* name;
    const char* bundleID;
    const char* leftover;
} apps[] = {
    {"Foo", "com.example.foo", "Library/Caches/com.example.foo/x"},
    {"Bar", "com.example.bar", "Library/Preferences/com.example.bar.plist"},
};

// A rounded orange square with a white dot, as an icon file of the kind macOS bundles carry.
void writeIcon(const QString& path)
{
    QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF5, 0x8A, 0x1F));
    painter.drawRoundedRect(QRectF(8, 8, 112, 112), 26, 26);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(64, 64), 22, 22);
    painter.end();
    QImageWriter(SyntheticHome::file(path), "icns").write(image);
}

} // namespace

class TestWindowSelection : public WindowTestCase {
    Q_OBJECT

    QString bundle(const char* name) const { return homePath(QString("Applications/%1.app").arg(name)); }

    void scan(const QString& button)
    {
        click(button);
        waitForTheRun();
    }

    QVariantMap installers() { return model().installer()->reportValue().toMap(); }
    QVariantMap uninstalls() { return model().uninstall()->reportValue().toMap(); }

    int selectedRows(const char* rowName)
    {
        int count = 0;
        for (QQuickItem* row : shown(rowName))
            count += row->property("selected").toBool() ? 1 : 0;
        return count;
    }
    QString selectedCount() const { return textOf("selectedCountLabel"); }
    QStringList columnTitles() { return textsOf(shown("columnTitle")); }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>();
        writeFiles(installerFiles);
        // Foo names an icon of its own; Bar names one it does not have and shows the neutral one.
        for (const auto& app : apps) {
            makeApp(homePath("Applications"), app.name, app.bundleID,
                    {{"CFBundleShortVersionString", "1.0"}, {"CFBundleIconFile", app.name}}, 400'000);
            SyntheticHome::file(homePath(app.leftover), 50'000);
        }
        // Only holds Foo's identifier in a longer name: offered, not chosen.
        SyntheticHome::file(homePath("Library/Logs/backup-com.example.foo.log"), 4'000);
        writeIcon(bundle("Foo") + "/Contents/Resources/Foo.icns");
        openWindow();
    }

    // Installer Cleanup

    void installerPageShowsThePlacesBeforeAScan_data()
    {
        languageRows("Preview|Not cleaned yet|Start with a preview|Installer List|"
                     "File types|Downloads|Desktop|Not found",
                     "预览|还没整理过|先运行一次预览|安装包列表|文件类型|下载|桌面|不存在");
    }
    void installerPageShowsThePlacesBeforeAScan()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::installer);
        QVERIFY(!model().installer()->report().has_value());
        QCOMPARE(textsOf("installerPreviewButton lastRunLine noticeTitle resultsTitle aboutCaption"),
                 texts.mid(0, 5));
        QVERIFY(item("scanLocations")->isVisible());
        const QVariantList locations = model().installer()->scanLocations();
        QStringList expected;
        for (const QVariant& location : locations)
            expected << location.toMap()["path"].toString();
        QVERIFY(expected.contains(homePath("Downloads")));
        QVERIFY(expected.contains(homePath("Desktop")));
        QCOMPARE(textsOf(shown("locationPath")), expected);
        // Each place is named by its source in the current language; places not there say so.
        QCOMPARE(textsOf(shown("locationLabel")).mid(0, 2), texts.mid(5, 2));
        qsizetype missing = 0;
        for (const QVariant& location : locations)
            missing += location.toMap()["exists"].toBool() ? 0 : 1;
        QVERIFY(missing > 0);
        QCOMPARE(textsOf(shown("locationMissing")), QStringList(missing, texts[7]));
        QVERIFY(shown("installerRow").isEmpty());
        verifyStates("installerPreviewButton !installerChooseButton -runProgress");
    }

    void installerScanListsTheFilesLargestFirst_data()
    {
        languageRows(
            "Rescan|Installer List|4 files, total |All Installers|Sort by Size|Selected Files|Source",
            "重新扫描|安装包列表|4 个文件，合计 |全部安装包|按大小排序|已选文件|来源");
    }
    void installerScanListsTheFilesLargestFirst()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::installer);
        scan("installerPreviewButton");
        const QVariantMap report = installers();
        QCOMPARE(report["entryCount"].toInt(), 4);
        QCOMPARE(textsOf("installerPreviewButton resultsTitle resultsSummaryLine filterAll sortBySizeToggle"),
                 texts.mid(0, 2) << texts[2] + report["totalSizeText"].toString() << texts.mid(3, 2));
        QCOMPARE(columnTitles().mid(0, 2), texts.mid(5, 2));
        verifyStates("-scanLocations -resultsNotice");

        const QStringList bySize{"Big.dmg", "Tool.pkg", "Setup.pkg", "Another.dmg"};
        QCOMPARE(rowNames("installerRow"), bySize);
        const QList<QQuickItem*> rows = shown("installerRow");
        QCOMPARE(linesIn(rows, "rowPath rowSource rowSize"),
                 linesOf(report["entries"].toList(), "path source byteCount#"));

        // One filter per place in the report, in its order; a place shows its files only.
        const QStringList sources = report["sources"].toStringList();
        QCOMPARE(textsOf(shown("filterSource")), sources);
        const QString desktop = rows[2]->property("source").toString();
        QVERIFY(desktop != rows[0]->property("source").toString());
        click(shownWith("filterSource", "text", desktop));
        QCOMPARE(rowNames("installerRow"), (QStringList{"Setup.pkg", "Another.dmg"}));
        QVERIFY(shownWith("filterSource", "text", desktop)->property("active").toBool());
        QVERIFY(!item("filterAll")->property("active").toBool());
        click("filterAll");
        QCOMPARE(rowNames("installerRow"), bySize);

        // Sorting by size off lists them by name; the report is left as it was.
        click("sortBySizeToggle");
        QCOMPARE(rowNames("installerRow"), (QStringList{"Another.dmg", "Big.dmg", "Setup.pkg", "Tool.pkg"}));
        QCOMPARE(installers(), report);
        click("sortBySizeToggle");
        QCOMPARE(rowNames("installerRow"), bySize);

        // "Choose Files" brings the list up to the top of the page and gives it the keyboard focus.
        QQuickItem* results = item("resultsPanel");
        click("installerChooseButton");
        QVERIFY(results->hasActiveFocus());
        // Its top is just below the page's top, or as close as the page scrolls.
        const qreal top = results->mapToItem(currentPage(), {}).y();
        const qreal end = currentPage()->property("contentHeight").toReal() - currentPage()->height();
        QVERIFY(top >= 0 && top < currentPage()->height() / 2);
        QVERIFY(top < currentPage()->height() / 8 || currentPage()->property("contentY").toReal() >= end - 1);

        scrollIntoView(item("resultsPanel"), true);
        click(rowNamed("installerRow", "Tool.pkg"));
        click(rowNamed("installerRow", "Another.dmg"));
        QCOMPARE(selectedRows("installerRow"), 2);
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("installer-results"));
        click("clearSelectionButton");
        QCOMPARE(selectedRows("installerRow"), 0);
    }

    void installerSelectionIsCounted_data()
    {
        languageRows("0 selected|1 selected|4 selected|3 selected|2 selected",
                     "已选 0 个|已选 1 个|已选 4 个|已选 3 个|已选 2 个");
    }
    void installerSelectionIsCounted()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::installer);
        scan("installerPreviewButton");
        QCOMPARE(selectedCount(), texts[0]);
        verifyStates("selectAllButton !clearSelectionButton !selectionActionButton");

        // A click on a row's check box or on the row itself toggles it.
        click(findItem(rowNamed("installerRow", "Big.dmg"), "rowSelectBox"));
        QCOMPARE(selectedCount(), texts[1]);
        QVERIFY(rowNamed("installerRow", "Big.dmg")->property("selected").toBool());
        verifyStates("selectAllButton clearSelectionButton selectionActionButton");

        click("selectAllButton");
        QCOMPARE(selectedCount(), texts[2]);
        QCOMPARE(selectedRows("installerRow"), 4);
        verifyStates("!selectAllButton clearSelectionButton selectionActionButton");

        click(rowNamed("installerRow", "Tool.pkg"));
        QCOMPARE(selectedCount(), texts[3]);
        QVERIFY(!rowNamed("installerRow", "Tool.pkg")->property("selected").toBool());

        // A choice survives a filter that hides it; Select All under a filter adds the shown rows.
        click("clearSelectionButton");
        QCOMPARE(selectedCount(), texts[0]);
        click(rowNamed("installerRow", "Big.dmg"));
        const QString desktop = rowNamed("installerRow", "Setup.pkg")->property("source").toString();
        click(shownWith("filterSource", "text", desktop));
        click("selectAllButton");
        click("filterAll");
        QCOMPARE(selectedCount(), texts[3]);
        QVERIFY(!rowNamed("installerRow", "Tool.pkg")->property("selected").toBool());
        click(rowNamed("installerRow", "Setup.pkg"));
        QCOMPARE(selectedCount(), texts[4]);
        click("clearSelectionButton");
        QCOMPARE(selectedRows("installerRow"), 0);

        // Space on a check box that has the keyboard focus toggles its row.
        findItem(rowNamed("installerRow", "Another.dmg"), "rowSelectBox")
            ->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        QCOMPARE(selectedCount(), texts[1]);
        QVERIFY(rowNamed("installerRow", "Another.dmg")->property("selected").toBool());

        // While a scan runs, the chosen files cannot be moved.
        WorkersHeld held;
        press("installerPreviewButton");
        QVERIFY(model().runs()->isRunning());
        verifyStates("clearSelectionButton !selectionActionButton");
        press("runCancelButton");
        held.release();
        waitForTheRun();
        verifyStates("selectionActionButton");
        click("clearSelectionButton");
    }

    void movingInstallersAsksFirst_data()
    {
        // The installer's name and place in the home, then the dialog's title, message and buttons,
        // the start of the last run line and the count left chosen.
        languageRows(
            "Big.dmg|Downloads/Big.dmg|Move to Trash?|"
            "The selected 1 installer files will be moved to Trash, not permanently deleted.|"
            "Move to Trash|Cancel|1 files · freed |0 selected",
            "Setup.pkg|Desktop/Setup.pkg|移到废纸篓？|会把选中的 1 个安装包移到废纸篓，不会直接永久删除。|"
            "移到废纸篓|取消|1 个 · 释放 |已选 0 个",
            {"name", "relative"});
    }
    void movingInstallersAsksFirst()
    {
        QFETCH(QString, name);
        QFETCH(QString, relative);
        const QStringList texts = rowTexts();
        showPage(AppFeature::installer);
        scan("installerPreviewButton");
        const QString path = homePath(relative);
        QVERIFY(SyntheticHome::exists(path));
        const int before = installers()["entryCount"].toInt();
        qint64 size = 0;
        for (const QVariant& entry : installers()["entries"].toList())
            if (entry.toMap()["path"].toString() == path)
                size = entry.toMap()["byteCount"].toLongLong();
        QVERIFY(size > 0);

        // Cancelling changes nothing.
        click(rowNamed("installerRow", name));
        QVERIFY(opens("installerConfirmDialog", "selectionActionButton"));
        QCOMPARE(textsIn(object("installerConfirmDialog"),
                         "alertTitle alertMessage selectionConfirmButton selectionCancelButton"),
                 texts.mid(0, 4));
        photograph(shotName("installer-confirm"));
        QVERIFY(closes("installerConfirmDialog", "selectionCancelButton"));
        QVERIFY(SyntheticHome::exists(path));
        QCOMPARE(installers()["entryCount"].toInt(), before);

        // Confirming moves only the chosen file; its row and its choice go.
        QVERIFY(opens("installerConfirmDialog", "selectionActionButton"));
        QVERIFY(closes("installerConfirmDialog", "selectionConfirmButton"));
        waitForTheRun();
        QVERIFY2(!SyntheticHome::exists(path), qPrintable(path + " is still there"));
        QCOMPARE(installers()["entryCount"].toInt(), before - 1);
        QVERIFY(!rowNamed("installerRow", name));
        QCOMPARE(shown("installerRow").size(), before - 1);
        QCOMPARE(selectedCount(), texts[5]);
        QCOMPARE(textOf("lastRunLine"), texts[4] + SizeText::bytes(size));
        for (const auto& [file, fileSize] : installerFiles)
            if (homePath(file) != path && QString(file) != "Downloads/Big.dmg")
                QVERIFY2(SyntheticHome::exists(homePath(file)), file);
    }

    void installerScanShowsItsProgressAndCancels()
    {
        showPage(AppFeature::installer);
        WorkersHeld held;
        press("installerPreviewButton");
        QVERIFY(model().runs()->isRunning());
        verifyStates("runProgress !installerPreviewButton runCancelButton");
        QCOMPARE(textOf("runCancelButton"), "Cancel");
        press("runCancelButton");
        held.release();
        waitForTheRun();
        verifyStates("-runProgress");
    }

    // Uninstall

    void uninstallPageListsTheApps_data()
    {
        languageRows(
            "Rescan|Preview Results|2 app items. You will confirm again before uninstalling.|"
            "Selected Apps|Source|Last opened|No uninstalls yet",
            "重新扫描|预览结果|2 个应用项目，正式卸载前仍会再次确认。|已选应用|来源|最近打开|还没卸载过");
    }
    void uninstallPageListsTheApps()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::uninstall);
        scan("uninstallPreviewButton");
        const QVariantMap report = uninstalls();
        QCOMPARE(report["entryCount"].toInt(), 2);
        QCOMPARE(textsOf("uninstallPreviewButton resultsTitle resultsSummaryLine"), texts.mid(0, 3));
        QCOMPARE(columnTitles().mid(0, 3), texts.mid(3, 3));
        QCOMPARE(textOf("lastRunLine"), texts[6]);
        QCOMPARE(rowNames("uninstallRow"), (QStringList{"Bar", "Foo"}));
        QCOMPARE(linesIn(shown("uninstallRow"), "rowBundleID"),
                 (QStringList{"com.example.bar", "com.example.foo"}));
        const QList<QQuickItem*> rows = shown("uninstallRow");
        const QVariantList entries = report["entries"].toList();
        QCOMPARE(linesIn(rows, "rowSource rowLastOpened rowSize"),
                 linesOf(entries, "source lastOpenedText sizeText"));
        QVERIFY(!linesOf(entries, "lastOpenedText").contains(QString()));
        // Each row shows an icon: the bundle's own or the neutral one.
        for (QQuickItem* row : rows)
            QTRY_COMPARE(findItem(row, "rowAppIcon")->property("status").toInt(), 1); // Image.Ready

        // The leftovers can be read before anything is removed; the one named after the app is
        // chosen, the possible one is marked and is not, until it is clicked.
        QQuickItem* foo = rowNamed("uninstallRow", "Foo");
        QVERIFY(shown("leftoverPath").isEmpty());
        click(findItem(foo, "rowExpandButton"));
        QCOMPARE(textsOf(shown("leftoverPath")),
                 (QStringList{homePath("Library/Caches/com.example.foo"),
                              homePath("Library/Logs/backup-com.example.foo.log")}));
        const QList<QQuickItem*> boxes = shown("leftoverSelectBox");
        QCOMPARE(boxes.size(), 2);
        QVERIFY(boxes[0]->property("selected").toBool() && !boxes[1]->property("selected").toBool());
        QCOMPARE(shown("leftoverPossible").size(), 1);
        click(boxes[1]);
        QVERIFY(boxes[1]->property("selected").toBool());
        click(boxes[1]);
        QVERIFY(!boxes[1]->property("selected").toBool());
        QVERIFY(!foo->property("selected").toBool());

        click(findItem(foo, "rowSelectBox"));
        QVERIFY(foo->property("selected").toBool());
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("uninstall-results"));
        click(findItem(foo, "rowExpandButton"));
        QVERIFY(shown("leftoverPath").isEmpty());
        click("clearSelectionButton");
        QCOMPARE(selectedRows("uninstallRow"), 0);
    }

    void uninstallSelectionIsCounted_data()
    {
        languageRows("0 selected|1 selected|2 selected", "已选 0 个|已选 1 个|已选 2 个");
    }
    void uninstallSelectionIsCounted()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::uninstall);
        scan("uninstallPreviewButton");
        QCOMPARE(selectedCount(), texts[0]);
        verifyStates("selectAllButton !clearSelectionButton !selectionActionButton");
        click(rowNamed("uninstallRow", "Bar"));
        QCOMPARE(selectedCount(), texts[1]);
        click("selectAllButton");
        QCOMPARE(selectedCount(), texts[2]);
        QCOMPARE(selectedRows("uninstallRow"), 2);
        click(findItem(rowNamed("uninstallRow", "Bar"), "rowSelectBox"));
        QCOMPARE(selectedCount(), texts[1]);
        QVERIFY(rowNamed("uninstallRow", "Foo")->property("selected").toBool());
        click("clearSelectionButton");
        QCOMPARE(selectedCount(), texts[0]);
    }

    void uninstallingAsksFirst_data()
    {
        // The answer, then the dialog's title, message and buttons and the action's button.
        languageRows("selectionCancelButton|Uninstall These Apps?|The selected apps will be uninstalled and "
                     "related leftovers will be handled. This dialog is the final confirmation.|"
                     "Continue|Cancel|Start Uninstall",
                     "selectionConfirmButton|卸载这些应用？|"
                     "会按你选中的应用执行卸载，并继续处理相关残留。正式处理前的确认已经在这里完成。|"
                     "继续|取消|开始卸载",
                     {"answer"});
    }
    void uninstallingAsksFirst()
    {
        QFETCH(QString, answer);
        const QStringList texts = rowTexts();
        showPage(AppFeature::uninstall);
        scan("uninstallPreviewButton");
        const QString foo = bundle("Foo");
        const QString leftover = homePath("Library/Caches/com.example.foo");
        QVERIFY(SyntheticHome::exists(foo) && SyntheticHome::exists(leftover));

        QCOMPARE(textOf("selectionActionButton"), texts[4]);
        click(rowNamed("uninstallRow", "Foo"));
        QVERIFY(opens("uninstallConfirmDialog", "selectionActionButton"));
        QCOMPARE(textsIn(object("uninstallConfirmDialog"),
                         "alertTitle alertMessage selectionConfirmButton selectionCancelButton"),
                 texts.mid(0, 4));
        photograph(shotName("uninstall-confirm"));
        QVERIFY(closes("uninstallConfirmDialog", answer));
        waitForTheRun();

        if (answer == "selectionCancelButton") {
            QVERIFY(SyntheticHome::exists(foo) && SyntheticHome::exists(leftover));
            QCOMPARE(uninstalls()["entryCount"].toInt(), 2);
            click("clearSelectionButton");
            return;
        }
        QVERIFY2(!SyntheticHome::exists(foo), qPrintable(foo + " is still there"));
        QVERIFY2(!SyntheticHome::exists(leftover), qPrintable(leftover + " is still there"));
        QVERIFY(SyntheticHome::exists(bundle("Bar")));
        QVERIFY(SyntheticHome::exists(homePath("Library/Preferences/com.example.bar.plist")));
        QVERIFY(SyntheticHome::exists(homePath("Library/Logs/backup-com.example.foo.log"))); // not chosen
        QCOMPARE(rowNames("uninstallRow"), QStringList{"Bar"});
        QCOMPARE(selectedCount(), "已选 0 个");
        QVERIFY(textOf("lastRunLine").startsWith("上次卸载 "));
    }

    // Both pages once everything they list is gone; they run last, as they empty the home.
    void aPageWithNothingLeftShowsTheEmptyState_data()
    {
        QTest::addColumn<QString>("feature");
        QTest::addColumn<QStringList>("gone"); // in the home
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QStringList>("texts");
        QStringList installerPaths;
        for (const auto& [path, size] : installerFiles)
            installerPaths << path;
        const QStringList appPaths{"Applications/Foo.app", "Applications/Bar.app"};
        row("installer en", "installer", installerPaths, english,
            splitTexts("No obvious installer files found|"
                       "There are no installer files to show in Downloads, Desktop, or common attachment "
                       "locations."));
        row("installer zh", "installer", installerPaths, chinese,
            splitTexts("没有发现明显可整理的安装包|下载、桌面和常见附件位置没有可列出的安装文件。"));
        row("uninstall en", "uninstall", appPaths, english,
            splitTexts("No app items to show|No apps were found to list."));
        row("uninstall zh", "uninstall", appPaths, chinese,
            splitTexts("当前没有可显示的应用项目|没有找到可列出的应用。"));
    }
    void aPageWithNothingLeftShowsTheEmptyState()
    {
        QFETCH(QString, feature);
        QFETCH(QStringList, gone);
        const QStringList texts = rowTexts();
        showPage(feature);
        const auto entryCount = [&] {
            return (feature == "installer" ? installers() : uninstalls())["entryCount"].toInt();
        };
        scan(feature + "PreviewButton");
        if (entryCount() > 0) {
            click("selectAllButton");
            QVERIFY(opens(feature + "ConfirmDialog", "selectionActionButton"));
            click("selectionConfirmButton");
            waitForTheRun();
            scan(feature + "PreviewButton");
        }
        QCOMPARE(entryCount(), 0);
        for (const QString& path : gone)
            QVERIFY2(!SyntheticHome::exists(homePath(path)), qPrintable(path));
        QVERIFY(item("resultsNotice")->isVisible());
        QCOMPARE(textsOf("noticeTitle noticeDetail"), texts);
        for (const QString& hidden : {feature + "Row", QString("selectAllButton")})
            QVERIFY2(shown(hidden).isEmpty(), qPrintable(hidden));
        verifyStates("!" + feature + "ChooseButton");
    }
};

KELVO_REGISTER_TEST(TestWindowSelection)
#include "tst_WindowSelection.moc"
