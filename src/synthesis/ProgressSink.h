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

    // Called by synthesis for a tick (or for a run of ticks, the rest counted with
    // SkipPumpCalls) and for a day of compression. Costs a countdown; every pumpStride
    // calls it hands over to Pump(), where a sink decides whether to pump events.
    void PumpMessages()
    {
        if (--countdown_ == 0) [[unlikely]] {
            countdown_ = stride_;
            Pump();
        }
    }

    // A loop that calls PumpMessages once per step may take a run of steps at once:
    // the next PumpsBeforeHandover() - 1 calls would only count down, and
    // SkipPumpCalls(n) counts n of them (n must stay below PumpsBeforeHandover()).
    unsigned PumpsBeforeHandover() const { return countdown_; }
    void SkipPumpCalls(unsigned n) { countdown_ -= n; }

    // Hands over to Pump() at once, whatever the countdown says.
    void PumpNow()
    {
        countdown_ = stride_;
        Pump();
    }

protected:
    explicit ProgressSink(unsigned pumpStride = 1024) : stride_(pumpStride ? pumpStride : 1), countdown_(stride_) {}
    virtual void Pump() = 0;

private:
    unsigned stride_;
    unsigned countdown_;
};

// A sink that shows nothing and pumps nothing.
class NullProgressSink final : public ProgressSink {
public:
    NullProgressSink() : ProgressSink(1u << 30) {}
    void SetActivity(const std::string&) override {}
    int GaugePosition() const override { return gauge_; }
    void SetGaugePosition(int position) override { gauge_ = position; }

protected:
    void Pump() override {}

private:
    int gauge_ = 0;
};

}  // namespace tickforge
