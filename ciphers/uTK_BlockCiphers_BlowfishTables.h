#pragma once

// Blowfish's published starting state, before a key is expanded into it.

#include <array>
#include <cstdint>

extern const std::array<uint32_t, 18> kBlowfishPArray;
extern const std::array<uint32_t, 256> kBlowfishSBox1;
extern const std::array<uint32_t, 256> kBlowfishSBox2;
extern const std::array<uint32_t, 256> kBlowfishSBox3;
extern const std::array<uint32_t, 256> kBlowfishSBox4;
