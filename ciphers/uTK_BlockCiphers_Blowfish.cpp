// Blowfish as published, except that each half of a block is read and written little-endian.
#include "uTK_BlockCiphers.h"

#include "uTK_BlockCiphers_BlowfishTables.h"

#include <span>
#include <utility>

TBlowfishCipher::TBlowfishCipher(const void* aKey, int aLength)
    : T64BitBlockCipher(aLength, kMinKeyLength),
      FSBox1(kBlowfishSBox1),
      FSBox2(kBlowfishSBox2),
      FSBox3(kBlowfishSBox3),
      FSBox4(kBlowfishSBox4),
      FPArray(kBlowfishPArray)
{
    // Key bytes go in as published: most significant first, the key repeated as often as needed.
    const auto* key = static_cast<const uint8_t*>(aKey);
    int next = 0;
    for (uint32_t& entry : FPArray) {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = (word << 8) | key[next];
            next = (next + 1) % aLength;
        }
        entry ^= word;
    }

    // Each enciphering of the running block replaces the next two entries, P-array first.
    uint32_t left = 0;
    uint32_t right = 0;
    const auto refill = [&](std::span<uint32_t> aTable) {
        for (size_t i = 0; i < aTable.size(); i += 2) {
            Encipher(left, right);
            aTable[i] = left;
            aTable[i + 1] = right;
        }
    };
    refill(FPArray);
    refill(FSBox1);
    refill(FSBox2);
    refill(FSBox3);
    refill(FSBox4);
}

uint32_t TBlowfishCipher::F(uint32_t aHalf) const
{
    return ((FSBox1[aHalf >> 24] + FSBox2[(aHalf >> 16) & 0xFF]) ^ FSBox3[(aHalf >> 8) & 0xFF])
           + FSBox4[aHalf & 0xFF];
}

void TBlowfishCipher::Encipher(uint32_t& aLeft, uint32_t& aRight) const
{
    for (int i = 0; i < 16; ++i) {
        aLeft ^= FPArray[i];
        aRight ^= F(aLeft);
        std::swap(aLeft, aRight);
    }
    std::swap(aLeft, aRight);
    aRight ^= FPArray[16];
    aLeft ^= FPArray[17];
}

void TBlowfishCipher::Decipher(uint32_t& aLeft, uint32_t& aRight) const
{
    for (int i = 17; i > 1; --i) {
        aLeft ^= FPArray[i];
        aRight ^= F(aLeft);
        std::swap(aLeft, aRight);
    }
    std::swap(aLeft, aRight);
    aRight ^= FPArray[1];
    aLeft ^= FPArray[0];
}

// The left half is the low word of the block value: bytes 0 to 3.
uint64_t TBlowfishCipher::EncryptedBlock(uint64_t aPlaintext) const
{
    uint32_t left = uint32_t(aPlaintext);
    uint32_t right = uint32_t(aPlaintext >> 32);
    Encipher(left, right);
    return (uint64_t(right) << 32) | left;
}

uint64_t TBlowfishCipher::DecryptedBlock(uint64_t aCiphertext) const
{
    uint32_t left = uint32_t(aCiphertext);
    uint32_t right = uint32_t(aCiphertext >> 32);
    Decipher(left, right);
    return (uint64_t(right) << 32) | left;
}
