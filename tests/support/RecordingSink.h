#pragma once
// A progress sink for tests: records what synthesis reports, hands over on every pump,
// and runs onPump there, which is where a person's Abort arrives.

#include "synthesis/Abort.h"
#include "synthesis/ProgressSink.h"

#include <functional>
#include <string>
#include <vector>

namespace tickforge::testing {

class RecordingSink : public ProgressSink {
public:
    RecordingSink() : ProgressSink(1) {}
    // Also logs each caption as "activity:<text>" into log.
    explicit RecordingSink(std::vector<std::string>& log) : ProgressSink(1), log_(&log) {}

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

protected:
    void Pump() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }

private:
    std::vector<std::string>* log_ = nullptr;
};

}  // namespace tickforge::testing
