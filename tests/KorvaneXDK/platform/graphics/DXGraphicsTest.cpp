/** @file DXGraphicsTest.cpp The graphics object over a real window: drawing, switches, resizes and lost
 * devices; the one driver: creation, settings, and the graphics it is given for tests; and the display-mode
 * preferences: default mode choice, mode selection and the settings file. */

#include "GraphicsTestSupport.h"
#include "KorvaneXDK/platform/graphics/Direct3DCreateError.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/graphics/StandardDXGraphicsEventListener.h"
#include "support/GfxFixture.h"

namespace
{

using namespace korvane;
using os::gfx::kOk;
using Lines = std::vector<std::string>;

using korvane::test::ExpectThrowWith;

const Lines kLostReset = {"lost", "lost", "reset", "reset"};
constexpr const char* kWhere = "class korvane::CDXGraphics";

/// What the two listeners hear in a completed full-screen switch.
Lines SwitchEvents(const std::string& to)
{
    return {"changing " + to, "changing " + to, "lost", "lost", "reset", "reset", "changed " + to, "changed " + to};
}

/// Records the events in the order they arrive; may act on a lost device after recording it.
class RecordingListener : public CStandardDXGraphicsEventListener
{
public:
    explicit RecordingListener(std::vector<std::string>& events) : events_(events) {}
    std::function<void()> onLost;
    void OnDeviceLost() override
    {
        events_.push_back("lost");
        if (onLost)
            onLost();
    }
    void OnDeviceReset() override { events_.push_back("reset"); }
    void OnFullscreenChanging(bool on) override { events_.push_back(on ? "changing true" : "changing false"); }
    void OnFullscreenChanged(bool on) override { events_.push_back(on ? "changed true" : "changed false"); }
    std::vector<std::string>& events_;
};

/// A 64 x 48 window and a graphics object set up the way the driver does it.
class DXGraphicsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<os::window::Window>("graphics test");
        ASSERT_TRUE(window->IsCreated());
        window->SetClientSize(64, 48);
    }

    void TearDown() override
    {
        Fresh();
        window.reset();
    }

    /// No graphics object, hooks or log lines left from the step before.
    void Fresh()
    {
        graphics.reset();
        os::testing::ResetGraphicsHooks();
        log.Clear();
    }

    /// After a Fresh() start and the hooks `arrange` sets.
    void MakeGraphics(bool forcePlain = false, const std::function<void()>& arrange = {})
    {
        Fresh();
        if (arrange)
            arrange();
        graphics = std::make_unique<CDXGraphics>(forcePlain);
        os::gfx::PresentParameters windowed = gfxtest::WindowedParameters(64, 48, window.get());
        windowed.PresentationInterval = os::gfx::present::IntervalOne;
        graphics->SetWindowedPresentParameters(windowed);
        os::gfx::PresentParameters full = windowed;
        full.Windowed = false;
        std::tie(full.BackBufferWidth, full.BackBufferHeight, full.BackBufferFormat) =
            std::make_tuple(1024u, 768u, os::gfx::Format::X8R8G8B8);
        graphics->SetFullscreenPresentParameters(full);
        graphics->AddListener(&first);
        graphics->AddListener(&second);
    }

    static bool Logged(const std::string& line) { return korvane::test::LogCapture::HasLine(line + "\n"); }

    /// Clears, draws a red strip over pixels (2..9, 3..6), presents and reads back: the back buffer has the
    /// current size and shows the strip on the clear colour (a viewport left at the old size moves it).
    void DrawAndCheck()
    {
        os::gfx::Device* device = graphics->GetDevice();
        ASSERT_NE(nullptr, device);
        const os::gfx::PresentParameters& p = graphics->GetCurrentPresentParameters();
        gfxtest::ColorShaders shaders;
        std::string error;
        ASSERT_TRUE(shaders.Create(*device, p.BackBufferWidth, p.BackBufferHeight, &error)) << error;
        constexpr std::uint32_t kRed = 0xFFFF0000u;
        const gfxtest::ColorVertex strip[4] = {
            {1.5f, 2.5f, 0.5f, kRed}, {9.5f, 2.5f, 0.5f, kRed}, {1.5f, 6.5f, 0.5f, kRed}, {9.5f, 6.5f, 0.5f, kRed}};
        ASSERT_EQ(
            (std::vector<os::gfx::Result>(5, kOk)),
            (std::vector<os::gfx::Result>{
                device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF202020u, 1, 0),
                device->BeginScene(), device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone),
                device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, strip, sizeof(gfxtest::ColorVertex)),
                device->EndScene()}));
        graphics->Present();
        std::vector<std::uint32_t> pixels;
        std::uint32_t width = 0, height = 0;
        ASSERT_EQ(kOk, device->ReadBackBuffer(&pixels, &width, &height));
        ASSERT_EQ(std::make_pair(p.BackBufferWidth, p.BackBufferHeight), std::make_pair(width, height));
        std::vector<std::uint32_t> want(pixels.size(), 0xFF202020u);
        for (std::uint32_t y = 3; y <= 6; ++y)
            std::fill_n(want.begin() + y * width + 2, 8, kRed);
        EXPECT_EQ(want, pixels);
    }

    korvane::test::LogCapture log;
    std::unique_ptr<os::window::Window> window;
    std::unique_ptr<CDXGraphics> graphics;
    std::vector<std::string> events;
    RecordingListener first{events};
    RecordingListener second{events};
};

TEST_F(DXGraphicsTest, AnExtendedHardwareDeviceIsCreatedOnTheWindowAndDraws)
{
    MakeGraphics();
    ASSERT_TRUE(graphics->InitializeDevice());
    EXPECT_EQ(std::make_pair(0u, 0xFFFE0300u),
              std::make_pair(graphics->IsLegacyDevice(), graphics->GetCaps().VertexShaderVersion));
    EXPECT_THAT(log.Lines(), ::testing::IsSupersetOf({"INFO: DirectX9Ex detected.\n", "INFO: Direct3D device ready.\n",
                                                      "INFO: Direct3D Device: VertexShader 3.0 / PixelShader 3.0\n"}));
    const auto record = os::testing::GetLastCreateDeviceRecord();
    EXPECT_EQ(
        std::make_tuple(true, false, os::gfx::create::HardwareVertexProcessing | os::gfx::create::Multithreaded,
                        window.get()),
        std::make_tuple(record.extended, record.hadDisplayMode, record.behaviorFlags, record.parameters.DeviceWindow));
    DrawAndCheck();
    EXPECT_TRUE(events.empty());
}

TEST_F(DXGraphicsTest, ASecondDeviceInitializationThrows)
{
    MakeGraphics();
    ASSERT_TRUE(graphics->InitializeDevice());
    EXPECT_THROW(graphics->InitializeDevice(), EIOError);
}

TEST_F(DXGraphicsTest, FullScreenBeforeTheDeviceOnlyChoosesTheStartingMode)
{
    MakeGraphics();
    graphics->SetFullscreen(true);
    EXPECT_EQ(std::make_pair(true, false),
              std::make_pair(events.empty(), Logged("INFO: Changing Fullscreen Mode (Fullscreen = true)...")));
    ASSERT_TRUE(graphics->InitializeDevice());
    const auto full = os::testing::GetLastCreateDeviceRecord();
    EXPECT_EQ(std::make_tuple(true, 1024u, 768u, os::gfx::Format::X8R8G8B8, false),
              std::make_tuple(full.hadDisplayMode, full.displayMode.Width, full.displayMode.Height,
                              full.displayMode.Format, full.parameters.Windowed));
    DrawAndCheck();
}

TEST_F(DXGraphicsTest, DirectXErrorsAreReportedWithNameCodeAndDescriptionAtTheSourcePosition)
{
    ReportDirectXError(os::gfx::kErrDeviceLost, "Texture", 42);
    EXPECT_EQ(Lines{"ERROR: \n\tDirectX Error: D3DERR_DEVICELOST(0x88760868): The device has been lost but cannot be "
                    "reset at this time.\n\tTexture(42)\n"},
              log.Lines());
}

TEST_F(DXGraphicsTest, APlainObjectMakesALegacyDeviceWhetherForcedOrForLackOfTheEntryPoint)
{
    for (const bool forcePlain : {true, false}) {
        SCOPED_TRACE(forcePlain ? "forced" : "entry point missing");
        // When not forced, the entry point is missing.
        MakeGraphics(forcePlain, [&] { os::testing::SetDirect3D9ExAvailable(forcePlain); });
        EXPECT_TRUE(Logged("INFO: DirectX9 detected."));
        EXPECT_FALSE(graphics->GetDirect3D()->IsExtended());
        ASSERT_TRUE(graphics->InitializeDevice());
        EXPECT_EQ(std::make_pair(1u, false),
                  std::make_pair(graphics->IsLegacyDevice(), os::testing::GetLastCreateDeviceRecord().extended));
    }
}

TEST_F(DXGraphicsTest, AFailingObjectCreationThrowsWithoutFallingBack)
{
    os::testing::FailDirect3DCreation(true);
    ExpectThrowWith<EDirect3DCreateError>([] { CDXGraphics failing(false); }, "Direct3D の初期化に失敗しました.",
                                          kWhere);
    EXPECT_EQ(std::make_pair(true, false),
              std::make_pair(Logged("INFO: DirectX9Ex detected."), Logged("INFO: DirectX9 detected.")));
    os::testing::FailDirect3DCreation(false);
    os::testing::SetDirect3DModuleAvailable(false);
    EXPECT_THROW(CDXGraphics(false), EDirect3DCreateError);
}

TEST_F(DXGraphicsTest, FailingHardwareVertexProcessingFallsBackToSoftwareAndBothFailingIsAFailure)
{
    for (const bool softwareFails : {false, true}) {
        SCOPED_TRACE(softwareFails ? "both fail" : "hardware fails");
        MakeGraphics(false, [&] { os::testing::FailDeviceCreation(true, softwareFails); });
        EXPECT_EQ(!softwareFails, graphics->InitializeDevice());
        EXPECT_EQ(!softwareFails, graphics->GetDevice() != nullptr);
        EXPECT_TRUE(Logged("INFO: ハードウェア頂点処理が利用できません. ソフトウェア頂点処理に切り替えます."));
        EXPECT_EQ(softwareFails ? 2 : 1,
                  static_cast<int>(log.CountContaining("DirectX Error: D3DERR_NOTAVAILABLE(0x8876086a): ")));
    }
    EXPECT_EQ(os::gfx::create::SoftwareVertexProcessing | os::gfx::create::Multithreaded,
              os::testing::GetLastCreateDeviceRecord().behaviorFlags);
}

TEST_F(DXGraphicsTest, AResizeToANewSizeResetsTheDeviceTellingEachListenerOnce)
{
    MakeGraphics();
    ASSERT_TRUE(graphics->InitializeDevice());
    log.Clear();
    graphics->ResizeWindow(64, 48); // the current size
    graphics->ResizeWindow(0, 10);
    EXPECT_TRUE(events.empty());
    graphics->ResizeWindow(80, 60);
    EXPECT_EQ(kLostReset, events);
    EXPECT_EQ((Lines{"INFO: Changing Window Size ...\n", "INFO: Window Size Changed (80x60).\n"}), log.Lines());
    EXPECT_EQ(80u, graphics->GetCurrentPresentParameters().BackBufferWidth);
    DrawAndCheck();
}

TEST_F(DXGraphicsTest, FullScreenSwitchesTellEachListenerInOrderAndFullScreenIgnoresResizes)
{
    MakeGraphics();
    ASSERT_TRUE(graphics->InitializeDevice());
    log.Clear();
    graphics->SetFullscreen(true);
    EXPECT_EQ(SwitchEvents("true"), events);
    EXPECT_EQ(std::make_pair(true, false), std::make_pair(graphics->IsFullscreen(), graphics->IsSwitching()));
    EXPECT_EQ((Lines{"INFO: Changing Fullscreen Mode (Fullscreen = true)...\n",
                     "INFO: Fullscreen Mode Changed (Fullscreen = true).\n"}),
              log.Lines());
    DrawAndCheck();
    events.clear();
    graphics->ResizeWindow(100, 100); // full screen: nothing
    graphics->SetFullscreen(false);
    EXPECT_EQ(SwitchEvents("false"), events);
}

TEST_F(DXGraphicsTest, AListenerAddedTwiceIsToldOnceAndARemovedOneIsNotTold)
{
    MakeGraphics();
    ASSERT_TRUE(graphics->InitializeDevice());
    graphics->AddListener(&first);
    graphics->RemoveListener(&second);
    graphics->ResizeWindow(70, 50);
    EXPECT_EQ((Lines{"lost", "reset"}), events);
}

TEST_F(DXGraphicsTest, AListenerRemovedByAnotherWhileAnEventGoesRoundIsNotToldAnyMore)
{
    // Its owner may already have destroyed it. The set is ordered by address, so the remover goes first.
    MakeGraphics();
    ASSERT_TRUE(graphics->InitializeDevice());
    graphics->RemoveListener(&second);
    Lines removerEvents;
    struct
    {
        RecordingListener remover, removed;
    } pair{RecordingListener(removerEvents), RecordingListener(events)};
    graphics->RemoveListener(&first);
    pair.remover.onLost = [&] { graphics->RemoveListener(&pair.removed); };
    graphics->AddListener(&pair.remover);
    graphics->AddListener(&pair.removed);
    graphics->ResizeWindow(80, 60);
    EXPECT_TRUE(events.empty());
}

TEST_F(DXGraphicsTest, ALostDeviceIsRecoveredInPresentOnceItCanBeReset)
{
    MakeGraphics(true); // on a plain object
    ASSERT_TRUE(graphics->InitializeDevice());
    os::testing::InjectDeviceLoss(2);
    graphics->Present();
    graphics->Present();
    EXPECT_TRUE(events.empty()); // lost, but not resettable yet
    graphics->Present();
    EXPECT_EQ(kLostReset, events);
    EXPECT_EQ(kOk, graphics->GetDevice()->TestCooperativeLevel());
    DrawAndCheck();
}

TEST_F(DXGraphicsTest, AFailedResetThrowsAndTheNextFramesResetSucceeds)
{
    MakeGraphics(true);
    ASSERT_TRUE(graphics->InitializeDevice());
    os::testing::InjectDeviceLoss(0);
    os::testing::FailNextReset(1);
    ExpectThrowWith<EIOError>([&] { graphics->Present(); }, "Direct3Dデバイスのリセットに失敗", kWhere);
    EXPECT_EQ((Lines{"lost", "lost"}), events);
    events.clear();
    graphics->Present();
    EXPECT_EQ(kLostReset, events);
}

/// A plain device whose switch to windowed mode failed in its reset.
class UnfinishedSwitchTest : public DXGraphicsTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DXGraphicsTest::SetUp());
        MakeGraphics(true);
        ASSERT_TRUE(graphics->InitializeDevice());
        os::testing::FailNextReset(1);
        log.Clear();
        graphics->SetFullscreen(false);
    }
};

TEST_F(UnfinishedSwitchTest, AFailedResetDuringASwitchLeavesItUnfinishedAndResizesAreIgnored)
{
    EXPECT_EQ((Lines{"changing false", "changing false", "lost", "lost"}), events);
    EXPECT_TRUE(graphics->IsSwitching());
    EXPECT_THAT(log.Lines(),
                ::testing::ElementsAre(
                    "INFO: Changing Fullscreen Mode (Fullscreen = false)...\n",
                    ::testing::HasSubstr("\tclass korvane::CDXGraphics: デバイスのリセットに失敗\n\tDXGraphics(")));

    events.clear();
    const int resets = os::testing::GetResetCallCount();
    graphics->ResizeWindow(100, 80);
    EXPECT_EQ(std::make_pair(true, resets), std::make_pair(events.empty(), os::testing::GetResetCallCount()));
}

TEST_F(UnfinishedSwitchTest, PresentRecoversTheDeviceButResizesStayIgnoredUntilASwitchEnds)
{
    events.clear();
    graphics->Present();
    EXPECT_EQ(kLostReset, events);
    events.clear();
    graphics->ResizeWindow(100, 80);
    EXPECT_TRUE(events.empty());
    graphics->SetFullscreen(false);
    EXPECT_FALSE(graphics->IsSwitching());
    events.clear();
    graphics->ResizeWindow(100, 80);
    EXPECT_EQ(kLostReset, events);
}

/// Whatever step fails, no driver or adapter modes are left for the next test.
class ApplicationDriverSeamTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        DestroyApplicationDriver();
        os::testing::ResetGraphicsHooks();
    }
};

TEST_F(ApplicationDriverSeamTest, ThereIsOneDriverAndItKeepsTheRequiredShaderVersionsAndTheSettingsPath)
{
    ASSERT_TRUE(CreateApplicationDriver(nullptr));
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    EXPECT_TRUE(CreateApplicationDriver(nullptr));
    EXPECT_EQ(std::make_pair(driver, static_cast<CDXGraphics*>(nullptr)),
              std::make_pair(GetApplicationDriver(), driver->GetGraphics()));
    EXPECT_TRUE(driver->GetDisplaySettingPath().ends_with("display_setting.ini")) << driver->GetDisplaySettingPath();
    driver->SetRequiredVertexShaderVersion(2, 1);
    driver->SetRequiredPixelShaderVersion(3, 0);
    EXPECT_EQ(std::make_pair(0xFFFE0201u, 0xFFFF0300u),
              std::make_pair(driver->GetRequiredVertexShaderVersion(), driver->GetRequiredPixelShaderVersion()));
}

TEST_F(ApplicationDriverSeamTest, TheDriverListensToTheGraphicsItMadeForTests)
{
    // Its device drawing and the driver's data loader are what the other graphics tests stand on.
    ASSERT_TRUE(CreateApplicationDriver(nullptr));
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    ASSERT_TRUE(driver->InitializeGraphicsForTesting(32, 24));
    CDXGraphics* graphics = driver->GetGraphics();
    ASSERT_NE(nullptr, graphics);
    EXPECT_EQ(graphics->GetDirect3D(), driver->GetGraphicsModePreference().direct3D);
    graphics->SetFullscreen(true); // the driver listens to the object it was given: its window follows
    EXPECT_TRUE(driver->GetGameWindow()->IsFullScreen());
}

TEST_F(ApplicationDriverSeamTest, HandingBackItsOwnGraphicsKeepsThemAndReplacingThemClearsThePreferencesObject)
{
    ASSERT_TRUE(CreateApplicationDriver(nullptr));
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    ASSERT_TRUE(driver->InitializeGraphicsForTesting(32, 24));
    CDXGraphics* graphics = driver->GetGraphics();
    driver->SetGraphicsForTesting(graphics);
    ASSERT_EQ(graphics, driver->GetGraphics());
    EXPECT_EQ(kOk, graphics->GetDevice()->TestCooperativeLevel());
    driver->SetGraphicsForTesting(nullptr);
    EXPECT_EQ(std::make_pair(false, false), std::make_pair(driver->GetGraphics() != nullptr,
                                                           driver->GetGraphicsModePreference().direct3D != nullptr));
}

/// The display-mode preferences on a Direct3D object whose adapter offers the modes a case sets.
class GraphicsModePreferenceTest : public ApplicationDriverSeamTest
{
protected:
    void SetUp() override
    {
        direct3D = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
        ASSERT_NE(nullptr, direct3D);
        preference.direct3D = direct3D.get();
        preference.minimumRefreshRate = 45; // what the program sets
    }

    void Offer(const std::vector<os::gfx::DisplayMode>& modes)
    {
        os::testing::ReplaceAdapterModes(0, modes);
        preference.EnumerateModes();
    }

    const os::gfx::DisplayMode& Selected()
    {
        return preference.modes.at(static_cast<std::size_t>(preference.selectedIndex));
    }

    /// Offers 640 x 480 and 1280 x 720, chooses the second in full screen and saves it with the
    /// foreign key Rotation=90; gives the file.
    std::string SaveChosenMode()
    {
        Offer({{640, 480, 60, {}}, {1280, 720, 60, {}}});
        preference.SetProperty("Rotation", "90");
        preference.SelectMode(1);
        preference.fullscreen = true;
        const std::string path = dir.File("display_setting.ini");
        preference.Save(path);
        return path;
    }

    std::shared_ptr<os::gfx::Direct3D> direct3D;
    CGraphicsModePreference preference;
    korvane::test::TempDir dir;
};

TEST_F(GraphicsModePreferenceTest, TheRealAdapterOffersAtLeastOneMode)
{
    preference.EnumerateModes();
    EXPECT_FALSE(preference.modes.empty());
}

TEST_F(GraphicsModePreferenceTest, TheModesAreSortedAndTheBestIsChosen)
{
    Offer({{1920, 1080, 59, {}}, {800, 600, 60, {}}, {1280, 720, 60, {}}, {1280, 720, 75, {}}});
    EXPECT_EQ(std::make_tuple(1280u, 720u, 60u),
              std::make_tuple(Selected().Width, Selected().Height, Selected().RefreshRate));
    ASSERT_EQ(4u, preference.modes.size());
    EXPECT_EQ(std::make_tuple(800u, 75u, 1920u),
              std::make_tuple(preference.modes[0].Width, preference.modes[2].RefreshRate, preference.modes[3].Width));
}

TEST_F(GraphicsModePreferenceTest, WithoutABestModeASecondPassTakesSmallModesAt58HzOrMoreElseTheFirst)
{
    Offer({{1920, 1080, 75, {}}, {640, 480, 60, {}}});
    EXPECT_EQ(640u, Selected().Width);
    Offer({{1024, 768, 60, {}}, {800, 600, 57, {}}, {1920, 1080, 61, {}}});
    // 800 x 600 at 57 Hz is too slow for the second pass; the first mode after sorting is taken.
    EXPECT_EQ(std::make_pair(800u, 0), std::make_pair(Selected().Width, preference.selectedIndex));
}

TEST_F(GraphicsModePreferenceTest, SelectModeBuildsBothParameterSetsAndRefusesAnIndexOutOfRange)
{
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
}

TEST_F(GraphicsModePreferenceTest, SaveWritesTheChosenModeAndKeepsForeignKeysAndLoadReadsThemBack)
{
    const std::string path = SaveChosenMode();
    EXPECT_EQ("Rotation=90\r\nScreenHeight=720\r\nScreenRefreshRatio=60\r\nScreenWidth=1280\r\nWindowed=false\r\n",
              korvane::test::TempDir::Read(path));

    preference.SelectMode(0);
    preference.fullscreen = false;
    preference.SetProperty("Rotation", "0");
    preference.Load(path);
    EXPECT_EQ(std::make_tuple(1, true, std::string("90")),
              std::make_tuple(preference.selectedIndex, preference.fullscreen, preference.GetProperty("ROTATION", "")));
    preference.Save(dir.File("again.ini")); // the loaded settings are saved as they were read
    EXPECT_EQ(korvane::test::TempDir::Read(path), korvane::test::TempDir::Read(dir.File("again.ini")));
}

TEST_F(GraphicsModePreferenceTest, LoadMatchesTheRefreshRateExactlyOrFallsBackAndBadSettingsKeepTheSelection)
{
    preference.Load(SaveChosenMode());
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
    EXPECT_THROW(preference.Load(dir.File("missing.ini")), EFileOpenError);
}

TEST_F(GraphicsModePreferenceTest, LimitsFilterTheModesAndNoneLeftIsAnError)
{
    preference.maximumWidth = 1280;
    Offer({{1920, 1080, 60, {}}, {1280, 720, 0, {}}, {1280, 720, 30, {}}, {320, 240, 60, {}}, {1024, 768, 60, {}}});
    ASSERT_EQ(2u, preference.modes.size());
    EXPECT_EQ(std::make_pair(1024u, 0u), std::make_pair(preference.modes[0].Width, preference.modes[1].RefreshRate));
    os::testing::ReplaceAdapterModes(0, {{320, 240, 60, {}}});
    korvane::test::ExpectThrowWith<EIOError>([&] { preference.EnumerateModes(); },
                                             "Display device initialization failed.");
}

} // namespace
