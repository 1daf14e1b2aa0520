/** @file SteamFixture.h The store tests' running store, as the user "me", with the debugger output captured. */
#pragma once

#include <string>
#include <vector>

#include "os/store/StoreFixture.h"

class SteamFixture : public os::store::test::StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        os::testing::CaptureStoreDebugOutput([this](const std::string& text) { debug.push_back(text); });
        os::testing::SetStoreUser(kSelf, "me");
    }

    static constexpr std::uint64_t kSelf = 1000;
    std::vector<std::string> debug;
};
