#include "platform/Random.h"

#include <chrono>

namespace tickforge {

RandomSource& SharedRandom()
{
    thread_local RandomSource source;
    return source;
}

void RandomSource::ReseedFromClock()
{
    seed_ = clockSeedSource_ ? clockSeedSource_() : MillisecondsSinceMidnightUtc();
    lastClockSeed_ = seed_;
}

std::uint32_t MillisecondsSinceMidnightUtc()
{
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    constexpr long long msPerDay = 24LL * 60 * 60 * 1000;
    return static_cast<std::uint32_t>(((now % msPerDay) + msPerDay) % msPerDay);
}

}  // namespace tickforge
