#pragma once
#include <cstdint>

// Seeded noise for the style textures. Our own integer hashing, so the same
// seed gives the same grain on every machine and every run.
namespace tabora::art::style {

// A small counter-based generator (SplitMix64).
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    float Uniform();  // [0, 1)

private:
    uint64_t state_;
};

uint32_t Hash(int32_t x, int32_t y, uint32_t seed);
// A lattice value in [0, 1).
float HashUnit(int32_t x, int32_t y, uint32_t seed);
// Smoothly interpolated lattice noise in [0, 1).
float ValueNoise(float x, float y, uint32_t seed);
// Sum of octaves of ValueNoise, normalised to [0, 1).
float Fbm(float x, float y, uint32_t seed, int octaves);

}  // namespace tabora::art::style
