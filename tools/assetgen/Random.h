/** @file Random.h A small seeded generator, the same on every machine and library. */
#pragma once

#include <cstdint>

namespace assetgen
{

/// xorshift64*: the standard library's distributions differ between implementations, so every
/// random choice of the generators goes through this one, seeded with fixed numbers.
class Random
{
public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}

    std::uint64_t Next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }
    /// Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    /// Uniform in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }
    /// Uniform in [0, count).
    int Below(int count) { return static_cast<int>(Unit() * count); }

private:
    std::uint64_t state_;
};

} // namespace assetgen
