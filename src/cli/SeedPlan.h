#pragma once
// Where each batch member's synthesis takes its seed from. With --rng-seed N member k
// is seeded with N + k - 1 (mod 2^32); otherwise from the clock, as the desktop
// program does, and the seed is kept so that it can be reported and the run repeated.
// Every other draw (the run's own, dirty data) continues the shared sequence.

#include <cstdint>
#include <optional>

namespace tickforge::cli {

class SeedPlan {
public:
    explicit SeedPlan(std::optional<std::uint32_t> fixedSeed);
    ~SeedPlan();
    SeedPlan(const SeedPlan&) = delete;
    SeedPlan& operator=(const SeedPlan&) = delete;

    // The member whose generation comes next (1 for the first).
    void SetMember(int member) { member_ = member; }
    // The seed that synthesis took for the current member, if it re-seeded yet.
    std::optional<std::uint32_t> SeedUsed() const { return used_; }
    bool Fixed() const { return fixed_.has_value(); }

private:
    std::uint32_t NextSeed();

    std::optional<std::uint32_t> fixed_;
    int member_ = 1;
    std::optional<std::uint32_t> used_;
};

}  // namespace tickforge::cli
