// The block ciphers: published vectors through this system's byte conventions, key lengths, and the
// padding, chunking and length errors of whole strings and streams.
#include "uTK_BlockCiphers.h"

#include "Exception.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct Vector { const char* key; const char* plain; const char* cipher; };

QByteArray Hex(const char* aText)
{
    return QByteArray::fromHex(aText);
}

// The bytes with each aGroup-byte group reversed: how our byte order differs from the published one.
QByteArray Reversed(QByteArray aBytes, int aGroup)
{
    for (qsizetype i = 0; i < aBytes.size(); i += aGroup)
        std::reverse(aBytes.begin() + i, aBytes.begin() + std::min(i + aGroup, aBytes.size()));
    return aBytes;
}

quint64 BlockValue(const QByteArray& aBlock)
{
    return qFromLittleEndian<quint64>(aBlock.constData());
}

// Each vector in place and as a value, both ways. Key and block bytes are reversed in groups of aKeyGroup
// and aBlockGroup bytes on the way in, and the published ciphertext likewise on the way out.
template <typename Cipher>
void CheckVectors(std::initializer_list<Vector> aVectors, int aKeyGroup, int aBlockGroup)
{
    for (const Vector& v : aVectors) {
        SCOPED_TRACE(testing::Message() << v.key << " " << v.plain);
        const QByteArray key = Reversed(Hex(v.key), aKeyGroup);
        const QByteArray plain = Reversed(Hex(v.plain), aBlockGroup);
        const QByteArray cipher = Reversed(Hex(v.cipher), aBlockGroup);
        const Cipher c(key.constData(), int(key.size()));

        QByteArray block = plain;
        c.EncryptBlock(reinterpret_cast<uint8_t*>(block.data()));
        EXPECT_EQ(block.toHex(), cipher.toHex());
        c.DecryptBlock(reinterpret_cast<uint8_t*>(block.data()));
        EXPECT_EQ(block.toHex(), plain.toHex());

        EXPECT_EQ(c.EncryptedBlock(BlockValue(plain)), BlockValue(cipher));
        EXPECT_EQ(c.DecryptedBlock(BlockValue(cipher)), BlockValue(plain));
    }
}

constexpr char kKey[] = "\x01\x23\x45\x67\x89\xAB\xCD\xEF";

TDESCipher Des()
{
    return TDESCipher(kKey, 8);
}

std::vector<std::unique_ptr<T64BitBlockCipher>> Ciphers()
{
    std::vector<std::unique_ptr<T64BitBlockCipher>> ciphers;
    ciphers.push_back(std::make_unique<TDESCipher>(kKey, 8));
    ciphers.push_back(std::make_unique<TBlowfishCipher>(kKey, 8));
    return ciphers;
}

QByteArray Data(int aLength)
{
    QByteArray data(aLength, '\0');
    for (int i = 0; i < aLength; ++i)
        data[i] = char(i * 131 + 7);
    return data;
}

// Enciphers or deciphers block by block, without padding.
QByteArray EachBlock(const T64BitBlockCipher& aCipher, QByteArray aData, bool aEncrypt)
{
    for (qsizetype i = 0; i < aData.size(); i += 8) {
        auto* block = reinterpret_cast<uint8_t*>(aData.data() + i);
        aEncrypt ? aCipher.EncryptBlock(block) : aCipher.DecryptBlock(block);
    }
    return aData;
}



// Runs aAction from aInput, read from aSkip bytes on, into a fresh buffer; answers what was written.
QByteArray ThroughStreams(const QByteArray& aInput, int aSkip, auto aAction)
{
    QByteArray input = aInput;
    QBuffer source(&input);
    source.open(QIODevice::ReadOnly);
    source.seek(aSkip);
    QByteArray output;
    QBuffer target(&output);
    target.open(QIODevice::WriteOnly);
    aAction(source, target);
    return output;
}

// Hands out at most 1000 bytes per read, as pipes and sockets may.
class TTrickleDevice : public QIODevice
{
public:
    explicit TTrickleDevice(QByteArray aData) : fData(std::move(aData)) { open(ReadOnly | Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* aData, qint64 aMaxSize) override
    {
        const qint64 count = std::min({aMaxSize, qint64(1000), fData.size() - fNext});
        std::copy_n(fData.constData() + fNext, count, aData);
        fNext += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray fData;
    qint64 fNext = 0;
};

} // namespace

TEST(DESCipher, PublishedVectorsWithKeyAndBlocksByteReversed)
{
    CheckVectors<TDESCipher>({
        {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},   // "Now is t"
        {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
        {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
        {"0101010101010101", "95F8A5E5DD31D900", "8000000000000000"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "ED39D950FA74BCC4"},
    }, 8, 8);
}

TEST(BlowfishCipher, PublishedVectorsWithEachHalfByteReversed)
{
    CheckVectors<TBlowfishCipher>({
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        // Keys that are not a multiple of four bytes wrap in the middle of a word.
        {"F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
    }, 1, 4);
}

TEST(BlockCiphers, RefuseKeysShorterThanEightBytes)
{
    const QByteArray key(7, 'k');
    EXPECT_EQ(ErrorOf([&] { TDESCipher(key.constData(), 7); }), "Key must be at least 8 bytes long.");
    EXPECT_EQ(ErrorOf([&] { TBlowfishCipher(key.constData(), 7); }), "Key must be at least 8 bytes long.");
}

TEST(BlockCiphers, UseOnlyTheKeyBytesTheyNeed)
{
    // DES takes the first 8 bytes; Blowfish takes up to 72, however long the key.
    QByteArray key(80, '\0');
    for (int i = 0; i < key.size(); ++i)
        key[i] = char(i * 37 + 11);
    const quint64 block = 0x0123456789ABCDEF;

    EXPECT_EQ(TDESCipher(key.constData(), 16).EncryptedBlock(block),
              TDESCipher(key.constData(), 8).EncryptedBlock(block));
    const TBlowfishCipher longest(key.constData(), 72);
    EXPECT_EQ(TBlowfishCipher(key.constData(), 80).EncryptedBlock(block), longest.EncryptedBlock(block));
    EXPECT_NE(TBlowfishCipher(key.constData(), 71).EncryptedBlock(block), longest.EncryptedBlock(block));
}

TEST(BlockCipherStrings, PadEveryLengthWithOneToEightBytesAndComeBack)
{
    struct Case { int length; int cipherLength; };
    for (const auto& owned : Ciphers()) {
        const T64BitBlockCipher& cipher = *owned;
        for (const Case c : {Case{0, 8}, Case{7, 8}, Case{8, 16}, Case{9, 16}}) {
            SCOPED_TRACE(c.length);
            const QByteArray plain = Data(c.length);
            const QByteArray encrypted = cipher.EncryptedString(plain);
            ASSERT_EQ(encrypted.size(), c.cipherLength);
            EXPECT_EQ(cipher.CiphertextLength(c.length), c.cipherLength);

            const int padding = c.cipherLength - c.length;
            EXPECT_EQ(EachBlock(cipher, encrypted, false), plain + QByteArray(padding, char(padding)));
            EXPECT_EQ(cipher.DecryptedString(encrypted), plain);
        }
    }
}

TEST(BlockCipherStrings, RefuseCiphertextOfNoWholeBlocks)
{
    const TDESCipher cipher = Des();
    for (int length : {0, 7, 12})
        EXPECT_EQ(ErrorOf([&] { cipher.DecryptedString(Data(length)); }), "Ciphertext is not a multiple of 8 bytes.")
            << length;
}

TEST(BlockCipherStrings, TrustThePaddingCountWhateverItSays)
{
    // What a wrong key or damaged data gives: no error, just a result of some length.
    struct Case { int count; int resultLength; };
    for (const auto& owned : Ciphers()) {
        const T64BitBlockCipher& cipher = *owned;
        for (const Case c : {Case{0, 16}, Case{12, 4}, Case{16, 0}, Case{200, 0}}) {
            SCOPED_TRACE(c.count);
            QByteArray plain = Data(16);
            plain[15] = char(c.count);
            EXPECT_EQ(cipher.DecryptedString(EachBlock(cipher, plain, true)), plain.left(c.resultLength));
        }
    }
}

TEST(BlockCipherStreams, EncipherFromThePositionInChunksAndComeBack)
{
    struct Case { int length; int cipherLength; };
    for (const auto& owned : Ciphers()) {
        const T64BitBlockCipher& cipher = *owned;
        for (const Case c : {Case{0, 8}, Case{4095, 4096}, Case{4096, 4104}, Case{9000, 9008}}) {
            SCOPED_TRACE(c.length);
            const QByteArray plain = Data(c.length);
            const QByteArray encrypted = ThroughStreams("skip" + plain, 4, [&](QIODevice& aIn, QIODevice& aOut) {
                cipher.EncryptStream(aIn, aOut);
            });
            ASSERT_EQ(encrypted.size(), c.cipherLength);
            EXPECT_EQ(encrypted, cipher.EncryptedString(plain));

            const QByteArray decrypted = ThroughStreams("xyz" + encrypted, 3, [&](QIODevice& aIn, QIODevice& aOut) {
                cipher.DecryptStream(aIn, aOut);
            });
            EXPECT_EQ(decrypted, plain);
        }
    }
}

TEST(BlockCipherStreams, EncipherWholeChunksFromDevicesThatReadLittleAtATime)
{
    const TDESCipher cipher = Des();
    const QByteArray plain = Data(5000);
    TTrickleDevice source(plain);
    QByteArray encrypted;
    QBuffer target(&encrypted);
    target.open(QIODevice::WriteOnly);
    cipher.EncryptStream(source, target);
    EXPECT_EQ(encrypted, cipher.EncryptedString(plain));
}

TEST(BlockCipherStreams, RefuseCiphertextOfNoWholeBlocksBeforeWritingAnything)
{
    const TDESCipher cipher = Des();
    struct Case { int length; int skip; };
    for (const Case c : {Case{0, 0}, Case{12, 0}, Case{16, 4}}) {
        SCOPED_TRACE(c.length);
        QString error;
        const QByteArray written = ThroughStreams(Data(c.length), c.skip, [&](QIODevice& aIn, QIODevice& aOut) {
            error = ErrorOf([&] { cipher.DecryptStream(aIn, aOut); });
        });
        EXPECT_EQ(error, "Ciphertext length is not a multiple of 8.");
        EXPECT_TRUE(written.isEmpty());
    }
}

TEST(BlockCipherStreams, RaiseWhenTheOutputCannotBeWritten)
{
    const TDESCipher cipher = Des();
    QByteArray plain = Data(100);
    QBuffer source(&plain);
    source.open(QIODevice::ReadOnly);
    QByteArray kept;
    QBuffer target(&kept);
    target.open(QIODevice::ReadOnly);
    EXPECT_THROW(cipher.EncryptStream(source, target), Exception);
}
