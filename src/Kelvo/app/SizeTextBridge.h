#pragma once

#include "vocabulary/SizeText.h"

#include <QObject>

// The one size format for the views. Bindings that show a size read Localization.chinese too, so
// they follow a language switch ("Zero KB" / "零 KB").
class SizeTextBridge : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE QString bytes(qint64 count) const { return SizeText::bytes(count); }
};
