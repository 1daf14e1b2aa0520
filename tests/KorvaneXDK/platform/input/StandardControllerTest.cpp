/** @file StandardControllerTest.cpp The button table's rules and the merged controller's, and a game thread reading and
 * polling the controllers while the main thread pumps and polls. */
#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "KorvaneXDK/platform/input/MergedController.h"
#include "KorvaneXDK/platform/input/StandardController.h"
#include "support/InputTestSupport.h"

namespace
{

using korvane::CMergedController;
using korvane::CStandardController;
using korvane::kNoInput;

/// A device whose inputs the test sets: code -> (held, value written); a code without an entry
/// writes nothing.
class CScriptedController : public CStandardController
{
public:
    /// Sets one input, then polls unless told not to. The test's thread is the only one.
    void Feed(std::uint32_t code, bool held, float value, bool poll = true)
    {
        inputs_[code] = {held, value};
        if (poll)
            Update();
    }

    int GetDeviceType() override { return korvane::kControllerJoystick; }
    void Update() override
    {
        korvane::CScopedLock lock(GetLock());
        RefreshButtons();
    }
    bool GetActiveInput(const std::string&, int) override { return false; }
    std::string GetInputName(const std::string&, int) override { return ""; }
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override
    {
        if (auto found = inputs_.find(code); found != inputs_.end()) {
            down = down || found->second.first;
            value = found->second.second;
        }
    }
    std::map<std::uint32_t, std::pair<bool, float>> inputs_;
};

/// Readings side by side, compared exactly (floats widen to double without loss).
template <class... T>
std::vector<double> Read(T... values)
{
    return {static_cast<double>(values)...};
}

/// The button's mappings in the given slots (its five by default).
std::vector<std::uint32_t> MappingsOf(CStandardController& controller, const std::string& button,
                                      std::initializer_list<int> slots = {0, 1, 2, 3, 4})
{
    std::vector<std::uint32_t> codes;
    for (int slot : slots)
        codes.push_back(controller.GetMapping(button, slot));
    return codes;
}

TEST(InputStandardController, ButtonTableRulesPressLatchLastWritingSlotResetAndTheMergedController)
{
    CScriptedController controller;
    controller.SetMapping("fire", 2, 9);
    controller.Feed(9, true, 0.5f);
    ASSERT_TRUE(controller.IsDown("fire"));
    // Adding a button, new or not, leaves it unmapped and idle.
    controller.AddButton("fire", "Fire");
    EXPECT_EQ(Read(0, 0, 0),
              Read(controller.IsDown("fire"), controller.WasPressed("fire"), controller.GetValue("fire")));
    EXPECT_EQ(std::vector<std::uint32_t>(5, kNoInput), MappingsOf(controller, "fire"));
    controller.Feed(9, true, 1.0f);
    EXPECT_FALSE(controller.IsDown("fire"));
    EXPECT_EQ("Fire", controller.GetButtonLabel("fire"));

    // A name never added answers like an unmapped button and stays behind, case-sensitively.
    EXPECT_EQ(std::make_pair(false, std::string()),
              std::make_pair(controller.IsDown("Fire"), controller.GetButtonLabel("Fire")));
    controller.ResetAll(); // it reached the button the query left behind
    EXPECT_EQ(Read(1, 0, 1, 0), Read(controller.IsDown("Fire"), controller.IsDown("FIRE"), controller.IsActive(),
                                     controller.IsExclusive()));

    // Slots outside the five do nothing.
    controller.SetMapping("x", 0, 3);
    for (int slot : {5, -1, 1000000})
        controller.SetMapping("x", slot, 4);
    EXPECT_EQ((std::vector<std::uint32_t>{3, kNoInput, kNoInput, kNoInput, kNoInput, kNoInput, kNoInput}),
              MappingsOf(controller, "x", {0, 1, 2, 3, 4, 5, -1}));

    // The press latch follows edges, not reads.
    controller.SetMapping("a", 0, 7);
    controller.Feed(7, true, 1.0f);
    controller.Feed(7, false, 0.0f);
    EXPECT_FALSE(controller.WasPressed("a")) << "the release cleared the latch";
    controller.Feed(7, true, 1.0f);
    controller.Update();
    EXPECT_TRUE(controller.WasPressed("a"));
    EXPECT_FALSE(controller.WasPressed("a")) << "reading clears it; holding makes no new edge";

    controller.SetMapping("throttle", 0, 1);
    controller.SetMapping("throttle", 3, 2);
    controller.Feed(1, true, 0.9f);
    controller.Feed(2, false, 0.25f);
    // Not the maximum.
    EXPECT_EQ(Read(1, 0.25f), Read(controller.IsDown("throttle"), controller.GetValue("throttle")));
    controller.inputs_.erase(2); // the slot stops writing
    controller.Update();
    EXPECT_EQ(0.9f, controller.GetValue("throttle"));

    // The throttle's press is still latched, unread, when the reset comes.
    controller.SetMapping("idle", 0, 6);
    controller.ResetAll();
    EXPECT_TRUE(controller.IsDown("idle")) << "every button reads held until the next poll";
    controller.Update();
    controller.Update();
    EXPECT_EQ(Read(0, 0, 0),
              Read(controller.WasPressed("throttle"), controller.WasPressed("idle"), controller.IsDown("idle")));
    controller.Feed(1, false, 0.0f);
    controller.Feed(1, true, 1.0f);
    EXPECT_TRUE(controller.WasPressed("throttle"));

    // The merged controller: the first true answer stops the search, values take the largest, mapping is not
    // supported.
    CMergedController merged;
    merged.Update();
    merged.ResetAll();
    // Without members everything is idle.
    EXPECT_EQ(Read(0, 0, 0, 0, 0), Read(merged.IsDown("fire"), merged.WasPressed("fire"), merged.GetValue("fire"),
                                        merged.IsActive(), merged.IsExclusive()));
    const std::function<void()> calls[] = {
        [&] { merged.AddButton("a", "A"); },    [&] { merged.GetButtonLabel("a"); },
        [&] { merged.GetActiveInput("a", 0); }, [&] { merged.SetMapping("a", 0, 1); },
        [&] { merged.GetMapping("a", 0); },     [&] { merged.GetInputName("a", 0); }};
    for (const auto& call : calls)
        korvane::test::ExpectError<korvane::EInvalidOperation>(call, "サポートされていないメソッド呼び出しです.",
                                                               "class korvane::CMergedController");

    CScriptedController first, second;
    first.SetMapping("fire", 0, 1);
    second.SetMapping("fire", 0, 1);
    first.Feed(1, true, 0.4f);
    second.Feed(1, true, 0.7f, false); // polled only through the merged controller
    merged.AddController(&first);
    merged.AddController(&second);
    merged.Update();
    EXPECT_EQ(Read(1, 0.7f, 1, 1),
              Read(merged.IsDown("fire"), merged.GetValue("fire"), merged.WasPressed("fire"), second.IsDown("fire")));
    EXPECT_TRUE(merged.WasPressed("fire")) << "the second member's latch was left alone";
    EXPECT_FALSE(merged.WasPressed("fire"));

    first.Feed(1, false, -3.0f);
    second.Feed(1, false, -1.0f);
    merged.Update();
    EXPECT_EQ(0.0f, merged.GetValue("fire")) << "values below 0 never show";

    merged.SetActive(false);
    EXPECT_EQ(Read(0, 0), Read(first.IsActive(), merged.IsActive()));
    second.SetActive(true);
    EXPECT_TRUE(merged.IsActive());
    merged.SetExclusive(true);
    merged.ResetAll();
    EXPECT_TRUE(first.IsExclusive() && second.IsExclusive() && first.IsDown("fire") && second.IsDown("fire"));
}

using InputThreadedController = korvane::test::InputTest;

TEST_F(InputThreadedController, SecondThreadReadsWhileTheMainThreadPolls)
{
    auto pad = korvane::test::VirtualJoystick::Pad(0x045E, 0x028E, "Slot Pad");
    korvane::CDXInput input(nullptr, nullptr);
    ASSERT_TRUE(input.Initialize(true));

    CMergedController merged;
    for (int i = 0; i < input.GetControllerCount(); ++i)
        merged.AddController(input.GetController(i).get());
    input.GetController(0)->SetMapping("fire", 0, 0x2C);
    input.GetController(2)->SetMapping("fire", 0, 0);
    input.GetController(2)->SetMapping("axis", 0, 0x5001);

    constexpr int kRounds = 2000;
    std::atomic<bool> done{false}, badValue{false};
    std::atomic<int> gameRounds{0};
    std::thread game([&] {
        int round = 0;
        while (!done.load()) {
            gameRounds.fetch_add(1);
            // The game thread polls too, and asks for names nobody added.
            merged.Update();
            merged.IsDown("fire");
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
        korvane::test::PushKey(SDL_SCANCODE_Z, down);
        pad.SetButton(SDL_CONTROLLER_BUTTON_A, !down);
        pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<std::int16_t>(round * 80));
        korvane::test::PumpInput();
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
