/** @file WindowSceneGlTest.cpp The window scene on an offscreen OpenGL device over the build's data archive. */
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/canvas/Brush.h"
#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/mwt/ControlAppearanceStock.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Screen.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "frontend/forms/CursorForm.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LogoSplashForm.h"
#include "host/MegaWindowScene.h"
#include "host/ResourceScene.h"
#include "host/ScreenFit.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "support/InputTestSupport.h"
#include "support/LogCapture.h"

namespace
{

using korvane::Vector2;
using korvane::mwt::CControl;

constexpr std::uint32_t kWidth = 400;
constexpr std::uint32_t kHeight = 300;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlack = 0xFF000000u;

/// One driver and one scene for the whole suite: the appearance registry is process-wide and
/// takes the skin folder once, as the program does.
class WindowSceneGl : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const std::string archive = std::string(KORVANE_BINARY_DIR) + "/bin/data.kva";
        ASSERT_TRUE(std::filesystem::exists(archive)) << "build the data_archive target first";
        savedForm = korvane::mwt::CDefaultFactories::FormAppearance;
        savedOpen = korvane::mwt::CDefaultFactories::FormOpenAnimation;
        savedClose = korvane::mwt::CDefaultFactories::FormCloseAnimation;
        savedButton = korvane::mwt::CDefaultFactories::ButtonAppearance;
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        driver->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(archive)));
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        driver->CreateShaderEnvironment();
        scene = CMegaWindowScene::GetInstance();
        try {
            scene->Initialize();
        } catch (const korvane::EException& e) {
            FAIL() << e.GetWhere() << ": " << e.GetMessage();
        }
        scene->Restore();
    }
    static void TearDownTestSuite()
    {
        if (scene != nullptr) {
            scene->Finalize();
            delete scene;
            scene = nullptr;
        }
        korvane::mwt::CDefaultFactories::FormAppearance = savedForm;
        korvane::mwt::CDefaultFactories::FormOpenAnimation = savedOpen;
        korvane::mwt::CDefaultFactories::FormCloseAnimation = savedClose;
        korvane::mwt::CDefaultFactories::ButtonAppearance = savedButton;
        korvane::DestroyApplicationDriver();
    }
    void SetUp() override { ASSERT_NE(nullptr, scene); }
    os::gfx::Device& Device() { return *driver->GetGraphics()->GetDevice(); }
    std::vector<std::uint32_t> Frame()
    {
        Device().Clear(0, nullptr, os::gfx::clear::Target, kBlack, 1.0f, 0);
        scene->RunFrame(0.0f);
        std::vector<std::uint32_t> pixels;
        std::uint32_t w = 0, h = 0;
        EXPECT_EQ(os::gfx::kOk, Device().ReadBackBuffer(&pixels, &w, &h));
        EXPECT_EQ(kWidth, w);
        EXPECT_EQ(kHeight, h);
        return pixels;
    }
    /// Where a canvas point lands on the back buffer under the scene's transform and camera.
    Vector2<float> ToPixel(const Vector2<float>& p)
    {
        const Vector2<float> q = korvane::canvas::TransformPoint(scene->GetScreenTransform(), p);
        const float left = screen_fit::BandLeft(scene->GetAspect());
        return Vector2<float>((q.x - 1.0f - left) / (1080.0f * scene->GetAspect()) * kWidth,
                              (q.y - 1.0f) / 1080.0f * kHeight);
    }
    static std::uint32_t At(const std::vector<std::uint32_t>& pixels, const Vector2<float>& p)
    {
        const auto x = static_cast<std::size_t>(p.x);
        const auto y = static_cast<std::size_t>(p.y);
        return 0xFF000000u | (pixels.at(y * kWidth + x) & 0x00FFFFFFu);
    }

    static inline korvane::CGameApplicationDriverCX* driver = nullptr;
    static inline CMegaWindowScene* scene = nullptr;
    static inline korvane::mwt::CControl::AppearanceFactoryFunction savedForm, savedButton;
    static inline korvane::mwt::CControl::AnimationFactoryFunction savedOpen, savedClose;
};

TEST_F(WindowSceneGl, InitializeLoadsFontsShaderAndSkinAndShowsSplashAndCursor)
{
    EXPECT_TRUE(korvane::canvas::CFontStock::GetInstance()->Get("FONT12T2S"));
    EXPECT_TRUE(korvane::canvas::CFontStock::GetInstance()->Get("FONT08T2_C"));
    ASSERT_NE(nullptr, scene->GetCanvas());
    EXPECT_TRUE(scene->GetCanvas()->GetShaderPair());
    boost::shared_ptr<korvane::mwt::IControlAppearance> skinForm;
    korvane::mwt::CControlAppearanceStock::GetInstance()->Get(skinForm, "SkinForm");
    EXPECT_EQ(skinForm, korvane::mwt::CDefaultFactories::FormAppearance());

    const auto& children = scene->GetScreenPtr()->GetControls();
    ASSERT_EQ(2u, children.size());
    EXPECT_TRUE(boost::dynamic_pointer_cast<CLogoSplashForm>(children.front()));
    EXPECT_EQ(scene->GetCursorForm(), children.back());
    EXPECT_EQ(Vector2<float>(1920.0f, 1080.0f), scene->GetScreenPtr()->GetSize());
    EXPECT_TRUE(scene->GetCursorForm()->IsVisible());
    EXPECT_TRUE(boost::dynamic_pointer_cast<CControl>(children.front())->IsVisible());
}

TEST_F(WindowSceneGl, ThrowingControlIsLoggedAndTheFrameGoesOn)
{
    korvane::test::LogCapture log;
    boost::shared_ptr<CControl> bad(new CControl("Bad"));
    bad->SetBounds(korvane::canvas::Rect2f(100, 100, 50, 50));
    bad->UpdateEvent = [](korvane::mwt::CComponent* c, float) {
        throw korvane::EInvalidOperation(c, "update failed on purpose");
    };
    bad->DrawEvent = [](CControl* c, korvane::canvas::CCanvas* canvas) {
        canvas->PushMatrix();
        canvas->PushBrush();
        throw korvane::EInvalidOperation(c, "draw failed on purpose");
    };
    scene->GetScreenPtr()->AddControl(bad);
    korvane::canvas::CCanvas& canvas = *scene->GetCanvas();
    const std::size_t matrices = canvas.GetMatrixDepth();
    const std::size_t brushes = canvas.GetBrushDepth();
    scene->SetScreenRotation(1);
    scene->RunFrame(0.1f);
    scene->RunFrame(0.1f);
    EXPECT_EQ(2u, log.CountContaining("update failed on purpose"));
    EXPECT_EQ(2u, log.CountContaining("draw failed on purpose"));
    // Even the thrower's own pushes are undone.
    EXPECT_EQ(matrices, canvas.GetMatrixDepth());
    EXPECT_EQ(brushes, canvas.GetBrushDepth());
    EXPECT_NEAR(1.5707964f, scene->GetCurrentAngle(), 0.2f);
    scene->GetScreenPtr()->RemoveControl(bad.get());
}

TEST_F(WindowSceneGl, AKnownControlLandsWhereTheTransformPutsIt)
{
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
    const float inset = 12.0f;
    const Vector2<float> insideCorners[] = {{700 + inset, 400 + inset},
                                            {1100 - inset, 400 + inset},
                                            {700 + inset, 600 - inset},
                                            {1100 - inset, 600 - inset}};
    const Vector2<float> outsideCorners[] = {{700 - inset, 400 - inset},
                                             {1100 + inset, 400 - inset},
                                             {700 - inset, 600 + inset},
                                             {1100 + inset, 600 + inset}};
    for (std::int32_t rotation : {0, 1}) {
        scene->SetScreenRotation(rotation);
        scene->Restore();
        const std::vector<std::uint32_t> pixels = Frame();
        for (const Vector2<float>& p : insideCorners)
            EXPECT_EQ(kRed, At(pixels, ToPixel(p))) << rotation << ": " << p.x << "," << p.y;
        for (const Vector2<float>& p : outsideCorners)
            EXPECT_EQ(kBlack, At(pixels, ToPixel(p))) << rotation << ": " << p.x << "," << p.y;
    }
}

TEST_F(WindowSceneGl, PadMovesTheTitleMenuFocusThroughTheResourceScenesController)
{
    korvane::test::JoystickSubsystem sdl;
    korvane::test::VirtualJoystick pad = korvane::test::VirtualJoystick::Pad(0x045E, 0x028E, "Window Scene Pad");
    ASSERT_TRUE(sdl.Ok());
    ASSERT_TRUE(pad.Attached());
    korvane::test::PumpInput();
    korvane::CDXInput input(nullptr, nullptr);
    ASSERT_TRUE(input.Initialize(true));
    host_testing::SetInput(&input);
    CResourceScene* resources = CResourceScene::GetInstance();
    resources->RegisterInputActions();
    resources->ResetKeyMapping(korvane::kControllerXInput);

    // Only the title menu and the pointer stay on the screen.
    korvane::mwt::CScreen* screen = scene->GetScreenPtr();
    std::vector<CControl*> others;
    for (const auto& child : screen->GetControls())
        if (child != scene->GetCursorForm())
            others.push_back(boost::dynamic_pointer_cast<CControl>(child).get());
    for (CControl* other : others)
        screen->RemoveControl(other);
    boost::shared_ptr<CGameSelectForm> menu(new CGameSelectForm());
    screen->AddControl(menu);
    // The frame as the program runs it: this scene, then the resource scene's poll.
    auto frame = [&](int button, bool down) {
        if (button >= 0)
            pad.SetButton(button, down);
        korvane::test::PumpInput();
        resources->PollController();
        scene->RunFrame(0.02f);
    };
    for (int i = 0; i < 30; ++i)
        frame(-1, false);
    ASSERT_EQ(menu, screen->GetActiveForm());
    const boost::shared_ptr<CControl> first = menu->GetFocusedLeaf();
    ASSERT_TRUE(first);

    frame(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    const boost::shared_ptr<CControl> second = menu->GetFocusedLeaf();
    EXPECT_NE(first, second);
    frame(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(second, menu->GetFocusedLeaf()) << "held, the press counts once";
    frame(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    frame(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    frame(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_EQ(first, menu->GetFocusedLeaf());

    screen->RemoveControl(menu.get());
    delete resources;
    host_testing::SetInput(nullptr);
    input.Finalize();
}

} // namespace
