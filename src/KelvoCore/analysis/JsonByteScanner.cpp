#include "analysis/JsonByteScanner.h"

#include "analysis/NcduExportText.h"

#include <cstring>

namespace {

constexpr qsizetype chunkBytes = 64 * 1024;

bool isSpace(int byte)
{
    return byte == ' ' || byte == '\n' || byte == '\r' || byte == '\t';
}

bool isDigit(int byte)
{
    return byte >= '0' && byte <= '9';
}

void appendUtf8(QByteArray& into, char32_t code)
{
    if (code < 0x80) {
        into += char(code);
    } else if (code < 0x800) {
        into += char(0xC0 | (code >> 6));
        into += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        into += char(0xE0 | (code >> 12));
        into += char(0x80 | ((code >> 6) & 0x3F));
        into += char(0x80 | (code & 0x3F));
    } else {
        into += char(0xF0 | (code >> 18));
        into += char(0x80 | ((code >> 12) & 0x3F));
        into += char(0x80 | ((code >> 6) & 0x3F));
        into += char(0x80 | (code & 0x3F));
    }
}

} // namespace

JsonByteScanner::JsonByteScanner(QIODevice& in, const std::atomic_bool* cancelled)
    : m_in(in)
    , m_cancelled(cancelled)
    , m_buffer(chunkBytes)
{
}

bool JsonByteScanner::fill()
{
    if (m_cancelled && *m_cancelled)
        refuse(NcduExportText::cancelled());
    m_base += m_size;
    m_at = m_size = 0;
    qint64 got = m_in.read(m_buffer.data(), chunkBytes);
    // A pipe or a socket may have nothing yet without having ended.
    while (got == 0 && m_in.isSequential() && m_in.waitForReadyRead(-1))
        got = m_in.read(m_buffer.data(), chunkBytes);
    if (got < 0)
        refuse(NcduExportText::readFailed(m_in.errorString()));
    m_size = qsizetype(got);
    return m_size > 0;
}

int JsonByteScanner::peek()
{
    for (;;) {
        while (m_at < m_size && isSpace(m_buffer[m_at]))
            ++m_at;
        if (m_at < m_size)
            return quint8(m_buffer[m_at]);
        if (!fill())
            return -1;
    }
}

void JsonByteScanner::unexpected(int found, Text expected) const
{
    refuse(found < 0 ? NcduExportText::endsEarly() : NcduExportText::unexpected(char(found), expected()));
}

void JsonByteScanner::expect(char wanted, Text expected)
{
    const int found = peek();
    if (found != quint8(wanted))
        unexpected(found, expected);
    take();
}

bool JsonByteScanner::takeIf(char wanted)
{
    if (peek() != quint8(wanted))
        return false;
    take();
    return true;
}

bool JsonByteScanner::readString(QByteArray& into, qsizetype most)
{
    into.clear();
    expect('"', NcduExportText::expectedValue);
    bool fits = true;
    for (;;) {
        if (m_at == m_size && !fill())
            refuse(NcduExportText::endsEarly());
        // The plain run up to the next quote, backslash or control character, in one piece.
        const char* start = m_buffer.data() + m_at;
        const char* end = m_buffer.data() + m_size;
        const char* stop = start;
        while (stop < end && *stop != '"' && *stop != '\\' && quint8(*stop) >= 0x20)
            ++stop;
        const qsizetype run = stop - start;
        if (fits && into.size() + run > most)
            fits = false;
        if (fits)
            into.append(start, run);
        m_at += run;
        if (stop == end)
            continue;
        if (*stop == '"') {
            take();
            break;
        }
        if (*stop != '\\')
            refuse(NcduExportText::controlCharacter());
        readEscape(into, fits, most);
    }
    if (!fits)
        into.clear();
    return fits;
}

void JsonByteScanner::readEscape(QByteArray& into, bool& fits, qsizetype most)
{
    const qint64 start = offset();
    take(); // the backslash
    const int kind = peekByte();
    if (kind < 0)
        refuse(NcduExportText::endsEarly());
    take();
    QByteArray decoded;
    switch (kind) {
    case '"':
    case '\\':
    case '/':
        decoded = QByteArray(1, char(kind));
        break;
    case 'b':
        decoded = "\b";
        break;
    case 'f':
        decoded = "\f";
        break;
    case 'n':
        decoded = "\n";
        break;
    case 'r':
        decoded = "\r";
        break;
    case 't':
        decoded = "\t";
        break;
    case 'u': {
        char32_t code = readHexQuad();
        if (code >= 0xDC00 && code <= 0xDFFF)
            refuseAt(start, NcduExportText::loneSurrogate());
        if (code >= 0xD800 && code <= 0xDBFF) {
            // Only the low half of the pair may follow.
            if (peekByte() != '\\')
                refuseAt(start, NcduExportText::loneSurrogate());
            take();
            if (peekByte() != 'u')
                refuseAt(start, NcduExportText::loneSurrogate());
            take();
            const char32_t low = readHexQuad();
            if (low < 0xDC00 || low > 0xDFFF)
                refuseAt(start, NcduExportText::loneSurrogate());
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(decoded, code);
        break;
    }
    default:
        refuseAt(start, NcduExportText::invalidEscape());
    }
    if (fits && into.size() + decoded.size() > most)
        fits = false;
    if (fits)
        into += decoded;
}

char32_t JsonByteScanner::readHexQuad()
{
    char32_t code = 0;
    for (int digit = 0; digit < 4; ++digit) {
        const int byte = peekByte();
        int value = -1;
        if (isDigit(byte))
            value = byte - '0';
        else if (byte >= 'a' && byte <= 'f')
            value = byte - 'a' + 10;
        else if (byte >= 'A' && byte <= 'F')
            value = byte - 'A' + 10;
        if (value < 0)
            refuse(byte < 0 ? NcduExportText::endsEarly() : NcduExportText::invalidEscape());
        take();
        code = code << 4 | char32_t(value);
    }
    return code;
}

bool JsonByteScanner::startsNumber()
{
    const int byte = peek();
    return byte == '-' || isDigit(byte);
}

quint64 JsonByteScanner::readDigits(Number& number)
{
    if (!isDigit(peekByte()))
        refuse(peekByte() < 0 ? NcduExportText::endsEarly() : NcduExportText::malformedNumber());
    quint64 value = 0;
    while (isDigit(peekByte())) {
        const quint64 digit = quint64(peekByte() - '0');
        if (__builtin_mul_overflow(value, quint64(10), &value) ||
            __builtin_add_overflow(value, digit, &value))
            number.tooLarge = true;
        take();
    }
    return value;
}

JsonByteScanner::Number JsonByteScanner::readNumber()
{
    Number number;
    peek(); // past white space
    number.negative = peekByte() == '-';
    if (number.negative)
        take();
    if (peekByte() == '0') {
        take();
        if (isDigit(peekByte()))
            refuse(NcduExportText::malformedNumber()); // "01": no leading zeros
    } else {
        number.magnitude = readDigits(number);
    }
    if (peekByte() == '.') {
        take();
        number.whole = false;
        readDigits(number);
    }
    if (peekByte() == 'e' || peekByte() == 'E') {
        take();
        number.whole = false;
        if (peekByte() == '+' || peekByte() == '-')
            take();
        readDigits(number);
    }
    return number;
}

int JsonByteScanner::readLiteral()
{
    static constexpr const char* literals[] = {"null", "false", "true"};
    const int first = peek();
    for (int which = 0; which < 3; ++which) {
        const char* literal = literals[which];
        if (first != literal[0])
            continue;
        for (const char* expected = literal; *expected; ++expected) {
            if (peekByte() != quint8(*expected))
                unexpected(peekByte(), NcduExportText::expectedValue);
            take();
        }
        return which - 1;
    }
    unexpected(first, NcduExportText::expectedValue);
}

void JsonByteScanner::skipValue(int deepest)
{
    std::vector<char> open; // the closing bracket of each list or object around here
    QByteArray ignored;
    const auto enter = [&](char closing) {
        if (int(open.size()) >= deepest)
            refuse(NcduExportText::nestedTooDeep(deepest));
        take();
        open.push_back(closing);
    };
    const auto key = [&] {
        if (peek() != '"')
            unexpected(peek(), NcduExportText::expectedKey);
        readString(ignored, 0);
        expect(':', NcduExportText::expectedColon);
    };
    for (;;) {
        // A value.
        const int byte = peek();
        if (byte == '[') {
            enter(']');
            if (!takeIf(']'))
                continue;
            open.pop_back();
        } else if (byte == '{') {
            enter('}');
            if (!takeIf('}')) {
                key();
                continue;
            }
            open.pop_back();
        } else if (byte == '"') {
            readString(ignored, 0);
        } else if (startsNumber()) {
            readNumber();
        } else {
            readLiteral();
        }
        // What follows it: more of the list or object around it, or its end.
        for (;;) {
            if (open.empty())
                return;
            const int next = peek();
            if (next == ',') {
                take();
                if (open.back() == '}')
                    key();
                break;
            }
            if (next != quint8(open.back()))
                unexpected(next, NcduExportText::expectedCommaOrEnd);
            take();
            open.pop_back();
        }
    }
}
