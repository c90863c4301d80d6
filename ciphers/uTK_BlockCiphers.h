#pragma once

// Block ciphers for the short secrets the programs store and exchange: DES and Blowfish in electronic
// code book mode (each block on its own, no chaining), with padding for whole strings and streams.
//
// Byte conventions (texts enciphered anywhere in the system decipher only under them):
// - A 64-bit block value is the little-endian reading of the block's 8 bytes; the in-place and the value
//   operations give the same bytes.
// - DES applies its bit numbering to that little-endian number, key included: reversing the 8 key bytes
//   and the 8 bytes of input and output gives the cipher of FIPS 46. Key parity bits are ignored.
// - Blowfish reads and writes each 4-byte half of a block little-endian (left = bytes 0-3); its key bytes
//   are consumed as published, most significant first.
//
// Padding is PKCS #5: 1 to BlockSize() bytes, each holding their count. Deciphering trusts the last byte
// as that count without checking it, so a wrong key gives garbage of some length, never an error.
//
// An instance only reads its key schedule once built: it may be shared between threads.

#include <QByteArray>

#include <array>
#include <cstdint>

class QIODevice;

class TBlockCipher
{
public:
    virtual ~TBlockCipher() = default;
    TBlockCipher(const TBlockCipher&) = delete;
    TBlockCipher& operator=(const TBlockCipher&) = delete;

    // Bytes out for aPlaintextLength bytes in: padding always adds 1 to aBlockSize bytes.
    static constexpr int CiphertextLength(int aPlaintextLength, int aBlockSize)
    {
        return (aPlaintextLength / aBlockSize + 1) * aBlockSize;
    }
    int CiphertextLength(int aPlaintextLength) const { return CiphertextLength(aPlaintextLength, BlockSize()); }

    // Enciphers aPlaintext from its position to its end into aCiphertext, padding included.
    void EncryptStream(QIODevice& aPlaintext, QIODevice& aCiphertext) const;
    // Deciphers aCiphertext from its position to its end into aPlaintext, padding removed. The bytes left
    // must be a non-zero multiple of BlockSize(), else "Ciphertext length is not a multiple of %d." is raised
    // before anything is written; aCiphertext must therefore know its size (a file or a buffer).
    // A read or write that fails raises the device's error text.
    void DecryptStream(QIODevice& aCiphertext, QIODevice& aPlaintext) const;

    // One block of BlockSize() bytes, in place.
    virtual void EncryptBlock(uint8_t* aBlock) const = 0;
    virtual void DecryptBlock(uint8_t* aBlock) const = 0;

    virtual int MinKeyLength() const = 0;
    virtual int MaxKeyLength() const { return MinKeyLength(); }
    virtual int BlockSize() const = 0;

protected:
    // Raises "Key must be at least %d bytes long." when aKeyLength is below aMinKeyLength.
    TBlockCipher(int aKeyLength, int aMinKeyLength);
};

class T64BitBlockCipher : public TBlockCipher
{
public:
    static constexpr int kBlockSize = 8;
    int BlockSize() const final { return kBlockSize; }

    void EncryptBlock(uint8_t* aBlock) const final;
    void DecryptBlock(uint8_t* aBlock) const final;
    virtual uint64_t EncryptedBlock(uint64_t aPlaintext) const = 0;
    virtual uint64_t DecryptedBlock(uint64_t aCiphertext) const = 0;

    // Any bytes in, CiphertextLength(size) bytes of any value out.
    QByteArray EncryptedString(const QByteArray& aPlaintext) const;
    // Raises "Ciphertext is not a multiple of %d bytes." when the length is 0 or not a multiple of 8.
    QByteArray DecryptedString(const QByteArray& aCiphertext) const;

protected:
    using TBlockCipher::TBlockCipher;
};

class TDESCipher final : public T64BitBlockCipher
{
public:
    static constexpr int kMinKeyLength = 8;

    // Uses the first 8 bytes of aKey.
    TDESCipher(const void* aKey, int aLength);

    uint64_t EncryptedBlock(uint64_t aPlaintext) const override;
    uint64_t DecryptedBlock(uint64_t aCiphertext) const override;
    int MinKeyLength() const override { return kMinKeyLength; }

private:
    // Eight six-bit groups per round; the key of round 1 sits at index 15, that of round 16 at index 0.
    using TRoundKey = std::array<uint32_t, 8>;
    uint64_t Crypt(uint64_t aBlock, bool aEncrypt) const;

    std::array<TRoundKey, 16> FKeySchedule;
};

class TBlowfishCipher final : public T64BitBlockCipher
{
public:
    static constexpr int kMinKeyLength = 8;
    static constexpr int kMaxKeyLength = 56;

    // Expands the first aLength bytes of aKey, repeated cyclically; beyond 72 bytes a key adds nothing.
    // Longer keys than MaxKeyLength() are accepted.
    TBlowfishCipher(const void* aKey, int aLength);

    uint64_t EncryptedBlock(uint64_t aPlaintext) const override;
    uint64_t DecryptedBlock(uint64_t aCiphertext) const override;
    int MinKeyLength() const override { return kMinKeyLength; }
    int MaxKeyLength() const override { return kMaxKeyLength; }

private:
    uint32_t F(uint32_t aHalf) const;
    void Encipher(uint32_t& aLeft, uint32_t& aRight) const;
    void Decipher(uint32_t& aLeft, uint32_t& aRight) const;

    std::array<uint32_t, 256> FSBox1;
    std::array<uint32_t, 256> FSBox2;
    std::array<uint32_t, 256> FSBox3;
    std::array<uint32_t, 256> FSBox4;
    std::array<uint32_t, 18> FPArray;
};
