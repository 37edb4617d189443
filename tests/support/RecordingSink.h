#pragma once
// A progress sink for tests: records what synthesis reports and can request an abort
// at a chosen message pump.

#include "synthesis/Abort.h"
#include "synthesis/ProgressSink.h"

#include <functional>
#include <string>
#include <vector>

namespace tickforge::testing {

class RecordingSink : public ProgressSink {
public:
    // Every PumpMessages call reaches Pump().
    RecordingSink() : ProgressSink(1) {}

    void SetActivity(const std::string& text) override { activities.push_back(text); }
    int GaugePosition() const override { return gauge; }
    void SetGaugePosition(int position) override
    {
        gauge = position;
        gaugeHistory.push_back(position);
    }

    // Requests an abort when the pump count reaches n (1 = the first pump).
    void AbortAtPump(long long n) { abortAtPump = n; }

    std::vector<std::string> activities;
    std::vector<int> gaugeHistory;
    int gauge = 0;
    long long pumps = 0;
    long long abortAtPump = -1;
    std::function<void()> onPump;

protected:
    void Pump() override
    {
        ++pumps;
        if (pumps == abortAtPump)
            RequestAbort();
        if (onPump)
            onPump();
    }
};

}  // namespace tickforge::testing
