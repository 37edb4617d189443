#pragma once
// An error of the export command: the message and the title of the box that shows
// it. The message is the whole user text.

#include "platform/Error.h"

#include <string>

namespace tickforge {

namespace messages {
inline constexpr const char* NoValueColumn = "At least one value column must be selected";
inline constexpr const char* IllegalColumnSelectionTitle = "Illegal column selection";
inline constexpr const char* FileErrorTitle = "File Error";
}  // namespace messages

// "Error writing to file " + path + ". Is it open elsewhere?"
inline std::string FileErrorMessage(const std::string& path)
{
    return "Error writing to file " + path + ". Is it open elsewhere?";
}

class ExportError : public Error {
public:
    ExportError(const std::string& message, std::string title) : Error(message), title_(std::move(title)) {}

    const std::string& Title() const { return title_; }

private:
    std::string title_;
};

}  // namespace tickforge
