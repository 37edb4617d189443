#pragma once
// A progress sink for tests: records what synthesis reports, counts the pumps and runs
// onPump at each, which is where a person's Abort arrives.

#include "synthesis/Abort.h"
#include "synthesis/ProgressSink.h"

#include <functional>
#include <string>
#include <vector>

namespace tickforge::testing {

class RecordingSink : public ProgressSink {
public:
    RecordingSink() = default;
    // Also logs each caption as "activity:<text>" into log.
    explicit RecordingSink(std::vector<std::string>& log) : log_(&log) {}

    void SetActivity(const std::string& text) override
    {
        activities.push_back(text);
        if (log_ != nullptr)
            log_->push_back("activity:" + text);
    }
    int GaugePosition() const override { return gauge; }
    void SetGaugePosition(int position) override { gaugeHistory.push_back(gauge = position); }

    std::string Activity() const { return activities.empty() ? "Idle" : activities.back(); }

    std::vector<std::string> activities;
    std::vector<int> gaugeHistory;
    int gauge = 0;
    long long pumps = 0;
    std::function<void()> onPump;

    void PumpMessages() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }

private:
    std::vector<std::string>* log_ = nullptr;
};

}  // namespace tickforge::testing
