#include "cli/TerminalProgress.h"

#include <algorithm>

namespace tickforge::cli {

namespace {
constexpr int BarWidth = 30;
}  // namespace

TerminalProgress::TerminalProgress(std::FILE* stream, bool enabled) : stream_(stream), enabled_(enabled)
{
}

void TerminalProgress::SetActivity(const std::string& text)
{
    activity_ = text;
    // A new phase is worth showing at the next chance, once its gauge is set.
    lastDraw_ = {};
}

void TerminalProgress::SetGaugePosition(int position)
{
    gauge_ = std::clamp(position, 0, 100);
    DrawIfDue();
}

void TerminalProgress::SetMember(int member, int count)
{
    member_ = member;
    count_ = count;
}

// The bar is drawn once synthesis names its first activity; before that it would show
// the previous run's leftovers.
void TerminalProgress::Show() { visible_ = true; }

void TerminalProgress::Hide()
{
    if (visible_ && enabled_) {
        std::fputs("\r\x1b[K", stream_);
        std::fflush(stream_);
    }
    visible_ = false;
}

void TerminalProgress::PumpMessages() { DrawIfDue(); }

void TerminalProgress::DrawIfDue()
{
    if (!visible_ || !enabled_)
        return;
    if (std::chrono::steady_clock::now() - lastDraw_ >= RedrawInterval)
        Draw();
}

void TerminalProgress::Draw()
{
    if (!visible_ || !enabled_)
        return;
    lastDraw_ = std::chrono::steady_clock::now();
    const int filled = gauge_ * BarWidth / 100;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(BarWidth - filled), '.');
    if (count_ > 1)
        std::fprintf(stream_, "\r%-18s [%s] %3d%%  member %d of %d\x1b[K", activity_.c_str(), bar.c_str(), gauge_,
                     member_, count_);
    else
        std::fprintf(stream_, "\r%-18s [%s] %3d%%\x1b[K", activity_.c_str(), bar.c_str(), gauge_);
    std::fflush(stream_);
}

}  // namespace tickforge::cli
