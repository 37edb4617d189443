#include "cli/ParallelMembers.h"

#include "cli/AbortSignal.h"
#include "cli/TerminalProgress.h"
#include "platform/Random.h"
#include "synthesis/Abort.h"

#include <algorithm>

namespace tickforge::cli {

namespace {

// A member's generation run without a terminal: the panel as the batch read it, boxes
// kept for the batch to show if it takes the member, and a gauge the batch's bar reads.
class MemberUi final : public GenerationUi, public ProgressSink {
public:
    MemberUi(const PanelValues& panel, ParallelMembers::Member& member, const std::atomic<bool>& stop)
        : panel_(panel), member_(member), stop_(stop)
    {
    }

    PanelValues ReadPanel() override { return panel_; }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        member_.messages.emplace_back(text, title);
    }
    void ShowBusyCursor() override {}
    void RestoreCursor() override {}
    void SetMainWindowEnabled(bool) override {}
    void ShowProgressWindow() override {}
    void HideProgressWindow() override {}
    ProgressSink& Progress() override { return *this; }
    void ShowBars(const TTimeSeriesSet&, bool) override {}

    void SetActivity(const std::string&) override {}
    int GaugePosition() const override { return member_.gauge.load(std::memory_order_relaxed); }
    void SetGaugePosition(int position) override { member_.gauge.store(position, std::memory_order_relaxed); }
    // The abort flag is shared by every member and cleared by the first run that ends
    // aborted: an interrupt or the batch's end raises it again for the others.
    void PumpMessages() override
    {
        if (Interrupted() || stop_.load(std::memory_order_relaxed))
            RequestAbort();
    }

private:
    const PanelValues& panel_;
    ParallelMembers::Member& member_;
    const std::atomic<bool>& stop_;
};

}  // namespace

void MoveBars(TTimeSeriesSet& from, TTimeSeriesSet& to)
{
    to.Series = std::move(from.Series);
    from.Series.clear();
    to.Name = from.Name;
}

ParallelMembers::ParallelMembers(PanelValues panel, LocaleFormats formats, bool recordCorruptions,
                                 std::optional<std::uint32_t> fixedSeed, int count, int jobs)
    : panel_(std::move(panel)),
      formats_(std::move(formats)),
      recordCorruptions_(recordCorruptions),
      fixedSeed_(fixedSeed),
      count_(count),
      window_(2 * jobs)
{
    members_.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        members_.push_back(std::make_unique<Member>());
    for (int j = 0; j < std::min(jobs, count); ++j)
        workers_.emplace_back([this] { Work(); });
}

ParallelMembers::~ParallelMembers()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopFlag_ = true;
    RequestAbort();
    changed_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
    ClearAbortRequest();
}

ParallelMembers::Member& ParallelMembers::Take(int k, const std::function<void(int)>& showPercent)
{
    Member& member = *members_[static_cast<std::size_t>(k - 1)];
    std::unique_lock lock(mutex_);
    taken_ = k - 1;
    changed_.notify_all();
    while (!changed_.wait_for(lock, TerminalProgress::RedrawInterval, [&] { return member.done; }))
        showPercent(BatchPercent());
    taken_ = k;
    changed_.notify_all();
    return member;
}

int ParallelMembers::BatchPercent() const
{
    long long sum = 0;
    for (const auto& member : members_)
        sum += member->done ? 100 : member->gauge.load(std::memory_order_relaxed);
    return static_cast<int>(sum / count_);
}

void ParallelMembers::Work()
{
    for (;;) {
        int k = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || next_ > count_ || next_ <= taken_ + window_; });
            if (stopping_ || next_ > count_)
                return;
            k = next_++;
        }
        Member& member = *members_[static_cast<std::size_t>(k - 1)];
        if (Interrupted())
            member.outcome = {GenerationOutcome::Aborted};
        else
            Make(k, member);
        {
            std::lock_guard lock(mutex_);
            member.done = true;
        }
        changed_.notify_all();
    }
}

void ParallelMembers::Make(int k, Member& member)
{
    MemberUi ui(panel_, member, stopFlag_);
    // This thread's random sequence, seeded for member k when synthesis re-seeds it.
    SharedRandom().SetClockSeedSource([&] {
        const std::uint32_t seed = fixedSeed_ ? *fixedSeed_ + static_cast<std::uint32_t>(k - 1) : ClockSeed();
        member.seed = seed;
        return seed;
    });
    GenerationRun run(ui, formats_);
    run.RecordCorruptions = recordCorruptions_;
    member.outcome = run.btnGenerateClick();
    SharedRandom().SetClockSeedSource({});
    MoveBars(run.GeneratedSet, member.generated);
    MoveBars(run.WorkingSet, member.working);
    member.corruptions = std::move(run.Corruptions);
}

std::uint32_t ParallelMembers::ClockSeed()
{
    std::lock_guard lock(mutex_);
    std::uint32_t seed = MillisecondsSinceMidnightUtc();
    while (std::find(clockSeeds_.begin(), clockSeeds_.end(), seed) != clockSeeds_.end())
        ++seed;
    clockSeeds_.push_back(seed);
    return seed;
}

}  // namespace tickforge::cli
