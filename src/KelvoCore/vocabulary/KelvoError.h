#pragma once

#include <QString>

#include <exception>

// The one error type of stores, parsers and services. Its description is the user-facing text,
// already in the display language of the moment it was raised.
class KelvoError : public std::exception {
public:
    explicit KelvoError(QString description)
        : m_description(std::move(description))
    {
    }

    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return "KelvoError"; }

private:
    QString m_description;
};
