#include "Cp1252.h"

namespace {
// 0x80..0x9F; 0 marks the bytes the code page leaves unassigned (they decode to their own value).
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int ByteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    if (c >= 0x80 && c < 0xA0 && kHigh[c - 0x80] == 0)
        return c;
    return -1;
}
}

namespace Cp1252 {

QByteArray Encode(const QString& aText)
{
    QByteArray out;
    out.reserve(aText.size());
    for (qsizetype i = 0; i < aText.size(); ++i) {
        char16_t c = aText[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < aText.size() && aText[i + 1].isLowSurrogate())
            ++i;   // one character outside the code page, one "?"
        int b = ByteOf(c);
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

QString Decode(const QByteArray& aBytes)
{
    QString out;
    out.reserve(aBytes.size());
    for (char ch : aBytes) {
        unsigned char b = static_cast<unsigned char>(ch);
        char16_t c = (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) ? kHigh[b - 0x80] : char16_t(b);
        out.append(QChar(c));
    }
    return out;
}

bool CanEncode(const QString& aText)
{
    for (QChar c : aText)
        if (ByteOf(c.unicode()) < 0)
            return false;
    return true;
}

}
