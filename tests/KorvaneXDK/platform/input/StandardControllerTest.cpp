/** @file StandardControllerTest.cpp The button table's rules and the merged controller's. */
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/input/MergedController.h"
#include "KorvaneXDK/platform/input/StandardController.h"

namespace
{

using korvane::CMergedController;
using korvane::CStandardController;
using korvane::kNoInput;

/// A device whose inputs the test sets: code -> (held, value written).
class CScriptedController : public CStandardController
{
public:
    struct Input
    {
        bool held;
        float value;
    };

    void Set(std::uint32_t code, bool held, float value)
    {
        korvane::CScopedLock lock(GetLock());
        inputs_[code] = Input{held, value};
    }
    void Clear(std::uint32_t code)
    {
        korvane::CScopedLock lock(GetLock());
        inputs_.erase(code);
    }

    int GetDeviceType() override { return korvane::kControllerJoystick; }
    void Update() override
    {
        korvane::CScopedLock lock(GetLock());
        RefreshButtons();
    }
    bool GetActiveInput(const std::string&, int) override { return false; }
    std::string GetInputName(const std::string&, int) override { return ""; }

protected:
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override
    {
        auto found = inputs_.find(code);
        if (found == inputs_.end())
            return;
        if (found->second.held)
            down = true;
        value = found->second.value;
    }

private:
    std::map<std::uint32_t, Input> inputs_;
};

TEST(InputStandardController, NewAndUnknownButtonsAreUnmappedAndIdle)
{
    CScriptedController controller;
    controller.AddButton("fire", "Fire");
    controller.Set(1, true, 1.0f);
    controller.Update();
    EXPECT_FALSE(controller.IsDown("fire"));
    EXPECT_FALSE(controller.WasPressed("fire"));
    EXPECT_EQ(0.0f, controller.GetValue("fire"));
    EXPECT_EQ("Fire", controller.GetButtonLabel("fire"));
    for (int slot = 0; slot < 5; ++slot)
        EXPECT_EQ(kNoInput, controller.GetMapping("fire", slot));

    // A name never added answers like an unmapped button and stays behind, case-sensitively.
    EXPECT_FALSE(controller.IsDown("Fire"));
    EXPECT_EQ("", controller.GetButtonLabel("Fire"));
    controller.ResetAll();
    EXPECT_TRUE(controller.IsDown("Fire")) << "the reset reached the button the query left behind";
    EXPECT_FALSE(controller.IsDown("FIRE"));
    EXPECT_TRUE(controller.IsActive());
    EXPECT_FALSE(controller.IsExclusive());
    EXPECT_EQ(korvane::kControllerJoystick, controller.GetDeviceType());
}

TEST(InputStandardController, PressLatchFollowsEdgesNotReads)
{
    CScriptedController controller;
    controller.SetMapping("a", 0, 7);

    controller.Set(7, true, 1.0f);
    controller.Update();
    EXPECT_TRUE(controller.IsDown("a"));
    controller.Set(7, false, 0.0f);
    controller.Update();
    EXPECT_FALSE(controller.WasPressed("a")) << "the release cleared the latch";

    controller.Set(7, true, 1.0f);
    controller.Update();
    controller.Update();
    EXPECT_TRUE(controller.WasPressed("a"));
    EXPECT_FALSE(controller.WasPressed("a")) << "reading clears it; holding makes no new edge";
}

TEST(InputStandardController, LastWritingSlotWinsTheValue)
{
    CScriptedController controller;
    controller.SetMapping("throttle", 0, 1);
    controller.SetMapping("throttle", 3, 2);
    controller.Set(1, true, 0.9f);
    controller.Set(2, false, 0.25f);
    controller.Update();
    EXPECT_TRUE(controller.IsDown("throttle"));
    EXPECT_FLOAT_EQ(0.25f, controller.GetValue("throttle")) << "not the maximum";

    controller.Clear(2);
    controller.Update();
    EXPECT_FLOAT_EQ(0.9f, controller.GetValue("throttle"));
}

TEST(InputStandardController, ResetAllNeedsAReleaseBeforeTheNextPress)
{
    CScriptedController controller;
    controller.SetMapping("up", 0, 5);
    controller.SetMapping("idle", 0, 6);
    controller.Set(5, true, 1.0f);
    controller.Update();
    ASSERT_TRUE(controller.WasPressed("up"));

    controller.ResetAll();
    EXPECT_TRUE(controller.IsDown("idle")) << "every button reads held until the next poll";
    controller.Update();
    controller.Update();
    EXPECT_FALSE(controller.WasPressed("up"));
    EXPECT_FALSE(controller.WasPressed("idle"));
    EXPECT_FALSE(controller.IsDown("idle"));

    controller.Set(5, false, 0.0f);
    controller.Update();
    controller.Set(5, true, 1.0f);
    controller.Update();
    EXPECT_TRUE(controller.WasPressed("up"));
}

TEST(InputStandardController, AddButtonClearsMappingsAndState)
{
    CScriptedController controller;
    controller.SetMapping("b", 2, 9);
    controller.Set(9, true, 0.5f);
    controller.Update();
    ASSERT_TRUE(controller.IsDown("b"));
    controller.AddButton("b", "Bomb");
    EXPECT_FALSE(controller.IsDown("b"));
    EXPECT_FALSE(controller.WasPressed("b"));
    EXPECT_EQ(0.0f, controller.GetValue("b"));
    EXPECT_EQ(kNoInput, controller.GetMapping("b", 2));
    controller.Update();
    EXPECT_FALSE(controller.IsDown("b"));
}

TEST(InputStandardController, SlotsOutsideTheFiveDoNothing)
{
    CScriptedController controller;
    controller.SetMapping("x", 0, 3);
    controller.SetMapping("x", 5, 4);
    controller.SetMapping("x", -1, 4);
    controller.SetMapping("x", 1000000, 4);
    EXPECT_EQ(kNoInput, controller.GetMapping("x", 5));
    EXPECT_EQ(kNoInput, controller.GetMapping("x", -1));
    EXPECT_EQ(3u, controller.GetMapping("x", 0));
    for (int slot = 1; slot < 5; ++slot)
        EXPECT_EQ(kNoInput, controller.GetMapping("x", slot));
    controller.Set(4, true, 1.0f);
    controller.Update();
    EXPECT_FALSE(controller.IsDown("x"));
}

TEST(InputMergedController, WithoutMembersEverythingIsIdle)
{
    CMergedController merged;
    merged.Update();
    merged.ResetAll();
    EXPECT_EQ(korvane::kControllerMerged, merged.GetDeviceType());
    EXPECT_FALSE(merged.IsDown("a"));
    EXPECT_FALSE(merged.WasPressed("a"));
    EXPECT_EQ(0.0f, merged.GetValue("a"));
    EXPECT_FALSE(merged.IsActive());
    EXPECT_FALSE(merged.IsExclusive());
}

TEST(InputMergedController, FirstTrueAnswerStopsTheSearchAndValuesTakeTheLargest)
{
    CScriptedController first;
    CScriptedController second;
    first.SetMapping("fire", 0, 1);
    second.SetMapping("fire", 0, 1);
    first.Set(1, true, 0.4f);
    second.Set(1, true, 0.7f);
    CMergedController merged;
    merged.AddController(&first);
    merged.AddController(&second);
    merged.Update();

    EXPECT_TRUE(merged.IsDown("fire"));
    EXPECT_FLOAT_EQ(0.7f, merged.GetValue("fire"));
    EXPECT_TRUE(merged.WasPressed("fire"));
    EXPECT_TRUE(second.IsDown("fire"));
    EXPECT_TRUE(merged.WasPressed("fire")) << "the second member's latch was left alone";
    EXPECT_FALSE(merged.WasPressed("fire"));

    first.Set(1, false, -3.0f);
    second.Set(1, false, -1.0f);
    merged.Update();
    EXPECT_EQ(0.0f, merged.GetValue("fire")) << "values below 0 never show";

    merged.SetActive(false);
    EXPECT_FALSE(first.IsActive());
    EXPECT_FALSE(merged.IsActive());
    second.SetActive(true);
    EXPECT_TRUE(merged.IsActive());
    merged.SetExclusive(true);
    EXPECT_TRUE(first.IsExclusive() && second.IsExclusive());

    merged.ResetAll();
    EXPECT_TRUE(first.IsDown("fire"));
    EXPECT_TRUE(second.IsDown("fire"));
}

TEST(InputMergedController, MappingOperationsAreNotSupported)
{
    CMergedController merged;
    auto expectUnsupported = [](auto call)
    {
        try
        {
            call();
            ADD_FAILURE() << "no exception";
        }
        catch (const korvane::EInvalidOperation& error)
        {
            EXPECT_EQ("サポートされていないメソッド呼び出しです.", error.GetMessage());
            EXPECT_EQ("class korvane::CMergedController", error.GetWhere());
        }
    };
    expectUnsupported([&] { merged.AddButton("a", "A"); });
    expectUnsupported([&] { merged.GetButtonLabel("a"); });
    expectUnsupported([&] { merged.GetActiveInput("a", 0); });
    expectUnsupported([&] { merged.SetMapping("a", 0, 1); });
    expectUnsupported([&] { merged.GetMapping("a", 0); });
    expectUnsupported([&] { merged.GetInputName("a", 0); });
}

} // namespace
