#include "platform/Error.h"

#include <exception>
#include <new>

namespace tickforge {

std::string ListIndexOutOfBounds(int index)
{
    return "List index out of bounds (" + std::to_string(index) + ")";
}

std::string CurrentErrorMessage()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return messages::OutOfMemory;
    } catch (const std::exception& error) {
        return error.what();
    }
}

std::string FormatMessage(const std::string& pattern, const std::string& text)
{
    const auto at = pattern.find("%s");
    if (at == std::string::npos)
        return pattern;
    return pattern.substr(0, at) + text + pattern.substr(at + 2);
}

}  // namespace tickforge
