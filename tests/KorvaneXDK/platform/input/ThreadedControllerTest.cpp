/** @file ThreadedControllerTest.cpp The game thread reads and polls the controllers while the main thread
 * pumps and polls. */
#include <atomic>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "KorvaneXDK/platform/input/DXInput.h"
#include "KorvaneXDK/platform/input/MergedController.h"
#include "support/InputTestSupport.h"

namespace
{

using namespace korvane;
using korvane::test::PumpInput;
using korvane::test::PushKey;
using korvane::test::VirtualJoystick;

TEST(InputThreadedController, SecondThreadReadsWhileTheMainThreadPolls)
{
    korvane::test::JoystickSubsystem sdl;
    ASSERT_TRUE(sdl.Ok());
    korvane::test::InputHooksGuard hooks;
    auto pad = VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    CDXInput input(nullptr, nullptr);
    ASSERT_TRUE(input.Initialize(true));

    CMergedController merged;
    for (int i = 0; i < input.GetControllerCount(); ++i)
        merged.AddController(input.GetController(i).get());
    input.GetController(0)->AddButton("fire", "Fire");
    input.GetController(0)->SetMapping("fire", 0, 0x2C);
    input.GetController(2)->SetMapping("fire", 0, 0);
    input.GetController(2)->SetMapping("axis", 0, 0x5001);

    constexpr int kRounds = 2000;
    std::atomic<bool> done{false};
    std::atomic<int> seenDown{0};
    std::atomic<bool> badValue{false};
    std::atomic<int> gameRounds{0};
    std::thread game([&] {
        int round = 0;
        while (!done.load()) {
            gameRounds.fetch_add(1);
            // The game thread polls too, and asks for names nobody added.
            merged.Update();
            if (merged.IsDown("fire"))
                seenDown.fetch_add(1);
            merged.WasPressed("fire");
            const float value = merged.GetValue("axis");
            if (value < 0.0f || value > 1.0f)
                badValue.store(true);
            merged.IsDown("unknown" + std::to_string(round++ % 64));
        }
    });

    // Both threads run at least kRounds passes side by side.
    for (int round = 0; round < kRounds || gameRounds.load() < kRounds; ++round) {
        const bool down = (round % 2) == 0;
        PushKey(SDL_SCANCODE_Z, down);
        pad.SetButton(SDL_CONTROLLER_BUTTON_A, !down);
        pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<std::int16_t>(round * 80));
        PumpInput();
        merged.Update();
        merged.WasPressed("fire");
        input.GetController(0)->GetInputName("fire", 0);
        input.GetController(2)->GetActiveInput("capture", round % 5);
    }
    done.store(true);
    game.join();

    EXPECT_FALSE(badValue.load());
    EXPECT_TRUE(merged.IsDown("fire")) << "the last round holds the pad's A";
    EXPECT_EQ("Z", input.GetController(0)->GetInputName("fire", 0));
}

} // namespace
