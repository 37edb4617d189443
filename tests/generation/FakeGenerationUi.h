#pragma once
// A user interface for the generation run made of plain objects: it records every
// call in order and keeps the busy state it was told, so that tests can check both
// the sequence and the state the run leaves behind.

#include "generation/GenerationUi.h"
#include "series/TimeSeries.h"
#include "synthesis/ProgressSink.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tickforge::testing {

// A progress sink that logs its activity captions and hands over on every pump.
class RecordingProgressSink final : public ProgressSink {
public:
    explicit RecordingProgressSink(std::vector<std::string>& log) : ProgressSink(1), log_(log) {}

    void SetActivity(const std::string& text) override
    {
        activity = text;
        log_.push_back("activity:" + text);
    }
    int GaugePosition() const override { return gauge_; }
    void SetGaugePosition(int position) override { gauge_ = position; }

    std::string activity = "Idle";
    int pumps = 0;
    std::function<void()> onPump;  // what a person does while the window pumps

protected:
    void Pump() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }

private:
    std::vector<std::string>& log_;
    int gauge_ = 0;
};

class FakeGenerationUi final : public GenerationUi {
public:
    struct ShownBars {
        const TTimeSeriesSet* set = nullptr;
        bool resetZoom = false;
        std::int32_t length = -1;  // the set's length when shown
    };

    PanelValues ReadPanel() override
    {
        log.push_back("read panel");
        return panel;
    }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        log.push_back("box:" + title + ":" + text);
        boxes.emplace_back(text, title);
    }
    void ShowBusyCursor() override
    {
        log.push_back("cursor:busy");
        ++busyCursorDepth;
    }
    void RestoreCursor() override
    {
        log.push_back("cursor:restore");
        --busyCursorDepth;
    }
    void SetMainWindowEnabled(bool enabled) override
    {
        log.push_back(enabled ? "main:enable" : "main:disable");
        mainWindowEnabled = enabled;
    }
    void ShowProgressWindow() override
    {
        log.push_back("progress:show");
        progressVisible = true;
        ++progressShows;
    }
    void HideProgressWindow() override
    {
        log.push_back("progress:hide");
        progressVisible = false;
    }
    ProgressSink& Progress() override { return sink; }
    void ShowBars(const TTimeSeriesSet& bars, bool resetZoom) override
    {
        log.push_back(std::string("show bars:") + (resetZoom ? "reset" : "keep"));
        shown.push_back({&bars, resetZoom, bars.SeriesCount() > 0 ? bars.Length() : -1});
    }

    // The state outside a run: enabled, normal cursor, progress hidden, caption "Idle".
    bool IsIdle() const
    {
        return mainWindowEnabled && busyCursorDepth == 0 && !progressVisible && sink.activity == "Idle";
    }

    // Whether the entries of wanted appear in the log in this order.
    bool LogHasInOrder(const std::vector<std::string>& wanted) const
    {
        std::size_t next = 0;
        for (const std::string& entry : log)
            if (next < wanted.size() && entry == wanted[next])
                ++next;
        return next == wanted.size();
    }

    PanelValues panel;
    std::vector<std::string> log;
    std::vector<std::pair<std::string, std::string>> boxes;  // (text, title)
    std::vector<ShownBars> shown;
    RecordingProgressSink sink{log};
    bool mainWindowEnabled = true;
    bool progressVisible = false;
    int busyCursorDepth = 0;
    int progressShows = 0;
};

}  // namespace tickforge::testing
