// The seeded random numbers and the random texts of a registry.
#include "uSampleRegistry_Internal.h"

#include <QByteArray>

uint64_t tkSampleRandom::Next()
{
    uint64_t z = (fState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int64_t tkSampleRandom::Below(int64_t aBound)
{
    // The slight bias of a remainder does not matter here; being the same everywhere does.
    return int64_t(Next() % uint64_t(aBound));
}

bool tkSampleRandom::Chance(int aPerMille)
{
    return Below(1000) < aPerMille;
}

int tkSampleRandom::Weighted(const std::vector<int>& aWeights)
{
    int total = 0;
    for (int w : aWeights)
        total += w;
    int64_t pick = Below(total);
    for (size_t i = 0; i < aWeights.size(); ++i) {
        pick -= aWeights[i];
        if (pick < 0)
            return int(i);
    }
    return int(aWeights.size()) - 1;
}

QString tkSampleRandom::Letters(const QString& aAlphabet, int aLength)
{
    QString text;
    text.reserve(aLength);
    for (int i = 0; i < aLength; ++i)
        text += aAlphabet[Below(aAlphabet.size())];
    return text;
}

QString tkSampleRandom::Guid()
{
    const uint64_t high = (Next() & ~0xF000ull) | 0x4000ull;        // version 4
    const uint64_t low = (Next() & ~(3ull << 62)) | (2ull << 62);   // variant 1
    auto hex = [](uint64_t aValue, int aDigits) {
        return QStringLiteral("%1").arg(aValue, aDigits, 16, QLatin1Char('0')).toUpper();
    };
    return QStringLiteral("{%1-%2-%3-%4-%5}")
        .arg(hex(high >> 32, 8), hex((high >> 16) & 0xFFFF, 4), hex(high & 0xFFFF, 4), hex(low >> 48, 4),
             hex(low & 0xFFFFFFFFFFFFull, 12));
}

QString tkSampleRandom::Hash()
{
    QByteArray bytes;
    bytes.reserve(128);
    for (int i = 0; i < 16; ++i) {
        const uint64_t word = Next();
        for (int b = 0; b < 8; ++b)
            bytes.append(char(word >> (8 * b)));
    }
    return QString::fromLatin1(bytes.toBase64());
}
