#pragma once
// The program's one random source: a 32-bit linear congruential generator shared by
// the whole process. Synthesis re-seeds it from the clock; everything else continues
// the sequence, so the order of draws is part of what makes a history reproducible.

#include <cstdint>
#include <functional>

namespace tickforge {

class RandomSource {
public:
    static constexpr std::uint32_t Multiplier = 134775813u;  // 0x08088405

    // Steps the seed and returns the new one.
    static constexpr std::uint32_t Step(std::uint32_t seed) { return seed * Multiplier + 1u; }
    // A real in [0, 1) from a freshly stepped seed.
    static constexpr double ToReal(std::uint32_t seed) { return static_cast<double>(seed) * (1.0 / 4294967296.0); }
    // An integer in [0, n) from a freshly stepped seed: the upper 32 bits of seed * n.
    // A negative n gives a result in (n, 0], as the signed product does.
    static constexpr std::int32_t ToInt(std::uint32_t seed, std::int32_t n)
    {
        return static_cast<std::int32_t>((static_cast<std::int64_t>(seed) * n) >> 32);
    }

    double NextReal() { seed_ = Step(seed_); return ToReal(seed_); }
    std::int32_t NextInt(std::int32_t n) { seed_ = Step(seed_); return ToInt(seed_, n); }

    std::uint32_t Seed() const { return seed_; }
    void SetSeed(std::uint32_t seed) { seed_ = seed; }

    // Sets the seed from the clock: the milliseconds since midnight UTC, unless a
    // clock seed source has been installed (reproducible runs install one).
    void ReseedFromClock();
    // The seed the last ReseedFromClock set, so that a run can be told and repeated.
    std::uint32_t LastClockSeed() const { return lastClockSeed_; }

    using ClockSeedSource = std::function<std::uint32_t()>;
    // An empty source restores the real clock.
    void SetClockSeedSource(ClockSeedSource source) { clockSeedSource_ = std::move(source); }
    const ClockSeedSource& GetClockSeedSource() const { return clockSeedSource_; }

private:
    std::uint32_t seed_ = 0;
    std::uint32_t lastClockSeed_ = 0;
    ClockSeedSource clockSeedSource_;
};

// The program's instance, seed 0 at program start. One per thread: the main thread's is
// the sequence every history draws from; a thread that makes batch members has its own.
RandomSource& SharedRandom();

std::uint32_t MillisecondsSinceMidnightUtc();

}  // namespace tickforge
