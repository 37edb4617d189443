#pragma once
// One-line helpers shared by the core tests.

#include "platform/Error.h"

#include <gtest/gtest.h>

#include <string>

// Expects statement to throw tickforge::Error with exactly the given message.
#define EXPECT_ERROR_MESSAGE(statement, expected)                                         \
    do {                                                                                  \
        try {                                                                             \
            statement;                                                                    \
            ADD_FAILURE() << "expected the error \"" << (expected) << "\", nothing was thrown"; \
        } catch (const tickforge::Error& error_) {                                        \
            EXPECT_EQ(std::string(error_.what()), std::string(expected));                 \
        }                                                                                 \
    } while (false)
