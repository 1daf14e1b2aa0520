/** @file Direct3DTest.cpp The graphics object: entry points, adapters, modes, creation records and result
 * texts. */
#include "os/system/ResultText.h"
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

class Direct3DTest : public ::testing::Test
{
protected:
    void SetUp() override { os::testing::ResetGraphicsHooks(); }
    void TearDown() override { os::testing::ResetGraphicsHooks(); }
};

TEST_F(Direct3DTest, HooksTakeTheModuleAndTheExtendedEntryPointAway)
{
    EXPECT_TRUE(os::gfx::IsDirect3DModuleAvailable());
    EXPECT_TRUE(os::gfx::HasDirect3DCreate9Ex());
    os::testing::SetDirect3D9ExAvailable(false);
    EXPECT_FALSE(os::gfx::HasDirect3DCreate9Ex());
    std::shared_ptr<os::gfx::Direct3D> object;
    EXPECT_TRUE(os::gfx::Failed(os::gfx::Direct3DCreate9Ex(os::gfx::kSdkVersion, &object)));
    object = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    ASSERT_NE(nullptr, object);
    EXPECT_FALSE(object->IsExtended());
    os::testing::SetDirect3DModuleAvailable(false);
    EXPECT_FALSE(os::gfx::IsDirect3DModuleAvailable());
    EXPECT_EQ(nullptr, os::gfx::Direct3DCreate9(os::gfx::kSdkVersion));
    os::testing::SetDirect3DModuleAvailable(true);
    os::testing::SetDirect3D9ExAvailable(true);
    os::testing::FailDirect3DCreation(true);
    EXPECT_EQ(nullptr, os::gfx::Direct3DCreate9(os::gfx::kSdkVersion));
    EXPECT_EQ(kErrNotAvailable, os::gfx::Direct3DCreate9Ex(os::gfx::kSdkVersion, &object));
}

TEST_F(Direct3DTest, ModesComeInAscendingOrderOrAsReplaced)
{
    auto object = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    ASSERT_NE(nullptr, object);
    ASSERT_GE(object->GetAdapterCount(), 1u);
    const std::uint32_t count = object->GetAdapterModeCount(0, Format::X8R8G8B8);
    ASSERT_GE(count, 1u);
    DisplayMode previous;
    for (std::uint32_t i = 0; i < count; ++i) {
        DisplayMode mode;
        ASSERT_EQ(kOk, object->EnumAdapterModes(0, Format::X8R8G8B8, i, &mode));
        EXPECT_EQ(Format::X8R8G8B8, mode.Format);
        if (i > 0) {
            EXPECT_TRUE(std::tie(previous.Width, previous.Height, previous.RefreshRate) <
                        std::tie(mode.Width, mode.Height, mode.RefreshRate));
        }
        previous = mode;
    }
    DisplayMode mode;
    EXPECT_EQ(kErrInvalidCall, object->EnumAdapterModes(0, Format::X8R8G8B8, count, &mode));
    EXPECT_EQ(0u, object->GetAdapterModeCount(object->GetAdapterCount(), Format::X8R8G8B8));
    os::gfx::AdapterIdentifier identifier;
    EXPECT_EQ(kOk, object->GetAdapterIdentifier(0, 0, &identifier));

    // A replaced list is reported as given, in the asked-for format.
    os::testing::ReplaceAdapterModes(0, {{1920, 1080, 75, Format::Unknown}, {640, 480, 60, Format::Unknown}});
    object = os::gfx::Direct3DCreate9(os::gfx::kSdkVersion);
    ASSERT_NE(nullptr, object);
    ASSERT_EQ(2u, object->GetAdapterModeCount(0, Format::X8R8G8B8));
    ASSERT_EQ(kOk, object->EnumAdapterModes(0, Format::X8R8G8B8, 1, &mode));
    EXPECT_EQ(640u, mode.Width);
    EXPECT_EQ(Format::X8R8G8B8, mode.Format);
}

TEST_F(Direct3DTest, CreationHooksAndRecords)
{
    os::window::Window window("record");
    ASSERT_TRUE(window.IsCreated());
    std::shared_ptr<os::gfx::Direct3D> object;
    ASSERT_EQ(kOk, os::gfx::Direct3DCreate9Ex(os::gfx::kSdkVersion, &object));
    std::shared_ptr<os::gfx::Device> device;
    os::gfx::PresentParameters p = WindowedParameters(32, 32, &window);
    const std::uint32_t hardware = os::gfx::create::HardwareVertexProcessing | os::gfx::create::Multithreaded;
    const std::uint32_t software = os::gfx::create::SoftwareVertexProcessing | os::gfx::create::Multithreaded;
    const auto create = [&](std::uint32_t flags, os::gfx::DisplayModeEx* mode,
                            os::gfx::DeviceType type = os::gfx::DeviceType::Hal) {
        return object->CreateDeviceEx(0, type, &window, flags, &p, mode, &device);
    };

    os::testing::FailDeviceCreation(true, false);
    EXPECT_EQ(kErrNotAvailable, create(hardware, nullptr));
    EXPECT_EQ(nullptr, device);
    EXPECT_EQ(kOk, create(software, nullptr));
    device.reset();
    auto record = os::testing::GetLastCreateDeviceRecord();
    EXPECT_TRUE(record.extended);
    EXPECT_EQ(software, record.behaviorFlags);
    EXPECT_FALSE(record.hadDisplayMode);
    EXPECT_EQ(&window, record.parameters.DeviceWindow);

    os::testing::FailDeviceCreation(true, true);
    EXPECT_EQ(kErrNotAvailable, create(software, nullptr));
    EXPECT_EQ(3, os::testing::GetCreateDeviceCallCount());
    os::testing::FailDeviceCreation(false, false);

    // Full screen on the extended object needs its display mode record.
    p.Windowed = false;
    p.BackBufferFormat = Format::X8R8G8B8;
    EXPECT_EQ(kErrInvalidCall, create(hardware, nullptr));
    os::gfx::DisplayModeEx mode;
    mode.Width = mode.Height = 32;
    mode.RefreshRate = 60;
    mode.Format = Format::X8R8G8B8;
    mode.ScanLineOrdering = os::gfx::ScanLineOrdering::Progressive;
    ASSERT_EQ(kOk, create(hardware, &mode));
    record = os::testing::GetLastCreateDeviceRecord();
    EXPECT_TRUE(record.hadDisplayMode);
    EXPECT_EQ(24u, record.displayMode.Size);
    EXPECT_EQ(os::gfx::ScanLineOrdering::Progressive, record.displayMode.ScanLineOrdering);
    EXPECT_EQ(kOk, device->SetMaximumFrameLatency(1));
    EXPECT_EQ(kOk, device->Present());
    // A device type other than the hardware one is not offered.
    EXPECT_EQ(kErrNotAvailable, create(hardware, &mode, os::gfx::DeviceType::Ref));
}

// The log prints the lost-device code by value and name.
TEST_F(Direct3DTest, TheLostDeviceCodeKeepsItsValueAndName)
{
    EXPECT_EQ(0x88760868u, static_cast<std::uint32_t>(os::gfx::kErrDeviceLost));
    EXPECT_STREQ("D3DERR_DEVICELOST", os::system::GetResultName(os::gfx::kErrDeviceLost));
}

} // namespace
} // namespace gfxtest
