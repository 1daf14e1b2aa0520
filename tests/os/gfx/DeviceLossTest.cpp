/** @file DeviceLossTest.cpp The lost-device state machine, resets and the states they restore. */
#include <string>
#include <thread>

#include "os/Values.h"
#include "os/gfx/ContextLink.h"
#include "os/system/System.h"
#include "support/GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::kErrDeviceLost;
using os::gfx::kErrDeviceNotReset;
using os::gfx::kErrInvalidCall;
using os::gfx::kOk;
using os::gfx::RenderState;
using os::gfx::SamplerState;
namespace value = os::gfx::value;
using ostest::V;
using Results = std::vector<os::gfx::Result>; // braced: evaluated in order

TEST_F(GfxTest, InjectedLossTurnsResettableAfterTheGivenTestsResetsRestoreDefaultsAndLaterDevicesAreSpared)
{
    os::testing::InjectDeviceLoss(2);
    os::testing::FailNextReset(1); // kept for the first reset the device can take
    // The first reset comes before the loss is resettable; draws and clears are ignored while lost.
    EXPECT_EQ(
        (Results{device->Present(), device->TestCooperativeLevel(), device->Reset(&parameters),
                 device->TestCooperativeLevel(), device->TestCooperativeLevel(), device->Present(),
                 device->TestCooperativeLevel(),
                 device->Clear(0, nullptr, os::gfx::clear::Target, 0xFFFF0000u, 1.0f, 0),
                 DrawQuad(0, 0, 4, 4, 0xFFFF0000u), device->Reset(&parameters), device->TestCooperativeLevel(),
                 device->Reset(&parameters), device->TestCooperativeLevel(), device->Present()}),
        (Results{kErrDeviceLost, kErrDeviceLost, kErrDeviceLost, kErrDeviceLost, kErrDeviceNotReset, kErrDeviceLost,
                 kErrDeviceNotReset, kOk, kOk, kErrInvalidCall, kErrDeviceNotReset, kOk, kOk, kOk}));
    EXPECT_EQ(3, os::testing::GetResetCallCount()) << "refused and failed resets count too";

    // Capabilities, and a reset restoring the default states, resizing and ending the scene.
    // Capabilities report shader model 3; overridden versions show in the engine's start-up checks.
    os::gfx::Caps caps;
    ASSERT_EQ(kOk, device->GetDeviceCaps(&caps));
    EXPECT_EQ(V(caps.VertexShaderVersion, caps.PixelShaderVersion, caps.TextureCaps & os::gfx::texturecaps::Pow2),
              V(0xFFFE0300u, 0xFFFF0300u, 0));
    EXPECT_GE(caps.MaxTextureWidth, 2048u);

    ASSERT_EQ((Results{device->SetRenderState(RenderState::CullMode, value::CullNone),
                       device->SetSamplerState(0, SamplerState::MagFilter, value::FilterLinear), device->BeginScene()}),
              Results(3, kOk));
    parameters.BackBufferWidth = 40;
    parameters.BackBufferHeight = 30;
    ASSERT_EQ(kOk, device->Reset(&parameters));
    std::uint32_t cull = 0, filter = 0;
    os::gfx::Viewport viewport;
    ASSERT_EQ(V(device->GetRenderState(RenderState::CullMode, &cull),
                device->GetSamplerState(0, SamplerState::MagFilter, &filter), device->GetViewport(&viewport)),
              V(kOk, kOk, kOk));
    EXPECT_EQ(V(cull, filter, viewport.Width, viewport.Height), V(value::CullCCW, value::FilterPoint, 40, 30));
    EXPECT_FALSE(device->GetVertexShader() || device->GetVertexDeclaration());
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF00FF00u, 1.0f, 0));
    const auto pixels = ReadBack();
    EXPECT_EQ(V(width, height, pixels.back()), V(40, 30, 0xFF00FF00u));
    // The reset ended the scene; brackets must pair.
    EXPECT_EQ((Results{device->BeginScene(), device->EndScene(), device->EndScene(), device->BeginScene(),
                       device->BeginScene(), device->EndScene()}),
              (Results{kOk, kOk, kErrInvalidCall, kOk, kErrInvalidCall, kOk}));
    os::gfx::Result result = kOk;
    std::thread([&] { result = device->Clear(0, nullptr, os::gfx::clear::Target, 0, 1.0f, 0); }).join();
    EXPECT_EQ(kErrInvalidCall, result);

    // Devices made after a loss are not lost.
    os::testing::InjectDeviceLoss(0);
    os::gfx::PresentParameters p = WindowedParameters(16, 16, window.get());
    ASSERT_NO_FATAL_FAILURE(Recreate(p));
    EXPECT_EQ(kOk, device->TestCooperativeLevel());
}

// The display refusing a mode is reported with SDL's words and treated as a failed reset.
TEST_F(GfxTest, RefusedWindowModeChangesFailCreationAndResetLikeAnyFailedReset)
{
    os::gfx::PresentParameters full = parameters;
    full.Windowed = false;
    full.BackBufferFormat = os::gfx::Format::X8R8G8B8;
    os::testing::FailNextWindowModeChange(1);
    EXPECT_EQ(os::gfx::kErrNotAvailable, device->Reset(&full));
    EXPECT_NE(std::string::npos, os::system::GetLastErrorText().find("SDL_SetWindowDisplayMode: "));
    EXPECT_EQ((Results{device->TestCooperativeLevel(), device->Present(), device->Reset(&full)}),
              (Results{kErrDeviceNotReset, kErrDeviceLost, kOk}));
    // Leaving full screen fails the same way.
    os::testing::FailNextWindowModeChange(1);
    EXPECT_EQ(os::gfx::kErrNotAvailable, device->Reset(&parameters));
    EXPECT_NE(std::string::npos, os::system::GetLastErrorText().find("SDL_SetWindowFullscreen: "));
    EXPECT_EQ((Results{device->TestCooperativeLevel(), device->Reset(&parameters), device->Present()}),
              (Results{kErrDeviceNotReset, kOk, kOk}));

    shaders = ColorShaders();
    device.reset();
    os::testing::FailNextWindowModeChange(1);
    EXPECT_EQ(os::gfx::kErrNotAvailable,
              direct3D->CreateDevice(0, os::gfx::DeviceType::Hal, window.get(),
                                     os::gfx::create::HardwareVertexProcessing, &full, &device));
    EXPECT_EQ(nullptr, device);
}

// GL objects released on another thread wait for the device's thread, and are dropped once the
// device (and its context) is gone instead of touching a dead context.
TEST_F(GfxTest, CrossThreadReleasesWaitForTheDeviceAndAreDroppedAfterIt)
{
    const std::shared_ptr<os::gfx::ContextLink> link = device->GetContextLink();
    int ran = 0;
    std::thread([&] { link->Release([&] { ++ran; }); }).join();
    EXPECT_EQ(0, ran);
    ASSERT_EQ(kOk, device->Present());
    EXPECT_EQ(1, ran);

    auto shader = shaders.vertexShader;
    shaders = ColorShaders();
    device.reset();
    EXPECT_FALSE(link->IsAlive());
    std::thread([&] {
        shader.reset();
        link->Release([&] { ++ran; });
    }).join();
    EXPECT_EQ(1, ran);
}

} // namespace
} // namespace gfxtest
