/** @file WindowSceneGlTest.cpp The window scene on an offscreen OpenGL device over the build's data archive. */
#include <filesystem>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "WindowSceneGlFixture.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/LogoSplashForm.h"
#include "host/MegaWindowScene.h"
#include "host/ScreenFit.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Texture.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"

namespace
{

using korvane::Vector2;
using korvane::mwt::CControl;

using window_gl_test::kHeight;
using window_gl_test::kWidth;
using window_gl_test::WindowSceneGl;

// Initialising loads the fonts, the shader and the skin and shows the splash and the cursor; a control
// failing half-way through its update or drawing leaves the canvas' stacks and clip as they were (the next
// frames must not inherit its pushes or its tiny clip); a known control lands where the transform puts it.
TEST_F(WindowSceneGl, InitializeThenAThrowingControlAndAKnownControlsPixels)
{
    ASSERT_TRUE(scene != nullptr && scene->GetCanvas() != nullptr);
    auto fonts = korvane::canvas::CFontStock::GetInstance();
    boost::shared_ptr<korvane::mwt::IControlAppearance> skinForm;
    korvane::mwt::CControlAppearanceStock::GetInstance()->Get(skinForm, "SkinForm");
    const auto& children = scene->GetScreenPtr()->GetControls();
    ASSERT_EQ(2u, children.size());
    // The fonts, the shader, the skin's form look, a shown splash under the shown cursor, the whole screen.
    EXPECT_EQ(std::tuple(true, true, korvane::mwt::CDefaultFactories::FormAppearance(), true, scene->GetCursorForm(),
                         true, Vector2<float>(1920.0f, 1080.0f)),
              std::tuple(fonts->Get("FONT12T2S") && fonts->Get("FONT08T2_C"), bool(scene->GetCanvas()->GetShaderPair()),
                         skinForm, bool(boost::dynamic_pointer_cast<CLogoSplashForm>(children.front())),
                         children.back(),
                         scene->GetCursorForm()->IsVisible() &&
                             boost::dynamic_pointer_cast<CControl>(children.front())->IsVisible(),
                         scene->GetScreenPtr()->GetSize()));

    korvane::test::LogCapture log;
    scene->RunFrame(0.0f);
    korvane::canvas::CCanvas& canvas = *scene->GetCanvas();
    auto depths = [&canvas] {
        return std::vector{canvas.GetMatrixDepth(), canvas.GetBrushDepth(), canvas.GetClipDepth(),
                           canvas.GetFontDepth()};
    };
    const std::vector<std::size_t> depthsBefore = depths();
    const korvane::canvas::Rect2f clip = canvas.GetClipRect();
    boost::shared_ptr<CControl> bad(new CControl("Bad"));
    bad->SetBounds(korvane::canvas::Rect2f(100, 100, 50, 50));
    bad->UpdateEvent = [](korvane::mwt::CComponent* c, float) {
        throw korvane::EInvalidOperation(c, "update failed on purpose");
    };
    bad->DrawEvent = [](CControl* c, korvane::canvas::CCanvas* drawing) {
        drawing->PushMatrix();
        drawing->PushBrush();
        drawing->PushFont();
        drawing->PushClipRect();
        drawing->IntersectClipRect(korvane::canvas::Rect2f(0, 0, 1, 1));
        throw korvane::EInvalidOperation(c, "draw failed on purpose");
    };
    scene->GetScreenPtr()->AddControl(bad);
    scene->SetScreenRotation(1);
    scene->RunFrame(0.1f);
    scene->RunFrame(0.1f);
    EXPECT_EQ(std::tuple(2u, 2u, depthsBefore, clip),
              std::tuple(log.CountContaining("update failed on purpose"), log.CountContaining("draw failed on purpose"),
                         depths(), canvas.GetClipRect()));
    scene->GetScreenPtr()->RemoveControl(bad.get());

    for (const auto& child : scene->GetScreenPtr()->GetControls())
        boost::dynamic_pointer_cast<CControl>(child)->SetVisible(false);
    boost::shared_ptr<CControl> box(new CControl("Box"));
    box->SetBounds(korvane::canvas::Rect2f(700, 400, 400, 200));
    box->DrawEvent = [](CControl* c, korvane::canvas::CCanvas* canvas) {
        canvas->GetBrush().SetColor(korvane::Color4<float>(1, 0, 0, 1));
        canvas->FillRect(korvane::canvas::Rect2f(0, 0, c->GetSize().x, c->GetSize().y));
    };
    scene->GetScreenPtr()->AddControl(box);
    scene->SetAspectRatio(3);
    for (std::int32_t rotation : {0, 1}) {
        scene->SetScreenRotation(rotation);
        scene->Restore();
        os::gfx::Device& device = *korvane::GetApplicationDriver()->GetGraphics()->GetDevice();
        device.Clear(0, nullptr, os::gfx::clear::Target, 0xFF000000u, 1.0f, 0);
        scene->RunFrame(0.0f);
        std::vector<std::uint32_t> pixels;
        ASSERT_EQ(os::gfx::kOk, device.ReadBackBuffer(&pixels, nullptr, nullptr));
        for (float inset : {12.0f, -12.0f}) // the box's corners from inside, then from outside
            for (float x : {700 + inset, 1100 - inset})
                for (float y : {400 + inset, 600 - inset}) {
                    const Vector2<float> p = ToPixel({x, y});
                    EXPECT_EQ(inset > 0 ? 0xFF0000u : 0u,
                              pixels.at(static_cast<std::size_t>(p.y) * kWidth + static_cast<std::size_t>(p.x)) &
                                  0xFFFFFFu)
                        << rotation << ": " << x << "," << y;
                }
    }
}

// The skin's pictures hold one level each: a mip chain would blur them on any screen under 1080 lines.
TEST_F(WindowSceneGl, SkinPicturesHaveNoMipLevels)
{
    ASSERT_TRUE(scene != nullptr);
    for (const char* name : {"form.png", "button.png"}) {
        korvane::ITexture* texture = scene->LoadSkinTexture(name);
        ASSERT_TRUE(texture != nullptr && texture->GetD3DTexture() != nullptr) << name;
        EXPECT_EQ(1u, texture->GetD3DTexture()->GetLevelCount()) << name;
    }
}

// A fill of the whole canvas reaches every edge pixel of the back buffer: no column or row keeps the clear colour,
// at the sizes players pick, with the buffer's own aspect or a band, upright or turned half round.
TEST_F(WindowSceneGl, ACanvasWideFillReachesEveryEdgePixelOfTheBackBuffer)
{
    struct Case
    {
        std::uint32_t width, height;
        std::int32_t aspect, rotation;
    };
    const Case cases[] = {
        {1920, 1080, 0, 0}, {1280, 720, 0, 0}, {1280, 720, 1, 2}, {1366, 768, 0, 0}, {1024, 768, 3, 0}};
    for (const Case& c : cases) {
        Resize(c.width, c.height, c.aspect, c.rotation);
        const window_gl_test::Frame frame = Render(
            [](korvane::canvas::CCanvas& canvas) {
                canvas.GetBrush().SetColor(korvane::Color4<float>(1, 0, 0, 1));
                canvas.FillRect(korvane::canvas::Rect2f(0, 0, 1920, 1080));
            },
            0xFF202020u);
        ASSERT_EQ(std::pair(c.width, c.height), std::pair(frame.width, frame.height));
        std::vector<std::string> bare;
        auto check = [&](std::uint32_t x, std::uint32_t y) {
            if (frame.At(x, y) != 0xFF0000u && bare.size() < 4)
                bare.push_back(std::to_string(x) + "," + std::to_string(y));
        };
        for (std::uint32_t x = 0; x < frame.width; ++x) {
            check(x, 0);
            check(x, frame.height - 1);
        }
        for (std::uint32_t y = 0; y < frame.height; ++y) {
            check(0, y);
            check(frame.width - 1, y);
        }
        EXPECT_EQ(std::vector<std::string>{}, bare)
            << c.width << "x" << c.height << " aspect " << c.aspect << " rotation " << c.rotation;
    }
    Resize(kWidth, kHeight);
}

} // namespace
