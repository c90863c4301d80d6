#include "Cp1252.h"

#include <algorithm>

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

QByteArray EncodeUtf8(QByteArrayView aUtf8)
{
    QByteArray out;
    out.reserve(aUtf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(aUtf8.data());
    const auto* end = p + aUtf8.size();
    while (p < end) {
        if (*p < 0x80) {   // the common case: plain ASCII passes through
            out.append(char(*p++));
            continue;
        }
        int length = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC0 ? 2 : 1;
        char32_t code = length == 4 ? *p & 0x07 : length == 3 ? *p & 0x0F : *p & 0x1F;
        bool valid = length > 1 && end - p >= length;
        for (int k = 1; valid && k < length; ++k) {
            valid = (p[k] & 0xC0) == 0x80;
            code = (code << 6) | (p[k] & 0x3F);
        }
        if (valid) {
            p += length;
        } else {   // a broken sequence: its lead byte and the continuation bytes that follow it
            const auto* stop = p + std::min<qsizetype>(length, end - p);
            for (++p; p < stop && (*p & 0xC0) == 0x80; ++p) {
            }
        }
        int b = valid && code <= 0xFFFF ? ByteOf(char16_t(code)) : -1;
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
