// The window's frame (pages, sidebar, settings, background) and Smart Clean as a person uses them: the
// real views over a real controller on a synthetic home, drawn offscreen and photographed.
#include "TestMain.h"

#include "ServedRelease.h"
#include "SyntheticHome.h"
#include "WindowTestSupport.h"

#include "clean/CleanWhitelistStore.h"
#include "status/LocalSystemStatus.h"
#include "vocabulary/AppAction.h"
#include "vocabulary/AppFeature.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>

namespace {

using enum AppLanguagePreference;

const QStringList protectedEntries{"~/Library/Caches/com.example.keep", "~/Library/Logs/Important",
                                   "*.sqlite"};

// Something in every kind of place Smart Clean measures, the last in a location too long for its row;
// a file in a protected folder; the cache of a running browser, and the browser's process name.
#ifdef Q_OS_MACOS
const QStringList cleanedFiles{
    "Library/Caches/com.example.app/data.bin",
    ".npm/_cacache/index-v5/entry",
    ".gradle/caches/modules-2/lib.jar",
    ".Trash/old.txt",
    "Library/Caches/Firefox/Profiles/cache2/entry",
    "Library/Application Support/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage/blob"};
const QString keptFile = "Library/Caches/com.example.app/keep/notes.txt",
              browserCache = "Library/Caches/Google/Chrome/Default/Cache/data_0",
              browserProcess = "Google Chrome", npmPlace = ".npm";
#else
const QStringList cleanedFiles{
    ".cache/thumbnails/normal/data.bin",
    ".npm/_cacache/index-v5/entry",
    ".gradle/caches/modules-2/lib.jar",
    ".local/share/Trash/files/old.txt",
    ".cache/mozilla/firefox/profile/cache2/entry",
    ".config/BraveSoftware/Brave-Browser/Default/Service Worker/CacheStorage/blob"};
const QString keptFile = ".cache/thumbnails/keep/notes.txt",
              browserCache = ".cache/google-chrome/Default/Cache/data_0", browserProcess = "chrome",
              npmPlace = ".npm/_cacache";
#endif
// Besides what every clean test has: a cache the user may want to keep.
#ifdef Q_OS_MACOS
const QString spareCache = "Library/Caches/pip/wheels/b.whl";
#else
const QString spareCache = ".cache/pip/wheels/b.whl";
#endif

} // namespace

class TestWindow : public WindowTestCase {
    Q_OBJECT

    QString sheet() const
    {
        return QString(m_model->clean()->showingProtectionSheet() ? "open" : "closed") +
               (popupOpen("protectionSheet") ? " shown" : " hidden");
    }

    QString longLocation() const { return homePath(QFileInfo(cleanedFiles.last()).path()); }

    void buildCleanHome()
    {
        qint64 size = 48 * 1024;
        for (const QString& file : cleanedFiles)
            SyntheticHome::file(homePath(file), size += 16 * 1024);
        SyntheticHome::file(homePath(keptFile), 6000);
        SyntheticHome::file(homePath(browserCache), 90 * 1024);
        const QString keptEntry = "~/" + QFileInfo(keptFile).path();
        CleanWhitelistStore::save({protectedEntries + QStringList{keptEntry}}, m_fixture->home);
    }

    // The rows of the results list are the stored report's entries, in its order and sections.
    void verifyRowsShowTheReport() const
    {
        QVERIFY(m_model->clean()->report().has_value());
        QStringList entries, sections;
        for (const CleanPreviewReport::Entry& entry : m_model->clean()->report()->entries) {
            entries << QStringList{entry.path, entry.note ? entry.note->text() : "",
                                   QString::number(int(entry.status))}
                           .join(" ¦ ");
            if (!sections.contains(entry.section.text()))
                sections << entry.section.text();
        }
        QStringList rows;
        for (QQuickItem* row : shown("cleanEntryRow"))
            rows << (textsIn(row, "entryPath entryNote") << row->property("status").toString()).join(" ¦ ");
        QCOMPARE(rows, entries);
        QCOMPARE(textsOf(shown("cleanSectionTitle")), sections);
    }

    QQuickItem* rowShowing(const QString& path) const { return shownWith("cleanEntryRow", "path", path); }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>(english);
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)); // in the sandbox
        CleanWhitelistStore::save({protectedEntries}, m_fixture->home);
        openWindow();
    }

    // Every page before anything ran, photographed; switching the language relabels the shown page.
    void everyPageIsShownInBothLanguages_data()
    {
        TestSupport::columns<QString, QString, QString>("feature", "shot", "title");
        // The feature, its screenshot, its page's title in English and in Chinese.
        const char* pages[][4] = {{"dashboard", "overview", "Overview", "概览"},
                                  {"clean", "clean-before", "Smart Clean", "智能清理"},
                                  {"uninstall", "uninstall", "Uninstall Apps", "卸载应用"},
                                  {"optimize", "optimize", "Optimize", "系统优化"},
                                  {"analyze", "analyze", "Storage Analysis", "空间分析"},
                                  {"purge", "purge", "Project Cleanup", "项目瘦身"},
                                  {"installer", "installer", "Installer Cleanup", "安装包整理"},
                                  {"maintenance", "settings", "Settings", "设置"}};
        for (const char* language : {"en", "zh", "en-dark", "zh-dark"})
            for (const auto& [feature, shot, en, zh] : pages)
                QTest::addRow("%s %s", language, feature)
                    << QString(feature) << QString(shot) << QString::fromUtf8(language[0] == 'e' ? en : zh);
    }
    void everyPageIsShownInBothLanguages()
    {
        const auto [feature, shot, title] =
            TestSupport::fetch<QString, QString, QString>("feature", "shot", "title");
        const QString scheme = QString(QTest::currentDataTag()).contains("-dark") ? "dark" : "light";
        m_model->appearance()->setColorScheme(scheme);
        const auto schemeBack = qScopeGuard([this] { m_model->appearance()->setColorScheme("system"); });
        showPage(feature);
        useRowLanguage();           // after the page is shown: it is relabelled at once
        if (feature == "dashboard") // the Overview samples this machine as soon as it is shown
            QTRY_VERIFY_WITH_TIMEOUT(
                m_model->status()->report() && !m_model->status()->processUsage().empty(), 20000);
        QCOMPARE(currentPage()->objectName(), "page_" + feature);
        QCOMPARE(textIn(currentPage(), "pageTitle"), title);
        for (AppFeature other : AppFeatures::allCases)
            QCOMPARE(item("sidebarItem_" + AppFeatures::rawValue(other))->property("selected").toBool(),
                     AppFeatures::rawValue(other) == feature);
        const QString family = m_window->property("font").value<QFont>().family();
        QVERIFY2(LocalizationSettings::shared().preference() == english ||
                     QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese),
                 qPrintable(family + " cannot draw Chinese"));
        photograph(shotName(shot));
        verifyEveryControlIsNamed();
        if (feature == "dashboard") {
            scrollIntoView(item("processList"), true);
            photograph(shotName("overview-processes"));
        }
        // Fixed texts fit; a process's command line may be as long as it likes and is shortened.
        const auto cut = [](QQuickItem* text) {
            return text->inherits("QQuickText") && text->property("truncated").toBool() &&
                   !text->objectName().startsWith("process");
        };
        const QStringList cutShort = textsOf(itemsUnder(m_window->contentItem(), cut, true));
        QVERIFY2(cutShort.isEmpty(), qPrintable("cut short: " + cutShort.join(" | ")));
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
        m_model->setSelectedFeatureValue(AppFeatureQml::Value(8)); // names no page
        QCOMPARE(m_model->selectedFeature(), dashboard);
    }

    void previewShowsTheReportAndCleansOnlyOnceConfirmed_data() { languageRows(); }
    void previewShowsTheReportAndCleansOnlyOnceConfirmed()
    {
        useRowLanguage();
        buildCleanHome();
        // A stand-in browser: a program under the browser's process name that waits on its input.
        const QString program = m_fixture->root.filePath(browserProcess);
        QVERIFY(QFile::exists(program) || QFile::copy("/bin/cat", program));
        QProcess browser;
        browser.start(program, {});
        QVERIFY(browser.waitForStarted());
        const auto stop = qScopeGuard([&] {
            browser.closeWriteChannel();
            browser.waitForFinished();
        });
        showPage("clean");
        click("cleanPreviewButton");
        waitForTheRun();
        QVERIFY(m_model->clean()->report().has_value());
        const QDateTime previewedAt = m_model->clean()->report()->generatedAt;
        verifyRowsShowTheReport();
        verifyStates("cleanStartButton -resultsNotice");
        // The page was seen before, so its About box is folded and the results start high: at the
        // default size, six rows of the list (a section's or a place's) are in sight without scrolling.
        QVERIFY(item("aboutBox")->property("folded").toBool());
        currentPage()->setProperty("contentY", 0);
        const auto inSight = [this](QQuickItem* row) {
            return (row->objectName() == "cleanEntryRow" || row->objectName() == "cleanSectionTitle") &&
                   row->mapToItem(currentPage(), {0, row->height()}).y() <= currentPage()->height();
        };
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        if (rowLanguage() == "en")
            photograph("en-clean-above-the-fold");
        QCOMPARE_GE(itemsUnder(currentPage(), inSight, true).size(), 6);

        // The running browser's cache is skipped, and its row looks different from a cleanable one.
        QQuickItem* skipped =
            shownWith("cleanEntryRow", "status", int(CleanPreviewReport::EntryStatus::skipped));
        QQuickItem* cleanable = rowShowing(homePath(npmPlace));
        QVERIFY(skipped && cleanable);
        for (const char* part : {"entryStatus", "entryPath"})
            QVERIFY(findItem(skipped, part)->property("color") !=
                    findItem(cleanable, part)->property("color"));
        scrollIntoView(item("resultsPanel"), true);
        photograph(shotName("clean-preview"));
        verifyALiveSwitch([this] { verifyRowsShowTheReport(); }, "zh-clean-switched");

        // Start parks the action behind a confirmation that shows it; Escape and Cancel delete nothing.
        for (const QString answer : {"Escape", "confirmCancelButton", "confirmContinueButton"}) {
            QVERIFY(opens("confirmDialog", item("cleanStartButton")));
            QVERIFY(m_model->pendingAction().has_value());
            QCOMPARE(textIn(object("confirmDialog"), "alertMessage"),
                     m_model->pendingAction()->detail + "\n\n" + m_model->pendingActionNote());
            for (const QString& file : cleanedFiles)
                QVERIFY2(SyntheticHome::exists(homePath(file)), qPrintable(file));
            if (answer == "Escape") {
                photograph(shotName("confirm"));
                photograph(shotName("clean-confirm"));
            }
            QVERIFY(closes("confirmDialog", answer));
            waitForTheRun();
            QVERIFY(!m_model->pendingAction().has_value());
        }
        QVERIFY(!SyntheticHome::exists(homePath(cleanedFiles.first())));
        // The list now shows what is left, measured after cleaning, and the status line says so.
        QVERIFY(m_model->clean()->report()->generatedAt > previewedAt);
        verifyRowsShowTheReport();
        QCOMPARE(textOf("statusTitle"), m_model->runs()->statusTitle());
    }

    // The arrows move between the check boxes and Space toggles one; a section's box shows a dash while
    // only some of its entries are chosen and chooses all, then none.
    void entriesAreChosenByKeyboardAndSection_data() { languageRows(); }
    void entriesAreChosenByKeyboardAndSection()
    {
        useRowLanguage();
        buildCleanHome();
        SyntheticHome::file(homePath(spareCache), 300 * 1024);
        showPage("clean");
        QVERIFY(run(model(), AppActionFactory::clean(true)));
        ChoiceListModel& clean = *m_model->clean()->entries();
        clean.chooseAll(true); // the row before left everything out, which a new preview keeps out
        const std::vector<CleanPreviewReport::Entry>& entries = m_model->clean()->report()->entries;
        const auto chrome = std::find_if(entries.begin(), entries.end(), [&](const auto& entry) {
            return homePath(browserCache).startsWith(entry.path + '/');
        });
        QVERIFY(chrome != entries.end() && std::next(chrome)->section == chrome->section);
        const QString chromePath = chrome->path, nextPath = std::next(chrome)->path;
        const auto boxOf = [&](const QString& path) {
            return findItem(rowShowing(path), "cleanEntrySelectBox");
        };
        QQuickItem* browsers = shown(
            "cleanSectionSelectBox")[textsOf(shown("cleanSectionTitle")).indexOf(chrome->section.text())];
        const int offered = int(shown("cleanEntrySelectBox").size());

        boxOf(chromePath)->forceActiveFocus(Qt::TabFocusReason);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Space, Qt::Key_Up})
            QTest::keyClick(m_window, key);
        QVERIFY(boxOf(chromePath)->hasActiveFocus() && !boxOf(nextPath)->property("selected").toBool());
        QCOMPARE(clean.chosenCount(), offered - 1);
        QVERIFY(browsers->property("partial").toBool() && !browsers->property("selected").toBool());
        click(browsers);
        QCOMPARE(clean.chosenCount(), offered);
        click(browsers);
        QVERIFY(!browsers->property("partial").toBool() && !clean.chosen().contains(chromePath));
        boxOf(chromePath)->forceActiveFocus(Qt::TabFocusReason);
        QTest::keyClick(m_window, Qt::Key_Space);
        click(shown("cleanSectionSelectBox").last()); // the Trash's
        QVERIFY(textOf("cleanChoiceLine").contains(SizeText::bytes(clean.chosenWillFree())));
        scrollIntoView(item("cleanChoiceLine"), true);
        photograph(shotName("clean-choice"));

        // With nothing chosen the start button is off and the page says why.
        const QString footnote = textOf("toolbarFootnote");
        clean.chooseAll(false);
        verifyStates("!cleanStartButton");
        QVERIFY(textOf("toolbarFootnote") != footnote);
    }

    void protectionListSheetEditsAndSavesTheList()
    {
        // Restoring the defaults only fills the editor; Cancel closes the sheet without saving.
        const QStringList saved = CleanWhitelistStore::load(m_fixture->home).patterns;
        showPage("clean");
        click("cleanProtectionButton");
        QCOMPARE(sheet(), "open shown");
        click("protectionRestoreButton");
        QCOMPARE(textOf("protectionTextArea"), CleanWhitelistStore::defaultPatterns().join('\n'));
        click("protectionCancelButton");
        QCOMPARE(sheet(), "closed hidden");
        QCOMPARE(CleanWhitelistStore::load(m_fixture->home).patterns, saved);

        showPage("maintenance");
        click("cleanProtectionEntry");
        QCOMPARE(sheet(), "open shown");
        QCOMPARE(textOf("protectionTextArea"), saved.join('\n'));
        // One row per entry: a chosen folder is written from the home, a typed rule is added with
        // Enter, a line that can never match is marked, and a row goes with its button or Delete.
        const auto rowsShown = [&] {
            return QQuickTest::qWaitForPolish(m_window) ? textsOf(shown("entryText"))
                                                        : QStringList{"<unpolished>"};
        };
        QCOMPARE(rowsShown(), saved);
        // (The folder chooser is the system's own dialog; what it chose goes to the sheet's addFolder.)
        QMetaObject::invokeMethod(object("protectionSheet"), "addFolder",
                                  Q_ARG(QVariant, QUrl::fromLocalFile(homePath("Projects/keep"))));
        QVERIFY(item("protectionRuleField")->hasActiveFocus());
        const auto type = [&](const QByteArray& text) {
            for (const char letter : text)
                QTest::keyClick(m_window, letter);
        };
        type("notes/todo");
        QTest::keyClick(m_window, Qt::Key_Return);
        QCOMPARE(rowsShown(), saved + QStringList({"~/Projects/keep", "notes/todo"}));
        const QList<QQuickItem*> rows = shown("protectionRow");
        QCOMPARE(shown("entryWarning").size(), 1);
        QVERIFY(!rows.last()->property("problem").toString().isEmpty());
        photograph("en-protection-sheet");
        useLanguage(chinese);
        photograph("zh-protection-sheet");
        useLanguage(english);
        findItem(rows.last(), "entryRemoveButton")->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Delete);
        click(findItem(rows.at(1), "entryRemoveButton"));
        QStringList kept = saved + QStringList{"~/Projects/keep"};
        kept.removeAt(1);
        QCOMPARE(rowsShown(), kept);

        // The text editor holds the same list; a line typed there is a row when switching back.
        click("protectionTextToggle");
        QQuickItem* editor = item("protectionTextArea");
        QVERIFY(editor->hasActiveFocus());
        QCOMPARE(editor->property("text").toString(), kept.join('\n'));
        editor->setProperty("cursorPosition", editor->property("length"));
        QTest::keyClick(m_window, Qt::Key_Return);
        type("~/Projects/more");
        click("protectionTextToggle");
        QCOMPARE(rowsShown(), kept + QStringList{"~/Projects/more"});
        click("protectionSaveButton");
        QCOMPARE(sheet(), "closed hidden");
        QCOMPARE(CleanWhitelistStore::load(m_fixture->home).patterns, kept + QStringList{"~/Projects/more"});
        QVERIFY(item("sidebar")->hasActiveFocus());
    }

    void chosenBackgroundImageIsDrawnBehindThePanels()
    {
        showPage("maintenance");
        QQuickItem* image = item("customBackgroundImage");
        QObject* chooser = currentPage()->findChild<QObject*>("backgroundImageChooser");
        QVERIFY(image && chooser && !chooser->property("visible").toBool());
        verifyStates("-customBackgroundImage -clearBackgroundButton");
        click("chooseBackgroundButton");
        QVERIFY(chooser->property("visible").toBool());
        QMetaObject::invokeMethod(chooser, "reject");

        // A file that cannot be read is reported in an alert until it is dismissed.
        m_model->appearance()->chooseWindowBackgroundImage(
            QUrl::fromLocalFile(m_fixture->root.filePath("missing.png")));
        QVERIFY(m_model->runs()->alertMessage().has_value() && popupOpen("messageDialog"));
        QCOMPARE(textIn(object("messageDialog"), "alertMessage"), *m_model->runs()->alertMessage());
        click("messageOkButton");
        QVERIFY(!m_model->runs()->alertMessage().has_value() && !popupOpen("messageDialog") &&
                !image->isVisible());

        // The file comes as a URL, with characters that URLs escape; choosing it again reloads it.
        QImage picture(640, 400, QImage::Format_RGB32);
        picture.fill(QColor("#2b5876"));
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
        click("clearBackgroundButton");
        QVERIFY(m_model->appearance()->customWindowBackgroundURL().isEmpty() && !image->isVisible());
    }

    void longPathsAreShortenedAndShownWholeInATooltip()
    {
        const QString longPath = longLocation();
        buildCleanHome();
        showPage("clean");
        QVERIFY(run(model(), AppActionFactory::clean(true)));
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
        QQuickItem* shortPath = findItem(rowShowing(homePath(npmPlace)), "entryPath");
        QTest::mouseMove(m_window, shortPath->mapToScene(QPointF(4, shortPath->height() / 2)).toPoint());
        QTRY_VERIFY(!tip->property("opened").toBool());
        QVERIFY(!shortPath->findChild<QObject*>("pathToolTip")->property("visible").toBool());
    }

    // Ctrl+R runs the shown page's preview; while one runs the page keeps its results and holds back its
    // buttons, and the sidebar marks it. Cancel keeps the results, which the keys then scroll.
    void keysRunAPreviewAndCancelKeepsTheResults()
    {
        buildCleanHome();
        showPage("maintenance");
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!m_model->runs()->isRunning());
        showPage("clean");
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(m_model->runs()->runningFeature(), std::optional(AppFeature::clean));
        waitForTheRun();
        m_model->clean()->entries()->chooseAll(true); // earlier tests left places out, which stay out
        const std::optional<CleanPreviewReport> previous = m_model->clean()->report();
        WorkersHeld held; // so that the next preview cannot start before it is cancelled
        press("cleanPreviewButton");
        QVERIFY(m_model->runs()->isRunning());
        verifyStates("runProgress statusBusyIndicator !cleanPreviewButton !cleanStartButton "
                     "!cleanProtectionButton runCancelButton");
        QCOMPARE(textOf("statusDetail"), m_model->runs()->statusDetail());
        verifyRowsShowTheReport();
        m_model->setSelectedFeature(AppFeature::dashboard);
        QQuickItem* marked = findItem(item("sidebarItem_clean"), "runningIndicator");
        QVERIFY(marked->isVisible() &&
                !findItem(item("sidebarItem_dashboard"), "runningIndicator")->isVisible());
        m_model->setSelectedFeature(AppFeature::clean);
        press("runCancelButton");
        held.release();
        waitForTheRun();
        QVERIFY(m_model->clean()->report() == previous);
        verifyRowsShowTheReport();
        QCOMPARE(textOf("statusTitle"), m_model->runs()->statusTitle());
        verifyStates("-runProgress -statusBusyIndicator cleanPreviewButton cleanStartButton");
        QVERIFY(!marked->isVisible());

        QQuickItem* page = currentPage(); // a click gives the results the keys
        click("resultsPanel");
        QTest::keyClick(m_window, Qt::Key_End);
        QCOMPARE(page->property("contentY").toReal(),
                 page->property("contentHeight").toReal() - page->height());
        QTest::keyClick(m_window, Qt::Key_Home);
        QCOMPARE(page->property("contentY").toReal(), 0.0);
        QCOMPARE(m_model->selectedFeature(), AppFeature::clean); // the keys moved the page, not the sidebar
        item("sidebar")->forceActiveFocus();
    }

    // The Overview of a Mac on battery behind an automatic proxy configuration, drawn from the outputs
    // its tools print.
    void aMacIsDrawnFromItsRecordedTools_data() { languageRows(); }
    void aMacIsDrawnFromItsRecordedTools()
    {
        useRowLanguage();
        StatusSampling replay;
        replay.sample = [home = m_fixture->home](const auto&) {
            return LocalSystemStatus::replaySnapshot(
                QStringLiteral(KELVO_TEST_DATA_DIR "/mac-replay-battery-pac"), home);
        };
        replay.listProcesses = [] { return LocalSystemStatus::Processes{}; };
        const auto mac = m_fixture->makeModel({}, replay);
        QQmlApplicationEngine engine;
        KelvoWindow::load(engine, *mac);
        auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        std::swap(m_window, window);
        const auto back = qScopeGuard([&] { std::swap(m_window, window); });
        QTRY_VERIFY(mac->status()->report().has_value());
        QCOMPARE(textIn(item("powerCard"), "cardFigure"), "64%");
        // Without the kernel's readings there is no score: a dash in the ring, and no aura to tint.
        QCOMPARE(textOf("healthScore"), "—");
        QVERIFY(mac->appearance()->showHealthAura() && !item("healthAura")->isVisible());
        QCOMPARE(shown("processRow").size(), 5);
        photograph(shotName("overview-mac"));
    }

    // The Updates section and the update sheet in each state, as the user goes from a check to a
    // relaunch: a download cancelled with Escape, one that fails its checksum, then Retry, and Enter
    // installs the release into a temporary installation and starts the stand-in relaunch.
    void anUpdateGoesFromTheSettingsToARelaunch_data() { languageRows(); }
    void anUpdateGoesFromTheSettingsToARelaunch()
    {
#ifdef Q_OS_MACOS
        QSKIP("the macOS package is a disk image");
#endif
        useRowLanguage();
        ServedRelease release;
        release.publish("9.0");
        const QString installation =
            ServedRelease::installation(m_fixture->root.filePath("installed"), "0.1");
        const QString marker = m_fixture->root.filePath("relaunched");
        bool quit = false;
        const auto restore = qScopeGuard([&, options = m_fixture->updateInstaller] {
            m_fixture->processEnvironment = {};
            m_fixture->updateInstaller = options;
        });
        m_fixture->processEnvironment = release.environment();
        m_fixture->updateInstaller.installation = installation;
        m_fixture->updateInstaller.relaunch = [&](const QString& program) {
            SyntheticHome::write(marker, program.toUtf8());
            return true;
        };
        m_fixture->updateInstaller.quit = [&] { quit = true; };
        std::unique_ptr<AppModel> updating = m_fixture->makeModel("0.1");
        std::swap(m_model, updating);
        QQmlApplicationEngine engine;
        KelvoWindow::load(engine, model());
        auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        std::swap(m_window, window);
        const auto back = qScopeGuard([&] {
            std::swap(m_window, window);
            std::swap(m_model, updating);
        });
        UpdateController* update = model().update();
        using Phase = UpdateController::InstallerPhase;
        showPage("maintenance"); // the start-up check has found the release
        QTRY_VERIFY(update->canInstallUpdate() && item("newVersionRow")->isVisible());
        verifyStates("-updateFeedHint -updateCheckBusy checkForUpdatesButton lastUpdateCheck");
        scrollIntoView(item("updatesSection"), true);
        photograph(shotName("settings-updates"));

        // A download that stops part of the way. The network reports progress at most every 100 ms, so
        // the share shown is whatever arrived by the last report, or a moving bar before the first.
        release.server.route(
            "/kelvo.tar.gz",
            LoopbackHttpServer::Response(200, QByteArray(32 << 20, 'x')).stallingAfter(24 << 20));
        QVERIFY(opens("updateSheet", item("downloadUpdateButton")));
        const bool measured = QTest::qWaitFor([&] { return update->downloadProgress() > 0; });
        QCOMPARE(textOf("updateProgressText"),
                 measured ? QString::number(qRound(update->downloadProgress() * 100)) + "%" : QString());
        verifyStates("updateCancelButton -updateInstallButton -updateRetryButton");
        photograph(shotName("update-downloading"));
        update->installUpdate(); // while it downloads: nothing more
        QVERIFY(closes("updateSheet", "Escape"));
        QCOMPARE(update->installerPhase(), Phase::Idle);

        release.publish("9.0", QString(64, 'a'));
        click("checkForUpdatesButton");
        QTRY_VERIFY(!update->isCheckingForUpdates());
        QVERIFY(opens("updateSheet", item("downloadUpdateButton")));
        QTRY_COMPARE(update->installerPhase(), Phase::Failed);
        QCOMPARE(textOf("updateSheetDetail"), update->installerMessage());
        verifyStates("updateRetryButton updateCloseButton -updateRevealButton -updateCancelButton");
        photograph(shotName("update-failed"));

        release.publish("9.0");
        const QFuture<void> recheck = update->checkForUpdates(false);
        QTRY_VERIFY(recheck.isFinished());
        click("updateRetryButton");
        QTRY_COMPARE(update->installerPhase(), Phase::ReadyToInstall);
        QVERIFY(textOf("updateSheetVersion").startsWith("Kelvo v9.0 · "));
        QCOMPARE(textOf("updateReleaseNotes"), "Faster scans.\nA new update sheet.");
        verifyStates("updateInstallButton updateLaterButton -updateCancelButton");
        photograph(shotName("update-ready"));
        // Later keeps the package: asking again only brings the sheet back.
        QVERIFY(closes("updateSheet", "updateLaterButton"));
        QVERIFY(opens("updateSheet", item("downloadUpdateButton")));
        QCOMPARE(update->installerPhase(), Phase::ReadyToInstall);
        QCOMPARE(release.server.requestCount("/kelvo.tar.gz"), 3); // stopped, failed, retried
        QTest::keyClick(m_window, Qt::Key_Return);
        QTRY_VERIFY(quit);
        QCOMPARE(SyntheticHome::contents(marker), (installation + "/bin/kelvo").toUtf8());
        QCOMPARE(ServedRelease::versionOf(installation), "Kelvo 9.0");
    }

    void settingsControlsChangeTheirSettings()
    {
        showPage("maintenance");
        QQuickItem* choice = item("languageChoice");
        for (const QString language : {"chinese", "english"}) {
            QVERIFY(choice->property("value").toString() != language);
            click("segment_" + language);
            QCOMPARE(LocalizationSettings::shared().preference(), language == "chinese" ? chinese : english);
        }
        QQuickItem* toggle = item("healthAuraSwitch");
        const bool before = m_model->appearance()->showHealthAura();
        QCOMPARE(toggle->property("checked").toBool(), before);
        click(toggle);
        QCOMPARE(m_model->appearance()->showHealthAura(), !before);
        m_model->appearance()->setShowHealthAura(before);
        QCOMPARE(toggle->property("checked").toBool(), before);

        // Dark and back to light: the theme and the window follow at once, and each choice is stored.
        const QString scheme = m_model->appearance()->colorScheme();
        QColor darkWindow;
        for (const QString picked : {"dark", "light"}) {
            click("scheme_" + picked);
            QCOMPARE(theme()->property("dark").toBool(), picked == "dark");
            QCOMPARE(DefaultsStore::open()->value("kelvo.appearance.colorScheme").toString(), picked);
            if (picked == "dark")
                darkWindow = m_window->color();
            else
                QVERIFY(m_window->color().lightnessF() > darkWindow.lightnessF() + 0.5);
        }
        click("scheme_" + scheme);
        QCOMPARE(m_model->appearance()->colorScheme(), scheme);
    }

    // The window draws its own title bar and buttons on macOS only; elsewhere the desktop draws them.
    void theTitleBarIsTheSystemsOutsideMacOS()
    {
#ifdef Q_OS_MACOS
        const bool ownTitleBar = true;
#else
        const bool ownTitleBar = false;
#endif
        QCOMPARE(m_window->flags().testFlag(Qt::FramelessWindowHint), ownTitleBar);
        for (const QString button : {"close", "minimize", "zoom"})
            QCOMPARE(item("windowButton_" + button) != nullptr, ownTitleBar);
    }
};

KELVO_REGISTER_TEST(TestWindow)
#include "tst_Window.moc"
