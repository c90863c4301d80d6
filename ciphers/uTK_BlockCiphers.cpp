// What every cipher shares: the key length check, padding, and whole strings and streams.
#include "uTK_BlockCiphers.h"

#include "Exception.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace {

// Streams go through one buffer of this many blocks.
constexpr int kChunkBlocks = 512;

// Applies aCrypt to each block of aData in place.
template <typename Crypt>
void ForEachBlock(uint8_t* aData, qint64 aSize, int aBlockSize, Crypt aCrypt)
{
    for (qint64 i = 0; i < aSize; i += aBlockSize)
        aCrypt(aData + i);
}

// Reads until aSize bytes are in or the device has no more; answers the count.
qint64 ReadUpTo(QIODevice& aDevice, char* aBuffer, qint64 aSize)
{
    qint64 total = 0;
    while (total < aSize) {
        const qint64 n = aDevice.read(aBuffer + total, aSize - total);
        if (n < 0)
            throw Exception(aDevice.errorString());
        if (n == 0)
            break;
        total += n;
    }
    return total;
}

void WriteAll(QIODevice& aDevice, const char* aData, qint64 aSize)
{
    if (aDevice.write(aData, aSize) != aSize)
        throw Exception(aDevice.errorString());
}

// The padding count in the last byte, trusted as it is: a wrong key simply gives a wrong length.
qint64 UnpaddedLength(const uint8_t* aData, qint64 aSize)
{
    return std::max<qint64>(0, aSize - aData[aSize - 1]);
}

} // namespace

TBlockCipher::TBlockCipher(int aKeyLength, int aMinKeyLength)
{
    if (aKeyLength < aMinKeyLength)
        throw Exception(QString::asprintf("Key must be at least %d bytes long.", aMinKeyLength));
}

void TBlockCipher::EncryptStream(QIODevice& aPlaintext, QIODevice& aCiphertext) const
{
    const int blockSize = BlockSize();
    QByteArray buffer(qsizetype(blockSize) * kChunkBlocks, Qt::Uninitialized);
    auto* data = reinterpret_cast<uint8_t*>(buffer.data());
    const auto encrypt = [this](uint8_t* aBlock) { EncryptBlock(aBlock); };
    for (;;) {
        qint64 count = ReadUpTo(aPlaintext, buffer.data(), buffer.size());
        const bool last = count < buffer.size();
        if (last) {
            // The partial block, or a whole new one, takes the padding.
            const int padding = blockSize - int(count % blockSize);
            std::fill(data + count, data + count + padding, uint8_t(padding));
            count += padding;
        }
        ForEachBlock(data, count, blockSize, encrypt);
        WriteAll(aCiphertext, buffer.data(), count);
        if (last)
            return;
    }
}

void TBlockCipher::DecryptStream(QIODevice& aCiphertext, QIODevice& aPlaintext) const
{
    const int blockSize = BlockSize();
    const qint64 length = aCiphertext.size() - aCiphertext.pos();
    if (length <= 0 || length % blockSize != 0)
        throw Exception(QString::asprintf("Ciphertext length is not a multiple of %d.", blockSize));

    QByteArray buffer(qsizetype(blockSize) * kChunkBlocks, Qt::Uninitialized);
    auto* data = reinterpret_cast<uint8_t*>(buffer.data());
    const auto decrypt = [this](uint8_t* aBlock) { DecryptBlock(aBlock); };
    for (qint64 left = length; left > 0;) {
        const qint64 count = std::min<qint64>(left, buffer.size());
        if (ReadUpTo(aCiphertext, buffer.data(), count) != count)
            throw Exception(aCiphertext.errorString());
        ForEachBlock(data, count, blockSize, decrypt);
        left -= count;
        WriteAll(aPlaintext, buffer.data(), left > 0 ? count : UnpaddedLength(data, count));
    }
}

void T64BitBlockCipher::EncryptBlock(uint8_t* aBlock) const
{
    qToLittleEndian(EncryptedBlock(qFromLittleEndian<quint64>(aBlock)), aBlock);
}

void T64BitBlockCipher::DecryptBlock(uint8_t* aBlock) const
{
    qToLittleEndian(DecryptedBlock(qFromLittleEndian<quint64>(aBlock)), aBlock);
}

QByteArray T64BitBlockCipher::EncryptedString(const QByteArray& aPlaintext) const
{
    const int padding = kBlockSize - int(aPlaintext.size() % kBlockSize);
    QByteArray result = aPlaintext + QByteArray(padding, char(padding));
    ForEachBlock(reinterpret_cast<uint8_t*>(result.data()), result.size(), kBlockSize,
                 [this](uint8_t* aBlock) { EncryptBlock(aBlock); });
    return result;
}

QByteArray T64BitBlockCipher::DecryptedString(const QByteArray& aCiphertext) const
{
    if (aCiphertext.isEmpty() || aCiphertext.size() % kBlockSize != 0)
        throw Exception(QString::asprintf("Ciphertext is not a multiple of %d bytes.", kBlockSize));
    QByteArray result = aCiphertext;
    auto* data = reinterpret_cast<uint8_t*>(result.data());
    ForEachBlock(data, result.size(), kBlockSize, [this](uint8_t* aBlock) { DecryptBlock(aBlock); });
    result.truncate(UnpaddedLength(data, result.size()));
    return result;
}
