/** @file GraphicsModePreferenceTest.cpp Default mode choice, mode selection and the settings file. */
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/Testing.h"
#include "support/ExpectThrow.h"
#include "support/TempDir.h"

namespace
{

using korvane::CGraphicsModePreference;
using Mode = os::gfx::DisplayMode;

class GraphicsModePreferenceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetGraphicsHooks();
        direct3D = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
        ASSERT_NE(nullptr, direct3D);
        preference.direct3D = direct3D.get();
        preference.minimumRefreshRate = 45; // what the program sets
    }
    void TearDown() override { os::testing::ResetGraphicsHooks(); }

    void Offer(const std::vector<Mode>& modes)
    {
        os::testing::ReplaceAdapterModes(0, modes);
        preference.EnumerateModes();
    }

    const Mode& Selected() const { return preference.modes.at(static_cast<std::size_t>(preference.selectedIndex)); }

    std::shared_ptr<os::gfx::Direct3D> direct3D;
    CGraphicsModePreference preference;
    korvane::test::TempDir dir;
};

TEST_F(GraphicsModePreferenceTest, SixtyHertzHighDefinitionWinsAndSortsFirst)
{
    preference.EnumerateModes(); // the real adapter offers at least one mode
    EXPECT_FALSE(preference.modes.empty());
    Offer({{1920, 1080, 59, {}}, {800, 600, 60, {}}, {1280, 720, 60, {}}, {1280, 720, 75, {}}});
    EXPECT_EQ(1280u, Selected().Width);
    EXPECT_EQ(720u, Selected().Height);
    EXPECT_EQ(60u, Selected().RefreshRate);
    ASSERT_EQ(4u, preference.modes.size());
    EXPECT_EQ(800u, preference.modes[0].Width);
    EXPECT_EQ(75u, preference.modes[2].RefreshRate);
    EXPECT_EQ(1920u, preference.modes[3].Width);
}

TEST_F(GraphicsModePreferenceTest, SecondPassTakesSmallModesAtFiftyEightHertzOrMore)
{
    Offer({{1920, 1080, 75, {}}, {640, 480, 60, {}}});
    EXPECT_EQ(640u, Selected().Width);
    Offer({{1024, 768, 60, {}}, {800, 600, 57, {}}, {1920, 1080, 61, {}}});
    // 800 x 600 at 57 Hz is too slow for the second pass; the first mode after sorting is taken.
    EXPECT_EQ(800u, Selected().Width);
    EXPECT_EQ(0, preference.selectedIndex);
}

TEST_F(GraphicsModePreferenceTest, LimitsFilterTheModesAndNoneLeftIsAnError)
{
    preference.maximumWidth = 1280;
    Offer({{1920, 1080, 60, {}}, {1280, 720, 0, {}}, {1280, 720, 30, {}}, {320, 240, 60, {}}, {1024, 768, 60, {}}});
    ASSERT_EQ(2u, preference.modes.size());
    EXPECT_EQ(1024u, preference.modes[0].Width);
    EXPECT_EQ(0u, preference.modes[1].RefreshRate);
    os::testing::ReplaceAdapterModes(0, {{320, 240, 60, {}}});
    korvane::test::ExpectThrowWith<korvane::EIOError>([&] { preference.EnumerateModes(); },
                                                      "Display device initialization failed.");
}

TEST_F(GraphicsModePreferenceTest, SelectModeBuildsBothParameterSets)
{
    Offer({{640, 480, 60, {}}, {1280, 720, 60, {}}});
    preference.fullscreen = true;
    preference.SelectMode(0);
    EXPECT_TRUE(preference.fullscreen); // untouched
    const os::gfx::PresentParameters& f = preference.fullscreenParameters;
    EXPECT_EQ(640u, f.BackBufferWidth);
    EXPECT_EQ(480u, f.BackBufferHeight);
    EXPECT_EQ(22u, static_cast<std::uint32_t>(f.BackBufferFormat));
    EXPECT_FALSE(f.Windowed);
    EXPECT_TRUE(f.EnableAutoDepthStencil);
    EXPECT_EQ(77u, static_cast<std::uint32_t>(f.AutoDepthStencilFormat));
    EXPECT_EQ(60u, f.FullScreenRefreshRateInHz);
    const os::gfx::PresentParameters& w = preference.windowedParameters;
    EXPECT_TRUE(w.Windowed);
    EXPECT_EQ(0u, static_cast<std::uint32_t>(w.BackBufferFormat));
    EXPECT_EQ(0u, w.FullScreenRefreshRateInHz);
    EXPECT_EQ(640u, w.BackBufferWidth);
    EXPECT_EQ(77u, static_cast<std::uint32_t>(w.AutoDepthStencilFormat));
    try {
        preference.SelectMode(2);
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ("invalid vector<T> subscript", e.what());
    }
    EXPECT_THROW(preference.SelectMode(-1), std::out_of_range);
    EXPECT_EQ(0, preference.selectedIndex);
}

TEST_F(GraphicsModePreferenceTest, SaveWritesTheChosenModeAndKeepsForeignKeys)
{
    Offer({{640, 480, 60, {}}, {1280, 720, 60, {}}});
    preference.SetProperty("Rotation", "90");
    preference.SelectMode(1);
    preference.fullscreen = true;
    const std::string path = dir.File("display_setting.ini");
    preference.Save(path);
    EXPECT_EQ("Rotation=90\r\nScreenHeight=720\r\nScreenRefreshRatio=60\r\nScreenWidth=1280\r\nWindowed=false\r\n",
              korvane::test::TempDir::Read(path));

    CGraphicsModePreference loaded;
    loaded.direct3D = direct3D.get();
    loaded.EnumerateModes();
    EXPECT_EQ(1280u, loaded.modes[static_cast<std::size_t>(loaded.selectedIndex)].Width); // the default
    loaded.SelectMode(0);
    loaded.Load(path);
    EXPECT_EQ(1, loaded.selectedIndex);
    EXPECT_TRUE(loaded.fullscreen);
    EXPECT_EQ("90", loaded.GetProperty("ROTATION", ""));
    const std::string again = dir.File("again.ini");
    loaded.Save(again);
    EXPECT_EQ(korvane::test::TempDir::Read(path), korvane::test::TempDir::Read(again));
}

TEST_F(GraphicsModePreferenceTest, LoadMatchesRefreshExactlyOrFallsBackAndBadSettingsKeepTheSelection)
{
    Offer({{640, 480, 0, {}}, {1024, 768, 57, {}}, {1024, 768, 60, {}}, {1024, 768, 75, {}}});
    const int defaultIndex = preference.selectedIndex;
    struct Case
    {
        std::string text;
        int index; ///< -1: the selection and the full-screen flag before the load stay
        bool fullscreen;
    };
    // Loaded settings add to those loaded before: the damaged ones come first.
    const Case cases[] = {
        {std::string("\x01\xff garbage\0ScreenWidth=640", 26), -1, false},
        {"ScreenWidth=wide\r\nScreenHeight=tall\r\nWindowed=false\r\n", -1, false},
        {"ScreenWidth=800\r\nScreenHeight=600\r\nWindowed=false\r\n", -1, false}, // not offered
        {"ScreenWidth=1024\r\nScreenHeight=768\r\nScreenRefreshRatio=75\r\nWindowed=FALSE\r\n", 3, true},
        {"ScreenWidth=1024\nScreenHeight=768\nScreenRefreshRatio=85\nWindowed=True\n", 2, false}, // 58 Hz or more
        {"ScreenWidth=640\nScreenHeight=480\nScreenRefreshRatio=0\nWindowed=no\n", 0, true},      // "no" is not "true"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        preference.SelectMode(defaultIndex);
        preference.fullscreen = c.index < 0 ? false : !c.fullscreen; // so that a change shows
        preference.Load(dir.Write("display.ini", c.text));
        EXPECT_EQ(c.index < 0 ? defaultIndex : c.index, preference.selectedIndex);
        EXPECT_EQ(c.fullscreen, preference.fullscreen);
    }
    EXPECT_THROW(preference.Load(dir.File("missing.ini")), korvane::EFileOpenError);
}

} // namespace
