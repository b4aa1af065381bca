#include "platform/SystemColorScheme.h"

#include <QMetaType>

void SystemColorScheme::setPrefersDark(bool dark)
{
    if (dark == m_prefersDark)
        return;
    m_prefersDark = dark;
    emit prefersDarkChanged();
}

bool SystemColorScheme::portalValuePrefersDark(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UInt:
    case QMetaType::Int:
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::ULongLong:
    case QMetaType::LongLong:
        return value.toULongLong() == 1;
    default:
        return false;
    }
}

QString SystemColorScheme::normalizedChoice(const QString& choice)
{
    if (choice == QLatin1String("light") || choice == QLatin1String("dark"))
        return choice;
    return QStringLiteral("system");
}

bool SystemColorScheme::isDark(const QString& choice, bool systemPrefersDark)
{
    const QString normalized = normalizedChoice(choice);
    return normalized == QLatin1String("system") ? systemPrefersDark : normalized == QLatin1String("dark");
}
