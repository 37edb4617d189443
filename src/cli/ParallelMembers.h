#pragma once
// Batch members made at the same time on several threads and taken in member order.
// Only for members that share nothing: a fixed starting price and no random period, so
// that no draw of one member feeds the next. Each member runs the desktop program's
// generation run on a worker thread with that thread's own random sequence, seeded as
// the batch's seed plan says; its bars wait in their slot until the batch takes them.

#include "generation/GenerationOutcome.h"
#include "generation/GenerationRun.h"
#include "series/TimeSeries.h"
#include "synthesis/CorruptHistory.h"
#include "generation/PanelValues.h"
#include "platform/LocaleFormats.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tickforge::cli {

// Moves the series and name of from into to.
void MoveBars(TTimeSeriesSet& from, TTimeSeriesSet& to);

class ParallelMembers {
public:
    struct Member {
        GenerationOutcome outcome;
        TTimeSeriesSet generated;                                   // the run's two bar sets
        TTimeSeriesSet working;
        std::vector<Corruption> corruptions;
        std::vector<std::pair<std::string, std::string>> messages;  // the checks' boxes: text, title
        std::optional<std::uint32_t> seed;                          // the seed synthesis took
        std::atomic<int> gauge{0};
        bool done = false;
    };

    // fixedSeed: member k is seeded with it + k - 1; without it, from the clock, never
    // twice the same seed in one batch.
    ParallelMembers(PanelValues panel, LocaleFormats formats, bool recordCorruptions,
                    std::optional<std::uint32_t> fixedSeed, int count, int jobs);
    // Aborts the members still running and waits for them.
    ~ParallelMembers();
    ParallelMembers(const ParallelMembers&) = delete;
    ParallelMembers& operator=(const ParallelMembers&) = delete;

    // Waits for member k (taken 1, 2, ... in order), calling showPercent with the batch's
    // progress every redraw interval while it waits.
    Member& Take(int k, const std::function<void(int)>& showPercent);

private:
    void Work();
    void Make(int k, Member& member);
    std::uint32_t ClockSeed();
    int BatchPercent() const;

    const PanelValues panel_;
    const LocaleFormats formats_;
    const bool recordCorruptions_;
    const std::optional<std::uint32_t> fixedSeed_;
    const int count_;
    const int window_;  // members made ahead of the one taken
    std::vector<std::unique_ptr<Member>> members_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int next_ = 1;   // the next member to start
    int taken_ = 0;  // members taken by the batch
    bool stopping_ = false;
    std::atomic<bool> stopFlag_{false};
    std::vector<std::uint32_t> clockSeeds_;
    std::vector<std::thread> workers_;
};

}  // namespace tickforge::cli
