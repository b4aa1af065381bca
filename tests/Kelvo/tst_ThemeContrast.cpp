// The window's colours are readable in both schemes: every text colour the theme pairs with a surface
// meets the WCAG contrast ratio on it (4.5:1), measured from the real theme, translucent surfaces
// composited over the darkest and the lightest colour of the window background as it is drawn.
#include "TestMain.h"

#include "WindowTestSupport.h"

#include <QJSValue>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <limits>

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const auto [darker, lighter] = std::minmax({luminance(a), luminance(b)});
    return (lighter + 0.05) / (darker + 0.05);
}

// `top` drawn over the opaque `bottom`.
QColor over(const QColor& top, const QColor& bottom)
{
    const double alpha = top.alphaF();
    const auto mix = [alpha](double upper, double lower) { return alpha * upper + (1 - alpha) * lower; };
    return QColor::fromRgbF(float(mix(top.redF(), bottom.redF())), float(mix(top.greenF(), bottom.greenF())),
                            float(mix(top.blueF(), bottom.blueF())));
}

QVariant plain(const QVariant& value)
{
    return value.canConvert<QJSValue>() ? value.value<QJSValue>().toVariant() : value;
}

} // namespace

class TestThemeContrast : public WindowTestCase {
    Q_OBJECT

    // The colours a theme property names: one, or each of a list.
    QList<QColor> colours(const QString& name) const
    {
        const QVariant value = plain(m_theme->property(name.toUtf8()));
        QList<QColor> found;
        for (const QVariant& each :
             value.typeId() == QMetaType::QVariantList ? value.toList() : QVariantList{value})
            if (const QColor colour = each.value<QColor>(); colour.isValid())
                found << colour;
        return found;
    }

    // The darkest and the lightest colour of the window background as drawn over the window colour.
    QList<QColor> backdropExtremes() const
    {
        QImage image(120, 80, QImage::Format_ARGB32);
        image.fill(colours("backdropTop").value(0));
        QSvgRenderer renderer(m_theme->property("backdropImage").toUrl().toString().replace("qrc:", ":"));
        if (!renderer.isValid())
            return {};
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        QColor darkest, lightest;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (!darkest.isValid() || luminance(pixel) < luminance(darkest))
                    darkest = pixel;
                if (!lightest.isValid() || luminance(pixel) > luminance(lightest))
                    lightest = pixel;
            }
        return {darkest, lightest};
    }

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<AppModelFixture>();
        openWindow();
        QVERIFY(theme());
    }
    void cleanupTestCase() { m_model->appearance()->setColorScheme("system"); }

    void everyTextIsReadableOnItsSurfaces_data()
    {
        TestSupport::columns<QString>("scheme");
        TestSupport::row("light", QString("light"));
        TestSupport::row("dark", QString("dark"));
    }
    void everyTextIsReadableOnItsSurfaces()
    {
        const auto [scheme] = TestSupport::fetch<QString>("scheme");
        m_model->appearance()->setColorScheme(scheme);
        QCOMPARE(m_theme->property("dark").toBool(), scheme == "dark");

        const QList<QColor> backdrops = backdropExtremes();
        QCOMPARE(backdrops.size(), 2);
        const QVariantList pairs = plain(m_theme->property("contrastPairs")).toList();
        QVERIFY(pairs.size() > 20);
        double lowest = std::numeric_limits<double>::max();
        QString lowestPair;
        QStringList failures;
        for (const QVariant& entry : pairs) {
            const QVariantMap pair = plain(entry).toMap();
            const QString textName = pair["text"].toString();
            const QStringList surfaces = plain(pair["on"]).toStringList();
            const QString described =
                textName + " on " + (surfaces.isEmpty() ? "the background" : surfaces.join(" / "));
            const QColor text = colours(textName).value(0);
            QVERIFY2(text.isValid(), qPrintable("no colour " + textName));
            // Each combination of the surfaces' colours (a list stands for each of its colours),
            // the outermost composited over the background first.
            QList<QColor> behind = backdrops;
            for (auto surface = surfaces.crbegin(); surface != surfaces.crend(); ++surface) {
                const QList<QColor> layer = colours(*surface);
                QVERIFY2(!layer.isEmpty(), qPrintable("no colour " + *surface));
                QList<QColor> composited;
                for (const QColor& below : behind)
                    for (const QColor& colour : layer)
                        composited << over(colour, below);
                behind = composited;
            }
            for (const QColor& background : behind) {
                const double ratio = contrast(over(text, background), background);
                if (ratio < lowest)
                    std::tie(lowest, lowestPair) = std::tuple(ratio, described);
                if (ratio < 4.5)
                    failures << QString("%1 (%2 on %3): %4:1")
                                    .arg(described, text.name(QColor::HexArgb), background.name())
                                    .arg(ratio, 0, 'f', 2);
            }
        }
        qInfo("%s: lowest contrast %.2f:1, %s", qPrintable(scheme), lowest, qPrintable(lowestPair));
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    }
};

KELVO_REGISTER_TEST(TestThemeContrast)
#include "tst_ThemeContrast.moc"
