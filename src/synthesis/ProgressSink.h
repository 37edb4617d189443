#pragma once
// What synthesis needs of a progress display: an activity caption, a gauge (0..100)
// and a message pump so that an Abort button can be pressed while a run works.

#include <string>

namespace tickforge {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual void SetActivity(const std::string& text) = 0;
    virtual int GaugePosition() const = 0;
    virtual void SetGaugePosition(int position) = 0;

    // Called by synthesis every few thousand ticks, often enough for a person's Abort
    // to be seen at once. A sink decides by the clock whether anything needs doing.
    virtual void PumpMessages() = 0;
};

// A sink that shows nothing and pumps nothing.
class NullProgressSink final : public ProgressSink {
public:
    void SetActivity(const std::string&) override {}
    int GaugePosition() const override { return gauge_; }
    void SetGaugePosition(int position) override { gauge_ = position; }
    void PumpMessages() override {}

private:
    int gauge_ = 0;
};

}  // namespace tickforge
