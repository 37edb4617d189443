#pragma once
// A broken property of a fuzz target: say which, with the input, and stop at once so
// that libFuzzer (or the driver) keeps the input.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition, input)                                                                \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "%s:%d: %s fails for input [%.*s]\n", __FILE__, __LINE__,         \
                         #condition, static_cast<int>((input).size()), (input).data());             \
            std::abort();                                                                           \
        }                                                                                           \
    } while (false)
