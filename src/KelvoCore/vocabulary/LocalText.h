#pragma once

#include "vocabulary/AppLocalization.h"

#include <QString>

// A text a scan makes for a person to read, kept in both languages so that it is shown in the
// language of the moment it is shown, not of the moment it was made: a report on screen follows a
// language switch without a new scan. A text read from outside (the older tool's reports, a file
// name) is the same in both.
struct LocalText {
    QString chinese;
    QString english;

    // Constructors, so that a plain string never initialises the pair by brace elision.
    LocalText() = default;
    LocalText(QString zh, QString en)
        : chinese(std::move(zh))
        , english(std::move(en))
    {
    }

    static LocalText same(const QString& text) { return {text, text}; }
    // What make() says, in each language: for texts made by functions that speak the language of
    // the moment.
    static LocalText made(const std::function<QString()>& make)
    {
        return {AppLocalization::madeIn(AppResolvedLanguage::chinese, make),
                AppLocalization::madeIn(AppResolvedLanguage::english, make)};
    }

    // The text in the language of this moment.
    QString text() const { return AppLocalization::localized(chinese, english); }
    bool isEmpty() const { return chinese.isEmpty() && english.isEmpty(); }

    // Fills %1... in both languages alike.
    template <typename... Args> LocalText arg(const Args&... args) const
    {
        return {chinese.arg(args...), english.arg(args...)};
    }

    LocalText operator+(const LocalText& other) const
    {
        return {chinese + other.chinese, english + other.english};
    }
    LocalText operator+(const QString& text) const { return {chinese + text, english + text}; }

    bool operator==(const LocalText&) const = default;
};
