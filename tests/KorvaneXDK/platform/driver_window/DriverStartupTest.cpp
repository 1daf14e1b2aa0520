/** @file DriverStartupTest.cpp The driver's start-up order and failures, its loop, messages and painting; the engine
 * clock outliving its keeper. */
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "os/audio/Testing.h"
#include "os/gfx/TestImageWriter.h"
#include "os/gfx/Testing.h"
#include "os/input/Testing.h"
#include "os/system/System.h"
#include "os/window/MessageQueue.h"
#include "os/window/PaintSurface.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace
{

using korvane::test::LogCapture;
namespace win = os::window;

constexpr std::uint32_t kBannerColour = 0xFF3366CC;

class DriverStartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        boxes.clear();
        os::testing::SetMessageBoxSink(
            [this](const std::string& caption, const std::string& text) { boxes.emplace_back(caption, text); });
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        driver->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(new korvane::CFileSystemDataLoader(dir.Path())));
        driver->SetTitle("Driver Test");
        driver->SetUseConfigDialog(false);
        driver->SetDisplaySettingPath(dir.File("display_setting.ini"));
        // The offscreen display offers one mode; the settings file picks nothing else.
        os::testing::ReplaceAdapterModes(0, {{800, 600, 60, os::gfx::Format::X8R8G8B8}});
    }
    void TearDown() override
    {
        korvane::DestroyApplicationDriver();
        os::testing::ResetGraphicsHooks();
        os::testing::ResetInputHooks();
        os::testing::ResetAudioHooks();
        os::testing::ResetWindowMessageQueue();
        os::testing::SetMessageBoxSink({});
    }

    bool Send(std::uint32_t message, win::WParam wParam = 0, win::LParam lParam = 0)
    {
        win::LResult result = -1;
        return driver->OnWindowMessage(driver->GetGameWindow(), message, wParam, lParam, &result) && result == 0;
    }

    /// Checks that the log holds each text, each after the one before.
    static void ExpectInOrder(const std::vector<std::string>& texts)
    {
        std::size_t at = 0;
        for (const std::string& text : texts) {
            at = LogCapture::All().find(text, at);
            EXPECT_NE(std::string::npos, at) << text << "\n" << LogCapture::All();
        }
    }

    const win::PaintSurface& Painted()
    {
        EXPECT_TRUE(Send(win::WM_PAINT));
        return driver->GetGameWindow()->GetHandle()->GetPaintSurface();
    }

    /// Text-coloured pixels in [x0, x1) x [y0, y1).
    static int TextPixels(const win::PaintSurface& painted, int x0, int y0, int x1, int y1)
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += painted.GetPixel(x, y) == 0xFFDCDCDCu ? 1 : 0;
        return n;
    }

    korvane::test::TempDir dir;
    LogCapture log;
    std::vector<std::pair<std::string, std::string>> boxes;
    korvane::CGameApplicationDriverCX* driver = nullptr;
};

TEST_F(DriverStartupTest, InitializeLogsItsStepsAndConnectsTheKeeperLoadersAndWindow)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    EXPECT_TRUE(boxes.empty());
    const std::string loading = "Loading display configuration ('" + dir.File("display_setting.ini") + "')...";
    ExpectInOrder({loading, "Can't open a configuration file. Default settings used.", "Direct3D device ready.",
                   "Checking D3D9 Shader Model...", "  Shader Model Requirements: VertexShader 3.0 / PixelShader 3.0",
                   "OK."});
    EXPECT_TRUE(driver->GetInput() != nullptr && driver->GetSound() != nullptr && driver->GetShaderEnvironment());
    ASSERT_NE(nullptr, driver->GetFrameRateKeeper());
    EXPECT_EQ(driver->GetSceneManager(), driver->GetFrameRateKeeper()->frameListener);
    // The keeper is the engine clock: two of its readings bracket the engine clock's.
    const double before = driver->GetFrameRateKeeper()->GetElapsedMilliseconds();
    const double engine = korvane::GetEngineElapsedMilliseconds();
    const double after = driver->GetFrameRateKeeper()->GetElapsedMilliseconds();
    EXPECT_TRUE(before <= engine && engine <= after) << before << " " << engine << " " << after;
    EXPECT_EQ(driver->GetDataLoader(), driver->GetShaderDataLoader());
    EXPECT_EQ(std::make_pair(800, 600),
              std::make_pair(driver->GetGameWindow()->GetClientWidth(), driver->GetGameWindow()->GetClientHeight()));
}

TEST_F(DriverStartupTest, WithoutABannerTheTitleIsPaintedEightPixelsInFromTheLowerRight)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    const win::PaintSurface& titled = Painted();
    int width = 0, height = 0;
    win::PaintSurface::MeasureText("Driver Test", width, height);
    const int inTitle = TextPixels(titled, 800 - 8 - width, 600 - 8 - height, 792, 592);
    EXPECT_GT(inTitle, 0);
    EXPECT_EQ(inTitle, TextPixels(titled, 0, 0, 800, 600)); // none outside
}

TEST_F(DriverStartupTest, RunLogsTheStartAndTheEndOfTheMainLoop)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    win::PostQuitMessage(0);
    LogCapture::Clear();
    driver->Run();
    ExpectInOrder({"Starting application main-loop...", "Appication main-loop finished."});
}

TEST_F(DriverStartupTest, AltEnterAndMaximizingSwitchFullScreenInTheGraphicsThePreferencesAndTheWindow)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    // Message, its parameter, whether it is handled, full screen after it.
    const std::tuple<std::uint32_t, win::WParam, bool, bool> steps[] = {
        {win::WM_SYSKEYDOWN, win::VK_RETURN, true, true},
        {win::WM_SYSKEYDOWN, win::VK_RETURN, true, false},
        {win::WM_SYSKEYDOWN, 'A', false, false},
        {win::WM_SIZE, win::SIZE_MAXIMIZED, true, true},
        {win::WM_SYSKEYDOWN, win::VK_RETURN, true, false}};
    for (const auto& [message, wParam, handled, fullscreen] : steps) {
        const bool sent = Send(message, wParam);
        // Full screen as the graphics object, the preferences and the game window hold it.
        EXPECT_EQ(std::make_tuple(handled, fullscreen, fullscreen, fullscreen),
                  std::make_tuple(sent, driver->GetGraphics()->IsFullscreen(),
                                  driver->GetGraphicsModePreference().fullscreen,
                                  driver->GetGameWindow()->IsFullScreen()))
            << message << " " << wParam;
    }
    EXPECT_EQ(800, driver->GetGameWindow()->GetClientWidth()); // back to its windowed size
}

TEST_F(DriverStartupTest, AltEnterIsLeftAloneWhenItIsToldNotToSwitch)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    korvane::CDXGraphics* graphics = driver->GetGraphics();
    driver->SetAltEnterSwitchesFullscreen(false);
    EXPECT_FALSE(Send(win::WM_SYSKEYDOWN, win::VK_RETURN));
    EXPECT_FALSE(graphics->IsFullscreen());
}

TEST_F(DriverStartupTest, SizeStepsInADragLeaveTheBackBufferAndTheDragsEndOrARestoreResizesIt)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    korvane::CDXGraphics* graphics = driver->GetGraphics();
    EXPECT_TRUE(Send(win::WM_ENTERSIZEMOVE));
    driver->GetGameWindow()->SetClientSize(700, 500);
    const int resets = os::testing::GetResetCallCount();
    EXPECT_TRUE(Send(win::WM_SIZE, win::SIZE_RESTORED));
    EXPECT_EQ(resets, os::testing::GetResetCallCount());
    EXPECT_TRUE(Send(win::WM_EXITSIZEMOVE));
    EXPECT_EQ(
        std::make_pair(resets + 1, 700u),
        std::make_pair(os::testing::GetResetCallCount(), graphics->GetCurrentPresentParameters().BackBufferWidth));
    // Outside a drag, each restore resizes.
    driver->GetGameWindow()->SetClientSize(720, 520);
    EXPECT_TRUE(Send(win::WM_SIZE, win::SIZE_RESTORED));
    EXPECT_EQ(resets + 2, os::testing::GetResetCallCount());
}

TEST_F(DriverStartupTest, DeactivatingOrMinimizingPausesAndMarksTheTitleAndActivatingResumes)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    korvane::CFrameRateKeeper* keeper = driver->GetFrameRateKeeper();
    EXPECT_TRUE(Send(win::WM_ACTIVATE, win::WA_INACTIVE));
    EXPECT_EQ(std::make_tuple(true, std::string("Driver Test [PAUSE]"), true),
              std::make_tuple(keeper->paused, driver->GetGameWindow()->GetHandle()->GetTitle(),
                              driver->GetGameWindow()->GetHandle()->IsInvalidated()));
    EXPECT_TRUE(Send(win::WM_ACTIVATE, win::WA_CLICKACTIVE));
    EXPECT_EQ(std::make_pair(false, std::string("Driver Test")),
              std::make_pair(keeper->paused, driver->GetGameWindow()->GetHandle()->GetTitle()));
    EXPECT_TRUE(Send(win::WM_SIZE, win::SIZE_MINIMIZED));
    EXPECT_TRUE(keeper->paused);
}

TEST_F(DriverStartupTest, WithPausingWhenInactiveOffActivationStillResumesAndNothingPauses)
{
    ASSERT_TRUE(driver->Initialize()) << LogCapture::All();
    korvane::CFrameRateKeeper* keeper = driver->GetFrameRateKeeper();
    ASSERT_TRUE(Send(win::WM_SIZE, win::SIZE_MINIMIZED)); // paused while pausing is still on
    ASSERT_TRUE(keeper->paused);
    driver->SetPauseWhenInactive(false);
    EXPECT_EQ(std::vector<bool>(4, true),
              (std::vector<bool>{Send(win::WM_ACTIVATE, win::WA_ACTIVE), Send(win::WM_ACTIVATE, win::WA_INACTIVE),
                                 Send(win::WM_SIZE, win::SIZE_MINIMIZED), !keeper->paused}));
}

/// A fatal start-up step: its name, its arrangement, its box text, whether the graphics object is left.
struct FatalStep
{
    const char* name;
    std::function<void()> arrange;
    std::string text;
    bool graphicsLeft;
};

void PrintTo(const FatalStep& step, std::ostream* out)
{
    *out << step.name;
}

class DriverFatalStepTest : public DriverStartupTest, public ::testing::WithParamInterface<FatalStep>
{};

TEST_P(DriverFatalStepTest, ShowsItsTextFailsAndLeavesNoKeeperToRun)
{
    const FatalStep& step = GetParam();
    step.arrange();
    EXPECT_FALSE(driver->Initialize());
    EXPECT_EQ((decltype(boxes){{"Driver Test", step.text}}), boxes);
    EXPECT_EQ(step.graphicsLeft, driver->GetGraphics() != nullptr);
    EXPECT_TRUE(step.graphicsLeft || driver->GetGraphicsModePreference().direct3D == nullptr);
    EXPECT_EQ(nullptr, driver->GetFrameRateKeeper());
    EXPECT_THROW(driver->Run(), korvane::EInvalidOperation);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, DriverFatalStepTest,
    ::testing::Values(
        FatalStep{"NoGraphicsObject", [] { os::testing::FailDirect3DCreation(true); },
                  "Failed to initialize Direct3D9.\nPlease check installation of DirectX 9.0c\n", false},
        FatalStep{"NoInput",
                  [] { os::testing::FailInputStep(os::testing::InputStep::LoadModule, os::input::Result(0x80004005)); },
                  "Failed to initialize DirectInput.\nThis program will exit.", true},
        FatalStep{"NoDevice", [] { os::testing::FailDeviceCreation(true, true); },
                  "Failed to initialize Direct3D9.\nThis program will exit.", false},
        FatalStep{"ShaderModel2Against3", [] { os::testing::OverrideShaderVersions(0xFFFE0200u, 0xFFFF0200u); },
                  "Unsupported shader version with current Direct3D device.\nThis program requires following "
                  "specification: VertexShader 3.0 / PixelShader 3.0",
                  true}),
    [](const ::testing::TestParamInfo<FatalStep>& info) { return std::string(info.param.name); });

TEST_F(DriverStartupTest, WithoutSoundTheStartUpGoesOnAndOnlyLogsIt)
{
    os::testing::FailAudioCall(os::testing::AudioCall::CreateDevice, os::audio::Result(0x88780078));
    ASSERT_TRUE(driver->Initialize());
    EXPECT_EQ(std::make_pair(true, true),
              std::make_pair(LogCapture::Contains("Failed to initialize CDXSound"), boxes.empty()));
}

TEST_F(DriverStartupTest, AMissingWindowBannerEndsTheStartUpWithItsException)
{
    driver->SetWindowBannerImage("Missing.bmp");
    EXPECT_THROW(driver->Initialize(), korvane::EIOError);
}

class DriverBannerTest : public DriverStartupTest
{
protected:
    void SetUp() override
    {
        DriverStartupTest::SetUp();
        if (HasFatalFailure())
            return;
        dir.Write("Banner.bmp",
                  gfxtest::WriteBmp(40, 20, 24, false, [](auto, auto) { return kBannerColour & 0xFFFFFFu; }));
        driver->SetWindowBannerImage("Banner.bmp");
        ASSERT_TRUE(driver->Initialize());
        driver->SetPaintText("");
    }
};

TEST_F(DriverBannerTest, PaintShowsTheBannerAtTheLowerRightOnGreyAndNoText)
{
    const win::PaintSurface& surface = Painted();
    ASSERT_EQ(std::make_pair(800, 600), std::make_pair(surface.GetWidth(), surface.GetHeight()));
    constexpr std::uint32_t kGrey = 0xFF202020u;
    const std::tuple<int, int, std::uint32_t> checks[] = {
        {0, 0, kGrey}, {759, 599, kGrey}, {799, 579, kGrey}, {760, 580, kBannerColour}, {799, 599, kBannerColour}};
    for (const auto& [x, y, colour] : checks)
        EXPECT_EQ(colour, surface.GetPixel(x, y)) << x << ", " << y;
    EXPECT_EQ(0, TextPixels(surface, 300, 280, 500, 320));
}

TEST_F(DriverBannerTest, PaintShowsThePauseTextInTheMiddleWhilePaused)
{
    int width = 0, height = 0;
    driver->SetPaused(true);
    win::PaintSurface::MeasureText("-- P A U S E D --", width, height);
    const win::PaintSurface& paused = Painted();
    EXPECT_GT(TextPixels(paused, 400 - width / 2, 300 - height / 2, 400 + width / 2 + 1, 300 + height / 2 + 1), 0);
    EXPECT_EQ(0, TextPixels(paused, 0, 0, 400 - width / 2 - 1, 600));
}

// Game threads read the engine clock while the main thread's driver goes away. The clock must
// never reach into a keeper that has been destroyed (the sanitizer build reports such a read).
TEST(DriverRegressionTest, EngineClockReadersSurviveTheKeepersDestruction)
{
    std::atomic<bool> done{false}, allFinite{true};
    std::atomic<long> readings{0};
    std::thread reader([&] {
        for (; !done.load(std::memory_order_acquire); ++readings)
            allFinite = allFinite && std::isfinite(korvane::GetEngineElapsedMilliseconds());
    });
    while (readings.load() == 0)
        std::this_thread::yield();
    // Keepers come and go while the reader reads, for a while on both sides.
    for (int i = 0; i < 2000 || (readings.load() < 20000 && i < 200000); ++i) {
        auto* keeper = new korvane::CFrameRateKeeper();
        keeper->InstallAsEngineClock();
        delete keeper;
    }
    done.store(true, std::memory_order_release);
    reader.join();
    EXPECT_TRUE(allFinite.load());
}

} // namespace
