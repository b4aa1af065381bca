#pragma once

// Drives the Kelvo window as a person would, over a real controller on a synthetic home: finds items
// through the scene, reads their texts, clicks them and photographs the window. Any warning, QML's
// included, fails the test that printed it.

#include "AppModelFixture.h"
#include "SyntheticHome.h"
#include "views/KelvoWindow.h"

#include "vocabulary/SizeText.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QtQuickTest/quicktest.h>
#include <optional>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

class WindowTestCase : public QObject {
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(".*")); }
    void cleanup() { useLanguage(AppLanguagePreference::english); }

protected:
    // Gone in the reverse order: the window first, the home last.
    std::unique_ptr<AppModelFixture> m_fixture;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow* m_window = nullptr;
    QObject* m_theme = nullptr;

    AppModel& model() { return *m_model; }
    QString homePath(const QString& relative) const { return QDir(m_fixture->home).filePath(relative); }

    // Shows the feature's page; the page left behind is deleted at once, as the event loop would
    // between a person's clicks, so that only the shown page's items are found.
    void showPage(const QString& feature)
    {
        model().setSelectedFeature(*AppFeatures::fromRawValue(feature));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void waitForTheRun()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!model().runs()->isRunning(), 60000);
        // What the report's arrival queued is done before a test looks for items: the treemap lays
        // its tiles out again a turn later, and new rows are placed at the next polish.
        QCoreApplication::processEvents();
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
    }

    void openWindow()
    {
        QTest::failOnWarning(QRegularExpression(".*"));
        QAccessible::setActive(true); // as with a screen reader on, so the controls say what they are
        m_model = m_fixture->makeModel();
        m_engine = std::make_unique<QQmlApplicationEngine>();
        KelvoWindow::load(*m_engine, *m_model);
        QVERIFY(!m_engine->rootObjects().isEmpty());
        m_window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().constFirst());
        QVERIFY(m_window && QTest::qWaitForWindowExposed(m_window));
        m_window->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    static void useLanguage(AppLanguagePreference language)
    {
        LocalizationSettings::shared().setPreference(language);
    }

    // The README shows its screenshots in both languages, and a run made in Chinese from its start is
    // checked as well as one switched to it, so the tests taking them run once per language: the tags
    // of their rows start with "en" or "zh", the language the row runs in and the start of its
    // screenshots' names.
    static void languageRows()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << QString("en");
        QTest::newRow("zh") << QString("zh");
    }
    static QString rowLanguage() { return QString(QTest::currentDataTag()).left(2); }
    void useRowLanguage()
    {
        useLanguage(rowLanguage() == "zh" ? AppLanguagePreference::chinese : AppLanguagePreference::english);
    }
    static QString shotName(const QString& what) { return rowLanguage() + '-' + what; }

    // With results on screen, a switch to Chinese draws them again at once, without a new scan:
    // `verifyRows` checks what is shown against the models in the new language, the status line is
    // said again, and the page is photographed as the switch left it. In the English row only.
    void verifyALiveSwitch(const std::function<void()>& verifyRows, const QString& shot)
    {
        if (rowLanguage() != "en")
            return;
        const QString title = textOf("statusTitle");
        useLanguage(AppLanguagePreference::chinese);
        verifyRows();
        QVERIFY2(textOf("statusTitle") != title, qPrintable(title));
        photograph(shot);
        useLanguage(AppLanguagePreference::english);
    }

    // Items made by repeaters and loaders are found through the scene, in the order they are drawn.
    static QList<QQuickItem*> itemsUnder(QQuickItem* root, const std::function<bool(QQuickItem*)>& wanted,
                                         bool shownOnly)
    {
        QList<QQuickItem*> found;
        if (shownOnly && !root->isVisible())
            return found;
        if (wanted(root))
            found << root;
        for (QQuickItem* child : root->childItems())
            found += itemsUnder(child, wanted, shownOnly);
        return found;
    }
    static auto named(const QString& name)
    {
        return [name](QQuickItem* item) { return item->objectName() == name; };
    }
    static QQuickItem* findItem(QQuickItem* root, const QString& name)
    {
        return itemsUnder(root, named(name), false).value(0);
    }
    QQuickItem* item(const QString& name) const { return findItem(m_window->contentItem(), name); }
    QList<QQuickItem*> shown(const QString& name) const
    {
        return itemsUnder(m_window->contentItem(), named(name), true);
    }
    QObject* object(const QString& name) const { return m_window->findChild<QObject*>(name); }
    bool popupOpen(const QString& name) const
    {
        return object(name) && object(name)->property("opened").toBool();
    }
    QQuickItem* currentPage() const { return item("pageLoader")->property("item").value<QQuickItem*>(); }
    // The window's Theme singleton, as the views see it.
    QObject* theme()
    {
        if (!m_theme) {
            QQmlComponent component(m_engine.get());
            component.setData("import QtQml\nimport Kelvo 1.0\nQtObject { property QtObject theme: Theme }",
                              {});
            QObject* holder = component.create();
            if (!holder)
                qFatal("%s", qPrintable(component.errorString()));
            holder->setParent(m_window);
            m_theme = holder->property("theme").value<QObject*>();
        }
        return m_theme;
    }

    // The texts of the named children of root (names separated by spaces), as objects or in the scene.
    static QStringList textsIn(QObject* root, const QString& names)
    {
        QStringList texts;
        for (const QString& name : names.split(' ')) {
            QObject* found = root->findChild<QObject*>(name);
            if (auto* scene = qobject_cast<QQuickItem*>(root); !found && scene)
                found = findItem(scene, name);
            texts << (found ? found->property("text").toString() : "<missing " + name + ">");
        }
        return texts;
    }
    static QString textIn(QObject* root, const QString& name) { return textsIn(root, name).constFirst(); }
    QString textOf(const QString& name) const { return textIn(m_window->contentItem(), name); }
    static QStringList textsOf(const QList<QQuickItem*>& items)
    {
        QStringList texts;
        for (QQuickItem* item : items)
            texts << item->property("text").toString();
        return texts;
    }
    // The first shown item of that name whose property has the value.
    QQuickItem* shownWith(const QString& name, const char* property, const QVariant& value) const
    {
        for (QQuickItem* found : shown(name))
            if (found->property(property) == value)
                return found;
        return nullptr;
    }
    // The names the shown rows of that kind read, and the first one that reads the name given.
    QStringList rowNames(const QString& rows) const { return linesIn(shown(rows), "rowName"); }
    QQuickItem* rowNamed(const QString& rows, const QString& name) const
    {
        return shown(rows).value(rowNames(rows).indexOf(name));
    }

    // One line per item: the texts of its named children, to compare with a report's entries at once.
    static QStringList linesIn(const QList<QQuickItem*>& items, const QString& children)
    {
        QStringList lines;
        for (QQuickItem* found : items)
            lines << textsIn(found, children).join(" ¦ ");
        return lines;
    }
    // One line per row of a list model: its values under the roles (separated by spaces).
    static QStringList linesOf(const QAbstractItemModel& model, const QString& roles)
    {
        QList<QStringList> rows(model.rowCount());
        for (const QString& role : roles.split(' ')) {
            const QStringList values = column(model, role.toUtf8());
            for (qsizetype row = 0; row < rows.size(); ++row)
                rows[row] << values[row];
        }
        QStringList lines;
        for (const QStringList& row : rows)
            lines << row.join(" ¦ ");
        return lines;
    }
    // One line per entry of a report's list: its values under the keys (separated by spaces); a key
    // ending in # names a byte count, written as the window writes sizes.
    static QStringList linesOf(const QVariant& entries, const QString& keys)
    {
        QStringList lines;
        for (const QVariant& entry : entries.toList()) {
            QStringList values;
            for (const QString& key : keys.split(' '))
                values << (key.endsWith('#') ? SizeText::bytes(entry.toMap()[key.chopped(1)].toLongLong())
                                             : entry.toMap()[key].toString());
            lines << values.join(" ¦ ");
        }
        return lines;
    }
    static QStringList linesOf(const QAbstractItemModel* rows, const QString& keys)
    {
        QVariantList entries;
        for (int row = 0; row < rows->rowCount(); ++row) {
            QVariantMap entry;
            for (const QByteArray& role : rows->roleNames())
                entry.insert(role, rows->index(row, 0).data(rows->roleNames().key(role)));
            entries << entry;
        }
        return linesOf(entries, keys);
    }

    // Clicks the item and waits for the dialog (or menu) to open.
    bool opens(const QString& dialog, QQuickItem* target)
    {
        click(target);
        return !QTest::currentTestFailed() && QTest::qWaitFor([&] { return popupOpen(dialog); });
    }
    // Clicks the named button, or presses Escape for "Escape", and waits for the dialog to close.
    bool closes(const QString& dialog, const QString& button)
    {
        if (button == "Escape")
            QTest::keyClick(m_window, Qt::Key_Escape);
        else
            click(item(button));
        return !QTest::currentTestFailed() && QTest::qWaitFor([&] { return !popupOpen(dialog); });
    }
    // Presses the named button through its signal, as while workers are held.
    void press(const QString& name) { QMetaObject::invokeMethod(item(name), "clicked"); }

    // Checks the items named (separated by spaces): "x" shown and enabled, "!x" disabled, "-x" hidden.
    void verifyStates(const QString& expected) const
    {
        QStringList actual;
        for (QString name : expected.split(' ')) {
            const QQuickItem* found = item(name.remove('!').remove('-'));
            actual << (!found ? "?" : !found->isVisible() ? "-" : !found->isEnabled() ? "!" : "") + name;
        }
        QCOMPARE(actual.join(' '), expected);
    }

    // Scrolls every page holding the item to centre it, or the innermost one to just below its top.
    static void scrollIntoView(QQuickItem* target, bool toTop = false)
    {
        for (QQuickItem* page = target->parentItem(); page; page = page->parentItem()) {
            if (!page->inherits("QQuickFlickable"))
                continue;
            const qreal top = target->mapToItem(page->property("contentItem").value<QQuickItem*>(), {}).y();
            const qreal end = std::max(0.0, page->property("contentHeight").toReal() - page->height());
            const qreal wanted = toTop ? top - 12 : top - (page->height() - target->height()) / 2;
            page->setProperty("contentY", std::clamp(wanted, 0.0, end));
            if (toTop)
                return;
        }
    }

    // Types the text into whatever has the keyboard focus, key by key.
    void typeText(const QString& text)
    {
        for (const QChar letter : text)
            QTest::keyClick(m_window, letter.toLatin1());
    }

    void click(QQuickItem* target) { clickAt(target, {}); }
    // At a point of the item (its centre when none is given).
    void clickAt(QQuickItem* item, std::optional<QPointF> point)
    {
        QVERIFY2(item && item->isVisible(), "clicking a missing or hidden item");
        const QPointer<QQuickItem> target(item);
        // Rows that a new report just created are placed when the window next polishes its layouts.
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        QVERIFY2(target, "the item was replaced while the window settled: look for it once it has");
        scrollIntoView(target);
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        QVERIFY2(target, "the item was replaced while the window settled: look for it once it has");
        QTest::mouseClick(m_window, Qt::LeftButton, {},
                          target->mapToScene(point.value_or(target->boundingRect().center())).toPoint());
    }
    void click(const QString& name) { click(item(name)); }

    // What a screen reader finds on the window: every control it can reach, said as "role: name",
    // and those it cannot say anything useful about. A control is a button, box, field, list row or
    // menu item, or anything the Tab key reaches; hidden ones are left out.
    struct Spoken {
        QStringList controls;
        QStringList unnamed;
    };
    Spoken spokenControls() const
    {
        static const QSet<QAccessible::Role> controlRoles = {
            QAccessible::Button,     QAccessible::CheckBox, QAccessible::RadioButton,
            QAccessible::ComboBox,   QAccessible::ListItem, QAccessible::MenuItem,
            QAccessible::PageTab,    QAccessible::Slider,   QAccessible::SpinBox,
            QAccessible::ButtonMenu, QAccessible::Link,     QAccessible::EditableText};
        Spoken spoken;
        QSet<QObject*> pictures;
        const auto say = [&](QAccessibleInterface* control, const QString& where) {
            const QString name = control->text(QAccessible::Name).simplified();
            if (name.isEmpty())
                spoken.unnamed << where;
            else
                spoken.controls << QString::number(control->role(), 16) + ": " + name;
        };
        std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
            if (!node || node->state().invisible)
                return;
            if (node->role() == QAccessible::Graphic)
                pictures.insert(node->object());
            if (controlRoles.contains(node->role()))
                say(node, QString("role %1 at %2").arg(node->role(), 0, 16).arg(describe(node->object())));
            for (int i = 0; i < node->childCount(); ++i)
                walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(m_window));
        // Whatever the Tab key reaches is a control, whether or not it says what it is.
        const auto tabbable = [](QQuickItem* item) { return item->activeFocusOnTab() && item->isEnabled(); };
        for (QQuickItem* found : itemsUnder(m_window->contentItem(), tabbable, true)) {
            QAccessibleInterface* control = QAccessible::queryAccessibleInterface(found);
            if (!control || control->text(QAccessible::Name).simplified().isEmpty())
                spoken.unnamed << "tab stop at " + describe(found);
        }
        // So is whatever shows a pointing hand, unless it belongs to a picture read as a whole.
        const auto pointing = [](QQuickItem* item) {
            return item->inherits("QQuickMouseArea") && item->isEnabled() &&
                   item->cursor().shape() == Qt::PointingHandCursor;
        };
        for (QQuickItem* area : itemsUnder(m_window->contentItem(), pointing, true)) {
            QAccessibleInterface* control = QAccessible::queryAccessibleInterface(area->parentItem());
            bool inPicture = false;
            for (QQuickItem* at = area; at && !inPicture; at = at->parentItem())
                inPicture = pictures.contains(at);
            if (!inPicture && control->text(QAccessible::Name).simplified().isEmpty())
                spoken.unnamed << "pointer over " + describe(area);
        }
        spoken.unnamed.removeDuplicates();
        return spoken;
    }
    static QString describe(QObject* object)
    {
        QStringList chain;
        for (QObject* at = object; at && chain.size() < 4; at = at->parent())
            chain << (at->objectName().isEmpty() ? at->metaObject()->className() : at->objectName());
        return chain.join(" < ");
    }
    void verifyEveryControlIsNamed() const
    {
        const Spoken spoken = spokenControls();
        QVERIFY2(spoken.unnamed.isEmpty(), qPrintable("unnamed: " + spoken.unnamed.join(" | ")));
        QVERIFY(!spoken.controls.isEmpty());
    }

    // Renders the window into screenshots/ next to the test, or docs/screenshots with KELVO_SCREENSHOTS=1;
    // in the dark scheme the name ends in "-dark". A blank picture means nothing was drawn; a folder
    // that cannot be written is no failure.
    void photograph(const QString& shot)
    {
        const QString name = m_model->appearance()->dark() ? shot + "-dark" : shot;
        QTest::mouseMove(m_window, QPoint(m_window->width() - 40, m_window->height() / 2)); // no hover shown
        const QImage image = m_window->grabWindow();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 100, qPrintable(name + " looks blank"));
        const QString folder = qgetenv("KELVO_SCREENSHOTS") == "1"
                                   ? QStringLiteral(KELVO_SCREENSHOT_DIR)
                                   : QCoreApplication::applicationDirPath() + "/screenshots";
        if (QDir().mkpath(folder) && !image.save(folder + '/' + name + ".png"))
            qInfo("could not save the screenshot %s", qPrintable(name));
    }
};
