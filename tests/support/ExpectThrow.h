/** @file ExpectThrow.h Checks of the engine's exceptions: their type, message and sender. */
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"

namespace korvane::test
{

/// Runs `action` expecting an `E`; checks its message and sender class name where given.
template <class E, class Action>
void ExpectThrowWith(Action&& action, const std::string& message, const char* where = nullptr)
{
    try {
        action();
        ADD_FAILURE() << "nothing thrown; expected: " << message;
    } catch (const E& error) {
        EXPECT_EQ(message, error.GetMessage());
        if (where) {
            EXPECT_EQ(where, error.GetWhere());
        }
    }
}

/// The message of the engine exception `action` throws (empty when it throws none).
template <class Action>
std::string MessageOf(Action&& action)
{
    try {
        action();
    } catch (const korvane::EException& e) {
        return e.GetMessage();
    }
    return std::string();
}

} // namespace korvane::test
