#pragma once

#include "LocalizationSettings.h"

#include "vocabulary/SizeText.h"

#include <QObject>

// The one size format for the views. Reading the language property makes QML bindings that show
// a size follow a language switch ("Zero KB" / "零 KB").
class SizeTextBridge : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE QString bytes(qint64 count) const
    {
        (void)LocalizationSettings::shared().isChinese();
        return SizeText::bytes(count);
    }
};
