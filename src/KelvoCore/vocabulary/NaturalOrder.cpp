#include "vocabulary/NaturalOrder.h"

namespace NaturalOrder {

namespace {

// Compares two digit runs by value without converting them (runs may exceed 64 bits).
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == QLatin1Char('0'))
        a = a.mid(1);
    while (b.size() > 1 && b.front() == QLatin1Char('0'))
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// Only ASCII digits make numbers. A digit of another script ("２") is compared as a character like
// any letter: were it a number too, it would compare by value against "10" but by code against "a",
// and the order would go round in a circle ("２" < "10" < "a" < "２").
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

qsizetype digitRunEnd(const QString& text, qsizetype from)
{
    while (from < text.size() && isDigit(text.at(from)))
        ++from;
    return from;
}

} // namespace

int compare(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a.at(i)) && isDigit(b.at(j))) {
            const qsizetype endA = digitRunEnd(a, i);
            const qsizetype endB = digitRunEnd(b, j);
            if (const int order =
                    compareNumbers(QStringView(a).mid(i, endA - i), QStringView(b).mid(j, endB - j)))
                return order;
            i = endA;
            j = endB;
            continue;
        }
        const QChar left = a.at(i).toCaseFolded();
        const QChar right = b.at(j).toCaseFolded();
        if (left != right)
            return left < right ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    // Equal but for case or leading zeros: fall back to the plain text so the order is total.
    return a.compare(b);
}

} // namespace NaturalOrder
