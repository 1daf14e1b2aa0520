/** @file ApplicationDriverSeamTest.cpp The one driver: creation, settings, and the graphics it is given for
 * tests. */
#include <gtest/gtest.h>

#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Testing.h"
#include "support/TempDir.h"

namespace
{

using korvane::CGameApplicationDriverCX;

class ApplicationDriverSeamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetGraphicsHooks();
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        ASSERT_NE(nullptr, driver);
    }
    void TearDown() override
    {
        korvane::DestroyApplicationDriver();
        EXPECT_EQ(nullptr, korvane::GetApplicationDriver());
        os::testing::ResetGraphicsHooks();
    }

    CGameApplicationDriverCX* driver = nullptr;
};

TEST_F(ApplicationDriverSeamTest, ASecondCreationKeepsTheDriverAndShaderVersionsArePacked)
{
    EXPECT_TRUE(korvane::CreateApplicationDriver(nullptr));
    EXPECT_EQ(driver, korvane::GetApplicationDriver());
    EXPECT_EQ(nullptr, driver->GetGraphics());
    EXPECT_EQ(0xFFFE0300u, driver->GetRequiredVertexShaderVersion());
    EXPECT_EQ(0xFFFF0300u, driver->GetRequiredPixelShaderVersion());
    const std::string path = driver->GetDisplaySettingPath();
    EXPECT_EQ("display_setting.ini", path.substr(path.size() - 19));
    driver->SetRequiredVertexShaderVersion(2, 1);
    EXPECT_EQ(0xFFFE0201u, driver->GetRequiredVertexShaderVersion());
    driver->SetRequiredPixelShaderVersion(3, 0);
    EXPECT_EQ(0xFFFF0300u, driver->GetRequiredPixelShaderVersion());
}

TEST_F(ApplicationDriverSeamTest, InjectedGraphicsAndLoaderAreReachedThroughTheDriverUntilReplaced)
{
    korvane::test::TempDir dir;
    dir.Write("a.txt", "x");
    driver->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(new korvane::CFileSystemDataLoader(dir.Path())));
    EXPECT_TRUE(korvane::GetApplicationDriver()->GetDataLoader()->Exists("a.txt"));

    ASSERT_TRUE(driver->InitializeGraphicsForTesting(32, 24));
    korvane::CDXGraphics* graphics = korvane::GetApplicationDriver()->GetGraphics();
    ASSERT_NE(nullptr, graphics);
    os::gfx::Device* device = graphics->GetDevice();
    ASSERT_NE(nullptr, device);
    EXPECT_EQ(graphics->GetDirect3D(), driver->GetGraphicsModePreference().direct3D);
    EXPECT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF336699u, 1.0f, 0));
    std::vector<std::uint32_t> pixels;
    std::uint32_t width = 0;
    ASSERT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, &width, nullptr));
    EXPECT_EQ(32u, width);
    EXPECT_EQ(0xFF336699u, pixels.front());

    // The driver listens to the graphics object: a full-screen switch resizes the game window.
    graphics->GetCurrentPresentParameters(); // windowed
    graphics->SetFullscreen(true);
    EXPECT_TRUE(driver->GetGameWindow()->IsFullScreen());
    graphics->SetFullscreen(false);
    EXPECT_FALSE(driver->GetGameWindow()->IsFullScreen());
    EXPECT_EQ(32, driver->GetGameWindow()->GetClientWidth());

    // Handing back its own object keeps it; replacing it clears the preferences' object.
    driver->SetGraphicsForTesting(graphics);
    ASSERT_EQ(graphics, driver->GetGraphics());
    EXPECT_EQ(os::gfx::kOk, graphics->GetDevice()->TestCooperativeLevel());
    driver->SetGraphicsForTesting(nullptr);
    EXPECT_EQ(nullptr, driver->GetGraphics());
    EXPECT_EQ(nullptr, driver->GetGraphicsModePreference().direct3D);
}

} // namespace
