#pragma once
// A user interface for the generation run made of plain objects: it logs every call in
// order and keeps the busy state it was told, so that tests can check both.

#include "generation/GenerationUi.h"
#include "support/RecordingSink.h"

#include <string>
#include <utility>
#include <vector>

namespace tickforge::testing {

class FakeGenerationUi final : public GenerationUi {
public:
    using Box = std::pair<std::string, std::string>;  // (text, title)
    struct ShownBars {
        const TTimeSeriesSet* set = nullptr;
        bool resetZoom = false;
    };

    PanelValues ReadPanel() override { Log("read panel"); return panel; }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        Log("box:" + title + ":" + text);
        boxes.emplace_back(text, title);
    }
    void ShowBusyCursor() override { Log("cursor:busy"); ++busyCursorDepth; }
    void RestoreCursor() override { Log("cursor:restore"); --busyCursorDepth; }
    void SetMainWindowEnabled(bool enabled) override { Log((mainWindowEnabled = enabled) ? "main:enable" : "main:disable"); }
    void ShowProgressWindow() override { Log("progress:show"), progressVisible = true; }
    void HideProgressWindow() override { Log("progress:hide"), progressVisible = false; }
    ProgressSink& Progress() override { return sink; }
    void ShowBars(const TTimeSeriesSet& bars, bool resetZoom) override
    {
        Log(std::string("show bars:") + (resetZoom ? "reset" : "keep"));
        shown.push_back({&bars, resetZoom});
    }

    // The state outside a run: enabled, normal cursor, progress hidden, caption "Idle".
    bool IsIdle() const { return mainWindowEnabled && busyCursorDepth == 0 && !progressVisible && sink.Activity() == "Idle"; }

    PanelValues panel;
    std::vector<std::string> log;
    std::vector<Box> boxes;
    std::vector<ShownBars> shown;
    RecordingSink sink{log};
    bool mainWindowEnabled = true;
    bool progressVisible = false;
    int busyCursorDepth = 0;

private:
    void Log(const std::string& entry) { log.push_back(entry); }
};

}  // namespace tickforge::testing
