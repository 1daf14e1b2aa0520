/** @file DriverRegressionTest.cpp Faults found in the driver's area: the engine clock outliving its keeper; the
 * program's own dialog library: its default mode, its previous choice read from a damaged file, and saved under a data
 * root that does not exist yet. */
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/platform/ConfigDialogDX9.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/Testing.h"
#include "os/system/Library.h"
#include "os/system/System.h"
#include "support/TempDir.h"

namespace
{

// Game threads read the engine clock while the main thread's driver goes away. The clock must
// never reach into a keeper that has been destroyed (the sanitizer build reports such a read).
TEST(DriverRegressionTest, EngineClockReadersSurviveTheKeepersDestruction)
{
    std::atomic<bool> done{false};
    std::atomic<long> readings{0};
    std::atomic<bool> allFinite{true};
    std::thread reader([&] {
        while (!done.load(std::memory_order_acquire)) {
            if (!std::isfinite(korvane::GetEngineElapsedMilliseconds()))
                allFinite = false;
            ++readings;
        }
    });
    while (readings.load() == 0) {
        std::this_thread::yield();
    }
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

/// The program's own dialog library over one adapter, its data root in a temporary folder.
class ProgramDialogLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetGraphicsHooks();
        os::testing::ResetLibraryHooks();
        os::testing::RedirectLibrary(kConfDlgLibraryName, CONFDLG_PATH);
        os::testing::ReplaceAdapterList({"Primary"});
        direct3D = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
        ASSERT_NE(nullptr, direct3D);
        dialog.SetDirect3D(direct3D.get());
        dialog.SetTitle("Regression");
        UseDataRoot(dir.Path());
    }
    void TearDown() override
    {
        direct3D.reset();
        os::testing::ResetLibraryHooks();
        os::testing::ResetGraphicsHooks();
        unsetenv("XDG_DATA_HOME");
    }
    static void UseDataRoot(const std::string& root) { setenv("XDG_DATA_HOME", root.c_str(), 1); }
    const os::gfx::PresentParameters& Full() const { return dialog.GetFullscreenPresentParameters(); }

    korvane::test::TempDir dir;
    std::shared_ptr<os::gfx::Direct3D> direct3D;
    korvane::CConfigDialogDX9 dialog;
};

using os::gfx::Format;

TEST_F(ProgramDialogLibraryTest, TheProgramsLibraryOffersTheModeNearestTo1280x720InAWindow)
{
    os::testing::ReplaceAdapterModes(0, {{640, 480, 60, Format::X8R8G8B8}, {1280, 768, 60, Format::X8R8G8B8}});
    ASSERT_TRUE(dialog.Run(true));
    EXPECT_EQ(std::make_tuple(1280u, Format::X8R8G8B8, Format::D24X8, os::gfx::present::IntervalOne),
              std::make_tuple(Full().BackBufferWidth, Full().BackBufferFormat, Full().AutoDepthStencilFormat,
                              Full().PresentationInterval));
    EXPECT_FALSE(dialog.GetFullscreen());
}

// A previous choice whose numbers do not fit an int is damaged: it must give the default
// choice, not numbers wrapped into valid-looking indices (mode 1, full screen here).
TEST_F(ProgramDialogLibraryTest, TheDialogLibraryTakesTheDefaultForAChoiceFileWithHugeNumbers)
{
    dir.Write("ConfDlg/previous_choice.txt", "4294967296 4294967297 0 1 0 24 1\n");
    os::testing::ReplaceAdapterModes(0, {{1280, 720, 60, Format::X8R8G8B8}, {640, 480, 60, Format::X8R8G8B8}});
    ASSERT_TRUE(dialog.Run(true));
    EXPECT_EQ(1280u, Full().BackBufferWidth);
    EXPECT_FALSE(dialog.GetFullscreen());
}

// The library keeps the choice under the per-user data root; on a fresh account that folder may
// not exist yet, and the choice must still be kept.
TEST_F(ProgramDialogLibraryTest, TheDialogLibraryKeepsItsChoiceUnderADataRootThatDoesNotExistYet)
{
    const std::string root = dir.File("fresh/share");
    UseDataRoot(root);
    // Without a display the dialog cannot show a box and takes the offered choice as it is.
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    os::testing::ReplaceAdapterModes(0, {{1280, 720, 60, Format::X8R8G8B8}});
    EXPECT_TRUE(dialog.Run(false));
    if (!savedDisplay.empty())
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    EXPECT_EQ(0, access((root + "/ConfDlg/previous_choice.txt").c_str(), R_OK));
}

} // namespace
