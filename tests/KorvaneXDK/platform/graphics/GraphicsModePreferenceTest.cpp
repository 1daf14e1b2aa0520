/** @file GraphicsModePreferenceTest.cpp Default mode choice, mode selection and the settings file. */
#include <stdexcept>
#include <string>

#include <gmock/gmock.h>
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

TEST_F(GraphicsModePreferenceTest, TheBestModeIsChosenBuiltIntoParametersSavedLoadedAndFilteredByTheLimits)
{
    preference.EnumerateModes(); // the real adapter offers at least one mode
    EXPECT_FALSE(preference.modes.empty());
    Offer({{1920, 1080, 59, {}}, {800, 600, 60, {}}, {1280, 720, 60, {}}, {1280, 720, 75, {}}});
    EXPECT_EQ(std::make_tuple(1280u, 720u, 60u),
              std::make_tuple(Selected().Width, Selected().Height, Selected().RefreshRate));
    ASSERT_EQ(4u, preference.modes.size());
    EXPECT_EQ(std::make_tuple(800u, 75u, 1920u),
              std::make_tuple(preference.modes[0].Width, preference.modes[2].RefreshRate, preference.modes[3].Width));

    // Without one, a second pass takes small modes at 58 Hz or more.
    Offer({{1920, 1080, 75, {}}, {640, 480, 60, {}}});
    EXPECT_EQ(640u, Selected().Width);
    Offer({{1024, 768, 60, {}}, {800, 600, 57, {}}, {1920, 1080, 61, {}}});
    // 800 x 600 at 57 Hz is too slow for the second pass; the first mode after sorting is taken.
    EXPECT_EQ(std::make_pair(800u, 0), std::make_pair(Selected().Width, preference.selectedIndex));

    // Select mode builds both parameter sets.
    Offer({{640, 480, 60, {}}, {1280, 720, 60, {}}});
    preference.fullscreen = true;
    preference.SelectMode(0);
    EXPECT_TRUE(preference.fullscreen); // untouched
    // Width, height, back-buffer format, windowed, depth buffer, its format, refresh rate.
    const auto fields = [](const os::gfx::PresentParameters& p) {
        return std::make_tuple(p.BackBufferWidth, p.BackBufferHeight, p.BackBufferFormat, p.Windowed,
                               p.EnableAutoDepthStencil, p.AutoDepthStencilFormat, p.FullScreenRefreshRateInHz);
    };
    using os::gfx::Format;
    EXPECT_EQ(std::make_tuple(640u, 480u, Format::X8R8G8B8, false, true, Format::D24X8, 60u),
              fields(preference.fullscreenParameters));
    EXPECT_EQ(std::make_tuple(640u, 480u, Format::Unknown, true, true, Format::D24X8, 0u),
              fields(preference.windowedParameters));
    EXPECT_THAT([&] { preference.SelectMode(2); },
                ::testing::ThrowsMessage<std::out_of_range>(::testing::StrEq("invalid vector<T> subscript")));
    EXPECT_THROW(preference.SelectMode(-1), std::out_of_range);
    EXPECT_EQ(0, preference.selectedIndex);

    // Save writes the chosen mode and keeps foreign keys.
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
    EXPECT_EQ(std::make_tuple(1, true, std::string("90")),
              std::make_tuple(loaded.selectedIndex, loaded.fullscreen, loaded.GetProperty("ROTATION", "")));
    const std::string again = dir.File("again.ini");
    loaded.Save(again);
    EXPECT_EQ(korvane::test::TempDir::Read(path), korvane::test::TempDir::Read(again));

    // Load matches the refresh rate exactly or falls back; bad settings keep the selection.
    Offer({{640, 480, 0, {}}, {1024, 768, 57, {}}, {1024, 768, 60, {}}, {1024, 768, 75, {}}});
    const int defaultIndex = preference.selectedIndex;
    // Text, index (-1: the selection and the full-screen flag before the load stay), full screen.
    // Loaded settings add to those loaded before: the damaged ones come first.
    const std::tuple<std::string, int, bool> cases[] = {
        {std::string("\x01\xff garbage\0ScreenWidth=640", 26), -1, false},
        {"ScreenWidth=wide\r\nScreenHeight=tall\r\nWindowed=false\r\n", -1, false},
        {"ScreenWidth=800\r\nScreenHeight=600\r\nWindowed=false\r\n", -1, false}, // not offered
        {"ScreenWidth=1024\r\nScreenHeight=768\r\nScreenRefreshRatio=75\r\nWindowed=FALSE\r\n", 3, true},
        {"ScreenWidth=1024\nScreenHeight=768\nScreenRefreshRatio=85\nWindowed=True\n", 2, false}, // 58 Hz or more
        {"ScreenWidth=640\nScreenHeight=480\nScreenRefreshRatio=0\nWindowed=no\n", 0, true}       // "no" is not "true"
    };
    for (const auto& [text, index, fullscreen] : cases) {
        SCOPED_TRACE(text);
        preference.SelectMode(defaultIndex);
        preference.fullscreen = index < 0 ? false : !fullscreen; // so that a change shows
        preference.Load(dir.Write("display.ini", text));
        EXPECT_EQ(std::make_pair(index < 0 ? defaultIndex : index, fullscreen),
                  std::make_pair(preference.selectedIndex, preference.fullscreen));
    }
    EXPECT_THROW(preference.Load(dir.File("missing.ini")), korvane::EFileOpenError);

    // Limits filter the modes; none left is an error.
    preference.maximumWidth = 1280;
    Offer({{1920, 1080, 60, {}}, {1280, 720, 0, {}}, {1280, 720, 30, {}}, {320, 240, 60, {}}, {1024, 768, 60, {}}});
    ASSERT_EQ(2u, preference.modes.size());
    EXPECT_EQ(std::make_pair(1024u, 0u), std::make_pair(preference.modes[0].Width, preference.modes[1].RefreshRate));
    os::testing::ReplaceAdapterModes(0, {{320, 240, 60, {}}});
    korvane::test::ExpectThrowWith<korvane::EIOError>([&] { preference.EnumerateModes(); },
                                                      "Display device initialization failed.");
}

} // namespace
