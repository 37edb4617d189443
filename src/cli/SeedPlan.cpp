#include "cli/SeedPlan.h"

#include "platform/Random.h"

namespace tickforge::cli {

SeedPlan::SeedPlan(std::optional<std::uint32_t> fixedSeed) : fixed_(fixedSeed)
{
    SharedRandom().SetClockSeedSource([this] { return NextSeed(); });
}

SeedPlan::~SeedPlan() { SharedRandom().SetClockSeedSource({}); }

std::uint32_t SeedPlan::NextSeed()
{
    // Unsigned arithmetic wraps modulo 2^32, as the seed does.
    const std::uint32_t seed =
        fixed_ ? *fixed_ + static_cast<std::uint32_t>(member_ - 1) : MillisecondsSinceMidnightUtc();
    used_ = seed;
    return seed;
}

}  // namespace tickforge::cli
