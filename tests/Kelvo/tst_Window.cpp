// The window as a person sees it: the real views over a real controller on a synthetic home, drawn
// offscreen in both languages and photographed. Any QML warning fails the test.
#include "TestMain.h"

#include "SyntheticHome.h"
#include "WindowTestSupport.h"

#include "clean/CleanWhitelistStore.h"
#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QKeySequence>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

namespace {

using enum AppLanguagePreference;

const QStringList protectedEntries{"~/Library/Caches/com.example.keep", "~/Library/Logs/Important",
                                   "*.sqlite"};

// Something in every kind of place Smart Clean measures; the browser's cache belongs to a running browser.
// The last cleaned file lies in a location too long for its row; the kept file's folder is protected.
struct CleanHomeLayout {
    QStringList cleanedFiles;
    QString keptFile, runningBrowserFile, runningBrowserProcess;
};

const CleanHomeLayout& cleanHome()
{
#ifdef Q_OS_MACOS
    static const CleanHomeLayout layout{
        {"Library/Caches/com.example.app/data.bin", ".npm/_cacache/index-v5/entry",
         ".gradle/caches/modules-2/lib.jar", ".Trash/old.txt", "Library/Caches/Firefox/Profiles/cache2/entry",
         "Library/Application Support/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage/blob"},
        "Library/Caches/com.example.app/keep/notes.txt",
        "Library/Caches/Google/Chrome/Default/Cache/data_0",
        "Google Chrome"};
#else
    static const CleanHomeLayout layout{
        {".cache/app/data.bin", ".npm/_cacache/index-v5/entry", ".gradle/caches/modules-2/lib.jar",
         ".local/share/Trash/files/old.txt", ".cache/mozilla/firefox/profile/cache2/entry",
         ".config/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage/blob"},
        ".cache/app/keep/notes.txt",
        ".cache/google-chrome/Default/Cache/data_0",
        "chrome"};
#endif
    return layout;
}

} // namespace

class TestWindow : public WindowTestCase {
    Q_OBJECT

    QString sheet() const
    {
        return QString(m_model->clean()->showingProtectionSheet() ? "open" : "closed") +
               (popupOpen("protectionSheet") ? " shown" : " hidden");
    }

    QString longLocation() const { return homePath(QFileInfo(cleanHome().cleanedFiles.last()).path()); }

    void buildCleanHome()
    {
        qint64 size = 48 * 1024;
        for (const QString& file : cleanHome().cleanedFiles)
            SyntheticHome::file(homePath(file), size += 16 * 1024);
        SyntheticHome::file(homePath(cleanHome().keptFile), 6000);
        SyntheticHome::file(homePath(cleanHome().runningBrowserFile), 90 * 1024);
        const QString keptEntry = "~/" + QFileInfo(cleanHome().keptFile).path();
        CleanWhitelistStore::save({protectedEntries + QStringList{keptEntry}}, m_fixture->home);
    }

    bool finished() const
    {
        return QTest::qWaitFor([&] { return !m_model->runs()->isRunning(); }, 60000);
    }
    bool previewClean()
    {
        m_model->setSelectedFeature(AppFeature::clean);
        m_model->request(AppActionFactory::clean(true));
        return finished() && m_model->clean()->report().has_value();
    }

    // The rows of the results list are the stored report's entries, in its order and sections.
    void verifyRowsShowTheReport() const
    {
        QVERIFY(m_model->clean()->report().has_value());
        const CleanPreviewReport& report = *m_model->clean()->report();
        const QList<QQuickItem*> rows = shown("cleanEntryRow");
        QCOMPARE(rows.size(), qsizetype(report.entries.size()));
        QStringList sections;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const CleanPreviewReport::Entry& entry = report.entries[size_t(i)];
            QCOMPARE(textsIn(rows[i], "entryPath entryNote"),
                     (QStringList{entry.path, entry.note.value_or("")}));
            QCOMPARE(rows[i]->property("status").toString(), CleanPreviewReport::rawValue(entry.status));
            if (!sections.contains(entry.section))
                sections << entry.section;
        }
        QCOMPARE(textsOf(shown("cleanSectionTitle")), sections);
    }

    QQuickItem* rowShowing(const QString& pathPart) const
    {
        for (QQuickItem* row : shown("cleanEntryRow"))
            if (row->property("path").toString().contains(pathPart))
                return row;
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>(english);
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)); // in the sandbox
        CleanWhitelistStore::save({protectedEntries}, m_fixture->home);
        openWindow();
    }

    void windowOpensWithItsSidebarAndStatus()
    {
        QCOMPARE(m_window->minimumSize(), QSize(980, 720));
        QCOMPARE(m_window->size(), QSize(1180, 780));
        QVERIFY(m_window->flags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(m_window->title(), "Kelvo");
        verifyStates("windowButton_close windowButton_minimize windowButton_zoom");
        QCOMPARE(object("sidebarItems")->property("count").toInt(), 8);
        // The ready line replaced the controller's first status line and the version is known.
        QVERIFY(m_model->runs()->statusTitle() != "准备就绪" &&
                m_model->appearance()->versionText() != "未检查");
        QCOMPARE(textsOf("brandName statusTitle statusDetail"),
                 (QStringList{"Kelvo", m_model->runs()->statusTitle(), m_model->runs()->statusDetail()}));
    }

    void everyPageShowsItsHeaderInBothLanguages_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("feature");
        QTest::addColumn<QStringList>("texts"); // sidebar label, page title, about title and caption
        QTest::addColumn<QString>("shot");
        const char* pages[][4] = {
            // feature, screenshot, English texts, Chinese texts
            {"dashboard", "overview", "Overview|Overview||", "概览|概览||"},
            {"clean", "clean", "Smart Clean|Clean|About This Cleanup|Checks 6 categories of leftovers",
             "智能清理|清理|关于本次清理|检查以下 6 类残留"},
            {"uninstall", "uninstall",
             "Uninstall Apps|Uninstall|About This Scan|Checks apps and leftovers in these locations",
             "卸载应用|卸载|关于本次扫描|检查以下位置的应用及残留"},
            {"optimize", "optimize", "Optimize|Optimize|About Optimization|", "系统优化|优化|关于优化|"},
            {"analyze", "analyze", "Storage Analysis|Storage Analysis|About This Analysis|",
             "空间分析|空间分析|关于本次分析|"},
            {"purge", "purge", "Project Cleanup|Project Cleanup|About This Scan|52 directory types",
             "项目瘦身|项目瘦身|关于本次扫描|52 种目录类型"},
            {"installer", "installer", "Installer Cleanup|Installer Cleanup|About This Scan|File types",
             "安装包整理|安装包整理|关于本次扫描|文件类型"},
            {"maintenance", "settings", "Settings|Settings||", "设置|设置||"}};
        for (const auto& [tag, language] : languages)
            for (const auto& [feature, shot, en, zh] : pages)
                QTest::addRow("%s %s", tag, feature)
                    << language << QString(feature) << splitTexts(language == english ? en : zh)
                    << tag + QString('-') + shot;
    }
    void everyPageShowsItsHeaderInBothLanguages()
    {
        QFETCH(QString, feature);
        QFETCH(QString, shot);
        m_model->setSelectedFeatureRawValue(feature);
        const QStringList texts = rowTexts(); // the page already shown is relabelled at once
        QQuickItem* page = currentPage();
        QCOMPARE(page->objectName(), "page_" + feature);
        QCOMPARE(textsOf("sidebarItem_" + feature)
                     << pageText("pageTitle") << pageText("aboutTitle") << pageText("aboutCaption"),
                 texts);
        QCOMPARE(textOf("brandSubtitle"),
                 shot.startsWith("zh") ? "Mac 清理与优化" : "Mac Cleanup & Optimization");
        for (AppFeature other : AppFeatures::allCases)
            QCOMPARE(item("sidebarItem_" + AppFeatures::rawValue(other))->property("selected").toBool(),
                     AppFeatures::rawValue(other) == feature);
        const QString family = m_window->property("font").value<QFont>().family();
        QVERIFY2(shot.startsWith("en") ||
                     QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese),
                 qPrintable(family + " cannot draw Chinese"));
        // A page taller than the window is photographed again scrolled to its end.
        const qreal overflow = page->property("contentHeight").toReal() - page->height();
        QStringList names{shot};
        if (overflow > 0)
            names << shot + "-end";
        for (const QString& name : names) {
            page->setProperty("contentY", name == shot ? 0 : overflow);
            photograph(name);
            QCOMPARE(truncatedTexts(), QStringList());
        }
        page->setProperty("contentY", 0);
    }

    void sidebarFollowsClicksArrowsAndShortcuts()
    {
        m_model->setSelectedFeature(AppFeature::dashboard);
        click("sidebarItem_optimize");
        QCOMPARE(currentPage()->objectName(), "page_optimize");
        QVERIFY(item("sidebar")->hasActiveFocus());
        using enum AppFeature;
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, AppFeature> steps[] = {
            {Qt::Key_Down, {}, analyze},     {Qt::Key_Up, {}, optimize},
            {Qt::Key_Up, {}, uninstall},     {Qt::Key_8, Qt::ControlModifier, maintenance},
            {Qt::Key_Down, {}, maintenance}, {Qt::Key_1, Qt::ControlModifier, dashboard},
            {Qt::Key_Up, {}, dashboard}}; // the ends do not wrap around
        for (const auto& [key, modifiers, expected] : steps) {
            QTest::keyClick(m_window, key, modifiers);
            QCOMPARE(m_model->selectedFeature(), expected);
        }
    }

    void cleanPageInvitesAFirstPreview_data()
    {
        languageRows(
            "Preview|Start with a preview|Not cleaned yet|Preview does not delete anything.|Preview Results",
            "预览|先运行一次预览|还没清理过|预览不会删除任何内容。|预览结果");
    }
    void cleanPageInvitesAFirstPreview()
    {
        QVERIFY2(!m_model->clean()->report().has_value(), "a preview ran before this test");
        const QStringList texts = rowTexts();
        m_model->setSelectedFeature(AppFeature::clean);
        QCOMPARE(textsOf("cleanPreviewButton noticeTitle lastRunLine toolbarFootnote resultsTitle"), texts);
        QVERIFY(textOf("noticeDetail").contains(QKeySequence("Ctrl+R").toString(QKeySequence::NativeText)));
        verifyStates("cleanPreviewButton !cleanStartButton cleanProtectionButton resultsNotice "
                     "-resultsSummaryLine -runProgress");
        QVERIFY(shown("cleanEntryRow").isEmpty());
        photograph(shotName("clean-before"));
        QCOMPARE(truncatedTexts(), QStringList());
    }

    void previewOfAnEmptyHomeShowsTheEmptyState_data()
    {
        languageRows(
            "No clear cleanup targets found|This scan did not find anything that needs attention.|Re-preview",
            "没有发现明显可清理项目|本次检查没有需要重点处理的内容。|重新预览");
    }
    void previewOfAnEmptyHomeShowsTheEmptyState()
    {
        QVERIFY(QDir(m_fixture->home).removeRecursively() && QDir().mkpath(m_fixture->home));
        const QStringList texts = rowTexts();
        m_model->setSelectedFeature(AppFeature::clean);
        click("cleanPreviewButton");
        QVERIFY(finished() && m_model->clean()->report() && m_model->clean()->report()->entries.empty());
        QCOMPARE(textsOf("noticeTitle noticeDetail cleanPreviewButton"), texts);
        verifyStates("resultsNotice -resultsSummaryLine -resultsSummaryDetail !cleanStartButton");
        QVERIFY(shown("cleanEntryRow").isEmpty());
    }

    void previewListsTheHomeThenCleansItOnConfirmation_data()
    {
        languageRows(
            "Re-preview| items. You will still confirm before real cleanup.|Potential space: |"
            "Google Chrome is running, cache cleanup skipped|Cleanable|Skipped|Confirm Action|"
            "Cleanup Complete|Last cleaned | items|Cancel|Continue|"
            "User essentials|Browsers|Developer tools|Trash",
            "重新预览| 项，正式清理前仍会让你确认。|预计可清理：|Google Chrome 正在运行，缓存清理已跳过|"
            "可清理|已跳过|确认操作|清理完成|上次清理 | 项|取消|继续|用户基础项目|浏览器|开发工具|废纸篓");
    }
    void previewListsTheHomeThenCleansItOnConfirmation()
    {
        buildCleanHome();
        // A stand-in browser: a program under the browser's process name that waits on its input.
        const QString program = m_fixture->root.filePath(cleanHome().runningBrowserProcess);
        QVERIFY(QFile::exists(program) || QFile::copy("/bin/cat", program));
        QProcess browser;
        browser.start(program, {});
        QVERIFY(browser.waitForStarted());
        const QStringList texts = rowTexts();
        QVERIFY(previewClean());
        const CleanPreviewReport previewed = *m_model->clean()->report();
        verifyRowsShowTheReport();
        QCOMPARE(textsOf(shown("cleanSectionTitle")), texts.mid(12));
        for (const QString& location : {homePath(".npm"), homePath(".gradle/caches"), longLocation()})
            QVERIFY2(rowShowing(location), qPrintable(location));
        const QString count = QString::number(previewed.entries.size());
        QCOMPARE(textsOf("cleanPreviewButton resultsSummaryLine resultsSummaryDetail"),
                 (QStringList{texts[0], count + texts[1], previewed.summary.value_or("")}));
        QVERIFY(textOf("resultsSummaryDetail").startsWith(texts[2]));
        verifyStates("cleanStartButton -resultsNotice");

        // The running browser's cache is listed as skipped and looks different from a cleanable row.
        QQuickItem* skipped = rowShowing(texts[3]);
        QQuickItem* cleanable = rowShowing(homePath(".npm"));
        QVERIFY(skipped && cleanable);
        QCOMPARE(textIn(skipped, "entryStatus") + '/' + textIn(cleanable, "entryStatus"),
                 texts[5] + '/' + texts[4]);
        for (const char* part : {"entryStatus", "entryPath"})
            QVERIFY(findItem(skipped, part)->property("color") !=
                    findItem(cleanable, part)->property("color"));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("clean-preview"));
        for (const QString& clipped : truncatedTexts()) // only paths may be shortened
            QVERIFY2(rowShowing(clipped) && rowShowing(clipped)->property("path") == clipped,
                     qPrintable(clipped));

        // Start parks the action behind a confirmation; Cancel and Escape drop it and delete nothing.
        const double startedAt = double(QDateTime::currentSecsSinceEpoch());
        for (const QString answer : {"confirmCancelButton", "Escape", "confirmContinueButton"}) {
            click("cleanStartButton");
            QVERIFY(m_model->pendingAction().has_value() && popupOpen("confirmDialog"));
            QCOMPARE(textsIn(object("confirmDialog"), "alertTitle alertMessage") +
                         textsOf("confirmCancelButton confirmContinueButton"),
                     (QStringList{texts[6], m_model->pendingAction()->detail} + texts.mid(10, 2)));
            for (const QString& file : cleanHome().cleanedFiles)
                QVERIFY2(SyntheticHome::exists(homePath(file)),
                         qPrintable(file + " went before the confirmation"));
            if (answer == "Escape") {
                QTest::keyClick(m_window, Qt::Key_Escape);
            } else {
                photograph(shotName(answer == "confirmCancelButton" ? "confirm" : "clean-confirm"));
                click(answer);
            }
            QVERIFY(finished() && !m_model->pendingAction().has_value() && !popupOpen("confirmDialog"));
        }
        for (const QString& file : cleanHome().cleanedFiles)
            QVERIFY2(!SyntheticHome::exists(homePath(file)), qPrintable(file + " is still there"));
        QVERIFY(SyntheticHome::exists(homePath(cleanHome().keptFile)));
        QVERIFY(m_model->statistics()->count("lastCleanCount") > 0 &&
                m_model->statistics()->date("lastCleanDate") >= startedAt);
        const QDateTime when =
            QDateTime::fromMSecsSinceEpoch(qint64(m_model->statistics()->date("lastCleanDate") * 1000));
        const QString cleaned = QString::number(m_model->statistics()->count("lastCleanCount"));
        QCOMPARE(textsOf("statusTitle lastRunLine"),
                 (QStringList{texts[7],
                              texts[8] + when.toString("yyyy-MM-dd HH:mm") + " · " + cleaned + texts[9]}));
        // The list now shows what is left, measured after cleaning.
        QVERIFY(m_model->clean()->report()->generatedAt > previewed.generatedAt);
        QVERIFY(m_model->clean()->report()->summary != previewed.summary);
        verifyRowsShowTheReport();
        QCOMPARE(textOf("resultsSummaryDetail"), m_model->clean()->report()->summary.value_or(""));
        browser.closeWriteChannel();
        QVERIFY(browser.waitForFinished());
    }

    void protectionListSheetLoadsRestoresAndSavesTheList_data()
    {
        languageRows("Protection List", "保护名单");
    }
    void protectionListSheetLoadsRestoresAndSavesTheList()
    {
        const QStringList texts = rowTexts();
        CleanWhitelistStore::save({protectedEntries}, m_fixture->home);
        // Restoring the defaults only fills the editor; Cancel and Escape close the sheet without saving.
        m_model->setSelectedFeature(AppFeature::clean);
        click("cleanProtectionButton");
        QCOMPARE(sheet(), "open shown");
        click("protectionRestoreButton");
        QCOMPARE(textOf("protectionTextArea"), CleanWhitelistStore::defaultPatterns().join('\n'));
        click("protectionCancelButton");
        QCOMPARE(sheet(), "closed hidden");
        m_model->request(AppActionFactory::cleanWhitelist());
        QCOMPARE(sheet(), "open shown");
        QTest::keyClick(m_window, Qt::Key_Escape);
        QCOMPARE(sheet(), "closed hidden");
        QCOMPARE(CleanWhitelistStore::load(m_fixture->home).patterns, protectedEntries);

        m_model->setSelectedFeature(AppFeature::maintenance);
        click("cleanProtectionEntry");
        QCOMPARE(sheet(), "open shown");
        QCOMPARE(textsOf("protectionSheetTitle protectionTextArea"),
                 (QStringList{texts[0], protectedEntries.join('\n')}));
        photograph(shotName("protection-sheet"));
        // Typing goes to the controller's text; Save writes it and closes the sheet.
        QQuickItem* editor = item("protectionTextArea");
        QVERIFY(editor->hasActiveFocus());
        editor->setProperty("cursorPosition", editor->property("length"));
        QTest::keyClick(m_window, Qt::Key_Return);
        for (const char letter : QByteArray("~/Projects/keep"))
            QTest::keyClick(m_window, letter);
        QVERIFY(m_model->clean()->whitelistText().endsWith("\n~/Projects/keep"));
        click("protectionSaveButton");
        QCOMPARE(sheet(), "closed hidden");
        QCOMPARE(CleanWhitelistStore::load(m_fixture->home).patterns,
                 protectedEntries + QStringList{"~/Projects/keep"});
        QVERIFY(item("sidebar")->hasActiveFocus());
    }

    void chosenBackgroundImageIsDrawnBehindThePanels()
    {
        m_model->setSelectedFeature(AppFeature::maintenance);
        QQuickItem* image = item("customBackgroundImage");
        QObject* chooser = currentPage()->findChild<QObject*>("backgroundImageChooser");
        QVERIFY(image && chooser && !chooser->property("visible").toBool());
        verifyStates("-customBackgroundImage -clearBackgroundButton");
        click("chooseBackgroundButton");
        QVERIFY(chooser->property("visible").toBool());
        QCOMPARE(chooser->property("title").toString() + '/' + chooser->property("acceptLabel").toString(),
                 "Choose an image for the Kelvo window background./Choose");
        QCOMPARE(chooser->property("currentFolder").toUrl(),
                 QUrl::fromLocalFile(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)));
        const QString filter = chooser->property("nameFilters").toStringList().join(";;");
        for (const char* extension : {"png", "jpg", "jpeg", "heic", "webp", "tiff", "bmp", "gif"})
            QVERIFY2(filter.contains(QString("*.") + extension), extension);
        QMetaObject::invokeMethod(chooser, "reject");
        QVERIFY(!chooser->property("visible").toBool() &&
                m_model->appearance()->customWindowBackgroundURL().isEmpty());

        // A file that cannot be read is reported in an alert until it is dismissed.
        m_model->appearance()->chooseWindowBackgroundImage(
            QUrl::fromLocalFile(m_fixture->root.filePath("missing.png")));
        QVERIFY(m_model->runs()->alertMessage().has_value() && popupOpen("messageDialog"));
        QCOMPARE(textsIn(object("messageDialog"), "alertTitle alertMessage"),
                 (QStringList{"Kelvo", *m_model->runs()->alertMessage()}));
        click("messageOkButton");
        QVERIFY(!m_model->runs()->alertMessage().has_value() && !popupOpen("messageDialog") &&
                !image->isVisible());

        // The chosen file comes as a URL, here with characters that URLs escape. Choosing it again
        // reloads it although the folder and extension stay the same.
        QImage picture(640, 400, QImage::Format_RGB32);
        QLinearGradient gradient(0, 0, 640, 400);
        gradient.setStops({{0, QColor("#2b5876")}, {1, QColor("#4e4376")}});
        QPainter(&picture).fillRect(picture.rect(), gradient);
        const QString source = m_fixture->root.filePath("Sky #2 über.png");
        QVERIFY(picture.save(source));
        for (int choice = 0; choice < 2; ++choice) {
            chooser->setProperty("selectedFile", QUrl::fromLocalFile(source));
            QMetaObject::invokeMethod(chooser, "accepted");
            QVERIFY(!m_model->runs()->alertMessage().has_value() && image->isVisible());
            const QString shownSource = image->property("source").toUrl().toString();
            QVERIFY2(shownSource.startsWith(m_model->appearance()->customWindowBackgroundURL().toString()) &&
                         shownSource.endsWith(
                             QString("revision=%1").arg(m_model->appearance()->windowBackgroundRevision())),
                     qPrintable(shownSource));
            QCOMPARE(image->property("status").toInt(), 1); // Image.Ready: the file behind the URL loaded
        }
        currentPage()->setProperty("contentY", 0);
        photograph("en-settings-background");
        click("clearBackgroundButton");
        QVERIFY(m_model->appearance()->customWindowBackgroundURL().isEmpty() && !image->isVisible());
    }

    void longPathsAreShortenedAndShownWholeInATooltip()
    {
        const QString longPath = longLocation();
        buildCleanHome();
        QVERIFY(previewClean());
        const QSize size = m_window->size();
        const auto restore = qScopeGuard([&] { m_window->resize(size); });
        m_window->resize(m_window->minimumSize());
        QVERIFY(rowShowing(longPath));
        QQuickItem* path = findItem(rowShowing(longPath), "entryPath");
        QTRY_VERIFY(path->property("truncated").toBool()); // once the narrower page is laid out
        QCOMPARE(path->property("text").toString(), longPath);
        scrollIntoView(path);
        QObject* tip = path->findChild<QObject*>("pathToolTip");
        QVERIFY(tip && !tip->property("opened").toBool());
        QTest::mouseMove(m_window, path->mapToScene(path->boundingRect().center()).toPoint());
        QTRY_VERIFY(tip->property("opened").toBool());
        QCOMPARE(tip->property("text").toString(), longPath);
        // A path that fits gets no tooltip.
        QQuickItem* shortPath = findItem(rowShowing(homePath(".npm")), "entryPath");
        QVERIFY(!shortPath->property("truncated").toBool());
        QTest::mouseMove(m_window, shortPath->mapToScene(QPointF(4, shortPath->height() / 2)).toPoint());
        QTRY_VERIFY(!tip->property("opened").toBool());
        QVERIFY(!shortPath->findChild<QObject*>("pathToolTip")->property("visible").toBool());
    }

    void keysRunThePreviewAndScrollTheResults()
    {
        buildCleanHome();
        m_model->setSelectedFeature(AppFeature::dashboard);
        // The page left behind is deleted once the event loop runs, as between a click and a key press.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!m_model->runs()->isRunning());
        m_model->setSelectedFeature(AppFeature::clean);
        const QDateTime before =
            m_model->clean()->report() ? m_model->clean()->report()->generatedAt : QDateTime();
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(m_model->runs()->runningFeature(), std::optional(AppFeature::clean));
        QVERIFY(finished() && m_model->clean()->report().has_value());
        QVERIFY(!before.isValid() || m_model->clean()->report()->generatedAt > before);

        QQuickItem* page = currentPage();
        const qreal end = page->property("contentHeight").toReal() - page->height();
        QVERIFY2(end > page->height() / 2, "the page is too short to scroll");
        click("resultsPanel");
        QVERIFY(item("resultsPanel")->hasActiveFocus());
        page->setProperty("contentY", 0);
        QTest::keyClick(m_window, Qt::Key_Down);
        const qreal step = page->property("contentY").toReal();
        QVERIFY(step > 0);
        // Each key and the lowest and highest place it may leave the page at.
        const Qt::Key keys[] = {Qt::Key_Down,   Qt::Key_Up,   Qt::Key_End,     Qt::Key_Down,
                                Qt::Key_PageUp, Qt::Key_Home, Qt::Key_PageDown};
        const qreal lowest[] = {2 * step, step, end, end, 0, 0, step + 1};
        const qreal highest[] = {2 * step, step, end, end, end - step - 1, 0, end};
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(m_window, keys[i]);
            const qreal y = page->property("contentY").toReal();
            QVERIFY2(y > lowest[i] - 0.5 && y < highest[i] + 0.5,
                     qPrintable(QString("key %1 to %2").arg(i).arg(y)));
        }
        QCOMPARE(m_model->selectedFeature(), AppFeature::clean); // the keys moved the page, not the sidebar
        item("sidebar")->forceActiveFocus();
    }

    void cancellingAPreviewKeepsTheLastResults()
    {
        buildCleanHome();
        QVERIFY(previewClean());
        const CleanPreviewReport previous = *m_model->clean()->report();
        WorkersHeld held; // so that the new preview cannot start before it is cancelled
        press("cleanPreviewButton");
        QVERIFY(m_model->runs()->isRunning());
        QCOMPARE(textsOf("runProgressTitle runCancelButton statusDetail"),
                 (QStringList{"Working, please wait.", "Cancel", "Working, please wait."}));
        verifyStates(
            "runProgress !cleanPreviewButton !cleanStartButton !cleanProtectionButton runCancelButton");
        verifyRowsShowTheReport(); // the last results stay on screen meanwhile
        // The sidebar marks the running feature, not the chosen one.
        m_model->setSelectedFeature(AppFeature::dashboard);
        QQuickItem* marked = findItem(item("sidebarItem_clean"), "runningIndicator");
        QVERIFY(marked && marked->isVisible() &&
                !findItem(item("sidebarItem_dashboard"), "runningIndicator")->isVisible());
        verifyStates("statusBusyIndicator");
        m_model->setSelectedFeature(AppFeature::clean);
        press("runCancelButton");
        held.release();
        QVERIFY(finished());
        QCOMPARE(m_model->runs()->statusTitle(), "Preview Cancelled");
        QVERIFY(m_model->clean()->report() == previous);
        verifyRowsShowTheReport();
        verifyStates("-runProgress cleanPreviewButton cleanStartButton -statusBusyIndicator");
        QVERIFY(!marked->isVisible());
    }

    void settingsControlsChangeTheirSettings()
    {
        m_model->setSelectedFeature(AppFeature::maintenance);
        QQuickItem* choice = item("languageChoice");
        for (const auto& [language, label] : {std::pair(chinese, "概览"), std::pair(english, "Overview")}) {
            QCOMPARE(choice->property("value").toString(), language == chinese ? "english" : "chinese");
            click(language == chinese ? "segment_chinese" : "segment_english");
            QCOMPARE(LocalizationSettings::shared().preference(), language);
            QCOMPARE(textOf("sidebarItem_dashboard"), QString::fromUtf8(label));
        }
        QQuickItem* toggle = item("healthAuraSwitch");
        const bool before = m_model->appearance()->showHealthAura();
        QCOMPARE(toggle->property("checked").toBool(), before);
        click(toggle);
        QCOMPARE(m_model->appearance()->showHealthAura(), !before);
        m_model->appearance()->setShowHealthAura(before);
        QCOMPARE(toggle->property("checked").toBool(), before);
        // Permission buttons show only where System Settings exist.
        for (const char* button : {"fullDiskAccessButton", "appDataAccessButton"})
            QCOMPARE(item(button)->isVisible(), m_model->appearance()->canOpenSystemSettings());
    }
};

KELVO_REGISTER_TEST(TestWindow)
#include "tst_Window.moc"
