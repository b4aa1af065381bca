#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <atomic>
#include <vector>

// A fault in what was read: where it is (a byte offset) and why, in the display language.
struct JsonFault {
    qint64 offset = 0;
    QString reason;
};

// Reads JSON from a device piece by piece, a chunk of bytes at a time, for readers that follow the
// shape of one document themselves and so need neither the whole text nor the whole document in
// memory. Strings are bytes: raw bytes pass as they are (they need not be UTF-8), escapes are
// decoded to UTF-8. Every fault throws a JsonFault at the byte where it is.
class JsonByteScanner {
public:
    // What was expected, said only when it is missing: a text is not made for every byte that is right.
    using Text = QString (*)();

    JsonByteScanner(QIODevice& in, const std::atomic_bool* cancelled);

    // The next byte that is not white space, left in place; -1 at the end of the input.
    int peek();
    void take() { ++m_at; }
    // Takes `wanted` after any white space, or refuses, naming what was expected there.
    void expect(char wanted, Text expected);
    bool takeIf(char wanted);
    qint64 offset() const { return m_base + m_at; }

    // The string that starts here, its escapes decoded. One longer than `most` bytes is still taken
    // whole but leaves `into` empty and gives false.
    bool readString(QByteArray& into, qsizetype most);

    struct Number {
        bool whole = true; // no fraction and no exponent
        bool negative = false;
        bool tooLarge = false; // more than 64 bits of magnitude
        quint64 magnitude = 0;
    };
    Number readNumber();
    bool startsNumber();
    // true, false or null: which one, as 1, 0 or -1.
    int readLiteral();
    // Any one value, however nested up to `deepest` levels, checked and thrown away.
    void skipValue(int deepest);

    [[noreturn]] void refuse(const QString& reason) const { refuseAt(offset(), reason); }
    [[noreturn]] static void refuseAt(qint64 offset, const QString& reason)
    {
        throw JsonFault{offset, reason};
    }
    // Refuses the byte `found` (-1: the end of the input) where `expected` should be.
    [[noreturn]] void unexpected(int found, Text expected) const;

private:
    // The next byte as it is, white space included, left in place; -1 at the end.
    int peekByte() { return m_at < m_size || fill() ? quint8(m_buffer[m_at]) : -1; }
    bool fill();
    void readEscape(QByteArray& into, bool& fits, qsizetype most);
    char32_t readHexQuad();
    quint64 readDigits(Number& number);

    QIODevice& m_in;
    const std::atomic_bool* m_cancelled;
    std::vector<char> m_buffer;
    qsizetype m_size = 0; // bytes in the buffer
    qsizetype m_at = 0;   // the next byte not taken
    qint64 m_base = 0;    // the offset of the buffer's first byte
};
