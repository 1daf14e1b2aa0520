/** @file SteamFixture.h A running store over a temporary save folder, with the debugger output captured. */
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "os/store/Store.h"
#include "os/store/StoreTesting.h"
#include "support/TempDir.h"

namespace steam_test
{

class SteamFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetStoreHooks();
        os::store::SetLogFunction([](const std::string&) {});
        os::testing::CaptureStoreDebugOutput([this](const std::string& text) { debug.push_back(text); });
        ASSERT_TRUE(os::store::Init());
        os::store::SetSaveFolder(dir.Path());
        os::testing::SetStoreUser(kSelf, "me");
    }
    void TearDown() override
    {
        os::store::Shutdown();
        os::testing::ResetStoreHooks();
        os::store::SetLogFunction(nullptr);
    }

    static void Pump(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            os::store::RunCallbacks();
    }

    static constexpr std::uint64_t kSelf = 1000;
    korvane::test::TempDir dir;
    std::vector<std::string> debug;
};

} // namespace steam_test
