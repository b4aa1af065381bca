// The Installer Cleanup and Uninstall pages as a person uses them: the real views over a real
// controller on a synthetic home, drawn offscreen in both languages. Rows are chosen with their check
// boxes and the chosen installers and apps really leave the synthetic home. Any QML warning fails the test.
#include "TestMain.h"

#include "SyntheticHome.h"
#include "WindowTestSupport.h"

#include "vocabulary/AppFeature.h"
#include "vocabulary/SizeText.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QScopeGuard>
#include <QSemaphore>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <utility>

namespace {

// Installers in two download places, sizes far enough apart that their order is plain.
const struct {
    const char* path;
    qint64 size;
} installerFiles[] = {
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

// Foo names an icon of its own; Bar has none and shows the neutral one.
QString plist(const QString& name, const QString& bundleID)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                          "<plist version=\"1.0\"><dict>\n"
                          "<key>CFBundleIdentifier</key><string>%1</string>\n"
                          "<key>CFBundleName</key><string>%2</string>\n"
                          "<key>CFBundleShortVersionString</key><string>1.0</string>\n"
                          "<key>CFBundleIconFile</key><string>%2</string>\n"
                          "</dict></plist>\n")
        .arg(bundleID, name);
}

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

    QString bundle(const char* name) const
    {
        return homePath(QStringLiteral("Applications/%1.app").arg(name));
    }

    void scan(const char* button)
    {
        click(item(QLatin1String(button)));
        waitForTheRun();
    }

    QVariantMap installers() { return model().installerPreviewReportValue().toMap(); }
    QVariantMap uninstalls() { return model().uninstallPreviewReportValue().toMap(); }

    QStringList rowNames(const char* rowName) { return textsInRows(rowName, "rowName"); }
    QStringList textsInRows(const char* rowName, const char* child)
    {
        QStringList texts;
        for (QQuickItem* row : shown(QLatin1String(rowName)))
            texts << textIn(row, QLatin1String(child));
        return texts;
    }
    QQuickItem* rowNamed(const char* rowName, const QString& name)
    {
        for (QQuickItem* row : shown(QLatin1String(rowName)))
            if (textIn(row, QStringLiteral("rowName")) == name)
                return row;
        return nullptr;
    }
    int selectedRows(const char* rowName)
    {
        int count = 0;
        for (QQuickItem* row : shown(QLatin1String(rowName)))
            count += row->property("selected").toBool() ? 1 : 0;
        return count;
    }
    QString selectedCount() const { return textOf(QStringLiteral("selectedCountLabel")); }
    QString dialogText(const char* dialog, const char* name) const
    {
        QObject* found = object(QLatin1String(dialog))->findChild<QObject*>(QLatin1String(name));
        return found ? found->property("text").toString() : QString();
    }
    QStringList columnTitles() { return textsOf(shown(QStringLiteral("columnTitle"))); }
    QQuickItem* chipNamed(const QString& name, const QString& text)
    {
        for (QQuickItem* chip : shown(name))
            if (chip->property("text").toString() == text)
                return chip;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>(AppLanguagePreference::english);
        for (const auto& file : installerFiles)
            SyntheticHome::file(homePath(QLatin1String(file.path)), file.size);
        for (const auto& app : apps) {
            const QString contents = bundle(app.name) + QStringLiteral("/Contents");
            SyntheticHome::file(contents + QStringLiteral("/MacOS/") + app.name, 400'000);
            QFile info(SyntheticHome::file(contents + QStringLiteral("/Info.plist")));
            QVERIFY(info.open(QIODevice::WriteOnly));
            info.write(plist(QLatin1String(app.name), QLatin1String(app.bundleID)).toUtf8());
            info.close();
            SyntheticHome::file(homePath(QLatin1String(app.leftover)), 50'000);
        }
        writeIcon(bundle("Foo") + QStringLiteral("/Contents/Resources/Foo.icns"));
        openWindow();
    }

    void cleanup() { verifyNoWarnings(); }

    void cleanupTestCase()
    {
        closeWindow();
        m_model.reset();
        m_fixture.reset();
    }

    // Installer Cleanup

    void installerPageShowsThePlacesBeforeAScan_data()
    {
        languageRows("Preview|Not cleaned yet|Start with a preview|Installer List|File "
                     "types|Downloads|Desktop|Not found",
                     "预览|还没整理过|先运行一次预览|安装包列表|文件类型|下载|桌面|不存在");
    }
    void installerPageShowsThePlacesBeforeAScan()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::installer);
        QVERIFY(!model().installerPreviewReport().has_value());
        QCOMPARE(textsOf(QStringLiteral(
                     "installerPreviewButton lastRunLine noticeTitle resultsTitle aboutCaption")),
                 texts.mid(0, 5));
        QVERIFY(item(QStringLiteral("scanLocations"))->isVisible());
        const QVariantList locations = model().installerScanLocations();
        QStringList expected;
        for (const QVariant& location : locations)
            expected << location.toMap()["path"].toString();
        QVERIFY(expected.contains(homePath(QStringLiteral("Downloads"))));
        QVERIFY(expected.contains(homePath(QStringLiteral("Desktop"))));
        QCOMPARE(textsOf(shown(QStringLiteral("locationPath"))), expected);
        // Each place is named by its source in the current language; places not there say so.
        QCOMPARE(textsOf(shown(QStringLiteral("locationLabel"))).mid(0, 2), texts.mid(5, 2));
        qsizetype missing = 0;
        for (const QVariant& location : locations)
            missing += location.toMap()["exists"].toBool() ? 0 : 1;
        QVERIFY(missing > 0);
        QCOMPARE(textsOf(shown(QStringLiteral("locationMissing"))), QStringList(missing, texts[7]));
        QVERIFY(shown(QStringLiteral("installerRow")).isEmpty());
        verifyStates(QStringLiteral("installerPreviewButton !installerChooseButton -runProgress"));
    }

    void installerScanListsTheFilesLargestFirst_data()
    {
        languageRows(
            "Rescan|Installer List|4 files, total |Selected Files|Source|All Installers|Sort by Size",
            "重新扫描|安装包列表|4 个文件，合计 |已选文件|来源|全部安装包|按大小排序");
    }
    void installerScanListsTheFilesLargestFirst()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::installer);
        scan("installerPreviewButton");
        const QVariantMap report = installers();
        QCOMPARE(report["entryCount"].toInt(), 4);
        QCOMPARE(textsOf(QStringLiteral("installerPreviewButton resultsTitle")), texts.mid(0, 2));
        QCOMPARE(textOf(QStringLiteral("resultsSummaryLine")), texts[2] + report["totalSizeText"].toString());
        QCOMPARE(columnTitles().mid(0, 2), texts.mid(3, 2));
        QCOMPARE(textOf(QStringLiteral("filterAll")), texts[5]);
        QCOMPARE(textOf(QStringLiteral("sortBySizeToggle")), texts[6]);
        QVERIFY(!item(QStringLiteral("scanLocations"))->isVisible());
        QVERIFY(!item(QStringLiteral("resultsNotice"))->isVisible());

        const QStringList bySize{"Big.dmg", "Tool.pkg", "Setup.pkg", "Another.dmg"};
        QCOMPARE(rowNames("installerRow"), bySize);
        const QVariantList entries = report["entries"].toList();
        QList<QQuickItem*> rows = shown(QStringLiteral("installerRow"));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QVariantMap entry = entries[i].toMap();
            QCOMPARE(textIn(rows[i], QStringLiteral("rowPath")), entry["path"].toString());
            QCOMPARE(textIn(rows[i], QStringLiteral("rowSource")), entry["source"].toString());
            QCOMPARE(textIn(rows[i], QStringLiteral("rowSize")),
                     SizeText::bytes(entry["byteCount"].toLongLong()));
        }

        // One filter per place in the report, in its order; a place shows its files only.
        const QStringList sources = report["sources"].toStringList();
        QCOMPARE(textsOf(shown(QStringLiteral("filterSource"))), sources);
        const QString desktop = rows[2]->property("source").toString();
        QVERIFY(desktop != rows[0]->property("source").toString());
        click(chipNamed(QStringLiteral("filterSource"), desktop));
        QCOMPARE(rowNames("installerRow"), (QStringList{"Setup.pkg", "Another.dmg"}));
        QVERIFY(chipNamed(QStringLiteral("filterSource"), desktop)->property("active").toBool());
        QVERIFY(!item(QStringLiteral("filterAll"))->property("active").toBool());
        click(QStringLiteral("filterAll"));
        QCOMPARE(rowNames("installerRow"), bySize);

        // Sorting by size off lists them by name; the report is left as it was.
        click(QStringLiteral("sortBySizeToggle"));
        QCOMPARE(rowNames("installerRow"), (QStringList{"Another.dmg", "Big.dmg", "Setup.pkg", "Tool.pkg"}));
        QCOMPARE(installers(), report);
        click(QStringLiteral("sortBySizeToggle"));
        QCOMPARE(rowNames("installerRow"), bySize);

        // "Choose Files" brings the list up to the top of the page and gives it the keyboard focus.
        QQuickItem* results = item(QStringLiteral("resultsPanel"));
        click(QStringLiteral("installerChooseButton"));
        QVERIFY(results->hasActiveFocus());
        // Its top is just below the page's top, or as close as the page scrolls.
        const qreal top = results->mapToItem(currentPage(), {}).y();
        const qreal end = currentPage()->property("contentHeight").toReal() - currentPage()->height();
        QVERIFY(top >= 0 && top < currentPage()->height() / 2);
        QVERIFY(top < currentPage()->height() / 8 || currentPage()->property("contentY").toReal() >= end - 1);

        scrollIntoView(item(QStringLiteral("resultsPanel")), true);
        click(rowNamed("installerRow", QStringLiteral("Tool.pkg")));
        click(rowNamed("installerRow", QStringLiteral("Another.dmg")));
        QCOMPARE(selectedRows("installerRow"), 2);
        scrollIntoView(item(QStringLiteral("resultsPanel")), true);
        photograph(shotName("installer-results"));
        click(QStringLiteral("clearSelectionButton"));
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
        verifyStates(QStringLiteral("selectAllButton !clearSelectionButton !selectionActionButton"));

        // A click on a row's check box or on the row itself toggles it.
        click(findItem(rowNamed("installerRow", QStringLiteral("Big.dmg")), QStringLiteral("rowSelectBox")));
        QCOMPARE(selectedCount(), texts[1]);
        QVERIFY(rowNamed("installerRow", QStringLiteral("Big.dmg"))->property("selected").toBool());
        verifyStates(QStringLiteral("selectAllButton clearSelectionButton selectionActionButton"));

        click(QStringLiteral("selectAllButton"));
        QCOMPARE(selectedCount(), texts[2]);
        QCOMPARE(selectedRows("installerRow"), 4);
        verifyStates(QStringLiteral("!selectAllButton clearSelectionButton selectionActionButton"));

        click(rowNamed("installerRow", QStringLiteral("Tool.pkg")));
        QCOMPARE(selectedCount(), texts[3]);
        QVERIFY(!rowNamed("installerRow", QStringLiteral("Tool.pkg"))->property("selected").toBool());

        // A choice survives a filter that hides it; Select All under a filter adds the shown rows.
        click(QStringLiteral("clearSelectionButton"));
        QCOMPARE(selectedCount(), texts[0]);
        click(rowNamed("installerRow", QStringLiteral("Big.dmg")));
        const QString desktop =
            rowNamed("installerRow", QStringLiteral("Setup.pkg"))->property("source").toString();
        click(chipNamed(QStringLiteral("filterSource"), desktop));
        click(QStringLiteral("selectAllButton"));
        click(QStringLiteral("filterAll"));
        QCOMPARE(selectedCount(), texts[3]);
        QVERIFY(!rowNamed("installerRow", QStringLiteral("Tool.pkg"))->property("selected").toBool());
        click(rowNamed("installerRow", QStringLiteral("Setup.pkg")));
        QCOMPARE(selectedCount(), texts[4]);
        click(QStringLiteral("clearSelectionButton"));
        QCOMPARE(selectedRows("installerRow"), 0);

        // Space on a check box that has the keyboard focus toggles its row.
        findItem(rowNamed("installerRow", QStringLiteral("Another.dmg")), QStringLiteral("rowSelectBox"))
            ->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        QCOMPARE(selectedCount(), texts[1]);
        QVERIFY(rowNamed("installerRow", QStringLiteral("Another.dmg"))->property("selected").toBool());

        // While a scan runs, the chosen files cannot be moved.
        std::function<void()> releaseWorkers = blockWorkers();
        const auto released = qScopeGuard([&] {
            if (releaseWorkers)
                releaseWorkers();
        });
        QMetaObject::invokeMethod(item(QStringLiteral("installerPreviewButton")), "clicked");
        QVERIFY(model().isRunning());
        verifyStates(QStringLiteral("clearSelectionButton !selectionActionButton"));
        QMetaObject::invokeMethod(item(QStringLiteral("runCancelButton")), "clicked");
        std::exchange(releaseWorkers, nullptr)();
        waitForTheRun();
        verifyStates(QStringLiteral("selectionActionButton"));
        click(QStringLiteral("clearSelectionButton"));
    }

    void movingInstallersAsksFirst_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("en")
            << AppLanguagePreference::english << "Big.dmg"
            << "Downloads/Big.dmg"
            << QStringList{"Move to Trash?",
                           "The selected 1 installer files will be moved to Trash, not permanently deleted.",
                           "Move to Trash",
                           "Cancel",
                           "1 files · freed ",
                           "0 selected"};
        QTest::newRow("zh") << AppLanguagePreference::chinese << "Setup.pkg"
                            << "Desktop/Setup.pkg"
                            << QStringList{
                                   "移到废纸篓？", "会把选中的 1 个安装包移到废纸篓，不会直接永久删除。",
                                   "移到废纸篓",   "取消",
                                   "1 个 · 释放 ", "已选 0 个"};
    }
    void movingInstallersAsksFirst()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, name);
        QFETCH(QString, relative);
        QFETCH(QStringList, texts);
        useLanguage(language);
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
        click(QStringLiteral("selectionActionButton"));
        QTRY_VERIFY(popupOpen(QStringLiteral("installerConfirmDialog")));
        QCOMPARE(dialogText("installerConfirmDialog", "alertTitle"), texts[0]);
        QCOMPARE(dialogText("installerConfirmDialog", "alertMessage"), texts[1]);
        QCOMPARE(dialogText("installerConfirmDialog", "selectionConfirmButton"), texts[2]);
        QCOMPARE(dialogText("installerConfirmDialog", "selectionCancelButton"), texts[3]);
        photograph(shotName("installer-confirm"));
        click(QStringLiteral("selectionCancelButton"));
        QTRY_VERIFY(!popupOpen(QStringLiteral("installerConfirmDialog")));
        QVERIFY(SyntheticHome::exists(path));
        QCOMPARE(installers()["entryCount"].toInt(), before);

        // Confirming moves only the chosen file; its row and its choice go.
        click(QStringLiteral("selectionActionButton"));
        QTRY_VERIFY(popupOpen(QStringLiteral("installerConfirmDialog")));
        click(QStringLiteral("selectionConfirmButton"));
        QTRY_VERIFY(!popupOpen(QStringLiteral("installerConfirmDialog")));
        waitForTheRun();
        QVERIFY2(!SyntheticHome::exists(path), qPrintable(path + " is still there"));
        QCOMPARE(installers()["entryCount"].toInt(), before - 1);
        QVERIFY(!rowNamed("installerRow", name));
        QCOMPARE(shown(QStringLiteral("installerRow")).size(), before - 1);
        QCOMPARE(selectedCount(), texts[5]);
        QCOMPARE(textOf(QStringLiteral("lastRunLine")), texts[4] + SizeText::bytes(size));
        for (const auto& file : installerFiles)
            if (homePath(QLatin1String(file.path)) != path &&
                QLatin1String(file.path) != QLatin1String("Downloads/Big.dmg"))
                QVERIFY2(SyntheticHome::exists(homePath(QLatin1String(file.path))), file.path);
    }

    void installerEmptyState_data()
    {
        languageRows(
            "No obvious installer files found|"
            "There are no installer files to show in Downloads, Desktop, or common attachment locations.",
            "没有发现明显可整理的安装包|下载、桌面和常见附件位置没有可列出的安装文件。");
    }
    void installerEmptyState()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::installer);
        scan("installerPreviewButton");
        if (installers()["entryCount"].toInt() > 0) {
            click(QStringLiteral("selectAllButton"));
            click(QStringLiteral("selectionActionButton"));
            QTRY_VERIFY(popupOpen(QStringLiteral("installerConfirmDialog")));
            click(QStringLiteral("selectionConfirmButton"));
            waitForTheRun();
            scan("installerPreviewButton");
        }
        QCOMPARE(installers()["entryCount"].toInt(), 0);
        for (const auto& file : installerFiles)
            QVERIFY2(!SyntheticHome::exists(homePath(QLatin1String(file.path))), file.path);
        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textsOf(QStringLiteral("noticeTitle noticeDetail")), texts);
        QVERIFY(shown(QStringLiteral("installerRow")).isEmpty());
        QVERIFY(shown(QStringLiteral("selectAllButton")).isEmpty());
        verifyStates(QStringLiteral("!installerChooseButton"));
    }

    void installerScanShowsItsProgressAndCancels()
    {
        showPage(AppFeature::installer);
        std::function<void()> releaseWorkers = blockWorkers();
        const auto released = qScopeGuard([&] {
            if (releaseWorkers)
                releaseWorkers();
        });
        QMetaObject::invokeMethod(item(QStringLiteral("installerPreviewButton")), "clicked");
        QVERIFY(model().isRunning());
        QVERIFY(item(QStringLiteral("runProgress"))->isVisible());
        QVERIFY(!item(QStringLiteral("installerPreviewButton"))->isEnabled());
        QQuickItem* cancel = item(QStringLiteral("runCancelButton"));
        QVERIFY(cancel->isVisible());
        QCOMPARE(cancel->property("text").toString(), QStringLiteral("Cancel"));
        QMetaObject::invokeMethod(cancel, "clicked");
        std::exchange(releaseWorkers, nullptr)();
        waitForTheRun();
        QVERIFY(!item(QStringLiteral("runProgress"))->isVisible());
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
        QCOMPARE(textsOf(QStringLiteral("uninstallPreviewButton resultsTitle resultsSummaryLine")),
                 texts.mid(0, 3));
        QCOMPARE(columnTitles().mid(0, 3), texts.mid(3, 3));
        QCOMPARE(textOf(QStringLiteral("lastRunLine")), texts[6]);
        QCOMPARE(rowNames("uninstallRow"), (QStringList{"Bar", "Foo"}));
        QCOMPARE(textsInRows("uninstallRow", "rowBundleID"),
                 (QStringList{"com.example.bar", "com.example.foo"}));
        const QVariantList entries = report["entries"].toList();
        QList<QQuickItem*> rows = shown(QStringLiteral("uninstallRow"));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QVariantMap entry = entries[i].toMap();
            QCOMPARE(textIn(rows[i], QStringLiteral("rowSource")), entry["source"].toString());
            QCOMPARE(textIn(rows[i], QStringLiteral("rowLastOpened")), entry["lastOpenedText"].toString());
            QVERIFY(!entry["lastOpenedText"].toString().isEmpty());
            QCOMPARE(textIn(rows[i], QStringLiteral("rowSize")), entry["sizeText"].toString());
            // Each row shows an icon: the bundle's own or the neutral one.
            QQuickItem* icon = findItem(rows[i], QStringLiteral("rowAppIcon"));
            QTRY_COMPARE(icon->property("status").toInt(), 1); // Image.Ready
        }

        // The leftovers can be read before anything is removed.
        QQuickItem* foo = rowNamed("uninstallRow", QStringLiteral("Foo"));
        QVERIFY(shown(QStringLiteral("leftoverPath")).isEmpty());
        click(findItem(foo, QStringLiteral("rowExpandButton")));
        QCOMPARE(textsOf(shown(QStringLiteral("leftoverPath"))),
                 QStringList{homePath(QStringLiteral("Library/Caches/com.example.foo"))});
        QVERIFY(!foo->property("selected").toBool());

        click(findItem(foo, QStringLiteral("rowSelectBox")));
        QVERIFY(foo->property("selected").toBool());
        scrollIntoView(item(QStringLiteral("resultsPanel")), true);
        photograph(shotName("uninstall-results"));
        click(findItem(foo, QStringLiteral("rowExpandButton")));
        QVERIFY(shown(QStringLiteral("leftoverPath")).isEmpty());
        click(QStringLiteral("clearSelectionButton"));
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
        verifyStates(QStringLiteral("selectAllButton !clearSelectionButton !selectionActionButton"));
        click(rowNamed("uninstallRow", QStringLiteral("Bar")));
        QCOMPARE(selectedCount(), texts[1]);
        click(QStringLiteral("selectAllButton"));
        QCOMPARE(selectedCount(), texts[2]);
        QCOMPARE(selectedRows("uninstallRow"), 2);
        click(findItem(rowNamed("uninstallRow", QStringLiteral("Bar")), QStringLiteral("rowSelectBox")));
        QCOMPARE(selectedCount(), texts[1]);
        QVERIFY(rowNamed("uninstallRow", QStringLiteral("Foo"))->property("selected").toBool());
        click(QStringLiteral("clearSelectionButton"));
        QCOMPARE(selectedCount(), texts[0]);
    }

    void uninstallingAsksFirst_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("en") << AppLanguagePreference::english << false
                            << QStringList{
                                   "Uninstall These Apps?",
                                   "The selected apps will be uninstalled and related leftovers will be "
                                   "handled. This dialog is the final confirmation.",
                                   "Continue", "Cancel", "Start Uninstall"};
        QTest::newRow("zh")
            << AppLanguagePreference::chinese << true
            << QStringList{"卸载这些应用？",
                           "会按你选中的应用执行卸载，并继续处理相关残留。正式处理前的确认已经在这里完成。",
                           "继续", "取消", "开始卸载"};
    }
    void uninstallingAsksFirst()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(bool, confirm);
        QFETCH(QStringList, texts);
        useLanguage(language);
        showPage(AppFeature::uninstall);
        scan("uninstallPreviewButton");
        const QString foo = bundle("Foo");
        const QString leftover = homePath(QStringLiteral("Library/Caches/com.example.foo"));
        QVERIFY(SyntheticHome::exists(foo) && SyntheticHome::exists(leftover));

        QCOMPARE(textOf(QStringLiteral("selectionActionButton")), texts[4]);
        click(rowNamed("uninstallRow", QStringLiteral("Foo")));
        click(QStringLiteral("selectionActionButton"));
        QTRY_VERIFY(popupOpen(QStringLiteral("uninstallConfirmDialog")));
        QCOMPARE(dialogText("uninstallConfirmDialog", "alertTitle"), texts[0]);
        QCOMPARE(dialogText("uninstallConfirmDialog", "alertMessage"), texts[1]);
        QCOMPARE(dialogText("uninstallConfirmDialog", "selectionConfirmButton"), texts[2]);
        QCOMPARE(dialogText("uninstallConfirmDialog", "selectionCancelButton"), texts[3]);
        photograph(shotName("uninstall-confirm"));
        click(QLatin1String(confirm ? "selectionConfirmButton" : "selectionCancelButton"));
        QTRY_VERIFY(!popupOpen(QStringLiteral("uninstallConfirmDialog")));
        waitForTheRun();

        if (!confirm) {
            QVERIFY(SyntheticHome::exists(foo) && SyntheticHome::exists(leftover));
            QCOMPARE(uninstalls()["entryCount"].toInt(), 2);
            click(QStringLiteral("clearSelectionButton"));
            return;
        }
        QVERIFY2(!SyntheticHome::exists(foo), qPrintable(foo + " is still there"));
        QVERIFY2(!SyntheticHome::exists(leftover), qPrintable(leftover + " is still there"));
        QVERIFY(SyntheticHome::exists(bundle("Bar")));
        QVERIFY(SyntheticHome::exists(homePath(QStringLiteral("Library/Preferences/com.example.bar.plist"))));
        QCOMPARE(rowNames("uninstallRow"), QStringList{"Bar"});
        QCOMPARE(selectedCount(), QStringLiteral("已选 0 个"));
        QVERIFY(textOf(QStringLiteral("lastRunLine")).startsWith(QStringLiteral("上次卸载 ")));
    }

    void uninstallEmptyState_data()
    {
        languageRows("No app items to show|No apps were found to list.",
                     "当前没有可显示的应用项目|没有找到可列出的应用。");
    }
    void uninstallEmptyState()
    {
        const QStringList texts = rowTexts();
        showPage(AppFeature::uninstall);
        scan("uninstallPreviewButton");
        if (uninstalls()["entryCount"].toInt() > 0) {
            click(QStringLiteral("selectAllButton"));
            click(QStringLiteral("selectionActionButton"));
            QTRY_VERIFY(popupOpen(QStringLiteral("uninstallConfirmDialog")));
            click(QStringLiteral("selectionConfirmButton"));
            waitForTheRun();
            scan("uninstallPreviewButton");
        }
        QCOMPARE(uninstalls()["entryCount"].toInt(), 0);
        QVERIFY(!SyntheticHome::exists(bundle("Bar")));
        QVERIFY(item(QStringLiteral("resultsNotice"))->isVisible());
        QCOMPARE(textsOf(QStringLiteral("noticeTitle noticeDetail")), texts);
        QVERIFY(shown(QStringLiteral("uninstallRow")).isEmpty());
        verifyStates(QStringLiteral("!uninstallChooseButton"));
    }
};

KELVO_REGISTER_TEST(TestWindowSelection)
#include "tst_WindowSelection.moc"
