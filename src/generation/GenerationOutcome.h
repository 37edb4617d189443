#pragma once
// What one generation run came to, so that its callers need not guess it from the bar
// sets or from the boxes shown.

#include <string>
#include <utility>

namespace tickforge {

struct GenerationOutcome {
    enum Kind {
        Generated,     // a new history is in the bar sets
        ChecksFailed,  // the panel's checks showed their boxes; nothing changed
        Failed,        // an error ended the run; Error holds its message for the front end to show
        Aborted,       // Abort stopped synthesis; the history holds no bars
    };
    GenerationOutcome(Kind outcome = Generated, std::string error = {}) : kind(outcome), Error(std::move(error)) {}

    Kind kind;
    std::string Error;

    bool operator==(const GenerationOutcome&) const = default;
};

}  // namespace tickforge
