/** @file WindowSceneGlFixture.h The window scene initialised once on an offscreen OpenGL device over the build's data
 * archive, with helpers that draw on it at a chosen back-buffer size and read the frame back. */
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "host/MegaWindowScene.h"
#include "host/ScreenFit.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "support/ExpectThrow.h"

namespace window_gl_test
{

constexpr std::uint32_t kWidth = 400;
constexpr std::uint32_t kHeight = 300;

/// A frame read back: 0xRRGGBB per pixel, top row first.
struct Frame
{
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(std::uint32_t x, std::uint32_t y) const
    {
        return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
    }
};

/// One driver and one scene for the whole suite: the appearance registry is process-wide and
/// takes the skin folder once, as the program does.
class WindowSceneGl : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const std::string archive = std::string(KORVANE_BINARY_DIR) + "/bin/data.kva";
        ASSERT_TRUE(std::filesystem::exists(archive)) << "build the data_archive target first";
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
        driver->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(archive)));
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        driver->CreateShaderEnvironment();
        scene = CMegaWindowScene::GetInstance();
        ASSERT_EQ("", korvane::test::MessageOf([] { scene->Initialize(); })) << "no exception";
        scene->Restore();
    }
    static void TearDownTestSuite()
    {
        if (scene != nullptr) {
            scene->Finalize();
            delete scene;
            scene = nullptr;
        }
        korvane::DestroyApplicationDriver();
    }
    /// Where a canvas point lands on the back buffer under the scene's transform and camera.
    korvane::Vector2<float> ToPixel(const korvane::Vector2<float>& p)
    {
        const korvane::Vector2<float> q = korvane::canvas::TransformPoint(scene->GetScreenTransform(), p);
        const float left = screen_fit::BandLeft(scene->GetAspect());
        return korvane::Vector2<float>((q.x - left) / (1080.0f * scene->GetAspect()) * kWidth, q.y / 1080.0f * kHeight);
    }
    /// A back buffer of that size, the aspect setting and the turn applied at once.
    static void Resize(std::uint32_t width, std::uint32_t height, std::int32_t aspect = 0, std::int32_t rotation = 0)
    {
        korvane::GetApplicationDriver()->GetGraphics()->ResizeWindow(static_cast<int>(width), static_cast<int>(height));
        scene->SetAspectRatio(aspect);
        scene->SetScreenRotation(rotation);
        scene->Restore();
    }
    /// One frame of the scene with only `draw` on its screen (a control over the whole canvas),
    /// on a back buffer cleared to `clear`, read back.
    static Frame Render(const std::function<void(korvane::canvas::CCanvas&)>& draw, std::uint32_t clear = 0xFF000000u)
    {
        korvane::mwt::CScreen& screen = *scene->GetScreenPtr();
        std::vector<boost::shared_ptr<korvane::mwt::CControl>> shown;
        for (const auto& child : screen.GetControls())
            if (auto control = boost::dynamic_pointer_cast<korvane::mwt::CControl>(child);
                control && control->IsVisible()) {
                control->SetVisible(false);
                shown.push_back(control);
            }
        boost::shared_ptr<korvane::mwt::CControl> board(new korvane::mwt::CControl("Board"));
        board->SetBounds(korvane::canvas::Rect2f(0, 0, 1920, 1080));
        board->DrawEvent = [&draw](korvane::mwt::CControl*, korvane::canvas::CCanvas* canvas) {
            // The scene would only log it.
            try {
                draw(*canvas);
            } catch (const korvane::EException& e) {
                ADD_FAILURE() << "drawing failed: " << e.GetMessage();
            }
        };
        screen.AddControl(board);
        os::gfx::Device& device = *korvane::GetApplicationDriver()->GetGraphics()->GetDevice();
        device.Clear(0, nullptr, os::gfx::clear::Target, clear, 1.0f, 0);
        scene->RunFrame(0.0f);
        Frame frame;
        EXPECT_EQ(os::gfx::kOk, device.ReadBackBuffer(&frame.pixels, &frame.width, &frame.height));
        screen.RemoveControl(board.get());
        for (const auto& control : shown)
            control->SetVisible(true);
        return frame;
    }

    static inline CMegaWindowScene* scene = nullptr;
};

} // namespace window_gl_test
