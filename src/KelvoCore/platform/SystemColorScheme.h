#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

// Whether the desktop prefers dark colours, and word when that changes. On Linux the answer comes
// from the desktop portal's appearance setting over the session bus; on macOS from the system
// appearance. Without an answer (no bus, no portal, an error, no reply in time) the preference is light.
class SystemColorScheme : public QObject {
    Q_OBJECT

public:
    // The reader of this system.
    static std::unique_ptr<SystemColorScheme> create(QObject* parent = nullptr);

    bool prefersDark() const { return m_prefersDark; }

    // The portal's color-scheme value, once unwrapped from its variants: 1 prefers dark, 2 prefers
    // light, 0 has no preference; anything else reads as light.
    static bool portalValuePrefersDark(const QVariant& value);
    // The colour scheme in effect for the user's choice ("light", "dark" or "system").
    static bool isDark(const QString& choice, bool systemPrefersDark);
    // The choice as stored: one of "light", "dark", "system"; anything else reads as "system".
    static QString normalizedChoice(const QString& choice);

signals:
    void prefersDarkChanged();

protected:
    explicit SystemColorScheme(QObject* parent)
        : QObject(parent)
    {
    }
    void setPrefersDark(bool dark);

private:
    bool m_prefersDark = false;
};
