/** @file Direct3DTest.cpp The graphics object: adapters, modes and device creation records. */
#include "os/Values.h"
#include "support/GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::DisplayMode;
using os::gfx::Format;
using os::gfx::kErrInvalidCall;
using os::gfx::kErrNotAvailable;
using os::gfx::kOk;
using ostest::V;

class Direct3DTest : public ::testing::Test
{
protected:
    void SetUp() override { os::testing::ResetGraphicsHooks(); }
    void TearDown() override { os::testing::ResetGraphicsHooks(); }
};

TEST_F(Direct3DTest, ModesComeInAscendingOrderOrAsReplacedAndCreationsAreRecorded)
{
    auto object = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    ASSERT_NE(nullptr, object);
    ASSERT_GE(object->GetAdapterCount(), 1u);
    const std::uint32_t count = object->GetAdapterModeCount(0, Format::X8R8G8B8);
    ASSERT_GE(count, 1u);
    DisplayMode previous, mode;
    for (std::uint32_t i = 0; i < count; previous = mode, ++i) {
        ASSERT_EQ(kOk, object->EnumAdapterModes(0, Format::X8R8G8B8, i, &mode));
        EXPECT_EQ(Format::X8R8G8B8, mode.Format);
        EXPECT_TRUE(i == 0 || std::tie(previous.Width, previous.Height, previous.RefreshRate) <
                                  std::tie(mode.Width, mode.Height, mode.RefreshRate));
    }
    os::gfx::AdapterIdentifier identifier;
    EXPECT_EQ(V(object->EnumAdapterModes(0, Format::X8R8G8B8, count, &mode),
                object->GetAdapterModeCount(object->GetAdapterCount(), Format::X8R8G8B8),
                object->GetAdapterIdentifier(0, 0, &identifier)),
              V(kErrInvalidCall, 0, kOk));

    // A replaced list is reported as given, in the asked-for format.
    os::testing::ReplaceAdapterModes(0, {{1920, 1080, 75, Format::Unknown}, {640, 480, 60, Format::Unknown}});
    object = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    ASSERT_NE(nullptr, object);
    ASSERT_EQ(2u, object->GetAdapterModeCount(0, Format::X8R8G8B8));
    ASSERT_EQ(kOk, object->EnumAdapterModes(0, Format::X8R8G8B8, 1, &mode));
    EXPECT_EQ(V(mode.Width, mode.Format), V(640, Format::X8R8G8B8));

    // Creation records; failing creations, the software fallback and the records of a plain creation are
    // checked through the engine's graphics tests.
    os::window::Window window("record");
    ASSERT_TRUE(window.IsCreated());
    std::shared_ptr<os::gfx::Direct3D> extended;
    ASSERT_EQ(kOk, os::gfx::Direct3DCreate9Ex(os::gfx::kSdkVersion, &extended));
    std::shared_ptr<os::gfx::Device> device;
    os::gfx::PresentParameters p = WindowedParameters(32, 32, &window);
    const auto create = [&](os::gfx::DisplayModeEx* modeEx, os::gfx::DeviceType type = os::gfx::DeviceType::Hal) {
        return extended->CreateDeviceEx(0, type, &window, os::gfx::create::HardwareVertexProcessing, &p, modeEx,
                                        &device);
    };
    // Full screen on the extended object needs its display mode record.
    p.Windowed = false;
    p.BackBufferFormat = Format::X8R8G8B8;
    EXPECT_EQ(kErrInvalidCall, create(nullptr));
    os::gfx::DisplayModeEx modeEx;
    modeEx.Width = modeEx.Height = 32;
    modeEx.RefreshRate = 60;
    modeEx.Format = Format::X8R8G8B8;
    modeEx.ScanLineOrdering = os::gfx::ScanLineOrdering::Progressive;
    ASSERT_EQ(kOk, create(&modeEx));
    const auto record = os::testing::GetLastCreateDeviceRecord();
    EXPECT_EQ(V(record.hadDisplayMode, record.displayMode.Size, record.displayMode.ScanLineOrdering),
              V(true, 24, os::gfx::ScanLineOrdering::Progressive));
    EXPECT_EQ(V(device->SetMaximumFrameLatency(1), device->Present()), V(kOk, kOk));
    // A device type other than the hardware one is not offered.
    EXPECT_EQ(kErrNotAvailable, create(&modeEx, os::gfx::DeviceType::Ref));
}

} // namespace
} // namespace gfxtest
