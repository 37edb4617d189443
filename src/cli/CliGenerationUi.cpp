#include "cli/CliGenerationUi.h"

namespace tickforge::cli {

CliGenerationUi::CliGenerationUi(const PanelControls& panel, TerminalProgress& progress, std::FILE* messages)
    : panel_(panel), progress_(progress), messages_(messages)
{
}

PanelValues CliGenerationUi::ReadPanel() { return ReadPanelValues(panel_); }

void CliGenerationUi::ShowMessage(const std::string& text, const std::string& title)
{
    progress_.Hide();
    std::fprintf(messages_, "tickforge-cli: %s: %s\n", title.c_str(), text.c_str());
    std::fflush(messages_);
}

}  // namespace tickforge::cli
