#pragma once
// The one exception type of the program. Its message is the exact text the user sees;
// the front ends decide how to show it.

#include <stdexcept>
#include <string>

namespace tickforge {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The user texts raised by the platform layer and the series store.
namespace messages {
inline constexpr const char* DivisionByZero = "Floating point division by zero";
inline constexpr const char* InvalidOperation = "Invalid floating point operation";
inline constexpr const char* Overflow = "Floating point overflow";
inline constexpr const char* RangeCheck = "Range check error";
inline constexpr const char* OutOfMemory = "Out of memory";
}  // namespace messages

// "List index out of bounds (%d)" with the index in place of the placeholder.
std::string ListIndexOutOfBounds(int index);

// The user message of the exception being handled: its own text, or "Out of memory"
// for a failed allocation. Call it only inside a catch block; other than standard
// exceptions pass through.
std::string CurrentErrorMessage();

// Replaces the first "%s" of pattern by text.
std::string FormatMessage(const std::string& pattern, const std::string& text);

}  // namespace tickforge
